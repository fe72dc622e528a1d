// What the program prints: escaping, the info report, the log pane's text, the status line.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "info_report.h"
#include "log_writer.h"
#include "port_runs.h"
#include "progress.h"
#include "steps.h"
#include "text_util.h"

namespace veltaro::cli {
namespace {

using namespace std::string_literals;

TEST(TextUtil, JsonStringEscapesEveryByteThatIsNotPlainAscii) {
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
