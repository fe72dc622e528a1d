// The simulated modem's console, driven through its pseudo-terminal with raw bytes and read
// by the rule-following reader.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "rule_reader.h"
#include "sim_process.h"

namespace sim_test {
namespace {

constexpr std::string_view kEsc = "\x1b";

struct ModelCase {
    const char* code;
    const char* info_key;
    bool wide;
    bool uart;
};

const ModelCase kModels[] = {
    {"KD-30", "B", false, true},
    {"KD-35", "B", true, true},
    {"GT-20", "6", false, true},
    {"GT-25", "6", true, true},
    {"GT-40", "C", false, false},
    {"GT-45", "C", true, false},
    {"GT-60", "C", false, false},
    {"GT-65", "C", true, false},
    {"GT-80", "C", false, false},
    {"GT-85", "C", true, false},
    {"GT-90", "C", false, false},
    {"GT-95", "C", false, false},
    {"FL-20", "6", false, false},
    {"FL-25", "6", true, false},
    // An unlisted model: narrow ranges, the GT period console.
    {"ZX-77", "C", false, false},
};

const char* lookup_info_key(std::string_view code) {
    for (const ModelCase& model : kModels) {
        if (model.code == code) {
            return model.info_key;
        }
    }
    return "C";
}

class SimConsole : public ::testing::Test {
  protected:
    std::unique_ptr<SimProcess> start(const char* model, std::vector<std::string> extra = {}) {
        std::vector<std::string> args{"--fast", "--model", model};
        args.insert(args.end(), extra.begin(), extra.end());
        auto sim = std::make_unique<SimProcess>(args, dir_.path());
        EXPECT_FALSE(sim->slave_path().empty());
        EXPECT_TRUE(sim->open_port());
        return sim;
    }

    // What the program's form holds after it asks for the information screen.
    static ReadForm read_information(SimProcess& sim, const char* info_key) {
        RuleReader reader;
        reader.awaiting_model = false;
        reader.message(sim.ask(info_key));
        EXPECT_EQ(reader.log.size(), 1u);
        EXPECT_EQ(reader.information_reads, 1);
        return reader.form;
    }

    static ReadForm read_uart(SimProcess& sim) {
        RuleReader reader;
        reader.awaiting_model = false;
        reader.message(sim.ask_each({"A", "3"}));
        EXPECT_EQ(reader.log.size(), 1u);
        EXPECT_EQ(reader.uart_reads, 1);
        sim.ask(kEsc);
        return reader.form;
    }

    TempDir dir_;
};

TEST_F(SimConsole, EveryModelNamesItselfAndFillsEveryFieldOfItsInformationScreen) {
    for (const ModelCase& model : kModels) {
        SCOPED_TRACE(model.code);
        auto sim = start(model.code);
        RuleReader reader;
        const std::string menu = sim->ask(kEsc);
        reader.message(menu);
        EXPECT_EQ(reader.model, model.code);
        EXPECT_TRUE(reader.buffer.empty());
        EXPECT_EQ(menu.find("OK"), std::string::npos);
        EXPECT_EQ(menu.find("!!"), std::string::npos);
        EXPECT_NE(menu.find(model.wide ? "(HEX 01~45)" : "(HEX 01~14)"), std::string::npos);

        reader.message(sim->ask(model.info_key));
        ASSERT_EQ(reader.log.size(), 1u);
        const std::string& logged = reader.log[0];
        const std::size_t title = logged.find("Information  --");
        ASSERT_NE(title, std::string::npos);
        EXPECT_NE(logged.find("OK", title), std::string::npos);
        EXPECT_EQ(reader.form.channel, "07 ");
        EXPECT_EQ(reader.form.power, "0A ");
        EXPECT_EQ(reader.form.mode, 1);
        EXPECT_EQ(reader.form.dest_id, "1A2B3");
        EXPECT_EQ(reader.form.period, "30 ");
        EXPECT_EQ(reader.form.unit, 2);
        if (model.uart) {
            ReadForm uart = read_uart(*sim);
            EXPECT_EQ(uart.interface, 0);
            EXPECT_EQ(uart.data_bits, 3);
            EXPECT_EQ(uart.stop_bits, 0);
            EXPECT_EQ(uart.parity, 4);
        }
    }
}

TEST_F(SimConsole, StartValuesFromTheCommandLineShowOnTheScreens) {
    struct Case {
        const char* model;
        const char* info_key;
        std::vector<std::string> sets;
        ReadForm want;
    };
    const Case cases[] = {
        {"GT-45",
         "C",
         {"channel=1f", "power=FF", "dest-id=abcde", "period=2", "unit=hor"},
         {"1F ", "FF ", "ABCDE", "2  ", 1, 0, -1, -1, -1, -1}},
        {"FL-20",
         "6",
         {"channel=14", "power=F", "period=59", "unit=MIN"},
         {"14 ", "0F ", "1A2B3", "59 ", 1, 1, -1, -1, -1, -1}},
        // PC mode: the program leaves destination ID and period alone.
        {"GT-40", "C", {"mode=pc", "channel=3"}, {"03 ", "0A ", "", "", 0, -1, -1, -1, -1, -1}},
        {"KD-35",
         "B",
         {"interface=rs485", "data-bits=7", "stop-bits=1.5", "parity=space", "channel=45"},
         {"45 ", "0A ", "1A2B3", "30 ", 1, 2, 1, 2, 1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        std::vector<std::string> extra;
        for (const std::string& set : c.sets) {
            extra.insert(extra.end(), {"--set", set});
        }
        auto sim = start(c.model, extra);
        ReadForm got = read_information(*sim, c.info_key);
        EXPECT_EQ(got.channel, c.want.channel);
        EXPECT_EQ(got.power, c.want.power);
        EXPECT_EQ(got.dest_id, c.want.dest_id);
        EXPECT_EQ(got.period, c.want.period);
        EXPECT_EQ(got.mode, c.want.mode);
        EXPECT_EQ(got.unit, c.want.unit);
        if (c.want.interface >= 0) {
            ReadForm uart = read_uart(*sim);
            EXPECT_EQ(uart.interface, c.want.interface);
            EXPECT_EQ(uart.data_bits, c.want.data_bits);
            EXPECT_EQ(uart.stop_bits, c.want.stop_bits);
            EXPECT_EQ(uart.parity, c.want.parity);
        }
    }
}

enum class Field { channel, power, mode, dest_id, period, unit };

std::string field_text(const ReadForm& form, Field field) {
    switch (field) {
        case Field::channel:
            return form.channel;
        case Field::power:
            return form.power;
        case Field::mode:
            return std::to_string(form.mode);
        case Field::dest_id:
            return form.dest_id;
        case Field::period:
            return form.period;
        case Field::unit:
            return std::to_string(form.unit);
    }
    return {};
}

TEST_F(SimConsole, ValuesAreCheckedAsTheModelAllowsAndOnlyAcceptedOnesChangeTheState) {
    struct Case {
        const char* model;
        const char* keys;  // each sent on its own, as the program does
        const char* value;
        bool accepted;
        Field field;
        const char* shown;  // the field's text on the information screen afterwards
    };
    const Case cases[] = {
        {"GT-45", "2", "45", true, Field::channel, "45 "},
        {"GT-45", "2", "46", false, Field::channel, "07 "},
        {"GT-45", "2", "1f", true, Field::channel, "1F "},
        {"GT-45", "2", "A", true, Field::channel, "0A "},
        {"GT-45", "2", "05 ", true, Field::channel, "05 "},  // as copied from a screen
        {"GT-45", "2", "00", false, Field::channel, "07 "},
        {"GT-45", "2", "123", false, Field::channel, "07 "},
        {"GT-45", "2", "", false, Field::channel, "07 "},
        {"GT-45", "2", " 5", false, Field::channel, "07 "},
        {"GT-45", "4", "FF", true, Field::power, "FF "},
        {"GT-45", "4", "00", false, Field::power, "0A "},
        {"GT-45", "4", "1G", false, Field::power, "0A "},
        {"GT-45", "6", "1", true, Field::mode, "0"},
        {"GT-45", "6", "3", false, Field::mode, "1"},
        {"GT-45", "8", "abcde", true, Field::dest_id, "ABCDE"},
        {"GT-45", "8", "0A1B", false, Field::dest_id, "1A2B3"},
        {"GT-45", "8", "0A1B2C", false, Field::dest_id, "1A2B3"},
        {"GT-45", "8", "GHIJK", false, Field::dest_id, "1A2B3"},
        {"GT-45", "AH", "3", true, Field::unit, "0"},
        {"GT-45", "AH", "4", false, Field::period, "30 "},
        {"GT-45", "AM", "59", true, Field::unit, "1"},
        {"GT-45", "AS", "60", false, Field::period, "30 "},
        {"GT-45", "AS", "007", true, Field::period, "7  "},
        {"GT-40", "2", "14", true, Field::channel, "14 "},
        {"GT-40", "2", "15", false, Field::channel, "07 "},
        {"GT-40", "2", "F", true, Field::channel, "0F "},
        {"GT-40", "4", "F", true, Field::power, "0F "},
        {"GT-40", "4", "0F ", true, Field::power, "0F "},
        {"GT-40", "4", "10", false, Field::power, "0A "},
        {"KD-30", "H", "2", true, Field::period, "2  "},
        {"KD-30", "6", "1", true, Field::mode, "0"},
        {"KD-35", "4", "C8", true, Field::power, "C8 "},
        {"GT-20", "M", "15", true, Field::unit, "1"},
        {"FL-25", "2", "45", true, Field::channel, "45 "},
        {"FL-25", "S", "5", true, Field::period, "5  "},
        {"ZX-77", "2", "15", false, Field::channel, "07 "},
        {"ZX-77", "AM", "12", true, Field::period, "12 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " keys " + c.keys + " value '" + c.value + "'");
        auto sim = start(c.model);
        const char* info_key = lookup_info_key(c.model);
        sim->ask(kEsc);
        std::string answer;
        for (const char* key = c.keys; *key != '\0'; ++key) {
            answer = sim->ask(std::string(1, *key));
        }
        EXPECT_FALSE(answer.ends_with("OK\r\nSelect> ") || answer.ends_with("!!\r\nSelect> "));
        const std::string result = sim->ask(std::string(c.value) + "\n");
        EXPECT_TRUE(result.ends_with(c.accepted ? "OK\r\nSelect> " : "!!\r\nSelect> ")) << result;
        RuleReader reader;  // the program empties its buffer before the command
        reader.awaiting_model = false;
        reader.message(answer + result);
        EXPECT_EQ(reader.log.size(), 1u);
        ReadForm form = read_information(*sim, info_key);
        EXPECT_EQ(field_text(form, c.field), c.shown);
    }
}

TEST_F(SimConsole, EveryUartFrameReadsBackThroughTheUartScreen) {
    auto sim = start("GT-25");
    sim->ask(kEsc);
    for (int data = 0; data < 4; ++data) {
        for (int stop = 0; stop < 3; ++stop) {
            for (int parity = 0; parity < 5; ++parity) {
                SCOPED_TRACE(testing::Message() << data << stop << parity);
                sim->ask("A");
                sim->ask("2");
                sim->ask(std::to_string(data + 5));
                sim->ask(std::to_string(stop + 1));
                EXPECT_TRUE(sim->ask(std::to_string(parity + 1)).ends_with("OK\r\nSelect> "));
                sim->ask(kEsc);
                ReadForm form = read_uart(*sim);
                EXPECT_EQ(form.data_bits, data);
                EXPECT_EQ(form.stop_bits, stop);
                EXPECT_EQ(form.parity, parity);
            }
        }
    }
}

TEST_F(SimConsole, UartMenuRefusesBadDigitsAndKeepsTheOldSettings) {
    struct Case {
        const char* digits;  // sent one by one after "A", "2"
        std::size_t refused_at;
    };
    const Case cases[] = {{"9", 0}, {"4", 0}, {"80", 1}, {"84", 1}, {"810", 2}, {"816", 2}};
    auto sim = start("KD-35", {"--set", "data-bits=6", "--set", "parity=odd"});
    sim->ask(kEsc);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.digits);
        sim->ask("A");
        sim->ask("2");
        std::string answer;
        for (std::size_t i = 0; i <= c.refused_at; ++i) {
            answer = sim->ask(std::string(1, c.digits[i]));
        }
        EXPECT_TRUE(answer.ends_with("!!\r\nSelect> ")) << answer;
        // Back in the UART menu: its own keys still work.
        RuleReader reader;
        reader.awaiting_model = false;
        reader.message(sim->ask("3"));
        EXPECT_EQ(reader.form.data_bits, 1);
        EXPECT_EQ(reader.form.stop_bits, 0);
        EXPECT_EQ(reader.form.parity, 1);
        sim->ask(kEsc);
    }
    sim->ask("A");
    sim->ask("1");
    EXPECT_TRUE(sim->ask("3\n").ends_with("!!\r\nSelect> "));
    sim->ask("1");
    EXPECT_TRUE(sim->ask("2\n").ends_with("OK\r\nSelect> "));
    RuleReader reader;
    reader.awaiting_model = false;
    reader.message(sim->ask("3"));
    EXPECT_EQ(reader.form.interface, 1);
}

// The program sends "B", "A", "3", ESC with pauses while it cannot read; the answers reach
// it as two bursts, cut somewhere between the end of the first screen and the end of the
// second, and it handles one screen end per burst. Wherever the cut falls, both screens
// must be logged and every field filled.
TEST_F(SimConsole, KdDetectionAnswersSurviveEveryBurstBoundary) {
    for (const char* code : {"KD-30", "KD-35"}) {
        SCOPED_TRACE(code);
        auto sim = start(code, {"--set", "interface=rs485", "--set", "data-bits=7", "--set",
                                "stop-bits=2", "--set", "parity=mark", "--set", "unit=min"});
        const std::string menu = sim->ask(kEsc);
        const std::string answers = sim->ask_each({"B", "A", "3", kEsc});
        const std::size_t first_end = answers.find("OK") + 2;
        const std::size_t second_end = answers.find("OK", first_end) + 2;
        ASSERT_LT(first_end, second_end);
        for (std::size_t cut = first_end; cut < second_end - 2; ++cut) {
            RuleReader reader;
            reader.message(menu);
            reader.message(answers.substr(0, cut));
            reader.message(answers.substr(cut));
            ASSERT_EQ(reader.model, code);
            ASSERT_EQ(reader.log.size(), 2u) << "cut at " << cut;
            EXPECT_EQ(reader.form.channel, "07 ");
            EXPECT_EQ(reader.form.mode, 1);
            EXPECT_EQ(reader.form.unit, 1);
            EXPECT_EQ(reader.form.dest_id, "1A2B3");
            ASSERT_EQ(reader.form.interface, 1) << "cut at " << cut;
            ASSERT_EQ(reader.form.data_bits, 2) << "cut at " << cut;
            ASSERT_EQ(reader.form.stop_bits, 2) << "cut at " << cut;
            ASSERT_EQ(reader.form.parity, 3) << "cut at " << cut;
        }
    }
}

TEST_F(SimConsole, KeysAMenuLacksAnswerAnErrorAndChangeNothing) {
    struct Case {
        const char* model;
        const char* open;   // keys that reach the menu under test
        std::string stray;  // one byte
    };
    const Case cases[] = {
        {"KD-35", "", "C"},    {"KD-35", "", "1"},  {"KD-35", "", std::string(1, '\0')},
        {"KD-35", "", "\xff"}, {"GT-20", "", "B"},  {"GT-25", "", "C"},
        {"FL-20", "", "A"},    {"FL-25", "", "B"},  {"GT-45", "", "H"},
        {"GT-95", "", "Z"},    {"ZX-77", "", "S"},  {"GT-45", "A", "C"},
        {"KD-30", "A", "4"},   {"GT-20", "A", "A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " after '" + c.open + "'");
        auto sim = start(c.model);
        sim->ask(kEsc);
        for (const char* key = c.open; *key != '\0'; ++key) {
            sim->ask(std::string(1, *key));
        }
        const std::string answer = sim->ask(c.stray);
        char code[8];
        std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned char>(c.stray[0]));
        EXPECT_NE(answer.find(std::string("Unknown key ") + code), std::string::npos) << answer;
        EXPECT_TRUE(answer.ends_with("!!\r\nSelect> "));
        sim->ask(kEsc);
        ReadForm form = read_information(*sim, lookup_info_key(c.model));
        EXPECT_EQ(form.channel, "07 ");
        EXPECT_EQ(form.mode, 1);
    }
}

TEST_F(SimConsole, LineEndsAtAMenuAreIgnoredAndEscAbandonsAValue) {
    auto sim = start("GT-45");
    sim->ask(kEsc);
    sim->send("\r\n\n");
    EXPECT_EQ(sim->read_quiet(150ms), "");
    sim->ask("2");
    sim->send("4");
    EXPECT_EQ(sim->read_quiet(100ms), "4");
    EXPECT_NE(sim->ask(kEsc).find("GT-45 CONFIGURATION"), std::string::npos);
    EXPECT_EQ(read_information(*sim, "C").channel, "07 ");
    // Backspace takes a typed character back.
    sim->ask("2");
    EXPECT_TRUE(sim->ask("46\b5\n").ends_with("OK\r\nSelect> "));
    EXPECT_EQ(read_information(*sim, "C").channel, "45 ");
}

// The program's mode change ends with "6", a digit and LF for every family; where "6"
// shows the settings, the rest is stray input that must not upset the console.
TEST_F(SimConsole, ModeChangeKeysOnAConsoleWithoutModeKeyEndInAnErrorNotAHang) {
    for (const char* code : {"GT-20", "FL-25"}) {
        for (const char* digit : {"1", "2"}) {
            SCOPED_TRACE(std::string(code) + " mode " + digit);
            auto sim = start(code);
            sim->ask(kEsc);
            // "1" is no key here; "2" opens the channel prompt, which the LF leaves empty.
            std::string answers = sim->ask_each({"6", digit});
            sim->send("\n");
            answers += sim->read_quiet(100ms);
            RuleReader reader;
            reader.awaiting_model = false;
            reader.message(answers);
            ASSERT_EQ(reader.log.size(), 1u);
            EXPECT_TRUE(reader.log[0].find("!!") != std::string::npos);
            EXPECT_NE(sim->ask(kEsc).find(std::string(code) + " CONFIGURATION"), std::string::npos);
            EXPECT_EQ(read_information(*sim, "6").channel, "07 ");
        }
    }
}

}  // namespace
}  // namespace sim_test
