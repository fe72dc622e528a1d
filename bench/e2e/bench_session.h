#pragma once

#include <memory>
#include <optional>
#include <string>

#include "dialog_driver.h"
#include "modem_sim_process.h"
#include "temp_dir.h"

namespace veltaro::e2e {

// One in-process benchmark session: a private port directory (this process's
// BRENLOW_PORT_DIR), a simulated modem and the real main dialog. Waits run the event loop
// itself, as the program does, so that no polling delay enters a measured time.
//
// Threads: the user-interface thread, with a QApplication.
class BenchSession {
  public:
    explicit BenchSession(const SimSetup& setup);
    ~BenchSession();

    BenchSession(const BenchSession&) = delete;
    BenchSession& operator=(const BenchSession&) = delete;

    // Empty when the session is up; otherwise what failed.
    const std::string& Error() const { return m_error; }

    // Types the COM number, presses Open, waits for the caption and then for `screens`
    // finished screens in the log. False (with Error()) on timeout.
    bool OpenAndDetect(int screens);

    // Runs the event loop until the log pane holds `count` lines "OK"; returns the time (on
    // the traces' clock) of the change that got it there, or nothing after timeoutMs.
    std::optional<double> WaitForOkLines(int count, int timeoutMs);

    DialogDriver& Ui() { return *m_driver; }
    ModemSimProcess& Sim() { return *m_sim; }

  private:
    SimSetup m_setup;
    TempDir m_dir;
    std::unique_ptr<ModemSimProcess> m_sim;
    std::unique_ptr<DialogDriver> m_driver;
    std::string m_error;
};

// Statistics of a series of samples.
double Mean(const std::vector<double>& samples);
double Max(const std::vector<double>& samples);

}  // namespace veltaro::e2e
