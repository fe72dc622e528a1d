#include "broken_profiles.h"

#include <array>
#include <fstream>

#include "broken_profile_file.h"

namespace veltaro::console::testing {
namespace {

using namespace std::string_view_literals;
constexpr auto kText = BrokenKind::kText;
constexpr auto kUnsendable = ProfileFault::kUnsendable;

// The settings part of what info --json prints for several ports.
constexpr std::string_view kPortsArray = R"([
  {
    "com": 5,
    "exit_status": 0,
    "error": null,
    "info": {"veltaro_profile": 1, "settings": {"channel": "07"}}
  }
]
)";

const std::array kBroken{
    // Not JSON, or not one object.
    BrokenProfile{"Empty", kText, ""sv, ": the file is empty"},
    BrokenProfile{"NotJson", kText, "channel=5\n"sv, ":1: not valid JSON"},
    BrokenProfile{"Truncated", kText, "{\n  \"veltaro_profile\": 1,\n  \"settings\": {\n"sv,
                  ":4: not valid JSON"},
    BrokenProfile{"TrailingComma", kText,
                  "{\"veltaro_profile\": 1,\n \"settings\": {\"channel\": \"07\",\n}}"sv,
                  ":3: not valid JSON"},
    BrokenProfile{"TextAfter", kText, "{\"veltaro_profile\": 1}\n{}"sv, ":2: not valid JSON"},
    BrokenProfile{"RawControlByte", kText,
                  "{\"veltaro_profile\": 1,\n \"settings\": {\"destination_id\": \"\x1b"
                  "25\"}}"sv,
                  ":2: not valid JSON: a raw control byte (0x1B) inside a string"},
    BrokenProfile{
        "IllFormedUtf8", kText, "{\"veltaro_profile\": 1, \"settings\": {\"channel\": \"\xe9\"}}"sv,
        ":1: not valid JSON: syntax error while parsing value - invalid string: ill-formed "
        "UTF-8 byte"},
    BrokenProfile{"DeeplyNested", kText,
                  std::string_view("[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[["
                                   "[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[["),
                  ":1: nested more than 64 levels deep"},
    BrokenProfile{"AnArray", kText, "[1]"sv,
                  ": a profile is one JSON object, as info --json prints it for one port; this "
                  "file holds an array"},
    BrokenProfile{"ANumber", kText, "1"sv, ": a profile is one JSON object"},
    BrokenProfile{"InfoOfSeveralPorts", kText, kPortsArray,
                  ": this is what info --json prints for several ports"},
    // Duplicate keys, at every level.
    BrokenProfile{"SettingsTwice", kText,
                  "{\"veltaro_profile\": 1,\n \"settings\": {\"channel\": \"07\"},\n"
                  " \"settings\": {\"channel\": \"09\"}}"sv,
                  ":3: duplicate key \"settings\" at the top level"},
    BrokenProfile{"SettableTwice", kText,
                  "{\"veltaro_profile\": 1, \"settings\": {\"channel\": \"07\"},\n"
                  " \"settable\": [],\n \"settable\": [\"channel\"]}"sv,
                  ":3: duplicate key \"settable\" at the top level"},
    BrokenProfile{"VersionTwice", kText,
                  "{\"veltaro_profile\": 1,\n\"veltaro_profile\": 1, \"settings\": {}}"sv,
                  ":2: duplicate key \"veltaro_profile\" at the top level"},
    BrokenProfile{"SettingTwice", kText,
                  "{\"veltaro_profile\": 1, \"settings\": {\n\"power\": \"05\",\n"
                  "\"power\": \"0A\"}}"sv,
                  ":3: duplicate key \"power\" in \"settings\""},
    // Wrong keys, kinds and values.
    BrokenProfile{"NoVersion", kText, "{\"settings\": {\"channel\": \"07\"}}"sv,
                  ":1: \"veltaro_profile\": 1 is missing"},
    BrokenProfile{"OtherVersion", kText, "{\n\"veltaro_profile\": 2, \"settings\": {}}"sv,
                  ":2: \"veltaro_profile\" must be 1"},
    BrokenProfile{"VersionAsText", kText, "{\n\"veltaro_profile\": \"1\"}"sv,
                  ":2: \"veltaro_profile\" must be 1"},
    BrokenProfile{"UnknownTopKey", kText, "{\"veltaro_profile\": 1,\n\n \"chanel\": \"5\"}"sv,
                  ":3: unknown key \"chanel\""},
    // A hostile key is quoted cut to a readable length.
    BrokenProfile{
        "LongUnknownKey", kText,
        "{\"veltaro_profile\": 1, \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\": 1}"sv,
        ":1: unknown key \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx... (100 "
        "bytes)\""},
    BrokenProfile{"UnknownSetting", kText,
                  "{\"veltaro_profile\": 1, \"settings\": {\"channel\": \"07\",\n"
                  " \"volume\": \"3\"}}"sv,
                  ":2: unknown key \"volume\" in \"settings\""},
    BrokenProfile{"NumberForText", kText,
                  "{\"veltaro_profile\": 1, \"settings\": {\n    \"power\": 10\n  }\n}"sv,
                  ":2: \"power\" must be a string or null, not a number"},
    BrokenProfile{"ObjectForChoice", kText,
                  "{\"veltaro_profile\": 1, \"settings\": {\n\"mode\": {}}}"sv,
                  ":2: \"mode\" must be a string or null, not an object"},
    BrokenProfile{"SettingsNull", kText, "{\"veltaro_profile\": 1, \"settings\": null}"sv,
                  ":1: \"settings\" must be an object"},
    BrokenProfile{"BadChoice", kText,
                  "{\"veltaro_profile\": 1, \"settings\": {\n\"parity\": \"weird\"}}"sv,
                  ":2: \"parity\": parity must be one of"},
    BrokenProfile{"PeriodWithoutUnit", kText,
                  "{\"veltaro_profile\": 1, \"settings\": {\n\"period\": \"15\"}}"sv,
                  ":2: \"period_unit\" must be"},
    BrokenProfile{"EscapedControlByte", kText,
                  "{\"veltaro_profile\": 1, \"settings\": {\n\"destination_id\": \"\\u001b25\"}}"sv,
                  ":2: \"destination_id\": destination-id value '\\x1b25' refused", kUnsendable},
    BrokenProfile{"HighByte", kText,
                  "{\"veltaro_profile\": 1, \"settings\": {\"channel\": \"\\u00e9\"}}"sv,
                  ":1: \"channel\": channel value '\\xe9' refused", kUnsendable},
    BrokenProfile{"BeyondOneByte", kText,
                  "{\"veltaro_profile\": 1, \"settings\": {\n\"channel\": \"\\u4e00\"}}"sv,
                  ":2: \"channel\" holds a character beyond \\u00ff"},
    BrokenProfile{"SettableNotAList", kText,
                  "{\"veltaro_profile\": 1,\n\"settable\": \"channel\"}"sv,
                  ":2: \"settable\" must be an array"},
    BrokenProfile{"SettableUnknownKey", kText,
                  "{\"veltaro_profile\": 1, \"settable\": [\n\"volume\"]}"sv,
                  ":2: \"settable\" lists the keys of set"},
    // Nothing to apply.
    BrokenProfile{"VersionOnly", kText, "{\"veltaro_profile\": 1}"sv,
                  ": nothing to apply: the profile has no \"settings\""},
    BrokenProfile{"EmptySettings", kText, "{\"veltaro_profile\": 1, \"settings\": {}}"sv,
                  ": nothing to apply: every setting is null or empty"},
    BrokenProfile{"AllNull", kText,
                  "{\"veltaro_profile\": 1, \"settings\": {\"channel\": null, \"power\": \"\","
                  " \"channel_raw\": \"07 \"}}"sv,
                  ": nothing to apply: every setting is null or empty"},
    BrokenProfile{"EmptySettable", kText,
                  "{\"veltaro_profile\": 1, \"settings\": {\"channel\": \"07\"}, "
                  "\"settable\": []}"sv,
                  ": nothing to apply: \"settable\" is empty"},
    BrokenProfile{"SettableListsNoneGiven", kText,
                  "{\"veltaro_profile\": 1, \"settings\": {\"channel\": \"07\"}, "
                  "\"settable\": [\"power\"]}"sv,
                  ": nothing to apply: \"settable\" lists none"},
    // Not a regular file, or too large: refused unread.
    BrokenProfile{"Directory", BrokenKind::kDirectory, {}, " is a directory, not a profile file"},
    BrokenProfile{"Fifo", BrokenKind::kFifo, {}, " is a FIFO (named pipe), not a regular file"},
    BrokenProfile{"Device", BrokenKind::kDevice, {}, " is a device, not a regular file"},
    BrokenProfile{
        "TooLarge", BrokenKind::kTooLarge, {}, " is 1048577 bytes; a profile is at most 1 MiB"},
};

}  // namespace

std::span<const BrokenProfile> BrokenProfiles() {
    return kBroken;
}

std::filesystem::path MakeBrokenProfile(const BrokenProfile& broken,
                                        const std::filesystem::path& dir) {
    const std::filesystem::path path = dir / broken.name;
    switch (broken.kind) {
        case BrokenKind::kText:
            std::ofstream(path, std::ios::binary) << broken.text;
            return path;
        case BrokenKind::kDirectory:
            std::filesystem::create_directories(path);
            return path;
        case BrokenKind::kTooLarge:
            // Blanks around a valid profile: only the size is wrong.
            std::ofstream(path, std::ios::binary)
                << std::string(kMaxProfileBytes + 1 - 24, ' ') << "{\"veltaro_profile\": 1}\n ";
            return path;
        case BrokenKind::kFifo:
        case BrokenKind::kDevice:
            break;
    }
    return MakeSpecialFile(broken.kind, path);
}

}  // namespace veltaro::console::testing
