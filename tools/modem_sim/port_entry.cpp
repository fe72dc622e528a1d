#include "port_entry.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "port_name.h"

namespace modem_sim {
namespace {

// mkdir -p; true when the directory exists afterwards.
bool make_directories(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        ::mkdir(path.substr(0, slash).c_str(), 0755);
    }
    struct stat info {};
    return (::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST) &&
           ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string link_target(const std::string& path) {
    char target[4096];
    ssize_t length = ::readlink(path.c_str(), target, sizeof target - 1);
    return length < 0 ? std::string() : std::string(target, static_cast<std::size_t>(length));
}

bool is_dangling_link(const std::string& path) {
    struct stat link {};
    struct stat target {};
    return ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode) &&
           ::stat(path.c_str(), &target) != 0;
}

}  // namespace

std::string port_directory() {
    // The serial library's own rule, so that the program finds what the simulator made.
    return brenlow::detail::PortDirFromEnvironment(
        [](const char* name) { return std::getenv(name); });
}

std::optional<PortEntry> PortEntry::create(int com_number, const std::string& target,
                                           std::string& error) {
    const std::string directory = port_directory();
    if (!make_directories(directory)) {
        error = "cannot create the port directory " + directory + ": " + std::strerror(errno);
        return std::nullopt;
    }
    const std::string path = directory + "/com" + std::to_string(com_number);
    int made = ::symlink(target.c_str(), path.c_str());
    if (made != 0 && errno == EEXIST && is_dangling_link(path)) {
        ::unlink(path.c_str());
        made = ::symlink(target.c_str(), path.c_str());
    }
    if (made != 0) {
        const int why = errno;
        error =
            "cannot create the port entry " + path +
            (why == EEXIST ? std::string(": it exists already (remove it or choose another --com)")
                           : std::string(": ") + std::strerror(why));
        return std::nullopt;
    }
    return PortEntry(path, target);
}

PortEntry::PortEntry(std::string path, std::string target)
    : path_(std::move(path)), target_(std::move(target)) {}

PortEntry::PortEntry(PortEntry&& other) noexcept
    : path_(std::move(other.path_)), target_(std::move(other.target_)) {
    other.path_.clear();
}

PortEntry::~PortEntry() {
    if (!path_.empty() && link_target(path_) == target_) {
        ::unlink(path_.c_str());
    }
}

}  // namespace modem_sim
