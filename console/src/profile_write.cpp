#include "veltaro/console/model_table.h"
#include "veltaro/console/profile.h"
#include "veltaro/console/reported_settings.h"

namespace veltaro::console {
namespace {

using Json = nlohmann::ordered_json;

Json SettingsJson(const ModemReport& report) {
    if (!report.settingsRead) {
        return nullptr;
    }
    Json settings = Json::object();
    for (const ReportEntry& entry :
         ReportedSettings(report.shown, report.deviceMode, report.uartRead)) {
        const std::string key(entry.jsonKey);
        settings[key] =
            entry.value.empty() && !entry.hasRaw ? Json(nullptr) : BytesToJson(entry.value);
        if (entry.hasRaw) {
            settings[key + "_raw"] = BytesToJson(entry.raw);
        }
    }
    return settings;
}

}  // namespace

Json BytesToJson(std::string_view bytes) {
    std::string utf8;
    utf8.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return Json(std::move(utf8));
}

std::string DumpJson(const Json& json) {
    return json.dump(2, ' ', true) + "\n";
}

Json ProfileJson(const ModemReport& report) {
    // The version first: the object is also what set --from reads back.
    Json out = Json::object();
    out["veltaro_profile"] = kProfileVersion;
    out["model"] = BytesToJson(report.modelCode);
    out["range_class"] = std::string(RangeClassName(RangeClassOf(report.modelCode)));
    out["family"] = std::string(FamilyName(FamilyOf(report.modelCode)));
    out["settings"] = SettingsJson(report);
    Json settable = Json::array();
    for (const SetKey key : report.settable) {
        settable.push_back(std::string(RowOf(key).name));
    }
    out["settable"] = std::move(settable);
    return out;
}

std::string WriteProfile(const ModemReport& report) {
    return DumpJson(ProfileJson(report));
}

}  // namespace veltaro::console
