#include "common/ErrorReport.h"

#include <iostream>
#include <utility>

#include "common/Config.h"
#include "common/Text.h"
#include "common/Value.h"

namespace Main {
namespace {

ErrorReporter& InstalledReporter() {
  static ErrorReporter reporter;
  return reporter;
}

}  // namespace

std::u16string HandlerProcedure(std::u16string_view window, std::u16string_view handler) {
  std::u16string text = u"in ";
  text += Config::kProcedurePrefix;
  text += window;
  text += u'.';
  text += handler;
  text += u' ';
  return text;
}

std::u16string ErrorReportText(std::u16string_view procedure, int stepNumber,
                               std::u16string_view description) {
  std::u16string text(description);
  text += u"\r\n";
  text += procedure;
  text += u"at line ";
  text += FormatInteger(stepNumber);
  text += u"\r\r";
  text += u"Please email screenshot of this message to ";
  text += Config::kSupportEmail;
  return text;
}

void ReportError(std::u16string_view procedure, int stepNumber, std::u16string_view description) {
  const std::u16string text = ErrorReportText(procedure, stepNumber, description);
  if (const auto& reporter = InstalledReporter()) {
    reporter(text);
  } else {
    std::cerr << ToUtf8(kErrorReportTitle) << ": " << ToUtf8(text) << std::endl;
  }
}

ErrorReporter InstallErrorReporter(ErrorReporter reporter) {
  return std::exchange(InstalledReporter(), std::move(reporter));
}

}  // namespace Main
