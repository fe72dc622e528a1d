#pragma once

#include <memory>

#include "stop_signal.h"

namespace veltaro::cli {

// Blocks SIGINT, SIGTERM, SIGHUP and SIGWINCH in the calling thread and every thread it
// starts afterwards, so that they arrive only through a PosixStopSignal's signal descriptor.
// Call it before the first thread (a serial watcher, a port's worker) is started.
void BlockTerminationSignals();

// The stop signal on POSIX: the termination signals through a signalfd, the stop flag as an
// eventfd that becomes readable once Stop() ran and stays so, so any number of event loops
// can poll it, and the main thread's wake-ups as a second eventfd.
class PosixStopSignal final : public StopSignal {
  public:
    PosixStopSignal();
    ~PosixStopSignal() override;

    PosixStopSignal(const PosixStopSignal&) = delete;
    PosixStopSignal& operator=(const PosixStopSignal&) = delete;

    bool Ready() const { return m_signalFd >= 0 && m_stopFd >= 0 && m_wakeFd >= 0; }
    int StopFd() const { return m_stopFd; }
    void Stop() override;
    bool Stopped() const override;
    void Wake() override;
    bool WaitForSignal(int timeoutMs) override;
    std::unique_ptr<EventPump> MakePump() override;

  private:
    int m_signalFd = -1;
    int m_stopFd = -1;
    int m_wakeFd = -1;
};

}  // namespace veltaro::cli
