#include "veltaro/console/reported_settings.h"

namespace veltaro::console {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

ReportEntry TextEntry(const KeyRow& row, const SettingsForm& form) {
    const std::string& raw = form.*row.text;
    return {row.name, row.jsonName, std::string(TrimBlanks(raw)), true, raw};
}

ReportEntry ChoiceEntry(const KeyRow& row, const SettingsForm& form) {
    return {
        row.name, row.jsonName, std::string(ChoiceName(row.choices, form.*row.index)), false, {}};
}

void AddPeriod(const SettingsForm& form, std::vector<ReportEntry>& out) {
    if (TrimBlanks(form.period).empty()) {
        return;
    }
    out.push_back(TextEntry(RowOf(SetKey::kPeriod), form));
    out.push_back({"period-unit",
                   "period_unit",
                   std::string(ChoiceName(PeriodUnitNames(), form.periodUnit)),
                   false,
                   {}});
}

}  // namespace

bool IsReported(SetKey key, bool deviceMode, bool uartRead) {
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

std::vector<ReportEntry> ReportedSettings(const SettingsForm& shown, bool deviceMode,
                                          bool uartRead) {
    std::vector<ReportEntry> out;
    for (const KeyRow& row : KeyTable()) {
        if (!IsReported(row.key, deviceMode, uartRead)) {
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

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace veltaro::console
