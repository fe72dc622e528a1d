#include "info_report.h"

#include "profile.h"
#include "setting_keys.h"
#include "text_util.h"

namespace veltaro::cli {
namespace {

using console::SettingsForm;

ReportEntry TextEntry(const KeyRow& row, const SettingsForm& form) {
    const std::string& raw = form.*row.text;
    return {row.name, row.jsonName, std::string(Trim(raw)), true, raw};
}

ReportEntry ChoiceEntry(const KeyRow& row, const SettingsForm& form) {
    return {
        row.name, row.jsonName, std::string(ChoiceName(row.choices, form.*row.index)), false, {}};
}

void AddPeriod(const SettingsForm& form, std::vector<ReportEntry>& out) {
    if (Trim(form.period).empty()) {
        return;
    }
    out.push_back(TextEntry(RowOf(SetKey::kPeriod), form));
    out.push_back({"period-unit",
                   "period_unit",
                   std::string(ChoiceName(PeriodUnitNames(), form.periodUnit)),
                   false,
                   {}});
}

bool Reported(SetKey key, bool deviceMode, bool uartRead) {
    switch (key) {
        case SetKey::kChannel:
        case SetKey::kPower:
        case SetKey::kMode:
            return true;
        case SetKey::kDestinationId:
        case SetKey::kPeriod:
            return deviceMode;
        default:
            return uartRead;
    }
}

void AppendJsonEntry(const ReportEntry& entry, std::string& out) {
    out += "    \"" + std::string(entry.jsonKey) + "\": ";
    out += entry.value.empty() && !entry.hasRaw ? "null" : JsonString(entry.value);
    if (entry.hasRaw) {
        out += ",\n    \"" + std::string(entry.jsonKey) + "_raw\": " + JsonString(entry.raw);
    }
}

std::string JsonSettings(const InfoReport& report) {
    if (!report.settingsRead) {
        return "null";
    }
    std::string out = "{";
    for (std::size_t i = 0; i < report.settings.size(); ++i) {
        out += i == 0 ? "\n" : ",\n";
        AppendJsonEntry(report.settings[i], out);
    }
    return out + (report.settings.empty() ? "}" : "\n  }");
}

std::string JsonNames(const std::vector<std::string_view>& names) {
    std::string out = "[";
    for (std::size_t i = 0; i < names.size(); ++i) {
        out += (i == 0 ? "" : ", ") + JsonString(names[i]);
    }
    return out + "]";
}

}  // namespace

std::vector<ReportEntry> ReportedSettings(const SettingsForm& shown, bool deviceMode,
                                          bool uartRead) {
    std::vector<ReportEntry> out;
    for (const KeyRow& row : KeyTable()) {
        if (!Reported(row.key, deviceMode, uartRead)) {
            continue;
        }
        if (row.kind == ValueKind::kPeriod) {
            AddPeriod(shown, out);
        } else if (row.kind == ValueKind::kText) {
            out.push_back(TextEntry(row, shown));
        } else {
            out.push_back(ChoiceEntry(row, shown));
        }
    }
    return out;
}

std::string FormatText(const InfoReport& report) {
    std::string out = "model: " + Printable(report.model) + "\n";
    out += "range-class: " + report.rangeClass + "\n";
    out += "family: " + report.family + "\n";
    for (const ReportEntry& entry : report.settings) {
        const bool unknown = entry.value.empty() && !entry.hasRaw;
        const std::string value = unknown ? "unknown" : Printable(entry.value);
        out += std::string(entry.key) + ": " + value + "\n";
    }
    if (report.settingsRead) {
        out += "settable:";
        for (const std::string_view name : report.settable) {
            out += ' ';  // appended: g++ 12 -O3 warns falsely (-Wrestrict) on " " + string
            out += name;
        }
        out += "\n";
    }
    return out;
}

std::string FormatJson(const InfoReport& report) {
    // The version first: the object is also a profile that set --from reads back.
    std::string out = "{\n  \"veltaro_profile\": " + std::to_string(kProfileVersion) + ",\n";
    out += "  \"model\": " + JsonString(report.model) + ",\n";
    out += "  \"range_class\": " + JsonString(report.rangeClass) + ",\n";
    out += "  \"family\": " + JsonString(report.family) + ",\n";
    out += "  \"settings\": " + JsonSettings(report) + ",\n";
    out += "  \"settable\": " + JsonNames(report.settable) + "\n";
    return out + "}\n";
}

}  // namespace veltaro::cli
