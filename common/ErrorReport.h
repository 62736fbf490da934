#pragma once

#include <functional>
#include <string>
#include <string_view>

// The common error report of the reporting event handlers.
namespace Main {

// The text a handler's report names it by: "in Tivelbrook2021/08/31.<window>.<handler> ".
std::u16string HandlerProcedure(std::u16string_view window, std::u16string_view handler);

// The report's prompt: the description, CR LF, the procedure text, "at line ", the step number,
// CR CR, and the request to e-mail a screenshot to the support address.
std::u16string ErrorReportText(std::u16string_view procedure, int stepNumber,
                               std::u16string_view description);

// Shows the report (through the installed reporter) and returns when the user has closed it.
void ReportError(std::u16string_view procedure, int stepNumber, std::u16string_view description);

// Receives the finished report text. The window layer shows it in an "Application Error" box;
// without one it goes to the standard error stream.
using ErrorReporter = std::function<void(std::u16string_view reportText)>;

// Installs a reporter and returns the previous one; an empty reporter restores the default.
ErrorReporter InstallErrorReporter(ErrorReporter reporter);

// The title of the report's message box.
inline constexpr std::u16string_view kErrorReportTitle = u"Application Error";

}  // namespace Main
