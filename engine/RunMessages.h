#pragma once

#include <string_view>

// The texts a cleaning run shows, in message boxes and on the progress bar.
namespace Engine {

inline constexpr std::u16string_view kPleaseSelectFieldMessage = u"Please select a field.";
inline constexpr std::u16string_view kDateFieldWarning =
    u"WARNING: You are trying to modify a Date field. These are harder to modify than Char "
    u"fields. Errors may occur";
inline constexpr std::u16string_view kDoneMessage = u"Done.";
// The progress bar's caption at rest.
inline constexpr std::u16string_view kProgressCaption = u"Progress Bar";

}  // namespace Engine
