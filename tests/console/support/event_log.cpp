#include "event_log.h"

#include <algorithm>
#include <cstdio>

namespace veltaro::console::testing {

namespace {

std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (code < 0x20 || code >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", code);
            out += hex;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string Join(std::initializer_list<std::string> parts) {
    std::string out;
    for (const std::string& part : parts) {
        if (!out.empty()) {
            out += ' ';
        }
        out += part;
    }
    return out;
}

std::string Num(long long value) {
    return std::to_string(value);
}

}  // namespace

std::string Describe(const Event& e) {
    switch (e.kind) {
        case EventKind::kReadForm:
            return calls::ReadForm();
        case EventKind::kWriteForm:
            return calls::WriteForm();
        case EventKind::kEnable:
            return e.first != 0 ? calls::Enable(e.id) : calls::Disable(e.id);
        case EventKind::kCaption:
            return calls::Caption(e.text);
        case EventKind::kAppendLog:
            return calls::Log(e.text);
        case EventKind::kSetLogText:
            return calls::SetLog(e.text);
        case EventKind::kReadComLine:
            return calls::ReadComLine(e.id);
        case EventKind::kSetEditText:
            return calls::EditText(e.id, e.text);
        case EventKind::kSetEditSelection:
            return calls::Select(e.id, e.first, e.second);
        case EventKind::kScrollEditCaret:
            return calls::Scroll(e.id);
        case EventKind::kMessageBox:
            return calls::Box(e.text, e.detail, static_cast<unsigned>(e.fourth));
        case EventKind::kOpenPort:
            return calls::Open(e.text, e.first, e.second, e.third, e.fourth);
        case EventKind::kClosePort:
            return calls::Close();
        case EventKind::kSend:
            return calls::Send(e.text);
        case EventKind::kWriteByte:
            return calls::Byte(static_cast<unsigned char>(e.id));
        case EventKind::kPause:
            return calls::Pause(e.id);
    }
    return "?";
}

namespace calls {
std::string ReadForm() {
    return "read form";
}
std::string WriteForm() {
    return "write form";
}
std::string Enable(int id) {
    return Join({"enable", Num(id)});
}
std::string Disable(int id) {
    return Join({"disable", Num(id)});
}
std::string Caption(std::string_view text) {
    return Join({"caption", Quote(text)});
}
std::string Log(std::string_view text) {
    return Join({"log", Quote(text)});
}
std::string SetLog(std::string_view text) {
    return Join({"set log", Quote(text)});
}
std::string ReadComLine(int maxChars) {
    return Join({"read com line", Num(maxChars)});
}
std::string EditText(int id, std::string_view text) {
    return Join({"text", Num(id), Quote(text)});
}
std::string Select(int id, int start, int end) {
    return Join({"select", Num(id), Num(start), Num(end)});
}
std::string Scroll(int id) {
    return Join({"scroll", Num(id)});
}
std::string Box(std::string_view text, std::string_view caption, unsigned style) {
    return Join({"box", Quote(text), Quote(caption), Num(style)});
}
std::string Open(std::string_view portName, int baudRate, int byteSize, int stopBits, int parity) {
    return Join(
        {"open", Quote(portName), Num(baudRate), Num(byteSize), Num(stopBits), Num(parity)});
}
std::string Close() {
    return "close";
}
std::string Send(std::string_view text) {
    return Join({"send", Quote(text)});
}
std::string Byte(unsigned char byte) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(byte));
    return Join({"byte", hex});
}
std::string Pause(int milliseconds) {
    return Join({"pause", Num(milliseconds)});
}
}  // namespace calls

std::vector<Event> EventLog::OfKind(EventKind kind) const {
    std::vector<Event> out;
    std::copy_if(m_events.begin(), m_events.end(), std::back_inserter(out),
                 [kind](const Event& e) { return e.kind == kind; });
    return out;
}

std::size_t EventLog::Count(EventKind kind) const {
    return static_cast<std::size_t>(std::count_if(
        m_events.begin(), m_events.end(), [kind](const Event& e) { return e.kind == kind; }));
}

std::vector<std::string> EventLog::Described() const {
    std::vector<std::string> out;
    out.reserve(m_events.size());
    for (const Event& e : m_events) {
        out.push_back(Describe(e));
    }
    return out;
}

std::vector<std::string> EventLog::Described(std::initializer_list<EventKind> kinds) const {
    std::vector<std::string> out;
    for (const Event& e : m_events) {
        if (std::find(kinds.begin(), kinds.end(), e.kind) != kinds.end()) {
            out.push_back(Describe(e));
        }
    }
    return out;
}

long long EventLog::TotalPauseMs() const {
    long long total = 0;
    for (const Event& e : m_events) {
        total += e.kind == EventKind::kPause ? e.id : 0;
    }
    return total;
}

std::vector<std::string> EventLog::Wire() const {
    return Described({EventKind::kSend, EventKind::kWriteByte, EventKind::kPause});
}

}  // namespace veltaro::console::testing
