#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "broken_profiles.h"
#include "console_rig.h"
#include "fake_step_timer.h"
#include "veltaro/console/field_values.h"
#include "veltaro/console/profile_session.h"

namespace veltaro::console::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class RecordingView : public ProfileView {
  public:
    void ShowProgress(const std::string& text, int, int) override { progress.push_back(text); }
    void OnScreensRead(bool ok) override { screensRead = ok ? 1 : 0; }
    void OnApplied(const Report& report) override {
        summary = report;
        ++applied;
    }
    std::vector<std::string> progress;
    int screensRead = -1;
    int applied = 0;
    Report summary;
};

std::string InfoScreen(bool device, const char* destination) {
    return std::string(
               "Information  ------------------\r\nChannel Number: 05 \r\n         Power: 0A "
               "\r\n") +
           "Operating Mode: " + (device ? "Device Mode" : "PC Mode") +
           "\r\nDestination ID: " + destination + "\r\n----------\r\nOK\r\n";
}
const std::string kUartScreen =
    "UART Information ---\r\nInterface : RS232\r\nData Bit : 8 Bit\r\nStop Bit : 1 Bit\r\n"
    "Parity : Non\r\n------\r\nOK\r\n";
const std::string kOkScreen = "-----\r\n  Saved\r\nOK\r\nSelect> ";

struct SessionRig : ConsoleRig {
    FakeTimer timer{log};
    RecordingView view;
    ProfileSession session{console, timer, view, [this](int id) { return host.IsEnabled(id); }};
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("veltaro-session-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());

    SessionRig() {
        std::filesystem::create_directories(dir);
        link.SetOpenResult(1);
        console.OnOpen();
        Detect("KD-35");
    }
    ~SessionRig() {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    void Run() {
        while (timer.armed && timer.armedMs != ApplyRunner::kAnswerTimeoutMs) {
            timer.armed = false;
            session.OnTimer();
        }
    }
    void Answer(const std::string& screen) {
        Receive(screen);
        Run();
    }
    std::filesystem::path Write(const std::string& text) {
        const std::filesystem::path path = dir / "profile.json";
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::vector<std::string> Sends() const {
        return log.Described({EventKind::kSend, EventKind::kWriteByte});
    }
};

std::string S(const char* text) {
    return calls::Send(text);
}

// A file that switches the mode: what is offered now goes first (the frame once, with Bit
// Setting), then the mode, then, planned again on the new mode's screen, the destination ID.
TEST(ProfileSession, SendsThePlanPhaseByPhaseAndReadsEachBack) {
    SessionRig rig;
    rig.Answer(InfoScreen(false, ""));
    rig.Answer(kUartScreen);
    ASSERT_EQ(rig.session.Load(rig.Write(R"({"veltaro_profile": 1, "settings": {"channel": "23",
        "mode": "device", "destination_id": "0beef", "data_bits": "7", "parity": "odd"}})")),
              "");
    const Report confirmation = rig.session.Confirmation();
    ASSERT_TRUE(rig.session.HasChanges());
    ASSERT_FALSE(confirmation.sections.empty());
    EXPECT_THAT(
        confirmation.sections[0].rows,
        ElementsAre("mode: pc \xE2\x86\x92 device", "channel: 05 \xE2\x86\x92 23",
                    "destination-id: (not shown) \xE2\x86\x92 0BEEF  (after the mode change)",
                    "data-bits: 8 \xE2\x86\x92 7", "parity: none \xE2\x86\x92 odd"));
    rig.log.Clear();
    rig.session.StartApply();
    rig.Run();
    rig.Answer(kOkScreen);              // channel
    rig.Answer(kOkScreen);              // frame
    rig.Answer(InfoScreen(false, ""));  // read-back
    rig.Answer(kUartScreen);
    rig.Answer(kOkScreen);                  // mode
    rig.Answer(InfoScreen(true, "12345"));  // the new mode shows the destination
    rig.Answer(kUartScreen);
    rig.Answer(kOkScreen);  // destination
    rig.Answer(InfoScreen(true, "0BEEF"));
    rig.Answer(kUartScreen);
    EXPECT_EQ(rig.view.applied, 1);
    const std::vector<std::string> readBack{S("B"), S("A"), S("3"), calls::Byte(0x1B)};
    std::vector<std::string> expected{S("2"), S("23"), S("\n"), S("A"),           S("2"),
                                      S("7"), S("1"),  S("2"),  calls::Byte(0x1B)};
    expected.insert(expected.end(), readBack.begin(), readBack.end());
    for (const char* key : {"6", "2", "\n"})
        expected.push_back(S(key));
    expected.insert(expected.end(), readBack.begin(), readBack.end());
    for (const char* key : {"8", "0BEEF", "\n"})
        expected.push_back(S(key));
    expected.insert(expected.end(), readBack.begin(), readBack.end());
    EXPECT_EQ(rig.Sends(), expected);
}

TEST(ProfileSession, RefusesWhatTheFieldsOfTheModelRefuseAndSendsNothing) {
    const struct {
        const char* model;
        const char* settings;
        const char* refusal;  // empty: accepted
    } cases[] = {
        {"KD-35", R"("channel": "23")", ""},
        {"GT-40", R"("channel": "23")", "channel \"23\" is refused"},  // narrow range
        {"GT-45", R"("period": "5", "period_unit": "hours")", "period \"5\" is refused"},
        {"GT-40", R"("power": "1F")", "power \"1F\" is refused"},  // one digit when narrow
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + c.settings);
        std::vector<SetItem> items;
        ProfileRead read = ParseProfile(
            std::string(R"({"veltaro_profile": 1, "settings": {)") + c.settings + "}}", "f.json");
        ASSERT_TRUE(read.Ok()) << read.error;
        const std::string refusal = CheckFieldValues(c.model, read.items);
        if (std::string(c.refusal).empty()) {
            EXPECT_EQ(refusal, "");
        } else {
            EXPECT_THAT(refusal, HasSubstr(c.refusal));
        }
    }
    std::vector<SetItem> destination{{SetKey::kDestinationId, "0beef", -1}};
    EXPECT_EQ(CheckFieldValues("KD-35", destination), "");
    EXPECT_EQ(destination[0].text, "0BEEF");  // as the field shows it
}

// Every broken file of the shared table is refused by Load, and nothing goes out.
TEST(ProfileSession, BrokenFilesAreRefusedBeforeAnyByte) {
    SessionRig rig;
    rig.log.Clear();
    for (const BrokenProfile& broken : BrokenProfiles()) {
        SCOPED_TRACE(broken.name);
        const std::filesystem::path path = MakeBrokenProfile(broken, rig.dir);
        if (path.empty()) {
            continue;  // a FIFO or a device: POSIX only
        }
        EXPECT_THAT(rig.session.Load(path), HasSubstr(broken.message));
    }
    EXPECT_TRUE(rig.log.Wire().empty());
}

TEST(ProfileSession, SuggestsAFileNameFromModelAndDestination) {
    SessionRig rig;
    EXPECT_EQ(rig.session.SuggestedFileName(), "KD-35.json");  // nothing read yet
    rig.Receive(InfoScreen(true, "1A/B3"));
    EXPECT_EQ(rig.session.SuggestedFileName(), "KD-35_1AB3.json");
}

}  // namespace
}  // namespace veltaro::console::testing
