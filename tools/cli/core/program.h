#pragma once

#include <span>
#include <string>

#include "platform.h"

namespace veltaro::cli {

// The whole of veltaro-cli after the platform's main(): parses the arguments after the
// program name (UTF-8), runs the command and returns the exit status. Main thread.
[[nodiscard]] int RunProgram(Platform& platform, std::span<const std::string> args);

}  // namespace veltaro::cli
