#include "posix_device.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <thread>

#include "line_settings.h"
#include "open_failure.h"
#include "posix_watch.h"

namespace brenlow::detail {

namespace {

using Clock = std::chrono::steady_clock;

// How often a drain looks at the output queue: a few bytes' time at 9600 baud.
constexpr std::chrono::milliseconds kDrainPollStep{1};

// Far beyond any real write, and small enough that the clock's arithmetic cannot overflow.
constexpr std::uint64_t kLongestTimeoutMs = std::uint64_t{1} << 40;

// The end of a write's time limit, as poll timeouts.
class Deadline {
  public:
    explicit Deadline(std::uint64_t timeoutMs)
        : m_unlimited(timeoutMs == 0),
          m_end(Clock::now() + std::chrono::milliseconds(std::min(timeoutMs, kLongestTimeoutMs))) {}

    // Milliseconds left for poll: -1 without a limit, 0 once it has passed.
    [[nodiscard]] int PollTimeout() const {
        if (m_unlimited) {
            return -1;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(m_end - Clock::now());
        return static_cast<int>(std::clamp<std::int64_t>(left.count(), 0, INT_MAX));
    }

  private:
    bool m_unlimited;
    Clock::time_point m_end;
};

// Waits until fd takes more bytes; false when the time is up or the device is gone.
bool WaitWritable(int fd, const Deadline& deadline) {
    for (;;) {
        const int timeout = deadline.PollTimeout();
        if (timeout == 0) {
            return false;
        }
        pollfd entry{fd, POLLOUT, 0};
        const int ready = ::poll(&entry, 1, timeout);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        return ready > 0 && (entry.revents & (POLLHUP | POLLERR | POLLNVAL)) == 0;
    }
}

int OpenDeviceFd(const std::string& path) {
    for (;;) {
        const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0 || errno != EINTR) {
            return fd;
        }
    }
}

}  // namespace

std::unique_ptr<SerialDevice> PosixSerialDevice::Open(const std::string& path,
                                                      const LineSettings& settings,
                                                      OpenFailure& failure) {
    UniqueFd fd(OpenDeviceFd(path));
    if (!fd.Valid()) {
        failure = DescribeOpenFailure(OpenStep::kOpen, errno, path);
        return nullptr;
    }
    std::unique_ptr<PosixSerialDevice> device(new PosixSerialDevice(std::move(fd)));
    if (!device->Prepare(path, settings, failure)) {
        return nullptr;  // the destructor undoes what Prepare did
    }
    return device;
}

bool PosixSerialDevice::Prepare(const std::string& path, const LineSettings& settings,
                                OpenFailure& failure) {
    const int fd = m_fd.Get();
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        failure = DescribeOpenFailure(OpenStep::kLock, errno, path);
        return false;
    }
    m_locked = true;
    if (::ioctl(fd, TIOCEXCL) != 0) {
        failure = DescribeOpenFailure(OpenStep::kExclusive, errno, path);
        return false;
    }
    m_exclusive = true;
    termios current{};
    if (::tcgetattr(fd, &current) != 0) {
        failure = DescribeOpenFailure(OpenStep::kReadSettings, errno, path);
        return false;
    }
    m_saved = current;
    if (!ApplyLineSettings(path, settings, failure)) {
        return false;
    }
    static_cast<void>(::tcflush(fd, TCIOFLUSH));  // stale bytes of an earlier user go
    return true;
}

bool PosixSerialDevice::ApplyLineSettings(const std::string& path, const LineSettings& settings,
                                          OpenFailure& failure) {
    const int fd = m_fd.Get();
    const std::optional<termios> wanted = MakeLineTermios(*m_saved, settings);
    if (!wanted) {
        failure = DescribeOpenFailure(OpenStep::kLineSettings, 0, path);
        return false;
    }
    if (::tcsetattr(fd, TCSANOW, &*wanted) != 0) {
        failure = DescribeOpenFailure(OpenStep::kLineSettings, errno, path);
        return false;
    }
    // tcsetattr succeeds when any part of the change took, so look at what the driver kept.
    termios actual{};
    if (::tcgetattr(fd, &actual) != 0 || !TookLineTermios(*wanted, actual)) {
        failure = DescribeOpenFailure(OpenStep::kLineSettings, 0, path);
        return false;
    }
    return true;
}

PosixSerialDevice::~PosixSerialDevice() {
    if (!m_locked) {
        return;  // another program holds the device: only our descriptor goes
    }
    const int fd = m_fd.Get();
    static_cast<void>(::tcflush(fd, m_undrained ? TCIOFLUSH : TCIFLUSH));
    if (m_saved) {
        static_cast<void>(::tcsetattr(fd, TCSANOW, &*m_saved));
    }
    if (m_exclusive) {
        static_cast<void>(::ioctl(fd, TIOCNXCL));
    }
    static_cast<void>(::flock(fd, LOCK_UN));
}

std::uint32_t PosixSerialDevice::Write(const unsigned char* data, std::uint32_t length,
                                       std::uint64_t timeoutMs) {
    const Deadline deadline(timeoutMs);
    std::uint32_t written = 0;
    while (written < length) {
        const ssize_t count = ::write(m_fd.Get(), data + written, length - written);
        if (count > 0) {
            written += static_cast<std::uint32_t>(count);
            continue;
        }
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if ((count < 0 && errno != EAGAIN) || !WaitWritable(m_fd.Get(), deadline)) {
            break;
        }
    }
    return written;
}

std::uint32_t PosixSerialDevice::Read(unsigned char* buffer, std::uint32_t capacity) {
    for (;;) {
        const ssize_t count = ::read(m_fd.Get(), buffer, capacity);
        if (count > 0) {
            return static_cast<std::uint32_t>(count);
        }
        if (count < 0 && errno == EINTR) {
            continue;
        }
        return 0;  // nothing waiting, or an error: either way the drain stops
    }
}

bool PosixSerialDevice::DrainOutput(std::uint32_t timeoutPerByteMs) {
    const int fd = m_fd.Get();
    int queued = 0;
    if (::ioctl(fd, TIOCOUTQ, &queued) != 0) {
        m_undrained = true;
        return false;
    }
    const std::uint64_t perByteMs = std::max<std::uint32_t>(timeoutPerByteMs, 1);
    const Deadline deadline(perByteMs * static_cast<std::uint64_t>(std::max(queued, 0)));
    while (queued > 0) {
        // Polled rather than tcdrain: tcdrain waits for as long as the device holds back.
        if (deadline.PollTimeout() == 0) {
            m_undrained = true;
            return false;
        }
        std::this_thread::sleep_for(kDrainPollStep);
        if (::ioctl(fd, TIOCOUTQ, &queued) != 0) {
            m_undrained = true;
            return false;
        }
    }
    // Only the transmitter's own few bytes are left; drivers bound that wait themselves.
    return ::tcdrain(fd) == 0;
}

std::unique_ptr<PortWatch> PosixSerialDevice::CreateWatch(std::string& reason) {
    return PosixWatch::Create(m_fd.Get(), reason);
}

}  // namespace brenlow::detail
