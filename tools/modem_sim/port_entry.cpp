#include "port_entry.h"

#include <fcntl.h>
#include <sys/file.h>
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

bool is_link(const std::string& path) {
    struct stat link {};
    return ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
}

// The owner's lock beside the entry: comN.lock, locked (flock) for the simulator's whole
// life, so the kernel drops it however the simulator ends. `stale` says the file was there
// but nobody held it: the entry beside it was left by a simulator that is gone.
UniqueFd take_owner_lock(const std::string& path, bool& stale, std::string& error) {
    UniqueFd lock(::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    stale = !lock.valid() && errno == EEXIST;
    if (stale) {
        lock = UniqueFd(::open(path.c_str(), O_RDWR | O_CLOEXEC));
    }
    if (!lock.valid()) {
        error = "cannot create the lock " + path + ": " + std::strerror(errno);
        return UniqueFd();
    }
    if (::flock(lock.get(), LOCK_EX | LOCK_NB) != 0) {
        error = errno == EWOULDBLOCK ? "another simulator is running on it (" + path + " is locked)"
                                     : "cannot lock " + path + ": " + std::strerror(errno);
        return UniqueFd();
    }
    return lock;
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
    bool stale = false;
    UniqueFd lock = take_owner_lock(path + ".lock", stale, error);
    if (!lock.valid()) {
        error = "cannot create the port entry " + path + ": " + error;
        return std::nullopt;
    }
    int made = ::symlink(target.c_str(), path.c_str());
    // A link whose owner is gone is replaced, even when it points at the very terminal this
    // run was given; a link made by hand (no lock beside it) only when it leads nowhere.
    if (made != 0 && errno == EEXIST && (is_dangling_link(path) || (stale && is_link(path)))) {
        ::unlink(path.c_str());
        made = ::symlink(target.c_str(), path.c_str());
    }
    if (made != 0) {
        const int why = errno;
        ::unlink((path + ".lock").c_str());
        error =
            "cannot create the port entry " + path +
            (why == EEXIST ? std::string(": it exists already (remove it or choose another --com)")
                           : std::string(": ") + std::strerror(why));
        return std::nullopt;
    }
    return PortEntry(path, target, std::move(lock));
}

PortEntry::PortEntry(std::string path, std::string target, UniqueFd lock)
    : path_(std::move(path)), target_(std::move(target)), lock_(std::move(lock)) {}

PortEntry::PortEntry(PortEntry&& other) noexcept
    : path_(std::move(other.path_)),
      target_(std::move(other.target_)),
      lock_(std::move(other.lock_)) {
    other.path_.clear();
}

PortEntry::~PortEntry() {
    if (path_.empty()) {
        return;
    }
    if (link_target(path_) == target_) {
        ::unlink(path_.c_str());
    }
    // Removed while still locked, so that no new owner's lock file goes with it.
    ::unlink((path_ + ".lock").c_str());
}

}  // namespace modem_sim
