#include "database/CheckDatabaseEngine.h"

#include <gtest/gtest.h>

#include "common/ApplicationTitle.h"
#include "common/Error.h"
#include "database/access/Connection.h"
#include "tests/support/ScriptedDialogs.h"

namespace Access1 {
namespace {

// Stands in a connection factory that fails as a missing provider (or anything else) would.
class FailingFactory {
 public:
  explicit FailingFactory(Main::Error error)
      : previous_(Access::InstallConnectionFactory([error]() -> std::unique_ptr<Access::Connection> {
          throw error;
        })) {}
  ~FailingFactory() { Access::InstallConnectionFactory(previous_); }

 private:
  Access::ConnectionFactory previous_;
};

TEST(CheckDatabaseEngine, OurEngineIsAlwaysThere) {
  Testing::ScriptedMessageBox messages;
  Testing::ScriptedUrlOpener browser;
  EXPECT_TRUE(CheckDatabaseEngine(messages, browser));
  EXPECT_TRUE(messages.shown.empty());
}

TEST(CheckDatabaseEngine, MissingProviderShowsTheDiagnosticAndYesOpensBothPagesInOrder) {
  for (const Main::Error& error : {Main::Error(3706, "whatever"),
                                   Main::Error(-2147467259, "ADODB: PROVIDER Cannot Be FOUND here")}) {
    FailingFactory failing(error);
    Testing::ScriptedMessageBox messages;
    messages.answerToYesNo = Ui::kAnswerYes;
    Testing::ScriptedUrlOpener browser;
    EXPECT_FALSE(CheckDatabaseEngine(messages, browser));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].style, Ui::kYesNo);
    EXPECT_EQ(messages.shown[0].title, Main::ApplicationTitle());
    EXPECT_EQ(messages.shown[0].prompt, ProviderMissingMessage());
    EXPECT_EQ(browser.opened, (std::vector<std::u16string>{
                                  u"https://www.microsoft.com/en-us/download/details.aspx?id=13255",
                                  u"https://www.microsoft.com/en-us/download/details.aspx?id=54920"}));
  }
}

TEST(CheckDatabaseEngine, NoOpensNothingAndOtherFailuresAreSilent) {
  {
    FailingFactory failing(Main::Error(3706, "Provider cannot be found."));
    Testing::ScriptedMessageBox messages;
    Testing::ScriptedUrlOpener browser;
    EXPECT_FALSE(CheckDatabaseEngine(messages, browser));
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(browser.opened.empty());
  }
  FailingFactory failing(Main::Error(429, "ActiveX component can't create object"));
  Testing::ScriptedMessageBox messages;
  Testing::ScriptedUrlOpener browser;
  EXPECT_FALSE(CheckDatabaseEngine(messages, browser));
  EXPECT_TRUE(messages.shown.empty());
}

TEST(CheckDatabaseEngine, DiagnosticTextHasSevenParagraphs) {
  const std::u16string text = ProviderMissingMessage();
  EXPECT_EQ(text.substr(0, 26), u"Error #3706: Provider cann");
  size_t breaks = 0;
  for (size_t at = text.find(u"\r\n\r\n"); at != std::u16string::npos; at = text.find(u"\r\n\r\n", at + 4)) ++breaks;
  EXPECT_EQ(breaks, 6u);
  EXPECT_EQ(text.substr(text.size() - 24), u"to support@kestrova.com)");
}

}  // namespace
}  // namespace Access1
