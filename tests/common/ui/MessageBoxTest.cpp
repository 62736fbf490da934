#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include "common/ui/ControlErrors.h"
#include "common/ui/qt/QtMessageBox.h"
#include "tests/common/ui/ErrorNumber.h"
#include "tests/support/ModalDialogs.h"

// The real message and input boxes, driven by a user the test plays.
namespace Ui {
namespace {

// What a message box showed, and the button the test pressed.
struct SeenBox {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  Qt::TextFormat format = Qt::AutoText;
};

// Records the box when it shows and presses `press` on it.
void RecordAndPressWhenShown(SeenBox& seen, QMessageBox::StandardButton press) {
  Testing::WhenModalShown<QMessageBox>([&seen, press](QMessageBox& box) {
    seen = {box.windowTitle(), box.text(), box.icon(), box.standardButtons(), box.textFormat()};
    box.button(press)->click();
  });
}

TEST(QtMessageBox, OkOnlyStylesShowTheirIconAnswerOkAndBreakLinesAtCarriageReturns) {
  struct Case {
    int style;
    std::u16string_view prompt, title;
    const char* shownText;
    QMessageBox::Icon icon;
  };
  const Case cases[] = {
      {kOkOnly, u"Done.", u"Quorvane", "Done.", QMessageBox::NoIcon},
      {kOkOnlyExclamation, u"Disk full\r\nin Form1.Load at line 100\r\rPlease <b>email</b>", u"Application Error",
       "Disk full\nin Form1.Load at line 100\n\nPlease <b>email</b>", QMessageBox::Warning},
  };
  QtMessageBox messageBox;
  for (const Case& box : cases) {
    SCOPED_TRACE(box.style);
    SeenBox seen;
    RecordAndPressWhenShown(seen, QMessageBox::Ok);
    EXPECT_EQ(messageBox.Show(box.prompt, box.style, box.title), kAnswerOk);
    EXPECT_EQ(seen.title.toStdU16String(), box.title);
    EXPECT_EQ(seen.text, QString::fromUtf8(box.shownText));
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.icon, box.icon);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
  }
}

TEST(QtMessageBox, YesNoBoxAnswersSixForYesAndSevenForNoOrEscape) {
  QtMessageBox messageBox;
  for (const auto& [press, answer] : {std::pair{QMessageBox::Yes, kAnswerYes}, std::pair{QMessageBox::No, kAnswerNo}}) {
    SeenBox seen;
    RecordAndPressWhenShown(seen, press);
    EXPECT_EQ(messageBox.Show(u"Download the database engine?", kYesNo, u"Quorvane"), answer);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
  }
  Testing::WhenModalShown<QMessageBox>([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
  EXPECT_EQ(messageBox.Show(u"Download the database engine?", kYesNo, u"Quorvane"), kAnswerNo);
}

TEST(QtMessageBox, BoxesShowTheArrowWhileTheProgramIsBusy) {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  Qt::CursorShape whileAsking = Qt::WaitCursor;
  Testing::WhenModalShown<QMessageBox>([&](QMessageBox& box) {
    whileAsking = QGuiApplication::overrideCursor()->shape();
    box.button(QMessageBox::Ok)->click();
  });
  QtMessageBox().Show(u"WARNING: You are trying to modify a Date field.", kOkOnly, u"Quorvane");
  EXPECT_EQ(whileAsking, Qt::ArrowCursor);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);

  whileAsking = Qt::WaitCursor;
  Testing::WhenModalShown<QInputDialog>([&](QInputDialog& dialog) {
    whileAsking = QGuiApplication::overrideCursor()->shape();
    dialog.reject();
  });
  QtInputBox().Ask(u"Enter Number:", u"Quorvane");
  EXPECT_EQ(whileAsking, Qt::ArrowCursor);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  QGuiApplication::restoreOverrideCursor();
}

TEST(QtMessageBox, OtherStylesThrowWithoutShowingABox) {
  QtMessageBox messageBox;
  EXPECT_EQ(Testing::ErrorNumberOf([&] { messageBox.Show(u"?", 1, u"Quorvane"); }), ControlError::kInvalidCall);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

std::optional<std::u16string> AnswerInputBox(const std::function<void(QInputDialog&)>& user, QString* label,
                                              QString* initialText) {
  Testing::WhenModalShown<QInputDialog>([&](QInputDialog& dialog) {
    *label = dialog.labelText();
    *initialText = dialog.findChild<QLineEdit*>()->text();
    user(dialog);
  });
  QtInputBox inputBox;
  return inputBox.Ask(u"Replace With:", u"Quorvane");
}

TEST(QtInputBox, OkGivesTheTypedTextEvenEmptyAndCancelGivesNothing) {
  QString label;
  QString initialText;
  const auto typeAndPress = [](const char* text, Qt::Key key) {
    return [text, key](QInputDialog& dialog) {
      QTest::keyClicks(dialog.findChild<QLineEdit*>(), QString::fromUtf8(text));
      QTest::keyClick(&dialog, key);
    };
  };
  EXPECT_EQ(AnswerInputBox(typeAndPress("a b", Qt::Key_Return), &label, &initialText), u"a b");
  EXPECT_EQ(label, QStringLiteral("Replace With:"));
  EXPECT_EQ(initialText, QString());
  EXPECT_EQ(AnswerInputBox(typeAndPress("", Qt::Key_Return), &label, &initialText), u"");
  EXPECT_EQ(AnswerInputBox(typeAndPress("typed", Qt::Key_Escape), &label, &initialText), std::nullopt);
}

}  // namespace
}  // namespace Ui
