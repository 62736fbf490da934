#include <gtest/gtest.h>

#include <QMessageBox>

#include "common/ErrorReport.h"
#include "common/ui/EventPump.h"
#include "common/ui/qt/QtUi.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/ScriptedDialogs.h"

namespace Ui {
namespace {

TEST(MessageBoxErrorReporter, ShowsTheReportInAnApplicationErrorBoxWithTheExclamationStyle) {
  Testing::ScriptedMessageBox box;
  const Main::ErrorReporter previous = Main::InstallErrorReporter(MessageBoxErrorReporter(box));
  Main::ReportError(Main::HandlerProcedure(u"Form1", u"Form_Load"), 126, u"Invalid picture");
  Main::InstallErrorReporter(previous);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].style, kOkOnlyExclamation);
  EXPECT_EQ(box.shown[0].title, u"Application Error");
  EXPECT_EQ(box.shown[0].prompt,
            Main::ErrorReportText(Main::HandlerProcedure(u"Form1", u"Form_Load"), 126, u"Invalid picture"));
}

TEST(QtUi, InstallsThePumpAndTheReportBoxWhileItLivesAndPutsBackThePreviousOnes) {
  int previousPumpCalls = 0;
  std::vector<std::u16string> previousReports;
  const EventPumpHooks before = InstallEventPump({[&] { ++previousPumpCalls; }, {}});
  const Main::ErrorReporter reporterBefore =
      Main::InstallErrorReporter([&](std::u16string_view text) { previousReports.emplace_back(text); });
  {
    QtUi ui;
    QObject receiver;
    bool arrived = false;
    QMetaObject::invokeMethod(&receiver, [&] { arrived = true; }, Qt::QueuedConnection);
    PumpEvents();
    EXPECT_TRUE(arrived);
    EXPECT_EQ(previousPumpCalls, 0);

    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Testing::WhenModalShown<QMessageBox>([&](QMessageBox& box) {
      title = box.windowTitle();
      icon = box.icon();
      box.accept();
    });
    Main::ReportError(u"in test ", 100, u"failure");
    EXPECT_EQ(title, QStringLiteral("Application Error"));
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_TRUE(previousReports.empty());
  }
  PumpEvents();
  Main::ReportError(u"in test ", 102, u"failure");
  EXPECT_EQ(previousPumpCalls, 1);
  EXPECT_EQ(previousReports.size(), 1u);
  InstallEventPump(before);
  Main::InstallErrorReporter(reporterBefore);
}

}  // namespace
}  // namespace Ui
