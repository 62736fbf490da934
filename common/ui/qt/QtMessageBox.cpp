#include "common/ui/qt/QtMessageBox.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <string>

#include "common/Error.h"
#include "common/ui/ControlErrors.h"
#include "common/ui/EventPump.h"
#include "common/ui/qt/QtText.h"

namespace Ui {
namespace {

// Message texts break lines with CR LF or a lone CR; Qt's labels break at LF.
QString WithLineFeeds(std::u16string_view text) {
  return ToQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

// While a box asks, the pointer is the arrow, also when a busy window has put the wait cursor over
// the whole program; the wait cursor comes back when the box closes.
class ArrowWhileAsking {
 public:
  ArrowWhileAsking() : overriding_(QGuiApplication::overrideCursor() != nullptr) {
    if (overriding_) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
  }
  ~ArrowWhileAsking() {
    if (overriding_) QGuiApplication::restoreOverrideCursor();
  }
  ArrowWhileAsking(const ArrowWhileAsking&) = delete;
  ArrowWhileAsking& operator=(const ArrowWhileAsking&) = delete;

 private:
  bool overriding_;
};

}  // namespace

// Once the program is ending no box appears: a message counts as read, a question as answered
// No, an input box as cancelled.
int QtMessageBox::Show(std::u16string_view prompt, int style, std::u16string_view title) {
  if (ProgramEndRequested()) return style == kYesNo ? kAnswerNo : kAnswerOk;
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
  const ArrowWhileAsking arrow;
  box.exec();
  if (style != kYesNo) return kAnswerOk;
  return box.standardButton(box.clickedButton()) == QMessageBox::Yes ? kAnswerYes : kAnswerNo;
}

std::optional<std::u16string> QtInputBox::Ask(std::u16string_view prompt, std::u16string_view title) {
  if (ProgramEndRequested()) return std::nullopt;
  QInputDialog dialog(QApplication::activeWindow());
  dialog.setWindowTitle(ToQString(title));
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setLabelText(WithLineFeeds(prompt));
  dialog.setTextValue(QString());
  const ArrowWhileAsking arrow;
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return FromQString(dialog.textValue());
}

}  // namespace Ui
