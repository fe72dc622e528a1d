#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veltaro::cli {

// The most ports one run takes; each costs a connection with its own watcher thread.
inline constexpr std::size_t kMaxPorts = 256;

// The COM numbers that --com takes, as the dialog's COM number edit holds them (three
// characters). The port listing offers no other: a number outside cannot be asked for.
inline constexpr unsigned kLowestComNumber = 1;
inline constexpr unsigned kHighestComNumber = 999;
[[nodiscard]] constexpr bool IsComNumber(unsigned number) {
    return number >= kLowestComNumber && number <= kHighestComNumber;
}

// Parses the value of --com: COM numbers and ranges separated by commas ("3,5,7-12"). Each
// number is 1 to 3 decimal digits, not 0, as the COM number edit takes it; a lone number
// keeps its text as typed ("007"), a range gives plain decimal numbers. Returns empty on
// success, else the error; a port listed twice is an error.
std::string ParseComList(std::string_view text, std::vector<std::string>& numbers);

}  // namespace veltaro::cli
