// `veltaro-cli.exe ports` under Wine, with SERIALCOMM values that the test writes into the
// prefix's registry as serial drivers do. (The parsing of SetupAPI's identifiers is tested
// on every platform: core/device_ids_test.cpp.)
#include <windows.h>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "child_process.h"
#include "cli_expect.h"
#include "system_ports.h"

namespace veltaro::cli::testing {
namespace {

using namespace std::chrono_literals;

const wchar_t kSerialComm[] = L"HARDWARE\\DEVICEMAP\\SERIALCOMM";

// Values as a USB adapter's driver, a second card and a port emulator would write them.
const struct {
    const wchar_t* device;
    const wchar_t* port;
} kValues[] = {
    {L"\\Device\\VeltaroTestVCP0", L"COM57"},
    {L"\\Device\\VeltaroTestSerial7", L"COM203"},
    {L"\\Device\\VeltaroTestCnc", L"CNCA0"},  // not a name --com can open
};

class Ports : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSerialComm, 0, nullptr, REG_OPTION_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &m_key, nullptr),
                  ERROR_SUCCESS);
        for (const auto& value : kValues) {
            const DWORD bytes = static_cast<DWORD>((wcslen(value.port) + 1) * sizeof(wchar_t));
            ASSERT_EQ(RegSetValueExW(m_key, value.device, 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(value.port), bytes),
                      ERROR_SUCCESS);
        }
    }
    void TearDown() override {
        for (const auto& value : kValues) {
            RegDeleteValueW(m_key, value.device);
        }
        RegCloseKey(m_key);
    }

    static ChildProcess::Result RunCli(const std::vector<std::string>& args) {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        const std::string cli =
            (std::filesystem::path(path).parent_path() / "veltaro-cli.exe").string();
        return ChildProcess(cli, args, {}).Finish(60s);
    }

  private:
    HKEY m_key = nullptr;
};

TEST_F(Ports, ListsTheRegistrysComPortsInOrderAndOpensNone) {
    const ChildProcess::Result text = RunCli({"ports"});
    ASSERT_EQ(text.status, kOk) << Describe(text);
    const std::size_t first = text.out.find("COM57  \\Device\\VeltaroTestVCP0  (SERIALCOMM");
    const std::size_t second = text.out.find("COM203  \\Device\\VeltaroTestSerial7  (SERIALCOMM");
    ASSERT_NE(first, std::string::npos) << text.out;
    ASSERT_NE(second, std::string::npos) << text.out;
    EXPECT_LT(first, second);
    ExpectLacks(text.out, {"CNCA0", "VeltaroTestCnc"});

    const ChildProcess::Result json = RunCli({"ports", "--json"});
    ASSERT_EQ(json.status, kOk) << Describe(json);
    const nlohmann::ordered_json ports = nlohmann::ordered_json::parse(json.out);
    bool listed = false;
    for (const auto& port : ports) {
        if (port["com"] == 57) {
            listed = true;
            EXPECT_EQ(port.dump(), R"({"com":57,"source":"SERIALCOMM","path":)"
                                   R"("\\Device\\VeltaroTestVCP0","friendly_name":null,)"
                                   R"("maker":null,"usb":null})");
        }
    }
    EXPECT_TRUE(listed) << json.out;
}

TEST_F(Ports, TheSystemSourceReadsEveryValue) {
    SystemComPortSource source;
    const std::vector<SerialCommValue> values = source.SerialComm();
    for (const auto& wanted : std::vector<SerialCommValue>{{"\\Device\\VeltaroTestVCP0", "COM57"},
                                                           {"\\Device\\VeltaroTestCnc", "CNCA0"}}) {
        bool found = false;
        for (const SerialCommValue& value : values) {
            found = found || (value.device == wanted.device && value.portName == wanted.portName);
        }
        EXPECT_TRUE(found) << wanted.device;
    }
    static_cast<void>(source.SetupApiDevices());  // Wine has no such devices; it must not fail
}

}  // namespace
}  // namespace veltaro::cli::testing
