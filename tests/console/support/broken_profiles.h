#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "veltaro/console/profile.h"

// Profiles that must be refused, with a part of the message each must give: one table for
// the profile module's tests, the CLI's and the programs'. Each case is refused before any
// byte goes to a modem.
namespace veltaro::console::testing {

enum class BrokenKind {
    kText,       // a regular file holding `text`
    kDirectory,  // a directory
    kFifo,       // a FIFO (POSIX only: mkfifo)
    kDevice,     // /dev/zero (POSIX only)
    kTooLarge,   // a regular file of kMaxProfileBytes + 1 bytes
};

struct BrokenProfile {
    const char* name;
    BrokenKind kind;
    std::string_view text;  // kText: the file's bytes
    // Follows the file's name in the message: ":LINE: ..." or " is a directory...".
    const char* message;
    ProfileFault fault = ProfileFault::kUnusable;
};

std::span<const BrokenProfile> BrokenProfiles();

// Makes the case's file (or directory) as `dir / case.name`; kDevice gives /dev/zero. Returns
// the path, or an empty path for a kind this platform cannot make (kFifo, kDevice on
// Windows).
std::filesystem::path MakeBrokenProfile(const BrokenProfile& broken,
                                        const std::filesystem::path& dir);

}  // namespace veltaro::console::testing
