// veltaro-cli: the modem configuration of Veltaro from a terminal.
#include <string>
#include <vector>

#include "posix_platform.h"
#include "program.h"

int main(int argc, char** argv) {
    veltaro::cli::PosixPlatform platform;
    const std::vector<std::string> args(argv + 1, argv + argc);
    return veltaro::cli::RunProgram(platform, args);
}
