#include "model_rules.h"

#include <array>

#include "veltaro/console/control_ids.h"

namespace veltaro::console::detail {

namespace {

using namespace ctl;

constexpr ControlSwitch On(int id) {
    return {id, true};
}
constexpr ControlSwitch Off(int id) {
    return {id, false};
}

constexpr ControlSwitch kKdOnDetect[] = {On(kModeSetting), On(kDestIdSetting), Off(kPeriodSetting)};
constexpr ControlSwitch kGtEntryOnDetect[] = {Off(kModeSetting), Off(kDestIdSetting),
                                              Off(kPeriodSetting)};
// The FL family loses the mode, destination and period buttons and every UART control.
constexpr ControlSwitch kFlOnDetect[] = {
    Off(kModeSetting),     Off(kDestIdSetting),   Off(kPeriodSetting), Off(kUartAllSetting),
    Off(kUartInformation), Off(kUartModeSetting), Off(kBitSetting),    Off(kRs232),
    Off(kRs485),           Off(kData5),           Off(kData6),         Off(kData7),
    Off(kData8),           Off(kStop1),           Off(kStop1_5),       Off(kStop2),
    Off(kParityEven),      Off(kParityOdd),       Off(kParitySpace),   Off(kParityMark),
    Off(kParityNone)};
constexpr ControlSwitch kGtPeriodOnDetect[] = {
    On(kDestIdSetting),    On(kPeriodSetting), Off(kUartInformation), Off(kUartAllSetting),
    Off(kUartModeSetting), Off(kBitSetting),   Off(kRs232),           Off(kRs485),
    Off(kData5),           Off(kData6),        Off(kData7),           Off(kData8),
    Off(kStop1),           Off(kStop1_5),      Off(kStop2),           Off(kParityEven),
    Off(kParityOdd),       Off(kParitySpace),  Off(kParityMark),      Off(kParityNone)};

// The KD family asks for the information screen and then for the UART information screen.
constexpr Step kKdKeys[] = {Only(Send::kInformationKey, 500), Key("A", 500), Key("3", 500), Esc(0)};
constexpr Step kInformationKeyOnly[] = {Only(Send::kInformationKey, 0)};

constexpr ControlSwitch kKdDeviceScreen[] = {Off(kPeriodSetting), Off(kUnitHour), Off(kUnitMin),
                                             Off(kUnitSec)};
constexpr ControlSwitch kFlPcScreen[] = {Off(kModePc), Off(kModeDevice)};

// Indexed by Family.
constexpr std::array<FamilyRules, 5> kFamilies = {{
    // KD family
    {"B", kKdOnDetect, kKdKeys, "", false, false, kKdDeviceScreen, {}},
    // GT entry family
    {"6", kGtEntryOnDetect, kInformationKeyOnly, "", false, true, {}, {}},
    // FL family
    {"6", kFlOnDetect, kInformationKeyOnly, "", false, true, {}, kFlPcScreen},
    // GT period family
    {"C", kGtPeriodOnDetect, kInformationKeyOnly, "A", true, true, {}, {}},
    // unlisted model
    {"", {}, {}, "", false, true, {}, {}},
}};
static_assert(kFamilies.size() == static_cast<std::size_t>(Family::kNone) + 1);

constexpr RangeLabels kWideLabels = {"HEX(01~45)", "HEX(01~FF)"};
constexpr RangeLabels kNarrowLabels = {"HEX(01~14)", "HEX(01~0F)"};

}  // namespace

const FamilyRules& RulesOf(Family family) {
    return kFamilies[static_cast<std::size_t>(family)];
}

const RangeLabels& LabelsOf(RangeClass rangeClass) {
    return rangeClass == RangeClass::kWide ? kWideLabels : kNarrowLabels;
}

}  // namespace veltaro::console::detail
