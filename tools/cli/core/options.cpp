#include "options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <vector>

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
               QuotedInMessage(text) + "'";
    }
    timeoutMs = std::max(1, static_cast<int>(std::lround(seconds * 1000.0)));
    return {};
}

// The commands an option goes with.
enum CommandBits : unsigned { kInfoBit = 1, kSetBit = 2, kLogBit = 4, kPortsBit = 8 };

struct CommandRow {
    const char* word;
    Command command;
    unsigned bit;
};

constexpr std::array kCommandRows{
    CommandRow{"info", Command::kInfo, kInfoBit}, CommandRow{"set", Command::kSet, kSetBit},
    CommandRow{"log", Command::kLog, kLogBit}, CommandRow{"ports", Command::kPorts, kPortsBit}};

// Where an option belongs: elsewhere it is refused with `misplaced`; where it is required
// and missing, with `missing`. --help and --version go with everything.
struct Placement {
    const char* option;
    unsigned commands;
    const char* misplaced;
    unsigned requiredBy = 0;
    const char* missing = "";
};

constexpr unsigned kPortCommands = kInfoBit | kSetBit | kLogBit;
constexpr std::array kPlacements{
    Placement{"--com", kPortCommands, "ports takes no --com: it lists them", kPortCommands,
              "--com N is required"},
    Placement{"--timeout", kPortCommands, "ports takes no --timeout: it waits for no modem"},
    Placement{"--json", kInfoBit | kSetBit | kPortsBit,
              "--json applies to info, set and ports only"},
    Placement{"--from", kSetBit, "--from, --only-offered and --check apply to set only"},
    Placement{"--only-offered", kSetBit, "--from, --only-offered and --check apply to set only"},
    Placement{"--check", kSetBit, "--from, --only-offered and --check apply to set only"},
};

// The options as CLI11 takes them, before or after the command; the checks that it does not
// make in the program's words; then the command and its arguments.
class Parser {
  public:
    Parser() {
        m_app.set_help_flag();  // the program prints its own help text
        m_app.allow_extras();   // unknown options are reported below, in the program's words
        m_app.add_flag("-h,--help", m_result.help);
        m_app.add_flag("--version", m_result.version);
        m_app.add_option("--com", m_comText);  // checked once the command is known
        m_app.add_option("--timeout", m_timeoutText);
        m_app.add_flag("--json", m_result.json);
        m_app.add_option("--from", m_result.profilePath);
        m_app.add_flag("--only-offered", m_result.onlyOffered);
        m_app.add_flag("--check", m_result.check);
        m_app.add_option("words", m_words);  // the command and its arguments
    }

    OptionsParse Run(std::span<const std::string> args) {
        std::string error = ValueFormError(args);
        if (error.empty()) {
            error = OptionsError(args);
        }
        if (error.empty()) {
            error = CommandError();
        }
        return {m_result, error, m_status};
    }

  private:
    bool Given(std::string_view name) const {
        const CLI::Option* option = m_app.get_option_no_throw(std::string(name));
        return option != nullptr && option->count() > 0;
    }

    // CLI11 takes "--json=true" as the flag, drops an empty value after '=' to take the next
    // word instead ("--from= x" would read x), and words a missing last value its own way;
    // these forms are refused before it sees them.
    std::string ValueFormError(std::span<const std::string> args) const {
        for (std::size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
            const std::string_view arg = args[i];
            const std::size_t eq = arg.find('=');
            const CLI::Option* option =
                arg.starts_with("-") ? m_app.get_option_no_throw(std::string(arg.substr(0, eq)))
                                     : nullptr;
            if (option == nullptr) {
                continue;
            }
            const bool flag = option->get_expected_max() == 0;
            if (flag && eq != std::string_view::npos) {
                return option->get_name() + " takes no value";
            }
            if (!flag &&
                (eq == std::string_view::npos ? ++i == args.size() : eq + 1 == arg.size())) {
                return option->get_name() + " needs a value";
            }
        }
        return {};
    }

    // An option given twice, one unknown, or a value that is not one.
    std::string OptionsError(std::span<const std::string> args) {
        std::string parseError;
        try {
            m_app.parse(std::vector<std::string>(args.rbegin(), args.rend()));
        } catch (const CLI::ParseError& error) {
            parseError = QuotedInMessage(error.what());
        }
        // A second value would silently win, as a repeated setting key would.
        for (const CLI::Option* option : m_app.get_options()) {
            if (!option->get_positional() && option->count() > 1) {
                return option->get_name() + " is given twice";
            }
        }
        std::vector<std::string> unknown = m_app.remaining();
        std::copy_if(m_words.begin(), m_words.end(), std::back_inserter(unknown),
                     [](const std::string& word) { return word.starts_with("--"); });
        if (!unknown.empty()) {
            const std::string_view first = unknown.front();
            return "unknown option '" + QuotedInMessage(first.substr(0, first.find('='))) + "'";
        }
        if (!parseError.empty()) {
            return parseError;
        }
        if (Given("--from") && m_result.profilePath.empty()) {
            return "--from needs a file name";
        }
        return Given("--timeout") ? ParseTimeout(m_timeoutText, m_result.timeoutMs) : "";
    }

    std::string CommandError() {
        if (m_words.empty()) {
            return m_result.help || m_result.version ? ""
                                                     : "no command given (info, set, log or ports)";
        }
        const auto command =
            std::find_if(kCommandRows.begin(), kCommandRows.end(),
                         [&](const CommandRow& row) { return m_words[0] == row.word; });
        if (command == kCommandRows.end()) {
            return "unknown command '" + QuotedInMessage(m_words[0]) + "'";
        }
        m_result.command = command->command;
        if (m_result.help || m_result.version) {
            return {};  // they need nothing else
        }
        if (Given("--com")) {
            if (std::string error = ParseComList(m_comText, m_result.comNumbers); !error.empty()) {
                return error;
            }
        }
        if (std::string error = OptionMisplaced(*command); !error.empty()) {
            return error;
        }
        return ArgumentsError(std::span(m_words).subspan(1));
    }

    std::string OptionMisplaced(const CommandRow& command) const {
        for (const Placement& row : kPlacements) {
            if (Given(row.option) && (row.commands & command.bit) == 0) {
                return row.misplaced;
            }
            if (!Given(row.option) && (row.requiredBy & command.bit) != 0) {
                return row.missing;
            }
        }
        if (command.command == Command::kLog && m_result.comNumbers.size() > 1) {
            return "log takes one port";
        }
        return {};
    }

    std::string ArgumentsError(std::span<const std::string> rest) {
        if (m_result.command == Command::kSet) {
            SetParse parsed = ParseSetItems(rest, !m_result.profilePath.empty());
            m_result.settings = std::move(parsed.items);
            if (parsed.unsendable) {
                m_status = ExitStatus::kValueRefused;
            }
            return parsed.error;
        }
        return rest.empty() ? "" : "unexpected argument '" + QuotedInMessage(rest.front()) + "'";
    }

    CLI::App m_app;
    Options m_result;
    std::string m_comText;
    std::string m_timeoutText;
    std::vector<std::string> m_words;
    ExitStatus m_status = ExitStatus::kUsage;
};

}  // namespace

OptionsParse ParseOptions(std::span<const std::string> args) {
    return Parser().Run(args);
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
