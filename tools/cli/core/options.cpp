#include "options.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <set>

#include "com_list.h"
#include "exit_status.h"
#include "text_util.h"

namespace veltaro::cli {
namespace {

constexpr double kMaxTimeoutSeconds = 3600.0;

std::string ParseTimeout(std::string_view text, int& timeoutMs) {
    double seconds = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(seconds) ||
        seconds <= 0.0 || seconds > kMaxTimeoutSeconds) {
        return "--timeout needs a number of seconds above 0 and at most 3600, got '" +
               TerminalSafe(text) + "'";
    }
    timeoutMs = std::max(1, static_cast<int>(std::lround(seconds * 1000.0)));
    return {};
}

// Walks the arguments; options with a value take it from "--opt=value" or the next word.
class Parser {
  public:
    explicit Parser(std::span<const std::string> args) : m_args(args) {}

    OptionsParse Run() {
        while (m_error.empty() && m_pos < m_args.size()) {
            Step(m_args[m_pos++]);
        }
        if (m_error.empty() && !m_result.help && !m_result.version) {
            Finish();
        }
        return {m_result, m_error, m_status};
    }

  private:
    void Step(std::string_view arg) {
        if (arg.starts_with("--") || arg == "-h") {
            Option(arg);
        } else if (m_result.command == Command::kNone) {
            Verb(arg);
        } else {
            m_words.emplace_back(arg);
        }
    }

    void Option(std::string_view arg) {
        const std::size_t eq = arg.find('=');
        const std::string_view name = arg.substr(0, eq);
        // A second value would silently win, as a repeated setting key would.
        if (!m_seen.insert(name == "-h" ? "--help" : std::string(name)).second) {
            m_error = std::string(name == "-h" ? "--help" : name) + " is given twice";
        } else if (bool* flag = Flag(name)) {
            *flag = true;
            if (eq != std::string_view::npos) {
                m_error = std::string(name) + " takes no value";
            }
        } else if (name == "--com" || name == "--timeout" || name == "--from") {
            const std::string value = Value(arg, eq);
            if (m_error.empty()) {
                m_error = TakeValue(name, value);
            }
        } else {
            m_error = "unknown option '" + TerminalSafe(name) + "'";
        }
    }

    std::string TakeValue(std::string_view name, const std::string& value) {
        if (name == "--com") {
            m_comText = value;  // checked once the command is known: --help needs none
            m_sawCom = true;
            return {};
        }
        if (name == "--from") {
            m_result.profilePath = value;
            return value.empty() ? "--from needs a file name" : "";
        }
        return ParseTimeout(value, m_result.timeoutMs);
    }

    bool* Flag(std::string_view name) {
        if (name == "--help" || name == "-h") {
            return &m_result.help;
        }
        if (name == "--version") {
            return &m_result.version;
        }
        if (name == "--only-offered") {
            return &m_result.onlyOffered;
        }
        if (name == "--check") {
            return &m_result.check;
        }
        return name == "--json" ? &m_result.json : nullptr;
    }

    std::string Value(std::string_view arg, std::size_t eq) {
        if (eq != std::string_view::npos) {
            return std::string(arg.substr(eq + 1));
        }
        if (m_pos >= m_args.size()) {
            m_error = std::string(arg) + " needs a value";
            return {};
        }
        return m_args[m_pos++];
    }

    void Verb(std::string_view arg) {
        if (arg == "info") {
            m_result.command = Command::kInfo;
        } else if (arg == "set") {
            m_result.command = Command::kSet;
        } else if (arg == "log") {
            m_result.command = Command::kLog;
        } else if (arg == "ports") {
            m_result.command = Command::kPorts;
        } else {
            m_error = "unknown command '" + TerminalSafe(arg) + "'";
        }
    }

    void Finish() { m_error = FinishError(); }

    std::string FinishError() {
        const Command command = m_result.command;
        if (command == Command::kNone) {
            return "no command given (info, set, log or ports)";
        }
        if (m_sawCom) {
            if (std::string error = ParseComList(m_comText, m_result.comNumbers); !error.empty()) {
                return error;
            }
        }
        if (std::string error = OptionMisplaced(command); !error.empty()) {
            return error;
        }
        if (command == Command::kSet) {
            SetParse parsed = ParseSetItems(m_words, !m_result.profilePath.empty());
            m_result.settings = std::move(parsed.items);
            if (parsed.unsendable) {
                m_status = ExitStatus::kValueRefused;
            }
            return parsed.error;
        }
        if (!m_words.empty()) {
            return "unexpected argument '" + TerminalSafe(m_words.front()) + "'";
        }
        return {};
    }

    // Which options go with which command.
    std::string OptionMisplaced(Command command) const {
        const bool ports = command == Command::kPorts;
        if (ports == m_sawCom) {
            return ports ? "ports takes no --com: it lists them" : "--com N is required";
        }
        if (m_result.json && command == Command::kLog) {
            return "--json applies to info, set and ports only";
        }
        if ((!m_result.profilePath.empty() || m_result.onlyOffered || m_result.check) &&
            command != Command::kSet) {
            return "--from, --only-offered and --check apply to set only";
        }
        if (command == Command::kLog && m_result.comNumbers.size() > 1) {
            return "log takes one port";
        }
        return {};
    }

    std::span<const std::string> m_args;
    std::size_t m_pos = 0;
    Options m_result;
    std::vector<std::string> m_words;
    std::set<std::string> m_seen;  // option names given so far
    std::string m_comText;
    bool m_sawCom = false;
    std::string m_error;
    ExitStatus m_status = ExitStatus::kUsage;
};

}  // namespace

OptionsParse ParseOptions(std::span<const std::string> args) {
    return Parser(args).Run();
}

std::string HelpText(std::string_view program) {
    std::string text = "Usage: " + std::string(program) +
                       R"( --com N[,N|N-M...] [--timeout SECONDS] COMMAND [ARGS]
       )" + std::string(program) +
                       R"( ports [--json]

Configures wireless serial modems from a terminal, with the same console logic, port
names and command sequences as the Veltaro program. Ports are opened at 9600 8N1.

Commands:
  info [--json]        detect the model and print it with its current settings; the JSON
                       is a profile that set --from reads back
  set KEY=VALUE ...    change the settings that differ, then read them back and compare;
                       settings that already have the value are not sent
  set --from FILE [--only-offered] [KEY=VALUE ...]
                       apply a profile; KEY=VALUE arguments override the file's values
  set --check ...      report what set would change (current and requested values);
                       sends nothing but the detection and information screens' keys
  log                  print the console screens as the log pane shows them, until Ctrl-C
  ports [--json]       list the COM numbers --com can open and what they lead to (opens
                       no port)

Options:
  --com LIST           COM numbers 1-999 and ranges, e.g. 3 or 3,5,7-12, named as Veltaro
                       names them (COM1..COM4, \\.\COM5 and up); several ports are
                       configured at once, each on its own connection
  --timeout SECONDS    how long to wait for the model and for each information screen
                       (default 10)
  --json               info, set, ports: print JSON instead of key: value lines
  --from FILE          set: the profile to apply (as info --json prints it)
  --only-offered       set: leave out, and name, the settings the model does not offer
  --check              set: change nothing, report what would change
  --help, --version

Settings for set:
  channel=TEXT         checked as the program checks the channel field (hex 1-F or 10-45,
                       narrower on narrow-range models)
  power=TEXT           checked as the program checks the power field
  mode=pc|device
  destination-id=TEXT  (also dest-id) at most 5 characters, letters become capitals
  period=NUMBER{h|m|s} e.g. period=30m; hours 1-3, minutes and seconds 1-59
  interface=rs232|rs485
  data-bits=5|6|7|8  stop-bits=1|1.5|2  parity=even|odd|space|mark|none
Values are printable ASCII only. A setting the detected model does not offer is refused,
and so is a value the program's field check would clear; nothing is sent then.

Copying one modem's settings to a bench of eight:
  veltaro-cli --com 3 info --json > radio.json
  veltaro-cli --com 4-11 set --from radio.json

Exit status:
)";
    for (const ExitStatusRow& row : ExitStatusTable()) {
        char line[16];
        std::snprintf(line, sizeof line, "  %3d  ", Code(row.status));
        text += line + std::string(row.meaning) + "\n";
    }
    return text;
}

}  // namespace veltaro::cli
