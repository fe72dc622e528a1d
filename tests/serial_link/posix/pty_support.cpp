#include "pty_support.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <thread>

namespace brenlow_test {

namespace {

int CountEntries(const char* directory) {
    int count = 0;
    if (DIR* dir = ::opendir(directory)) {
        while (const dirent* entry = ::readdir(dir)) {
            if (entry->d_name[0] != '.') {
                ++count;
            }
        }
        ::closedir(dir);
    }
    return count;
}

}  // namespace

PtyPair::PtyPair() {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    std::array<char, 128> name{};
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 ||
        ::ptsname_r(m_master, name.data(), name.size()) != 0) {
        CloseMaster();
        return;
    }
    m_slavePath = name.data();
    // The master does not block, so every wait in a test has its own timeout.
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair() {
    CloseMaster();
}

void PtyPair::CloseMaster() {
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}

bool PtyPair::SendFromModem(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = ::write(m_master, bytes.data(), bytes.size());
        if (count <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

std::string PtyPair::ReceiveAtModem(std::size_t count, Clock::duration timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    std::string received;
    std::array<char, 4096> buffer{};
    while (received.size() < count && Clock::now() < deadline) {
        pollfd entry{m_master, POLLIN, 0};
        if (::poll(&entry, 1, 20) <= 0) {
            continue;
        }
        const ssize_t got = ::read(m_master, buffer.data(), buffer.size());
        if (got > 0) {
            received.append(buffer.data(), static_cast<std::size_t>(got));
        }
    }
    return received;
}

std::string PtyPair::ReceiveAvailable() {
    std::string received;
    std::array<char, 4096> buffer{};
    for (;;) {
        const ssize_t got = ::read(m_master, buffer.data(), buffer.size());
        if (got <= 0) {
            return received;
        }
        received.append(buffer.data(), static_cast<std::size_t>(got));
    }
}

termios PtyPair::DeviceSettings() const {
    termios settings{};
    ::tcgetattr(m_master, &settings);
    return settings;
}

void PtyPair::SetDeviceSettings(const termios& settings) {
    ::tcsetattr(m_master, TCSANOW, &settings);
}

PortDir::PortDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "brenlow-ports-XXXXXX");
    if (::mkdtemp(pattern.data()) != nullptr) {
        m_path = pattern;
    }
    if (const char* old = std::getenv("BRENLOW_PORT_DIR")) {
        m_hadOldValue = true;
        m_oldValue = old;
    }
    ::setenv("BRENLOW_PORT_DIR", m_path.c_str(), 1);
}

PortDir::~PortDir() {
    if (m_hadOldValue) {
        ::setenv("BRENLOW_PORT_DIR", m_oldValue.c_str(), 1);
    } else {
        ::unsetenv("BRENLOW_PORT_DIR");
    }
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string PortDir::Link(unsigned number, const std::string& target) {
    const std::string entry = m_path + "/com" + std::to_string(number);
    ::unlink(entry.c_str());
    if (::symlink(target.c_str(), entry.c_str()) != 0) {
        std::perror("symlink");
    }
    return "COM" + std::to_string(number);
}

int OpenDescriptorCount() {
    return CountEntries("/proc/self/fd") - 1;  // not the one that reads the folder
}

int ThreadCount() {
    return CountEntries("/proc/self/task");
}

std::chrono::nanoseconds ProcessCpuTime() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

}  // namespace brenlow_test
