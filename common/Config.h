#pragma once

#include <string_view>

// The program's fixed configuration: names and addresses that appear in its texts.
namespace Main::Config {

// The product name: window captions, the settings section, the source of the application title.
inline constexpr std::u16string_view kProductName = u"Quorvane";
// The maker's name: the application name of the stored settings.
inline constexpr std::u16string_view kCompanyName = u"Kestrova";
// Where the error report asks the user to send a screenshot.
inline constexpr std::u16string_view kSupportEmail = u"support@kestrova.com";
// The program's help page.
inline constexpr std::u16string_view kHelpPageAddress = u"https://www.kestrova.com/quorvane/help";
// The maker's page for its companion product that adds text to records (the help message).
inline constexpr std::u16string_view kAddTextProductAddress = u"https://www.kestrova.com/textappender";
// The download site in front of the database-engine download pages.
inline constexpr std::u16string_view kDownloadSiteBase = u"https://www.microsoft.com";
// The text every reporting handler's procedure name starts with.
inline constexpr std::u16string_view kProcedurePrefix = u"Tivelbrook2021/08/31.";

}  // namespace Main::Config
