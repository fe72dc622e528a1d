#include "veltaro/console/field_values.h"

#include <deque>

#include "veltaro/console/dialog_host.h"
#include "veltaro/console/modem_console.h"
#include "veltaro/console/modem_link.h"
#include "veltaro/console/setting_keys.h"

namespace veltaro::console {
namespace {

// The form alone, as the checks read and write it.
class FormOnlyHost : public DialogHost {
  public:
    SettingsForm ReadForm() override { return shown; }
    void WriteForm(const SettingsForm& form) override { shown = form; }
    void EnableControl(int, bool) override {}
    void SetCaption(const std::string&) override {}
    void AppendLog(const std::string&) override {}
    void SetLogText(const std::string&) override {}
    std::string ReadComNumberLine(int) override { return {}; }
    void SetEditText(int id, const std::string& text) override {
        for (const KeyRow& row : KeyTable()) {
            if (row.editId == id && row.text != nullptr) {
                shown.*row.text = text;
            }
        }
    }
    void SetEditSelection(int, int, int) override {}
    void ScrollEditCaret(int) override {}
    void ShowMessageBox(const std::string&, const std::string&, unsigned) override {}

    SettingsForm shown;
};

// No port: what the console sends goes nowhere, and no pause waits.
class NoPortLink : public ModemLink {
  public:
    int OpenPort(const std::string&, std::uint32_t, std::uint8_t, std::uint8_t,
                 std::uint8_t) override {
        return 0;
    }
    void ClosePort() override {}
    void SendText(const std::string&) override {}
    void WriteByte(unsigned char) override {}
    void Pause(int) override {}
    int QueueSize() override { return static_cast<int>(received.size()); }
    int QueueGetByte(unsigned char* out) override {
        if (received.empty()) {
            return 0;
        }
        *out = received.front();
        received.pop_front();
        return 1;
    }

    std::deque<unsigned char> received;
};

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

}  // namespace

std::string CheckFieldValues(const std::string& modelCode, std::vector<SetItem>& items) {
    FormOnlyHost host;
    NoPortLink link;
    ModemConsole console(host, link);
    // The model's first screen, so that the checks apply the model's ranges.
    for (const char c : "\r\n" + modelCode + " CONFIGURATION\r\n") {
        link.received.push_back(static_cast<unsigned char>(c));
    }
    (void)console.OnDataArrived();
    for (SetItem& item : items) {
        const KeyRow& row = RowOf(item.key);
        if (row.check == nullptr || row.text == nullptr) {
            continue;  // a choice: its radio group takes any of its values
        }
        if (row.kind == ValueKind::kPeriod) {
            host.shown.periodUnit = item.index;
        }
        host.shown.*row.text = item.text;
        (console.*row.check)();
        const std::string kept = host.shown.*row.text;
        const bool cut = item.key == SetKey::kDestinationId && kept != Upper(item.text);
        if (kept.empty() || cut) {
            return std::string(row.name) + " \"" + QuotedInMessage(item.text) +
                   "\" is refused by the program's " + std::string(row.name) + " field for the " +
                   modelCode;
        }
        item.text = kept;
    }
    return {};
}

}  // namespace veltaro::console
