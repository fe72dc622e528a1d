// The checks of the channel, power, period and destination ID fields, run on every change of
// their text. Invalid text is cleared whole; the destination ID is cut and capitalised.
#include <algorithm>

#include "veltaro/console/control_ids.h"
#include "veltaro/console/model_table.h"
#include "veltaro/console/modem_console.h"
#include "veltaro/console/text_rules.h"

namespace veltaro::console {

namespace {

using namespace ctl;
using F = SettingsForm;

// One character is read as a hex digit, two as a decimal number.
struct ChannelRule {
    int maxOneHex;
    int maxTwoDecimal;
};
constexpr ChannelRule kWideChannel = {15, 45};
constexpr ChannelRule kNarrowChannel = {14, 14};
constexpr int kMinTwoDecimal = 10;

// Every character must be a non-zero hex digit; the narrow field keeps a single accepted
// character selected so that the next one typed replaces it.
struct PowerRule {
    std::size_t maxLength;
    bool selectSingle;
};
constexpr PowerRule kWidePower = {2, false};
constexpr PowerRule kNarrowPower = {1, true};
constexpr int kPowerSelectionEnd = 2;

constexpr int kMaxHours = 3;
constexpr int kMaxMinutesOrSeconds = 59;
constexpr int kHourUnit = 0;

constexpr std::size_t kDestinationIdLength = 5;

// On the platform a nested check ends after at most one level per distinct small letter of
// a five-character text; this bound only guards against a host whose form read does not see
// the text just set.
constexpr int kMaxNestedChecks = 8;

struct EditCheck {
    int id;
    std::string F::*field;
    void (ModemConsole::*check)();
};
constexpr EditCheck kEditChecks[] = {
    {kChannelEdit, &F::channel, &ModemConsole::OnChannelChanged},
    {kPowerEdit, &F::power, &ModemConsole::OnPowerChanged},
    {kPeriodEdit, &F::period, &ModemConsole::OnPeriodChanged},
    {kDestIdEdit, &F::destinationId, &ModemConsole::OnDestinationIdChanged},
};

const EditCheck* FindEditCheck(int id) {
    const auto* it = std::find_if(std::begin(kEditChecks), std::end(kEditChecks),
                                  [id](const EditCheck& e) { return e.id == id; });
    return it == std::end(kEditChecks) ? nullptr : it;
}

bool ChannelAccepted(const std::string& text, RangeClass rangeClass) {
    const ChannelRule& rule = rangeClass == RangeClass::kWide ? kWideChannel : kNarrowChannel;
    if (text.size() == 1) {
        const int value = HexDigitValue(text[0]);
        return value >= 1 && value <= rule.maxOneHex;
    }
    if (text.size() == 2) {
        const std::int32_t value = AtoiPrefix(text);
        return value >= kMinTwoDecimal && value <= rule.maxTwoDecimal;
    }
    return false;
}

bool PowerAccepted(const std::string& text, const PowerRule& rule) {
    return text.size() <= rule.maxLength &&
           std::all_of(text.begin(), text.end(), [](char c) { return HexDigitValue(c) != 0; });
}

bool PeriodAccepted(const std::string& text, int periodUnit) {
    const std::int32_t value = AtoiPrefix(text);
    const int max = periodUnit == kHourUnit ? kMaxHours : kMaxMinutesOrSeconds;
    return value >= 1 && value <= max;
}

// Only ASCII a to z; bytes of 0x80 and above are never letters here.
bool IsSmallLetter(char c) {
    return c >= 'a' && c <= 'z';
}

class DepthGuard {
  public:
    explicit DepthGuard(int& depth) : m_depth(depth) { ++m_depth; }
    ~DepthGuard() { --m_depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

  private:
    int& m_depth;
};

}  // namespace

void ModemConsole::OnChannelChanged() {
    m_form = m_host.ReadForm();
    if (!m_form.channel.empty() &&
        !ChannelAccepted(m_form.channel, RangeClassOf(m_state.modelCode))) {
        ClearField(kChannelEdit);
    }
}

void ModemConsole::OnPowerChanged() {
    m_form = m_host.ReadForm();
    const std::size_t length = m_form.power.size();
    if (length == 0) {
        return;
    }
    const PowerRule& rule =
        RangeClassOf(m_state.modelCode) == RangeClass::kWide ? kWidePower : kNarrowPower;
    if (!PowerAccepted(m_form.power, rule)) {
        ClearField(kPowerEdit);
    }
    if (rule.selectSingle && length == 1) {
        m_host.SetEditSelection(kPowerEdit, 0, kPowerSelectionEnd);
        m_host.ScrollEditCaret(kPowerEdit);
    }
}

void ModemConsole::OnPeriodChanged() {
    m_form = m_host.ReadForm();
    if (!m_form.period.empty() && !PeriodAccepted(m_form.period, m_form.periodUnit)) {
        ClearField(kPeriodEdit);
    }
}

// Each capitalisation sets the edit's text, which re-runs this check on the new text before
// the loop goes on; the loop then reads the form as the nested run left it.
void ModemConsole::OnDestinationIdChanged() {
    m_form = m_host.ReadForm();
    const std::size_t length = m_form.destinationId.size();
    if (length > kDestinationIdLength) {
        m_form.destinationId.resize(kDestinationIdLength);  // no case change, no caret move
        m_host.WriteForm(m_form);
        return;
    }
    for (std::size_t i = 0; i < length && i < m_form.destinationId.size(); ++i) {
        const char small = m_form.destinationId[i];
        if (IsSmallLetter(small)) {
            std::replace(m_form.destinationId.begin(), m_form.destinationId.end(), small,
                         static_cast<char>(small - 0x20));
            m_host.SetEditText(kDestIdEdit, m_form.destinationId);
            RunNestedCheck(kDestIdEdit);
        }
    }
    const int caret = static_cast<int>(length);
    m_host.SetEditSelection(kDestIdEdit, caret, caret);
    m_host.ScrollEditCaret(kDestIdEdit);
    m_host.WriteForm(m_form);
}

// Setting the text re-runs the check, which reads the now empty field and stops; the form
// value is emptied here as well in case the host's form read lags behind.
void ModemConsole::ClearField(int editId) {
    m_host.SetEditText(editId, "");
    RunNestedCheck(editId);
    if (const EditCheck* edit = FindEditCheck(editId)) {
        (m_form.*edit->field).clear();
    }
    m_host.WriteForm(m_form);
}

// What the platform's change notification does when the program sets an edit's text.
void ModemConsole::RunNestedCheck(int editId) {
    const EditCheck* edit = FindEditCheck(editId);
    if (edit == nullptr || m_nestedChecks >= kMaxNestedChecks) {
        return;
    }
    DepthGuard depth(m_nestedChecks);
    (this->*edit->check)();
}

}  // namespace veltaro::console
