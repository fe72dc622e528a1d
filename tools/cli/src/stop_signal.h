#pragma once

#include <span>

namespace veltaro::cli {

// Blocks SIGINT, SIGTERM and SIGHUP in the calling thread and every thread it starts
// afterwards, so that they arrive only through a StopSignal's signal descriptor. Call it
// before the first thread (a serial watcher, a port's worker) is started.
void BlockTerminationSignals();

// The one place where termination signals arrive, and the flag that tells every port's
// connection to stop. The stop descriptor becomes readable once Stop() ran and stays so,
// so any number of event loops can poll it.
//
// Threads: Stop, Stopped and StopFd from any thread; WaitForSignal from the main thread.
class StopSignal {
  public:
    StopSignal();
    ~StopSignal();

    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    bool Ready() const { return m_signalFd >= 0 && m_stopFd >= 0; }
    int StopFd() const { return m_stopFd; }
    void Stop();
    bool Stopped() const;

    // Waits up to timeoutMs (-1: without limit) for a termination signal or for `wakeFd`
    // to become readable. On a signal, stops and returns true.
    bool WaitForSignal(int wakeFd, int timeoutMs);
    // The same with several descriptors to wake on; those below 0 are left out.
    bool WaitForSignal(std::span<const int> wakeFds, int timeoutMs);

  private:
    int m_signalFd = -1;
    int m_stopFd = -1;
};

}  // namespace veltaro::cli
