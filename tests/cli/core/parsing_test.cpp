// The command line: options, commands and the key=value settings of set.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "options.h"
#include "set_request.h"
#include "text_util.h"

namespace veltaro::cli {
namespace {

struct OptionsCase {
    std::vector<std::string> args;
    std::string error;  // a part of the expected error; empty: must parse
};

std::string Joined(const std::vector<std::string>& args) {
    std::string out;
    for (const std::string& arg : args) {
        out += (out.empty() ? "" : " ") + arg;
    }
    return out;
}

// Names the case in test listings instead of its bytes.
void PrintTo(const OptionsCase& c, std::ostream* os) {
    *os << Joined(c.args);
}

class OptionsErrors : public ::testing::TestWithParam<OptionsCase> {};

TEST_P(OptionsErrors, ReportsTheFault) {
    const OptionsParse parsed = ParseOptions(GetParam().args);
    if (GetParam().error.empty()) {
        EXPECT_EQ(parsed.error, "");
    } else {
        EXPECT_NE(parsed.error.find(GetParam().error), std::string::npos) << parsed.error;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OptionsErrors,
    ::testing::Values(
        OptionsCase{{"info"}, "--com N is required"}, OptionsCase{{"--com", "1"}, "no command"},
        OptionsCase{{"--com", "1", "status"}, "unknown command 'status'"},
        OptionsCase{{"--com", "1", "--verbose", "info"}, "unknown option"},
        OptionsCase{{"--com", "0", "info"}, "1 to 999"},
        OptionsCase{{"--com", "000", "info"}, "1 to 999"},
        // The console reads three characters: a fourth would be dropped.
        OptionsCase{{"--com", "1000", "info"}, "1 to 999"},
        OptionsCase{{"--com", "+5", "info"}, "1 to 999"},
        OptionsCase{{"--com", " 5", "info"}, "1 to 999"},
        OptionsCase{{"info", "--com"}, "--com needs a value"},
        OptionsCase{{"--com", "1", "--timeout", "0", "info"}, "--timeout"},
        OptionsCase{{"--com", "1", "--timeout", "-2", "info"}, "--timeout"},
        OptionsCase{{"--com", "1", "--timeout", "5s", "info"}, "--timeout"},
        OptionsCase{{"--com", "1", "--timeout", "nan", "info"}, "--timeout"},
        OptionsCase{{"--com", "1", "--timeout", "1e9", "info"}, "--timeout"},
        OptionsCase{{"--com", "1", "--json", "log"}, "info, set and ports only"},
        OptionsCase{{"--com", "1", "--json=yes", "info"}, "takes no value"},
        OptionsCase{{"--com", "1", "info", "extra"}, "unexpected argument"},
        OptionsCase{{"--com", "1", "set"}, "at least one"},
        OptionsCase{{"--com", "1", "set", "channel"}, "key=value"}, OptionsCase{{"--help"}, ""},
        OptionsCase{{"--version", "--com", "x"}, ""},
        OptionsCase{{"info", "--com=12", "--json"}, ""}, OptionsCase{{"--com", "007", "log"}, ""},
        // A repeated option would silently take the last value.
        OptionsCase{{"--com", "3", "--com", "4", "info"}, "--com is given twice"},
        OptionsCase{{"--com=3", "info", "--com=3"}, "--com is given twice"},
        OptionsCase{{"--com", "1", "--timeout", "1", "--timeout=2", "info"},
                    "--timeout is given twice"},
        OptionsCase{{"--com", "1", "--json", "info", "--json"}, "--json is given twice"},
        OptionsCase{{"-h", "--help"}, "--help is given twice"},
        OptionsCase{{"--com", "1", "set", "--from", "a", "--from", "b"}, "--from is given twice"},
        // Lists and ranges of ports.
        OptionsCase{{"--com", "3,5,7-12", "info"}, ""},
        OptionsCase{{"--com", "1-999", "info"}, "more than 256 ports"},
        OptionsCase{{"--com", "5-3", "info"}, "got '5-3'"},
        OptionsCase{{"--com", "3,,4", "info"}, "got ''"},
        OptionsCase{{"--com", "3,1-4", "info"}, "lists COM3 twice"},
        OptionsCase{{"--com", "3,1000", "info"}, "got '1000'"},
        OptionsCase{{"--com", "1,2", "log"}, "log takes one port"}, OptionsCase{{"ports"}, ""},
        OptionsCase{{"ports", "--json"}, ""},
        OptionsCase{{"--com", "1", "ports"}, "ports takes no --com"},
        OptionsCase{{"--com", "1", "info", "--from", "p.json"}, "set only"},
        OptionsCase{{"--com", "1", "info", "--only-offered"}, "set only"},
        OptionsCase{{"--com", "1", "set", "--from", "p.json"}, ""},
        OptionsCase{{"--com", "1", "set", "--check", "--json", "channel=5"}, ""},
        OptionsCase{{"--com", "1", "info", "--check"}, "set only"},
        OptionsCase{{"--com", "1", "set", "--check=1", "channel=5"}, "takes no value"},
        // Options that the command does not use are refused, whatever their place.
        OptionsCase{{"ports", "--timeout", "3"}, "ports takes no --timeout"},
        OptionsCase{{"--timeout=3", "ports", "--json"}, "ports takes no --timeout"},
        OptionsCase{{"--com", "1", "--timeout", "5", "log"}, ""},
        // An option's value is never another argument, nor a flag's an empty text.
        OptionsCase{{"--com=", "info"}, "--com needs a value"},
        OptionsCase{{"--com", "1", "set", "--from=", "channel=5"}, "--from needs a value"},
        OptionsCase{{"--com", "1", "info", "--timeout"}, "--timeout needs a value"},
        OptionsCase{{"--com", "1", "--json=", "info"}, "--json takes no value"},
        OptionsCase{{"--com", "1", "--json=true", "info"}, "--json takes no value"},
        OptionsCase{{"--help=1"}, "--help takes no value"},
        OptionsCase{{"--com", "1", "-x", "info"}, "unknown option '-x'"},
        OptionsCase{{"--com", "1", "--verbose=3", "info"}, "unknown option '--verbose'"},
        OptionsCase{{"--com", "1", "info", "--"}, "unknown option '--'"},
        OptionsCase{{"--com", "1", "info", "---x"}, "unknown option '---x'"},
        OptionsCase{{"--com", "1", "info", "set"}, "unexpected argument 'set'"},
        OptionsCase{{"--help", "status"}, "unknown command 'status'"},
        OptionsCase{{"--help", "--verbose"}, "unknown option '--verbose'"},
        // What is echoed cannot steer the terminal.
        OptionsCase{{"--com", "1", "\x1b[2J"}, "unknown command '\\x1b[2J'"},
        OptionsCase{{"--\x1b[2J"}, "unknown option '--\\x1b[2J'"},
        OptionsCase{{"--com", "1", "set", "\x1b]0;x\x07=1"}, "unknown setting '\\x1b]0;x\\x07'"}));

TEST(Options, ComListsKeepTheOrderGivenAndExpandRanges) {
    const OptionsParse parsed =
        ParseOptions(std::vector<std::string>{"--com", "007,3,9-11", "info"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.comNumbers, (std::vector<std::string>{"007", "3", "9", "10", "11"}));
}

// A value that the modem's console cannot take as typed text is refused, for every key,
// with the field-check status: control bytes would be keystrokes at the console, bytes from
// 0x80 are not what the user sees.
TEST(Options, UnsendableValuesAreRefusedWithTheFieldCheckStatus) {
    const std::vector<std::string> keys{"channel",   "power",     "mode",      "dest-id", "period",
                                        "interface", "data-bits", "stop-bits", "parity"};
    const std::vector<std::string> values{
        "\x1b"
        "25\n",
        "5\r",
        std::string("1\0", 2),
        "\x7f",
        "12\xc3\xa9",
        "\xff"};
    for (const std::string& key : keys) {
        for (const std::string& value : values) {
            SCOPED_TRACE(key + " " + Printable(value));
            const OptionsParse parsed =
                ParseOptions(std::vector<std::string>{"--com", "1", "set", key + "=" + value});
            EXPECT_EQ(parsed.status, ExitStatus::kValueRefused);
            EXPECT_NE(parsed.error.find("printable ASCII only"), std::string::npos) << parsed.error;
            EXPECT_EQ(parsed.error.find('\x1b'), std::string::npos);
        }
    }
}

TEST(Options, TakesValuesInBothForms) {
    const OptionsParse parsed =
        ParseOptions(std::vector<std::string>{"set", "--timeout=2.5", "channel=5", "--com", "12"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.command, Command::kSet);
    EXPECT_EQ(parsed.options.comNumbers, std::vector<std::string>{"12"});
    EXPECT_EQ(parsed.options.timeoutMs, 2500);
    ASSERT_EQ(parsed.options.settings.size(), 1u);
    EXPECT_EQ(parsed.options.settings[0].text, "5");
}

TEST(Options, HelpListsEveryExitStatus) {
    const std::string help = HelpText("veltaro-cli");
    for (const char* line :
         {"  0  success", " 10  value refused", " 12  read-back", " 13  the modem refused",
          " 14  standard output", " 15  several ports", "130  interrupted"}) {
        EXPECT_NE(help.find(line), std::string::npos) << line;
    }
}

struct SetCase {
    std::vector<std::string> args;
    std::string error;  // part of the error; empty: parses
    SetKey key = SetKey::kChannel;
    std::string text;
    int index = -1;
};

void PrintTo(const SetCase& c, std::ostream* os) {
    *os << Joined(c.args);
}

SetCase Bad(std::vector<std::string> args, std::string error) {
    return {std::move(args), std::move(error), SetKey::kChannel, "", -1};
}

class SetItems : public ::testing::TestWithParam<SetCase> {};

TEST_P(SetItems, ParseAsTyped) {
    const SetCase& c = GetParam();
    const SetParse parsed = ParseSetItems(c.args);
    if (!c.error.empty()) {
        EXPECT_NE(parsed.error.find(c.error), std::string::npos) << parsed.error;
        EXPECT_TRUE(parsed.items.empty());
        return;
    }
    ASSERT_EQ(parsed.error, "");
    ASSERT_EQ(parsed.items.size(), 1u);
    EXPECT_EQ(parsed.items[0].key, c.key);
    EXPECT_EQ(parsed.items[0].text, c.text);
    EXPECT_EQ(parsed.items[0].index, c.index);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetItems,
    ::testing::Values(
        // Text values pass as typed: the console's own check judges them later.
        SetCase{{"channel=0x5"}, "", SetKey::kChannel, "0x5", -1},
        SetCase{{"power=a"}, "", SetKey::kPower, "a", -1},
        SetCase{{"dest-id=1a2b3"}, "", SetKey::kDestinationId, "1a2b3", -1},
        SetCase{{"destination-id=12=3"}, "", SetKey::kDestinationId, "12=3", -1},
        SetCase{{"period=30m"}, "", SetKey::kPeriod, "30", 1},
        SetCase{{"period=007S"}, "", SetKey::kPeriod, "007", 2},
        SetCase{{"period=2h"}, "", SetKey::kPeriod, "2", 0},
        SetCase{{"mode=Device"}, "", SetKey::kMode, "", 1},
        SetCase{{"interface=RS485"}, "", SetKey::kInterface, "", 1},
        SetCase{{"data-bits=5"}, "", SetKey::kDataBits, "", 0},
        SetCase{{"stop-bits=1.5"}, "", SetKey::kStopBits, "", 1},
        SetCase{{"parity=none"}, "", SetKey::kParity, "", 4},
        Bad({"period=30"}, "number followed by h, m or s"),
        Bad({"period=h"}, "number followed by h, m or s"),
        Bad({"period=-3h"}, "number followed by h, m or s"),
        Bad({"period=3xh"}, "number followed by h, m or s"), Bad({"data-bits=9"}, "5|6|7|8"),
        Bad({"stop-bits=1,5"}, "1|1.5|2"), Bad({"parity=non"}, "even|odd|space|mark|none"),
        Bad({"Channel=5"}, "unknown setting 'Channel'"),
        Bad({"unit=hours"}, "unknown setting 'unit'"), Bad({"channel="}, "needs a value"),
        Bad({"channel=5", "channel=6"}, "given twice"),
        Bad({"dest-id=12345", "destination-id=12345"}, "given twice")));

TEST(SetItemsOrder, ModeIsSentFirstAndUartLast) {
    const SetParse parsed = ParseSetItems(std::vector<std::string>{
        "parity=odd", "channel=5", "dest-id=12345", "mode=device", "interface=rs485"});
    ASSERT_EQ(parsed.error, "");
    std::vector<SetKey> keys;
    for (const SetItem& item : parsed.items) {
        keys.push_back(item.key);
    }
    EXPECT_EQ(keys, (std::vector<SetKey>{SetKey::kMode, SetKey::kChannel, SetKey::kDestinationId,
                                         SetKey::kInterface, SetKey::kParity}));
}

}  // namespace
}  // namespace veltaro::cli
