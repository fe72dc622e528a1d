#pragma once

#include <termios.h>

#include <optional>

#include "serial_device.h"
#include "unique_fd.h"

namespace brenlow::detail {

// A serial device opened on POSIX. Opening, in this order:
//   1. open read-write, without becoming the controlling terminal, non-blocking;
//   2. take an advisory lock (flock), which also holds against root and other tools;
//   3. TIOCEXCL, so that nobody else may open it while we have it;
//   4. save the terminal settings;
//   5. apply raw mode and the line settings, and read them back to see that they took;
//   6. purge both buffers.
// A failing step undoes the earlier ones. Closing (the destructor) empties the input side
// (and the output side only when DrainOutput gave up: a plain close would otherwise wait
// for the driver's closing delay), restores the saved settings, drops TIOCEXCL and the
// lock, and closes; nothing of it runs for a device whose lock another program holds.
// On a pseudo-terminal, flushing the output would also throw away what the peer has not
// read yet, so a drained device never flushes it.
class PosixSerialDevice final : public SerialDevice {
  public:
    [[nodiscard]] static std::unique_ptr<SerialDevice> Open(const std::string& path,
                                                            const LineSettings& settings,
                                                            OpenFailure& failure);
    ~PosixSerialDevice() override;

    PosixSerialDevice(const PosixSerialDevice&) = delete;
    PosixSerialDevice& operator=(const PosixSerialDevice&) = delete;

    [[nodiscard]] std::uint32_t Write(const unsigned char* data, std::uint32_t length,
                                      std::uint64_t timeoutMs) override;
    [[nodiscard]] std::uint32_t Read(unsigned char* buffer, std::uint32_t capacity) override;
    [[nodiscard]] bool DrainOutput(std::uint32_t timeoutPerByteMs) override;
    [[nodiscard]] std::unique_ptr<PortWatch> CreateWatch(std::string& reason) override;

  private:
    explicit PosixSerialDevice(UniqueFd fd) : m_fd(std::move(fd)) {}

    [[nodiscard]] bool Prepare(const std::string& path, const LineSettings& settings,
                               OpenFailure& failure);
    [[nodiscard]] bool ApplyLineSettings(const std::string& path, const LineSettings& settings,
                                         OpenFailure& failure);

    UniqueFd m_fd;
    bool m_locked = false;     // our flock is held: the close sequence is ours to run
    bool m_exclusive = false;  // TIOCEXCL is set by us
    bool m_undrained = false;  // DrainOutput gave up: discard what is still queued
    std::optional<termios> m_saved;
};

}  // namespace brenlow::detail
