#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "quistor_dlg.h"
#include "wire_trace.h"

namespace veltaro::e2e {

// One end-to-end session of the Win32 dialog under Wine: the simulator that the runner
// (e2e-wine-run.sh) starts on request, and the real main dialog on the program's templates.
class Win32EndToEndTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Asks the runner for a simulated modem on COM `com`, with further simulator options;
    // false when it did not come up.
    testing::AssertionResult StartSim(const std::string& model, int com,
                                      const std::string& options = {});
    // Types the COM number, presses Open and waits for the caption to name the model.
    testing::AssertionResult OpenAndDetect(int com, const std::string& model);
    // Waits until the log pane holds `count` lines that are exactly `line`.
    testing::AssertionResult WaitForLogLines(const std::wstring& line, int count, int timeoutMs);
    // Handles the dialog's messages for this long.
    void Pump(int ms);

    void Type(int id, const std::string& text);
    void Click(int id);
    int CountLogLines(const std::wstring& line) const;
    std::wstring LogText() const;

    // The simulator's trace of received bytes, after the bytes in flight have landed.
    std::vector<WireByte> Received();
    // The simulator's trace of sent bytes, with the time each left.
    std::vector<WireByte> Sent();

    std::unique_ptr<ui::CQuistorDlg> dialog;
    HWND hwnd = nullptr;

  private:
    std::string m_session;  // Windows path of the session folder
};

}  // namespace veltaro::e2e
