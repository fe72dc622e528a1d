// veltaro-cli.exe: the modem configuration of Veltaro from a Windows console.
#include <string>
#include <vector>

#include "program.h"
#include "wide_text.h"
#include "win32_platform.h"

int main() {
    veltaro::cli::Win32Platform platform;
    // Not argv: the C runtime converts the command line to the ANSI code page, and a
    // profile path with characters beyond it would not open.
    const std::vector<std::string> args = veltaro::cli::CommandLineArguments();
    return veltaro::cli::RunProgram(platform, args);
}
