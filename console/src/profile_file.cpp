#include <fstream>
#include <system_error>

#include "veltaro/console/profile.h"

namespace veltaro::console {
namespace {

namespace fs = std::filesystem;

std::string PathText(const fs::path& path) {
    const std::u8string utf8 = path.u8string();
    return {utf8.begin(), utf8.end()};
}

ProfileRead Refused(const std::string& message) {
    return {{}, message, ProfileFault::kUnusable};
}

// Why a file that is not a regular file is refused, by what it is: opening a FIFO waits
// for a writer forever, reading a device may never end.
std::string KindRefusal(fs::file_type type) {
    switch (type) {
        case fs::file_type::directory:
            return "is a directory, not a profile file";
        case fs::file_type::fifo:
            return "is a FIFO (named pipe), not a regular file; profiles are read from "
                   "regular files only";
        case fs::file_type::character:
        case fs::file_type::block:
            return "is a device, not a regular file; profiles are read from regular files only";
        case fs::file_type::socket:
            return "is a socket, not a regular file; profiles are read from regular files only";
        default:
            return "is not a regular file; profiles are read from regular files only";
    }
}

std::string TooLarge(const std::string& size) {
    return "is " + size + " bytes; a profile is at most 1 MiB (" +
           std::to_string(kMaxProfileBytes) + " bytes)";
}

}  // namespace

ProfileRead LoadProfile(const fs::path& path) {
    const std::string name = PathText(path);
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error) {
        return Refused("cannot read the profile " + name + ": " + error.message());
    }
    if (status.type() != fs::file_type::regular) {
        return Refused(name + " " + KindRefusal(status.type()));
    }
    const std::uintmax_t size = fs::file_size(path, error);
    if (!error && size > kMaxProfileBytes) {
        return Refused(name + " " + TooLarge(std::to_string(size)));
    }
    std::ifstream in(path, std::ios::binary);
    // One byte more than allowed tells a file that grew since it was looked at.
    std::string text(kMaxProfileBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad() || (!in && !in.eof())) {
        return Refused("cannot read the profile " + name + ": " +
                       std::system_category().message(errno));
    }
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxProfileBytes) {
        return Refused(name + " " + TooLarge("more than " + std::to_string(kMaxProfileBytes)));
    }
    return ParseProfile(text, name);
}

}  // namespace veltaro::console
