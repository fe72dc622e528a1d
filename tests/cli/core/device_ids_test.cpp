// The USB identity of a port from the identifiers that SetupAPI reports, on strings as
// real adapters and built-in ports give them, and the Windows port listing built from them.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "device_ids.h"
#include "registry_ports.h"

namespace veltaro::cli {
namespace {

struct IdCase {
    const char* name;
    const char* hardwareId;
    const char* instanceId;
    const char* parentInstanceId;
    bool usb;
    const char* vendor;
    const char* product;
    const char* serial;
};

const IdCase kIdCases[] = {
    // FTDI's own bus driver: '+' between the fields, the channel letter after the serial.
    {"FtdiVcp", "FTDIBUS\\COMPORT&VID_0403&PID_6001", "FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000",
     "USB\\VID_0403&PID_6001\\A50285BI", true, "0403", "6001", "A50285BI"},
    {"FtdiSecondChannel", "FTDIBUS\\COMPORT&VID_0403&PID_6010",
     "FTDIBUS\\VID_0403+PID_6010+FT4XQ2B1B\\0000", "", true, "0403", "6010", "FT4XQ2B1"},
    {"SiliconLabsCp210x", "USB\\VID_10C4&PID_EA60&REV_0100", "USB\\VID_10C4&PID_EA60\\0001", "",
     true, "10c4", "ea60", "0001"},
    // No serial number in the chip: Windows makes up the last part.
    {"WchCh340", "USB\\VID_1A86&PID_7523&REV_0254", "USB\\VID_1A86&PID_7523\\5&1A2B3C4D&0&1", "",
     true, "1a86", "7523", ""},
    {"Prolific", "USB\\VID_067B&PID_2303&REV_0300", "USB\\VID_067B&PID_2303\\6&2B5F4E0&0&3", "",
     true, "067b", "2303", ""},
    // A modem's CDC interface of a composite device: the serial is the parent's.
    {"UsbCdcModemInterface", "USB\\VID_1546&PID_01A8&REV_0201&MI_00",
     "USB\\VID_1546&PID_01A8&MI_00\\7&3A1F2B7&0&0000", "USB\\VID_1546&PID_01A8\\0123456789", true,
     "1546", "01a8", "0123456789"},
    {"UsbCdcSingleFunction", "usb\\vid_2341&pid_0043&rev_0001",
     "USB\\VID_2341&PID_0043\\75330303035351F0E1A1", "", true, "2341", "0043",
     "75330303035351F0E1A1"},
    {"BuiltInUart", "ACPI\\VEN_PNP&DEV_0501", "ACPI\\PNP0501\\1", "ACPI\\PNP0A08\\0", false, "", "",
     ""},
    {"PciSerialCard", "PCI\\VEN_1415&DEV_C158&SUBSYS_00001415&REV_00",
     "PCI\\VEN_1415&DEV_C158&SUBSYS_00001415&REV_00\\4&1F7DBC9F&0&00E4", "", false, "", "", ""},
    {"BluetoothLink", "BTHENUM\\{00001101-0000-1000-8000-00805F9B34FB}_LOCALMFG&0002",
     "BTHENUM\\{00001101-0000-1000-8000-00805F9B34FB}_LOCALMFG&0002\\7&1D80ECD3&0&000000000000_0",
     "", false, "", "", ""},
    // A vendor field that is not four hex digits is no ID.
    {"BrokenVendorField", "USB\\VID_04G3&PID_6001", "USB\\VID_04G3&PID_6001\\X", "", false, "", "",
     ""},
    {"Empty", "", "", "", false, "", "", ""},
};

class DeviceIdTable : public ::testing::TestWithParam<IdCase> {};

TEST_P(DeviceIdTable, GivesTheUsbIdentityOrNone) {
    const IdCase& c = GetParam();
    const std::optional<DeviceIds> ids =
        ParseDeviceIds(c.hardwareId, c.instanceId, c.parentInstanceId);
    ASSERT_EQ(ids.has_value(), c.usb);
    if (ids) {
        EXPECT_EQ(ids->vendorId, c.vendor);
        EXPECT_EQ(ids->productId, c.product);
        EXPECT_EQ(ids->serial, c.serial);
    }
}

INSTANTIATE_TEST_SUITE_P(RealWorldStrings, DeviceIdTable, ::testing::ValuesIn(kIdCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ComNumberOf, TakesWhatComCanOpen) {
    const std::vector<std::pair<const char*, unsigned>> names{
        {"COM1", 1}, {"com12", 12}, {"COM999", 999}, {"COM0", 0},  {"COM1000", 0},
        {"COM", 0},  {"CNCA0", 0},  {"COM3 ", 0},    {"COM03", 0}, {"LPT1", 0}};
    for (const auto& [name, number] : names) {
        EXPECT_EQ(ComNumberOf(name).value_or(0), number) << name;
    }
}

// A source as the registry and SetupAPI of a bench laptop would answer.
class TableSource final : public ComPortSource {
  public:
    std::vector<SerialCommValue> serialComm;
    std::vector<SetupApiDevice> devices;
    std::vector<SerialCommValue> SerialComm() override { return serialComm; }
    std::vector<SetupApiDevice> SetupApiDevices() override { return devices; }
};

TEST(ComListing, JoinsTheRegistryAndTheDevicesByPortName) {
    TableSource source;
    source.serialComm = {{"\\Device\\VCP0", "COM12"},
                         {"\\Device\\Serial0", "COM1"},
                         {"\\Device\\com0com10", "CNCA0"},
                         {"\\Device\\Silabser0", "COM4"}};
    source.devices = {
        {"COM12", "USB Serial Port (COM12)", "FTDI", "USB Serial Port",
         "FTDIBUS\\COMPORT&VID_0403&PID_6001", "FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000", ""},
        {"COM1", "Communications Port (COM1)", "(Standard port types)", "Communications Port",
         "ACPI\\PNP0501", "ACPI\\PNP0501\\1", ""},
        {"COM7", "USB-SERIAL CH340 (COM7)", "wch.cn", "USB-SERIAL CH340",
         "USB\\VID_1A86&PID_7523&REV_0254", "USB\\VID_1A86&PID_7523\\5&1A2B3C4D&0&1", ""}};
    const std::vector<PortListing> ports = FindComPorts(source);
    EXPECT_EQ(FormatPorts(ports, false, kNoRegistryPorts),
              "COM1  \\Device\\Serial0  (SERIALCOMM; Communications Port (COM1), (Standard port "
              "types))\n"
              "COM4  \\Device\\Silabser0  (SERIALCOMM)\n"
              "COM7  -  (Ports class; USB-SERIAL CH340 (COM7), USB 1a86:7523 wch.cn "
              "USB-SERIAL CH340)\n"
              "COM12  \\Device\\VCP0  (SERIALCOMM; USB Serial Port (COM12), USB 0403:6001 FTDI "
              "USB Serial Port, serial A50285BI)\n");
    const nlohmann::ordered_json json = nlohmann::ordered_json::parse(FormatPorts(ports, true));
    ASSERT_EQ(json.size(), 4u);
    EXPECT_EQ(json[3].dump(), R"j({"com":12,"source":"SERIALCOMM","path":"\\Device\\VCP0",)j"
                              R"j("friendly_name":"USB Serial Port (COM12)","maker":"FTDI","usb":)j"
                              R"j({"vendor_id":"0403","product_id":"6001","maker":"FTDI",)j"
                              R"j("product":"USB Serial Port","serial":"A50285BI"}})j");
    EXPECT_EQ(json[1].dump(), R"j({"com":4,"source":"SERIALCOMM","path":"\\Device\\Silabser0",)j"
                              R"j("friendly_name":null,"maker":null,"usb":null})j");
    EXPECT_EQ(json[2]["source"], "Ports class");
    EXPECT_TRUE(json[2]["path"].is_null());
}

TEST(ComListing, NamesThatCouldSteerTheTerminalAreEscapedAndNoneIsSaid) {
    TableSource source;
    source.serialComm = {{"\\Device\\Evil\x1b[2J", "COM2"}};
    EXPECT_EQ(FormatPorts(FindComPorts(source), false, kNoRegistryPorts),
              "COM2  \\Device\\Evil\\x1b[2J  (SERIALCOMM)\n");
    EXPECT_EQ(FormatPorts({}, true, kNoRegistryPorts), "[]\n");
    EXPECT_EQ(FormatPorts({}, false, kNoRegistryPorts), kNoRegistryPorts);
}

}  // namespace
}  // namespace veltaro::cli
