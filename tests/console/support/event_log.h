#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "veltaro/console/settings_form.h"

// One ordered list of every call that the recording host and the recording link receive, so
// that tests can assert the order between, say, enable calls and sends.
namespace veltaro::console::testing {

enum class EventKind {
    // Host calls.
    kReadForm,
    kWriteForm,
    kEnable,
    kCaption,
    kAppendLog,
    kSetLogText,
    kReadComLine,
    kSetEditText,
    kSetEditSelection,
    kScrollEditCaret,
    kMessageBox,
    // Link calls (the queue reads are not recorded).
    kOpenPort,
    kClosePort,
    kSend,
    kWriteByte,
    kPause,
};

struct Event {
    EventKind kind = EventKind::kReadForm;
    int id = 0;        // control ID; the byte for kWriteByte; ms for kPause; limit for kReadComLine
    int first = 0;     // kEnable: 1 or 0; selection start; kOpenPort: baud rate
    int second = 0;    // selection end; kOpenPort: byte size
    int third = 0;     // kOpenPort: stop bits
    int fourth = 0;    // kOpenPort: parity; kMessageBox: style
    std::string text;  // caption, log text, edit text, sent text, box text, port name
    std::string detail;  // kMessageBox: caption
    SettingsForm form;   // kReadForm: the form returned; kWriteForm: the form written
};

// A one-line, readable description of an event: the form of ReadForm and WriteForm is left
// out, texts are quoted with control bytes and bytes of 0x80 and above escaped.
std::string Describe(const Event& event);

// Descriptions built from the parts of a call, for writing expected sequences.
namespace calls {
std::string ReadForm();
std::string WriteForm();
std::string Enable(int id);
std::string Disable(int id);
std::string Caption(std::string_view text);
std::string Log(std::string_view text);
std::string SetLog(std::string_view text);
std::string ReadComLine(int maxChars);
std::string EditText(int id, std::string_view text);
std::string Select(int id, int start, int end);
std::string Scroll(int id);
std::string Box(std::string_view text, std::string_view caption, unsigned style);
std::string Open(std::string_view portName, int baudRate, int byteSize, int stopBits, int parity);
std::string Close();
std::string Send(std::string_view text);
std::string Byte(unsigned char byte);
std::string Pause(int milliseconds);
}  // namespace calls

class EventLog {
  public:
    // Appends an event of this kind and returns it for the caller to fill in.
    Event& Add(EventKind kind) {
        m_events.emplace_back().kind = kind;
        return m_events.back();
    }
    void Clear() { m_events.clear(); }

    const std::vector<Event>& Events() const { return m_events; }
    std::vector<Event> OfKind(EventKind kind) const;
    std::size_t Count(EventKind kind) const;

    // Descriptions of all events, or only of the given kinds, in order.
    std::vector<std::string> Described() const;
    std::vector<std::string> Described(std::initializer_list<EventKind> kinds) const;
    // The link's output only: sends, ESC bytes and pauses.
    std::vector<std::string> Wire() const;
    // The sum of the recorded pauses.
    long long TotalPauseMs() const;

  private:
    std::vector<Event> m_events;
};

}  // namespace veltaro::console::testing
