#pragma once

#include <string>
#include <string_view>

// Automation texts are wide (UTF-16); the narrow side is the system's code page, which on this
// platform is UTF-8. Invalid input becomes U+FFFD rather than being dropped or cut short.
namespace automation {

std::string NarrowFromWide(std::u16string_view text);
std::u16string WideFromNarrow(std::string_view text);

} // namespace automation
