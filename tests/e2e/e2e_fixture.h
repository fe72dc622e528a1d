#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QString>

#include "dialog_driver.h"
#include "modem_sim_process.h"
#include "temp_dir.h"
#include "wire_trace.h"

namespace veltaro::e2e {

// One end-to-end session: a private port directory (BRENLOW_PORT_DIR of this process), the
// real main dialog on the screen, and simulated modems started on demand. Each test runs in
// a process of its own (one ctest entry per test), so the environment is its own.
class EndToEndTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Starts a simulator; null (with a test failure) when it did not come up.
    ModemSimProcess* StartSim(const SimSetup& setup);

    // Types the COM number, presses Open and waits for the caption to name the model.
    testing::AssertionResult OpenAndDetect(int com, const QString& model);
    // Waits until the log pane holds `count` lines that are exactly `line`.
    testing::AssertionResult WaitForLogLines(const QString& line, int count, int timeoutMs);
    // Clicks a command button, which must be enabled; returns when its handler has.
    testing::AssertionResult ClickCommand(int buttonId);

    // The simulator's traces as they stand, after the bytes in flight have landed.
    std::vector<WireByte> Received(const ModemSimProcess& sim);
    std::vector<WireByte> Sent(const ModemSimProcess& sim);

    DialogDriver& Ui() { return *m_driver; }
    const std::string& PortDir() const { return m_portDir; }

  private:
    std::vector<WireByte> ReadTrace(const std::string& path);

    TempDir m_dir;
    std::string m_portDir;
    std::unique_ptr<DialogDriver> m_driver;
    std::vector<std::unique_ptr<ModemSimProcess>> m_sims;
};

// Lines of the log pane that end a screen.
inline const QString kOkLine = QStringLiteral("OK");
inline const QString kRefusedLine = QStringLiteral("!!");

}  // namespace veltaro::e2e
