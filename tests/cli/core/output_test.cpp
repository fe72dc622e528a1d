// What the program prints: escaping, the info report, the log pane's text, the status line.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "info_report.h"
#include "json_bytes.h"
#include "log_writer.h"
#include "port_runs.h"
#include "progress.h"
#include "steps.h"
#include "text_util.h"
#include "veltaro/console/profile.h"
#include "utf8.h"

namespace veltaro::cli {
namespace {

using namespace std::string_literals;

std::string Repeat(std::string_view text, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

// JSON text with every character beyond ASCII written as \uXXXX, as a reader decodes it.
std::string AsciiEscapes(const std::string& json) {
    std::string out;
    std::string_view rest = json;
    while (!rest.empty()) {
        const std::optional<Utf8Char> c = DecodeUtf8(rest);
        if (c && c->code >= 0x80) {
            const std::string one =
                nlohmann::json(std::string(rest.substr(0, c->length))).dump(-1, ' ', true);
            out += one.substr(1, one.size() - 2);
        } else {
            out += rest.front();
        }
        rest.remove_prefix(c ? c->length : 1);
    }
    return out;
}

// What the JSON output makes of console bytes (info --json, set --json).
std::string JsonString(const std::string& bytes) {
    std::string text = console::DumpJson(console::BytesToJson(bytes));
    return text.substr(0, text.size() - 1);  // without the final newline
}

TEST(JsonOutput, EscapesEveryByteThatIsNotPlainAscii) {
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"", R"("")"},
        {"05 ", R"("05 ")"},
        {"a\"b\\c", R"("a\"b\\c")"},
        {"\r\n\t", R"("\r\n\t")"},
        {"\x01\x1b\x7f"s, R"("\u0001\u001b\u007f")"},
        {"\0x"s, R"("\u0000x")"},
        // Console bytes are Latin-1 characters, never raw bytes in the JSON text.
        {"\xc3\xa9\xff"s, R"("\u00c3\u00a9\u00ff")"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JsonString(c.in), c.out) << c.out;
    }
}

TEST(TextUtil, Printable) {
    EXPECT_EQ(Printable("KD-35"), "KD-35");
    EXPECT_EQ(Printable("a\\b\r\n\x80"s), "a\\\\b\\x0d\\x0a\\x80");
}

TEST(TextUtil, MessagesCutLongValuesAndSayHowLongTheyWere) {
    const std::string sixty(60, 'a');
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"", ""},
        {sixty, sixty},
        {sixty + "b", sixty + "... (61 bytes)"},
        {std::string(100000, 'k'), std::string(60, 'k') + "... (100000 bytes)"},
        // Cut before escaping: 60 bytes are shown, each as the escape it needs.
        {std::string(70, '\x1b'), Repeat("\\x1b", 60) + "... (70 bytes)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QuotedInMessage(c.in), c.out) << c.in.size();
    }
}

// Paths from the system for the terminal: printable UTF-8 as it is, every byte that is not
// text or would steer the terminal as \xNN.
TEST(TextUtil, TerminalSafeUtf8KeepsPrintableTextOnly) {
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"/home/Jos\xc3\xa9", "/home/Jos\xc3\xa9"},  // valid UTF-8 stays
        {"/home/Jos\xe9", "/home/Jos\\xe9"},         // Latin-1 byte: not text
        {"\xe2\x82\xac \xf0\x9f\x93\xa1", "\xe2\x82\xac \xf0\x9f\x93\xa1"},
        {"a\x1b[2Jb\x7f", "a\\x1b[2Jb\\x7f"},
        {"\xc2\x9b"
         "1m",
         "\\xc2\\x9b"
         "1m"},  // C1 control (CSI)
        {"\xe2\x80\xae"
         "cod.exe",
         "\\xe2\\x80\\xae"
         "cod.exe"},                          // right-to-left override
        {"\xc0\xaf", "\\xc0\\xaf"},           // overlong form of "/"
        {"\xed\xa0\x80", "\\xed\\xa0\\x80"},  // a surrogate
        {"\xe2\x82", "\\xe2\\x82"},           // cut short
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TerminalSafeUtf8(c.in), c.out) << c.out;
    }
}

// JSON gives a reader the path's bytes back: valid UTF-8 as it is, other bytes as Python's
// surrogateescape writes them.
TEST(JsonBytes, InvalidBytesBecomeSurrogateEscapesAndNothingElseChanges) {
    const struct {
        std::string in;
        std::string json;
    } cases[] = {
        {"/home/Jos\xc3\xa9", R"("/home/Jos\u00e9")"},
        {"/home/Jos\xe9", R"("/home/Jos\udce9")"},
        {"\xff\xfe", R"("\udcff\udcfe")"},
        {"\xed\xa0\x80", R"("\udced\udca0\udc80")"},
        {"\xe2\x82"
         "A",
         R"("\udce2\udc82A")"},
        {"\xf0\x9f\x93\xa1", R"("\ud83d\udce1")"},
        // Backslashes and NULs of the text are not taken for the placeholder.
        {"a\\u0000ff", R"("a\\u0000ff")"},
        {"\0ff"s, R"("\u0000ff")"},
        {"\0\xff"s, R"("\u0000\udcff")"},
        {"tab\t\x01", R"("tab\t\u0001")"},
    };
    for (const auto& c : cases) {
        const std::string json =
            DumpWithByteEscapes(nlohmann::ordered_json(BytesForJson(c.in)), -1);
        EXPECT_EQ(json.find('\0'), std::string::npos);
        EXPECT_EQ(AsciiEscapes(json), c.json);  // the program writes UTF-8 as it is
    }
}

console::SettingsForm SampleForm() {
    console::SettingsForm form;
    form.channel = "05 ";
    form.power = "0A\r";
    form.mode = 1;
    form.destinationId = "1A2B3";
    form.period = "30 ";
    form.periodUnit = 2;
    form.interface = 1;
    form.dataBits = 2;
    form.stopBits = 1;
    form.parity = 0;
    return form;
}

std::string Keys(const std::vector<ReportEntry>& entries) {
    std::string keys;
    for (const ReportEntry& entry : entries) {
        keys += std::string(entry.key) + " ";
    }
    return keys;
}

TEST(InfoReport, ShowsOnlyWhatTheModemReported) {
    const console::SettingsForm form = SampleForm();
    EXPECT_EQ(Keys(ReportedSettings(form, false, false)), "channel power mode ");
    EXPECT_EQ(Keys(ReportedSettings(form, true, false)),
              "channel power mode destination-id period period-unit ");
    EXPECT_EQ(Keys(ReportedSettings(form, false, true)),
              "channel power mode interface data-bits stop-bits parity ");
    console::SettingsForm noPeriod = form;
    noPeriod.period = "   ";  // a device-mode screen without a period column
    EXPECT_EQ(Keys(ReportedSettings(noPeriod, true, false)), "channel power mode destination-id ");
}

InfoReport SampleReport() {
    InfoReport report;
    report.modelCode = "GT-45";
    report.settingsRead = true;
    report.shown = SampleForm();
    report.shown.parity = 7;  // outside the group: no radio checked
    report.deviceMode = true;
    report.uartRead = true;
    report.settable = {SetKey::kChannel, SetKey::kPower};
    return report;
}

TEST(InfoReport, TextIsOneTrimmedKeyValueALine) {
    EXPECT_EQ(FormatText(SampleReport()),
              "model: GT-45\nrange-class: wide\nfamily: GT period family\n"
              "channel: 05\npower: 0A\nmode: device\ndestination-id: 1A2B3\nperiod: 30\n"
              "period-unit: seconds\ninterface: rs485\ndata-bits: 7\nstop-bits: 1.5\n"
              "parity: unknown\nsettable: channel power\n");
}

TEST(InfoReport, JsonKeepsTheRawColumnsBesideTheTrimmedValues) {
    const std::string json = FormatJson(SampleReport());
    for (const char* part :
         {R"("model": "GT-45",)", R"("channel": "05",)", R"("channel_raw": "05 ",)",
          R"("power_raw": "0A\r",)", R"("mode": "device",)", R"("period_unit": "seconds",)",
          R"("stop_bits": "1.5",)", R"("parity": null)",
          "\"settable\": [\n    \"channel\",\n    \"power\"\n  ]"}) {
        EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;
    }
}

TEST(InfoReport, UnreadSettingsAreNullAndAStrangeModelCodeIsEscaped) {
    InfoReport report;
    report.modelCode = "Z\"\x01\xe9Q"s;
    EXPECT_EQ(FormatJson(report),
              "{\n  \"veltaro_profile\": 1,\n  \"model\": \"Z\\\"\\u0001\\u00e9Q\",\n  "
              "\"range_class\": \"narrow\",\n"
              "  \"family\": \"none\",\n  \"settings\": null,\n  \"settable\": []\n}\n");
    EXPECT_EQ(FormatText(report), "model: Z\"\\x01\\xe9Q\nrange-class: narrow\nfamily: none\n");
}

TEST(LogWriter, TurnsLineBreaksIntoLfAlsoAcrossAppendsAndEscapesEveryOtherControlByte) {
    const struct {
        std::vector<std::string> appends;
        std::string out;
    } cases[] = {
        {{"\r\n", "-- A\r\nOK"}, "\n-- A\nOK"},
        {{"ab\r", "\ncd"}, "ab\ncd"},
        // A lone CR would let the modem overwrite what the terminal shows.
        {{"ab\r", "cd"}, "ab\\x0dcd"},
        {{"x\r\r\n"}, "x\\x0d\n"},
        {{"end\r"}, "end\\x0d"},  // held back, then written by Finish
        {{"\x1b[2J", "\x07\t"}, "\\x1b[2J\\x07\\x09"},
        {{"caf\xe9 \x80\xff\x7f"}, "caf\\xe9 \\x80\\xff\\x7f"},
        {{"C:\\path"}, "C:\\path"},  // backslashes as they came
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        {
            LogWriter writer(out);
            for (const std::string& text : c.appends) {
                writer.Write(text);
            }
        }
        EXPECT_EQ(out.str(), c.out);
    }
}

TEST(Progress, KeyLabelsNameTheInvisibleBytes) {
    EXPECT_EQ(KeyLabel("2"), "\"2\"");
    EXPECT_EQ(KeyLabel("\n"), "LF");
    EXPECT_EQ(KeyLabel("\x1b"), "ESC");
    EXPECT_EQ(KeyLabel("ab\ncd"), "\"ab\" LF \"cd\"");
    EXPECT_EQ(KeyLabel("\x07"), "0x07");
    EXPECT_EQ(KeyLabel(""), "\"\"");
}

TEST(Progress, DisabledPrinterIsSilent) {
    std::ostringstream out;
    {
        ProgressPrinter printer(out, false);
        printer.Phase("setting channel");
        printer.Sent("2");
        printer.Pausing(500);
    }
    EXPECT_EQ(out.str(), "");
}

TEST(Progress, StatusLineShowsPhaseKeyAndPauseAndIsClearedAtTheEnd) {
    std::ostringstream out;
    {
        ProgressPrinter printer(out, true);
        printer.Phase("setting channel");
        printer.Sent("2");
        printer.Pausing(500);
    }
    const std::string text = out.str();
    EXPECT_NE(text.find("setting channel: sent \"2\", pause 500 ms"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\r\x1b[K")) << text;
}

TEST(Steps, RefusalLineIsTheModemsOwnWordsBeforeItsMark) {
    const struct {
        std::string console;
        std::string line;
    } cases[] = {
        {"\r\n--------\r\n  Invalid destination ID, 5 HEX digits expected\r\n!!\r\n Select> ",
         "Invalid destination ID, 5 HEX digits expected"},
        {"\r\n------\r\n  Channel set\r\nOK\r\n Select> ", ""},
        {"\r\n------\r\n!!\r\n", ""},              // nothing said but the mark
        {"Value !! inside a line\r\nOK\r\n", ""},  // only a line of its own counts
        {"a\r\nOK\r\nb refused\r\n!!\r\n", "b refused"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RefusalLine(c.console), c.line) << Printable(c.console);
    }
}

TEST(PortRuns, SummaryAndJsonNameEachPortWithItsStatus) {
    const std::vector<PortResult> results{
        {"3", ExitStatus::kOk, "{\n  \"model\": \"GT-45\"\n}\n", ""},
        {"007", ExitStatus::kHungUp, "", "veltaro-cli: x\nveltaro-cli: the modem hung up\n"},
        {"9", ExitStatus::kPortNotFound, "", "veltaro-cli: cannot open COM9\n"}};
    EXPECT_EQ(FailureSummary(results),
              "2 of 3 ports failed:\n  COM007: status 8, the modem hung up\n"
              "  COM9: status 3, cannot open COM9");
    EXPECT_EQ(FailureSummary({results[0]}), "");
    EXPECT_EQ(PortsJson(results, Command::kInfo), R"([
  {
    "com": 3,
    "exit_status": 0,
    "error": null,
    "info": {
      "model": "GT-45"
    }
  },
  {
    "com": 7,
    "exit_status": 8,
    "error": "the modem hung up",
    "info": null
  },
  {
    "com": 9,
    "exit_status": 3,
    "error": "cannot open COM9",
    "info": null
  }
]
)");
}

TEST(Progress, BoardRedrawsOneLinePerPortInPlace) {
    std::ostringstream out;
    ProgressBoard board(out, {"COM1", "COM2"});
    board.Set(1, "opening");
    board.Set(0, std::string(100, 'x'));
    EXPECT_EQ(out.str(),
              "\r\x1b[KCOM1: \n\r\x1b[KCOM2: opening\n"
              "\x1b[2A\r\x1b[KCOM1: " +
                  std::string(73, 'x') + "\n\r\x1b[KCOM2: opening\n");
}

}  // namespace
}  // namespace veltaro::cli
