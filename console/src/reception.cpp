// The data-arrived handler: received bytes into the receive buffer, model detection and the
// on-detect action, and the handling of one finished screen per message.
#include <vector>

#include "command_steps.h"
#include "model_rules.h"
#include "screen_parser.h"
#include "veltaro/console/model_table.h"
#include "veltaro/console/modem_console.h"
#include "veltaro/console/text_rules.h"

namespace veltaro::console {

namespace {

// Detection waits until the buffer exceeds this many characters.
constexpr std::size_t kDetectionThreshold = 20;

// The model code ends one character before "CONFIGURATION".
constexpr std::string_view kModelMarker = "CONFIGURATION";
constexpr TextPos kModelCodeBack = 6;
constexpr TextPos kModelCodeLength = 5;

// The log excerpt starts this far before the first "--" and, counted from the screen end,
// stops two characters after it.
constexpr TextPos kExcerptLead = 29;
constexpr TextPos kExcerptExtra = 31;

}  // namespace

long ModemConsole::OnDataArrived() {
    DrainQueue();
    if (m_state.awaitingModel != 0 && m_state.receiveBuffer.size() > kDetectionThreshold &&
        DetectModel()) {
        RunOnDetectAction();
        m_state.awaitingModel = 0;
    }
    HandleScreenEnd();
    return 1;
}

// Takes exactly the count the queue reported at the start; later bytes wait for the next
// message. The chunk is appended once, so a message costs its own length, not the buffer's.
void ModemConsole::DrainQueue() {
    const int size = m_link.QueueSize();
    if (size <= 0) {
        return;
    }
    std::string chunk;
    chunk.reserve(static_cast<std::size_t>(size));
    for (int i = 0; i < size; ++i) {
        unsigned char byte = 0;
        // A byte the queue did not deliver is left out rather than invented.
        if (m_link.QueueGetByte(&byte) == 1) {
            chunk.push_back(static_cast<char>(byte));
        }
    }
    m_state.receiveBuffer += chunk;
}

bool ModemConsole::DetectModel() {
    const std::string& text = m_state.receiveBuffer;
    const TextPos at = FindFirst(text, kModelMarker);
    if (at <= 0) {
        return false;  // absent, or at the very start with no code in front
    }
    m_state.modelCode = ClampedSubstring(text, at - kModelCodeBack, kModelCodeLength);
    m_host.SetCaption(m_state.modelCode);
    m_state.receiveBuffer.clear();
    return true;
}

// Labels first, shown before any control is switched or any key is sent.
void ModemConsole::RunOnDetectAction() {
    const detail::RangeLabels& labels = detail::LabelsOf(RangeClassOf(m_state.modelCode));
    m_form.channelRangeLabel = labels.channel;
    m_form.powerRangeLabel = labels.power;
    m_host.WriteForm(m_form);
    const detail::FamilyRules& rules = detail::RulesOf(FamilyOf(m_state.modelCode));
    for (const detail::ControlSwitch& item : rules.onDetectSwitches) {
        m_host.EnableControl(item.id, item.enable);
    }
    detail::RunSteps(rules.onDetectSteps, {m_link, m_state, m_form});
}

void ModemConsole::HandleScreenEnd() {
    std::string& buffer = m_state.receiveBuffer;
    const TextPos ok = FindFirst(buffer, "OK");
    const TextPos bang = FindFirst(buffer, "!!");
    const TextPos dash = FindFirst(buffer, "--");
    if (dash == -1 || (ok == -1 && bang == -1)) {
        return;  // no finished screen yet: keep collecting
    }
    const TextPos end = bang != -1 ? bang + 2 : ok;
    const FinishedScreen screen{
        bang != -1, ClampedSubstring(buffer, dash - kExcerptLead, end - dash + kExcerptExtra)};
    m_host.AppendLog("\r\n");
    m_host.AppendLog(screen.text);
    if (bang != -1) {
        buffer.clear();  // a refused screen is shown, never parsed
        NotifyScreenFinished(screen);
        return;
    }
    // Both blocks run up to the length "ok", counted from the block's own start.
    const TextPos info = FindFirst(buffer, "Information  --");
    if (info != -1) {
        ParseInformationBlock(ClampedSubstring(buffer, info, ok));
    }
    const TextPos uart = FindFirst(buffer, "UART Information");
    if (uart != -1) {
        ParseUartBlock(ClampedSubstring(buffer, uart, ok));
    }
    m_state.scratch = Rest(buffer, ok + 2);
    if (Contains(m_state.scratch, "--")) {
        buffer = m_state.scratch;  // the next screen has begun: keep it
    } else {
        buffer.clear();
    }
    NotifyScreenFinished(screen);
}

void ModemConsole::NotifyScreenFinished(const FinishedScreen& screen) {
    if (m_screenListener != nullptr) {
        m_screenListener->OnScreenFinished(screen);
    }
}

void ModemConsole::ParseInformationBlock(const std::string& block) {
    std::vector<detail::ControlSwitch> switches;
    detail::ParseInformationBlock(block, FamilyOf(m_state.modelCode), m_form, m_state.deviceMode,
                                  switches);
    for (const detail::ControlSwitch& item : switches) {
        m_host.EnableControl(item.id, item.enable);
    }
    // The same block again, into what the modem reported: the form may hold typed values.
    std::vector<detail::ControlSwitch> unused;
    detail::ParseInformationBlock(block, FamilyOf(m_state.modelCode), m_reported.form,
                                  m_reported.deviceMode, unused);
    m_reported.information = true;
    m_host.WriteForm(m_form);
}

void ModemConsole::ParseUartBlock(const std::string& block) {
    detail::ParseUartBlock(block, m_form);
    detail::ParseUartBlock(block, m_reported.form);
    m_reported.uart = true;
    m_host.WriteForm(m_form);
}

}  // namespace veltaro::console
