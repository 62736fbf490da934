#include "common/ui/qt/QtMessageBox.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <string>

#include "common/Error.h"
#include "common/ui/ControlErrors.h"
#include "common/ui/qt/QtText.h"

namespace Ui {
namespace {

// Message texts break lines with CR LF or a lone CR; Qt's labels break at LF.
QString WithLineFeeds(std::u16string_view text) {
  return ToQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

}  // namespace

int QtMessageBox::Show(std::u16string_view prompt, int style, std::u16string_view title) {
  QMessageBox box(QApplication::activeWindow());
  switch (style) {
    case kOkOnly:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case kYesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case kOkOnlyExclamation:
      box.setStandardButtons(QMessageBox::Ok);
      box.setIcon(QMessageBox::Warning);
      break;
    default:
      throw Main::Error(ControlError::kInvalidCall,
                        "Invalid procedure call or argument: message box style " + std::to_string(style));
  }
  box.setWindowTitle(ToQString(title));
  box.setTextFormat(Qt::PlainText);
  box.setText(WithLineFeeds(prompt));
  box.exec();
  if (style != kYesNo) return kAnswerOk;
  return box.standardButton(box.clickedButton()) == QMessageBox::Yes ? kAnswerYes : kAnswerNo;
}

std::optional<std::u16string> QtInputBox::Ask(std::u16string_view prompt, std::u16string_view title) {
  QInputDialog dialog(QApplication::activeWindow());
  dialog.setWindowTitle(ToQString(title));
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setLabelText(WithLineFeeds(prompt));
  dialog.setTextValue(QString());
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return FromQString(dialog.textValue());
}

}  // namespace Ui
