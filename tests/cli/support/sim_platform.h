#pragma once

#include <string>
#include <vector>

// What the shared part of the simulated modems asks of the platform's part.
namespace veltaro::cli::testing {

// A new, empty folder for one test's port directory or files.
std::string MakeScratchDir();
// The CLI under test, and the environment that points it at a port directory.
std::string CliProgram();
std::vector<std::string> CliEnvironment(const std::string& portDir);

}  // namespace veltaro::cli::testing
