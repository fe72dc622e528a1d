#include "info_report.h"

#include "setting_keys.h"
#include "text_util.h"
#include "veltaro/console/model_table.h"

namespace veltaro::cli {

std::string FormatText(const InfoReport& report) {
    const std::string& code = report.modelCode;
    std::string out = "model: " + Printable(code) + "\n";
    out +=
        "range-class: " + std::string(console::RangeClassName(console::RangeClassOf(code))) + "\n";
    out += "family: " + std::string(console::FamilyName(console::FamilyOf(code))) + "\n";
    if (!report.settingsRead) {
        return out;
    }
    for (const ReportEntry& entry :
         ReportedSettings(report.shown, report.deviceMode, report.uartRead)) {
        const bool unknown = entry.value.empty() && !entry.hasRaw;
        const std::string value = unknown ? "unknown" : Printable(entry.value);
        out += std::string(entry.key) + ": " + value + "\n";
    }
    out += "settable:";
    for (const SetKey key : report.settable) {
        out += ' ';  // appended: g++ 12 -O3 warns falsely (-Wrestrict) on " " + string
        out += RowOf(key).name;
    }
    return out + "\n";
}

std::string FormatJson(const InfoReport& report) {
    return console::WriteProfile(report);
}

}  // namespace veltaro::cli
