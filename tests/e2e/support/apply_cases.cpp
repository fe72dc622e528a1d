#include "apply_cases.h"

#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

namespace veltaro::e2e {

const ModemValues& SourceModem() {
    static const ModemValues modem{"KD-35",
                                   {"channel=23", "power=1F", "mode=device", "dest-id=0BEEF",
                                    "interface=rs485", "data-bits=7", "stop-bits=2", "parity=odd"}};
    return modem;
}

const ModemValues& TargetModem() {
    static const ModemValues modem{
        "KD-35",
        {"channel=05", "power=0A", "mode=pc", "dest-id=12345", "interface=rs232", "data-bits=8",
         "stop-bits=1", "parity=none"}};
    return modem;
}

std::string SourceProfileText() {
    return R"({
  "veltaro_profile": 1,
  "settings": {
    "channel": "23",
    "power": "1F",
    "mode": "device",
    "destination_id": "0BEEF",
    "interface": "rs485",
    "data_bits": "7",
    "stop_bits": "2",
    "parity": "odd"
  }
}
)";
}

std::string TargetProfileText() {
    return R"({
  "veltaro_profile": 1,
  "settings": {
    "channel": "5",
    "power": "A",
    "mode": "pc",
    "destination_id": "12345",
    "interface": "rs232",
    "data_bits": "8",
    "stop_bits": "1",
    "parity": "none"
  }
}
)";
}

std::vector<std::string> SimArgs(const ModemValues& modem) {
    std::vector<std::string> args;
    for (const std::string& setting : modem.settings) {
        args.push_back("--set");
        args.push_back(setting);
    }
    return args;
}

std::string SimOptions(const ModemValues& modem) {
    std::string options;
    for (const std::string& arg : SimArgs(modem)) {
        options += (options.empty() ? "" : " ") + arg;
    }
    return options;
}

namespace {

nlohmann::json SettingsOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const nlohmann::json profile = nlohmann::json::parse(text.str(), nullptr, false);
    if (profile.is_discarded() || !profile.is_object() || !profile.contains("settings") ||
        !profile["settings"].is_object()) {
        return nullptr;
    }
    return profile["settings"];
}

}  // namespace

std::string ProfileSettings(const std::string& path, const std::string& keysOf) {
    const nlohmann::json all = SettingsOf(path);
    const nlohmann::json only = keysOf.empty() ? nlohmann::json(nullptr) : SettingsOf(keysOf);
    if (all.is_null()) {
        return {};
    }
    nlohmann::json settings = nlohmann::json::object();
    for (const auto& [key, value] : all.items()) {
        const bool raw = key.size() >= 4 && key.compare(key.size() - 4, 4, "_raw") == 0;
        if (!raw && (only.is_null() || only.contains(key))) {
            settings[key] = value;
        }
    }
    return settings.dump();  // nlohmann::json keeps its keys sorted
}

}  // namespace veltaro::e2e
