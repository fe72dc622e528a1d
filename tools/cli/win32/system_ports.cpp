#include "system_ports.h"

#include <windows.h>

#include <cfgmgr32.h>
#include <devguid.h>
#include <setupapi.h>

#include <string>

#include "wide_text.h"

namespace veltaro::cli {
namespace {

// A REG_SZ value read into a string of the size it reports. Empty for another type.
std::wstring RegistryText(HKEY key, const wchar_t* name) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return {};
    }
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &bytes) !=
        ERROR_SUCCESS) {
        return {};
    }
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

// A device property as text; for a list (the hardware IDs) its first entry.
std::string Property(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
    DWORD bytes = 0;
    SetupDiGetDeviceRegistryPropertyW(set, &device, property, nullptr, nullptr, 0, &bytes);
    if (bytes == 0) {
        return {};
    }
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    if (!SetupDiGetDeviceRegistryPropertyW(set, &device, property, nullptr,
                                           reinterpret_cast<BYTE*>(text.data()), bytes, nullptr)) {
        return {};
    }
    return Utf8FromWide(text.c_str());
}

std::string InstanceIdOf(DEVINST instance) {
    std::wstring id(MAX_DEVICE_ID_LEN + 1, L'\0');
    if (CM_Get_Device_IDW(instance, id.data(), MAX_DEVICE_ID_LEN, 0) != CR_SUCCESS) {
        return {};
    }
    return Utf8FromWide(id.c_str());
}

// The port name: the device key's PortName for a port, the driver key's AttachedTo for a
// modem that a serial port carries.
std::string PortNameOf(HDEVINFO set, SP_DEVINFO_DATA& device) {
    std::wstring name;
    for (const auto& [keyType, value] :
         {std::pair{DIREG_DEV, L"PortName"}, std::pair{DIREG_DRV, L"AttachedTo"}}) {
        HKEY key = SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, keyType, KEY_READ);
        if (key != INVALID_HANDLE_VALUE) {
            name = RegistryText(key, value);
            RegCloseKey(key);
        }
        if (!name.empty()) {
            break;
        }
    }
    return Utf8FromWide(name);
}

SetupApiDevice Describe(HDEVINFO set, SP_DEVINFO_DATA& device) {
    SetupApiDevice port;
    port.portName = PortNameOf(set, device);
    port.friendlyName = Property(set, device, SPDRP_FRIENDLYNAME);
    port.maker = Property(set, device, SPDRP_MFG);
    port.description = Property(set, device, SPDRP_DEVICEDESC);
    port.hardwareId = Property(set, device, SPDRP_HARDWAREID);
    port.instanceId = InstanceIdOf(device.DevInst);
    DEVINST parent = 0;
    if (CM_Get_Parent(&parent, device.DevInst, 0) == CR_SUCCESS) {
        port.parentInstanceId = InstanceIdOf(parent);
    }
    return port;
}

}  // namespace

std::vector<SerialCommValue> SystemComPortSource::SerialComm() {
    std::vector<SerialCommValue> values;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return values;  // no serial port driver has started
    }
    DWORD longestName = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     &longestName, nullptr, nullptr, nullptr);
    for (DWORD index = 0;; ++index) {
        std::wstring name(longestName + 1, L'\0');
        DWORD nameLength = static_cast<DWORD>(name.size());
        if (RegEnumValueW(key, index, name.data(), &nameLength, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS) {
            break;
        }
        name.resize(nameLength);
        const std::wstring port = RegistryText(key, name.c_str());
        if (!port.empty()) {
            values.push_back({Utf8FromWide(name), Utf8FromWide(port)});
        }
    }
    RegCloseKey(key);
    return values;
}

std::vector<SetupApiDevice> SystemComPortSource::SetupApiDevices() {
    std::vector<SetupApiDevice> devices;
    for (const GUID& deviceClass : {GUID_DEVCLASS_PORTS, GUID_DEVCLASS_MODEM}) {
        HDEVINFO set = SetupDiGetClassDevsW(&deviceClass, nullptr, nullptr, DIGCF_PRESENT);
        if (set == INVALID_HANDLE_VALUE) {
            continue;
        }
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof device;
        for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
            devices.push_back(Describe(set, device));
        }
        SetupDiDestroyDeviceInfoList(set);
    }
    return devices;
}

}  // namespace veltaro::cli
