// Arbitrary texts typed into the four checked fields, with any model and period unit.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "recording_host.h"
#include "recording_link.h"
#include "veltaro/console/control_ids.h"
#include "veltaro/console/model_table.h"
#include "veltaro/console/modem_console.h"
#include "veltaro/console/text_rules.h"

namespace {

using namespace veltaro::console;
using namespace veltaro::console::testing;

constexpr std::array<std::string_view, 6> kCodes = {"KD-35", "GT-95", "FL-25",
                                                    "GT-20", "gt-25", "AB-12"};

struct Rig {
    EventLog log;
    RecordingHost host{log};
    RecordingLink link{log};
    ModemConsole console{host, link};
};

bool AllNonZeroHex(std::string_view text) {
    for (const char c : text) {
        if (HexDigitValue(c) == 0) {
            return false;
        }
    }
    return true;
}

std::string Capitalised(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

// What an accepted text must satisfy, in the words of the rules.
bool Acceptable(int id, const std::string& text, bool wide, int unit) {
    const std::int32_t value = AtoiPrefix(text);
    switch (id) {
        case ctl::kChannelEdit:
            if (text.size() == 1) {
                return HexDigitValue(text[0]) >= 1 && HexDigitValue(text[0]) <= (wide ? 15 : 14);
            }
            return text.size() == 2 && value >= 10 && value <= (wide ? 45 : 14);
        case ctl::kPowerEdit:
            return text.size() <= (wide ? 2U : 1U) && AllNonZeroHex(text);
        case ctl::kPeriodEdit:
            return value >= 1 && value <= (unit == 0 ? 3 : 59);
        default:
            return false;
    }
}

void CheckChange(Rig& rig, int id, const std::string& typed) {
    rig.log.Clear();
    rig.host.Type(id, typed);
    switch (id) {
        case ctl::kChannelEdit:
            rig.console.OnChannelChanged();
            break;
        case ctl::kPowerEdit:
            rig.console.OnPowerChanged();
            break;
        case ctl::kPeriodEdit:
            rig.console.OnPeriodChanged();
            break;
        default:
            rig.console.OnDestinationIdChanged();
            break;
    }
    FUZZ_CHECK(rig.log.Events().size() < 64);
    const std::string shown = rig.host.EditText(id);
    const SettingsForm& form = rig.console.Form();
    FUZZ_CHECK(form.channel == rig.host.Shown().channel && form.power == rig.host.Shown().power &&
               form.destinationId == rig.host.Shown().destinationId &&
               form.period == rig.host.Shown().period);
    if (id == ctl::kDestIdEdit) {
        if (typed.size() > 5) {
            FUZZ_CHECK(shown == typed.substr(0, 5));
        } else {
            FUZZ_CHECK(shown == Capitalised(typed));
            const int end = static_cast<int>(typed.size());
            FUZZ_CHECK(rig.host.Selection(id) == std::pair(end, end));
        }
        return;
    }
    FUZZ_CHECK(shown == typed || shown.empty());
    if (!typed.empty()) {
        const bool wide = RangeClassOf(rig.console.State().modelCode) == RangeClass::kWide;
        FUZZ_CHECK((shown == typed) == Acceptable(id, typed, wide, form.periodUnit));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    Rig rig;
    const auto model = data.ConsumeIntegralInRange<std::size_t>(0, kCodes.size());
    if (model < kCodes.size()) {
        rig.link.Receive("\r\n" + std::string(kCodes[model]) + " CONFIGURATION\r\n");
        rig.console.OnDataArrived();
    }
    constexpr std::array<int, 4> kFields = {ctl::kChannelEdit, ctl::kPowerEdit, ctl::kPeriodEdit,
                                            ctl::kDestIdEdit};
    while (data.remaining_bytes() > 0) {
        const auto op = data.ConsumeIntegralInRange<int>(0, 4);
        if (op == 4) {
            rig.host.Shown().periodUnit = data.ConsumeIntegralInRange<int>(-1, 2);  // a click
            continue;
        }
        CheckChange(rig, kFields[static_cast<std::size_t>(op)], data.ConsumeRandomLengthString(12));
    }
    return 0;
}
