#pragma once

#include <string>

#include "serial_device.h"
#include "unique_fd.h"

namespace brenlow::detail {

// The watcher's wait on POSIX: poll on the port and on an eventfd that Wake signals. The
// eventfd is never read, so once woken every later wait and pause ends at once.
class PosixWatch final : public PortWatch {
  public:
    // portFd stays owned by the device, which outlives this watch.
    PosixWatch(int portFd, UniqueFd wakeFd) : m_portFd(portFd), m_wakeFd(std::move(wakeFd)) {}

    // Null with a reason when the wake descriptor cannot be made.
    [[nodiscard]] static std::unique_ptr<PortWatch> Create(int portFd, std::string& reason);

    [[nodiscard]] WaitResult WaitForCharacters() override;
    void Pause(std::chrono::milliseconds pause) override;
    void Wake() override;
    [[nodiscard]] std::string GoneReason() const override { return m_goneReason; }

  private:
    [[nodiscard]] WaitResult Gone(std::string reason);

    int m_portFd;
    std::string m_goneReason;  // watcher thread only
    UniqueFd m_wakeFd;
};

}  // namespace brenlow::detail
