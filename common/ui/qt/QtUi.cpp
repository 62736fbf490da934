#include "common/ui/qt/QtUi.h"

#include "common/ui/qt/QtEventPump.h"

namespace Ui {

Main::ErrorReporter MessageBoxErrorReporter(MessageBoxService& box) {
  return [&box](std::u16string_view reportText) {
    box.Show(reportText, kOkOnlyExclamation, Main::kErrorReportTitle);
  };
}

QtUi::QtUi()
    : previousPump_(InstallEventPump(QtEventPumpHooks())),
      previousReporter_(Main::InstallErrorReporter(MessageBoxErrorReporter(messageBox_))) {}

QtUi::~QtUi() {
  Main::InstallErrorReporter(std::move(previousReporter_));
  InstallEventPump(std::move(previousPump_));
}

}  // namespace Ui
