#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veltaro::cli {

// Windows hands text over as UTF-16; the portable core works in UTF-8. An unpaired
// surrogate becomes U+FFFD rather than being dropped.
[[nodiscard]] std::string Utf8FromWide(std::wstring_view wide);
[[nodiscard]] std::wstring WideFromUtf8(std::string_view utf8);

// The arguments after the program's name, from GetCommandLineW, in UTF-8: what argv of an
// 8-bit main() would have turned into the ANSI code page (and lost).
[[nodiscard]] std::vector<std::string> CommandLineArguments();

}  // namespace veltaro::cli
