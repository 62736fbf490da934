#include "database/CheckDatabaseEngine.h"

#include "common/ApplicationTitle.h"
#include "common/Config.h"
#include "common/Error.h"
#include "database/access/Connection.h"
#include "jet/text/CaseFold.h"

namespace Access1 {
namespace {

constexpr std::u16string_view kDownloadPages[] = {u"/en-us/download/details.aspx?id=13255",
                                                  u"/en-us/download/details.aspx?id=54920"};

bool IsProviderMissing(long number, std::u16string_view description) {
  constexpr std::u16string_view kWords = u"provider cannot be found";
  if (number == Main::ErrorNumber::kProviderNotFound) return true;
  for (size_t at = 0; at + kWords.size() <= description.size(); ++at) {
    if (Jet::EqualIgnoringCase(description.substr(at, kWords.size()), kWords)) return true;
  }
  return false;
}

// Shows the diagnostic and opens the pages on Yes; failures here are ignored.
void OfferDownload(Ui::MessageBoxService& messageBox, Ui::UrlOpener& urlOpener) {
  int answer = Ui::kAnswerNo;
  try {
    answer = messageBox.Show(ProviderMissingMessage(), Ui::kYesNo, Main::ApplicationTitle());
  } catch (...) {
    return;
  }
  if (answer != Ui::kAnswerYes) return;
  for (const std::u16string_view page : kDownloadPages) {
    try {
      urlOpener.Open(std::u16string(Main::Config::kDownloadSiteBase) + std::u16string(page));
    } catch (...) {
    }
  }
}

}  // namespace

std::u16string ProviderMissingMessage() {
  const std::u16string paragraphs[] = {
      u"Error #3706: Provider cannot be found. It may not be properly installed.",
      u"You are getting this error because:",
      u"1. Microsoft Access is not installed on your computer.",
      u"2. A set of Microsoft components to transfer data is not installed on your computer.",
      u"You need to download and install Microsoft Access Database Engine 2010 or 2016 to solve "
      u"this problem.",
      u"Would you like me to open the Microsoft site now so you can do this?",
      u"(If you have any further questions please email a screenshot of this error message to " +
          std::u16string(Main::Config::kSupportEmail) + u")"};
  std::u16string text;
  for (const std::u16string& paragraph : paragraphs) {
    if (!text.empty()) text += u"\r\n\r\n";
    text += paragraph;
  }
  return text;
}

bool CheckDatabaseEngine(Ui::MessageBoxService& messageBox, Ui::UrlOpener& urlOpener) {
  try {
    Access::CreateConnection();
    return true;
  } catch (const Main::Error& error) {
    if (IsProviderMissing(error.Number(), error.Description())) OfferDownload(messageBox, urlOpener);
  } catch (...) {
  }
  return false;
}

}  // namespace Access1
