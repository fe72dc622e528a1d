#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "console_rig.h"
#include "veltaro/console/control_ids.h"

namespace veltaro::console::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Handler = void (ModemConsole::*)();

struct Model {
    const char* code;
    bool wide;
};
// A wide model, a narrow one and the unlisted (undetected) model.
constexpr Model kModels[] = {{"GT-45", true}, {"GT-95", false}, {"", false}};

ConsoleRig* Prepare(ConsoleRig& rig, const char* model) {
    if (*model != '\0') {
        rig.Detect(model);
    }
    return &rig;
}

// The calls of one clearing: the text set empty, the nested check's form read, the form
// write.
std::vector<std::string> Cleared(int editId) {
    return {calls::ReadForm(), calls::EditText(editId, ""), calls::ReadForm(), calls::WriteForm()};
}

struct Verdict {
    const char* text;
    bool wide;    // accepted with a wide-range model
    bool narrow;  // accepted with a narrow-range model
};

TEST(ChannelCheck, AcceptsOrClearsByRangeClass) {
    const Verdict cases[] = {
        {"1", true, true},    {"9", true, true},    {"A", true, true},     {"E", true, true},
        {"a", true, true},    {"e", true, true},    {"F", true, false},    {"f", true, false},
        {"0", false, false},  {"G", false, false},  {" ", false, false},   {"\xB1", false, false},
        {"10", true, true},   {"14", true, true},   {"15", true, false},   {"45", true, false},
        {"46", false, false}, {"99", false, false}, {"00", false, false},  {"09", false, false},
        {"1A", false, false}, {"A1", false, false}, {"+9", false, false},  {"-5", false, false},
        {" 9", false, false}, {"1 ", false, false}, {"123", false, false}, {"100", false, false},
    };
    for (const Model& model : kModels) {
        for (const Verdict& c : cases) {
            ConsoleRig rig;
            Prepare(rig, model.code);
            rig.host.Type(ctl::kChannelEdit, c.text);
            rig.console.OnChannelChanged();
            const bool accepted = model.wide ? c.wide : c.narrow;
            const auto expected = accepted ? std::vector{calls::ReadForm()} : Cleared(1020);
            EXPECT_THAT(rig.log.Described(), ElementsAreArray(expected))
                << '"' << c.text << "\" with " << model.code;
            EXPECT_EQ(rig.host.EditText(ctl::kChannelEdit), accepted ? c.text : "");
            EXPECT_EQ(rig.console.Form().channel, accepted ? c.text : "");
        }
    }
}

TEST(PowerCheck, AcceptsOrClearsByRangeClass) {
    const Verdict cases[] = {
        {"1", true, true},    {"9", true, true},    {"A", true, true},    {"F", true, true},
        {"a", true, true},    {"f", true, true},    {"0", false, false},  {"G", false, false},
        {" ", false, false},  {"11", true, false},  {"1F", true, false},  {"A5", true, false},
        {"FF", true, false},  {"ff", true, false},  {"10", false, false}, {"A0", false, false},
        {"0F", false, false}, {"00", false, false}, {"1G", false, false}, {"111", false, false},
    };
    for (const Model& model : kModels) {
        for (const Verdict& c : cases) {
            ConsoleRig rig;
            Prepare(rig, model.code);
            rig.host.Type(ctl::kPowerEdit, c.text);
            rig.console.OnPowerChanged();
            const bool accepted = model.wide ? c.wide : c.narrow;
            std::vector<std::string> expected =
                accepted ? std::vector{calls::ReadForm()} : Cleared(1021);
            // The narrow field selects a single character, whether kept or cleared.
            if (!model.wide && std::string(c.text).size() == 1) {
                expected.insert(expected.end(), {calls::Select(1021, 0, 2), calls::Scroll(1021)});
            }
            EXPECT_THAT(rig.log.Described(), ElementsAreArray(expected))
                << '"' << c.text << "\" with " << model.code;
            EXPECT_EQ(rig.host.EditText(ctl::kPowerEdit), accepted ? c.text : "");
        }
    }
}

TEST(PeriodCheck, AcceptsByUnit) {
    const struct {
        int unit;
        const char* text;
        bool accepted;
    } cases[] = {
        {0, "1", true},   {0, "3", true},   {0, "4", false},  {0, "0", false}, {0, "-1", false},
        {0, "2a", true},  {0, " 2", true},  {0, "03", true},  {0, "+3", true}, {0, "x", false},
        {1, "59", true},  {1, "60", false}, {1, "007", true}, {1, "1", true},  {2, "59", true},
        {2, "60", false}, {2, "0", false},  {-1, "59", true},  // no unit checked counts as minutes
                                                               // or seconds
    };
    for (const auto& c : cases) {
        ConsoleRig rig;
        rig.host.Shown().periodUnit = c.unit;
        rig.host.Type(ctl::kPeriodEdit, c.text);
        rig.console.OnPeriodChanged();
        const auto expected = c.accepted ? std::vector{calls::ReadForm()} : Cleared(1029);
        EXPECT_THAT(rig.log.Described(), ElementsAreArray(expected))
            << '"' << c.text << "\" unit " << c.unit;
        EXPECT_EQ(rig.host.EditText(ctl::kPeriodEdit), c.accepted ? c.text : "");
    }
}

TEST(FieldChecks, EmptyTextOnlyReadsTheForm) {
    const struct {
        int id;
        Handler handler;
    } cases[] = {{1020, &ModemConsole::OnChannelChanged},
                 {1021, &ModemConsole::OnPowerChanged},
                 {1029, &ModemConsole::OnPeriodChanged}};
    for (const Model& model : kModels) {
        for (const auto& c : cases) {
            ConsoleRig rig;
            Prepare(rig, model.code);
            (rig.console.*c.handler)();
            EXPECT_THAT(rig.log.Described(), ElementsAre(calls::ReadForm())) << c.id;
        }
    }
}

TEST(FieldChecks, TypingSequences) {
    const struct {
        const char* model;
        int id;
        Handler handler;
        std::vector<const char*> typed;
        std::vector<const char*> shown;
    } cases[] = {
        {"KD-35", 1020, &ModemConsole::OnChannelChanged, {"4", "45", "451"}, {"4", "45", ""}},
        {"KD-30", 1020, &ModemConsole::OnChannelChanged, {"1", "15"}, {"1", ""}},
        {"KD-30", 1020, &ModemConsole::OnChannelChanged, {"0"}, {""}},
        {"KD-30", 1021, &ModemConsole::OnPowerChanged, {"5", "7", "57"}, {"5", "7", ""}},
        {"", 1029, &ModemConsole::OnPeriodChanged, {"3", "4"}, {"3", ""}},
    };
    for (const auto& c : cases) {
        ConsoleRig rig;
        Prepare(rig, c.model);
        for (std::size_t i = 0; i < c.typed.size(); ++i) {
            rig.host.Type(c.id, c.typed[i]);
            (rig.console.*c.handler)();
            EXPECT_EQ(rig.host.EditText(c.id), c.shown[i]) << c.id << " after " << c.typed[i];
        }
    }
}

TEST(FieldChecks, ClearingKeepsWhatTheOtherFieldsShow) {
    ConsoleRig rig;
    rig.host.Type(ctl::kPeriodEdit, "30");  // typed, not yet read
    rig.host.Shown().mode = 1;
    rig.host.Type(ctl::kChannelEdit, "0");
    rig.console.OnChannelChanged();
    EXPECT_EQ(rig.host.EditText(ctl::kChannelEdit), "");
    EXPECT_EQ(rig.host.EditText(ctl::kPeriodEdit), "30");
    EXPECT_EQ(rig.host.Shown().mode, 1);
    EXPECT_EQ(rig.log.OfKind(EventKind::kWriteForm).at(0).form.period, "30");
}

TEST(DestinationIdCheck, CapitalisesWithTheNestedRuns) {
    ConsoleRig rig;
    rig.host.Type(ctl::kDestIdEdit, "ab");
    rig.console.OnDestinationIdChanged();
    // Each capitalisation sets the text, and the check runs again on it before going on.
    EXPECT_THAT(rig.log.Described(),
                ElementsAre(calls::ReadForm(), calls::EditText(1025, "Ab"),  // outer run
                            calls::ReadForm(), calls::EditText(1025, "AB"),  // first nested
                            calls::ReadForm(),                               // second nested
                            calls::Select(1025, 2, 2), calls::Scroll(1025), calls::WriteForm(),
                            calls::Select(1025, 2, 2), calls::Scroll(1025), calls::WriteForm(),
                            calls::Select(1025, 2, 2), calls::Scroll(1025), calls::WriteForm()));
    EXPECT_EQ(rig.host.EditText(ctl::kDestIdEdit), "AB");
    EXPECT_EQ(rig.console.Form().destinationId, "AB");
}

TEST(DestinationIdCheck, NetEffects) {
    const struct {
        const char* typed;
        const char* shown;
        int caret;  // -1: the caret is not moved
        std::size_t textSets;
    } cases[] = {
        {"a", "A", 1, 1},
        {"A1", "A1", 2, 0},
        {"A1b", "A1B", 3, 1},
        {"A1xB", "A1XB", 4, 1},  // typed in the middle: the caret still goes to the end
        {"aba", "ABA", 3, 2},    // every occurrence of a letter at once
        {"abcde", "ABCDE", 5, 5},
        {"a-z 1", "A-Z 1", 5, 2},
        {"`{z@", "`{Z@", 4, 1},
        {"\xE1z\xFA", "\xE1Z\xFA", 3, 1},  // bytes of 0x80 and above are never letters
        {"", "", 0, 0},
        {"abcdefg", "abcde", -1, 0},  // cut to five, case unchanged
        {"ABCDEF", "ABCDE", -1, 0},
    };
    for (const auto& c : cases) {
        ConsoleRig rig;
        rig.host.Type(ctl::kDestIdEdit, c.typed);
        rig.console.OnDestinationIdChanged();
        EXPECT_EQ(rig.host.EditText(ctl::kDestIdEdit), c.shown) << c.typed;
        EXPECT_EQ(rig.console.Form().destinationId, c.shown) << c.typed;
        EXPECT_EQ(rig.host.Selection(ctl::kDestIdEdit), std::pair(c.caret, c.caret)) << c.typed;
        EXPECT_EQ(rig.log.Count(EventKind::kSetEditText), c.textSets) << c.typed;
        EXPECT_EQ(rig.log.Described().back(), calls::WriteForm()) << c.typed;
    }
}

TEST(DestinationIdCheck, CutTextIsCapitalisedAtTheNextShorterChange) {
    ConsoleRig rig;
    rig.host.Type(ctl::kDestIdEdit, "abcdefg");
    rig.console.OnDestinationIdChanged();
    EXPECT_THAT(rig.log.Described(), ElementsAre(calls::ReadForm(), calls::WriteForm()));
    rig.host.Type(ctl::kDestIdEdit, "abcd");  // the user deletes a character
    rig.console.OnDestinationIdChanged();
    EXPECT_EQ(rig.host.EditText(ctl::kDestIdEdit), "ABCD");
}

// A host whose form read never sees the text just set must not make the checks recurse
// without end.
class StaleHost : public RecordingHost {
  public:
    using RecordingHost::RecordingHost;
    SettingsForm ReadForm() override {
        SettingsForm form = RecordingHost::ReadForm();
        form.destinationId = "a";
        form.channel = "0";
        return form;
    }
};

TEST(FieldChecks, NestedRunsStayBoundedWithAStaleHost) {
    EventLog log;
    StaleHost host(log);
    RecordingLink link(log);
    ModemConsole console(host, link);
    console.OnDestinationIdChanged();
    console.OnChannelChanged();
    EXPECT_LT(log.Count(EventKind::kReadForm), 40U);
}

}  // namespace
}  // namespace veltaro::console::testing
