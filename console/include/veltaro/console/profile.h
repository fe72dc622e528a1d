#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "veltaro/console/setting_keys.h"
#include "veltaro/console/settings_form.h"

// Profiles: a modem's settings in a file, version 1, the object that `veltaro-cli info
// --json` prints and that `set --from` and the programs' Apply read. Window-free; shared by
// the CLI and both programs, so that a file is read, checked and written the same way
// everywhere. Every function is pure apart from reading the named file; any thread.
namespace veltaro::console {

inline constexpr int kProfileVersion = 1;
// Larger files are refused unread: a profile is well under a kilobyte.
inline constexpr std::uintmax_t kMaxProfileBytes = 1024 * 1024;

enum class ProfileFault {
    kNone,
    kUnusable,    // not a profile, or one that cannot be applied (the CLI's status 2)
    kUnsendable,  // a value the modem cannot take as typed text (the CLI's status 10)
};

struct ProfileRead {
    std::vector<SetItem> items;  // in sending order (by SetKey); empty on failure
    // "FILE:LINE: "KEY": what is wrong", or "FILE: what is wrong" where no line applies;
    // empty on success. It may quote the file's name as given: escape it for a terminal.
    std::string error;
    ProfileFault fault = ProfileFault::kNone;

    [[nodiscard]] bool Ok() const { return fault == ProfileFault::kNone; }
};

// Reads a profile from text; fileName only names it in messages. Every setting in
// "settings" that has a value and that "settable" lists (when the file has that list)
// becomes an item; the *_raw columns and "model", "range_class", "family" are for the
// reader. Refused as a whole: invalid JSON (a raw control byte in a string named as such),
// a duplicate key at any level, an unknown key, a value of the wrong kind, a version other
// than kProfileVersion, a value `set` would refuse, a character beyond \u00ff, the array
// that `info --json` prints for several ports (the message says how to take one element),
// and a profile with nothing to apply.
[[nodiscard]] ProfileRead ParseProfile(std::string_view text, std::string_view fileName);

// Reads a profile file: only a regular file of at most kMaxProfileBytes is opened (a FIFO,
// a device or a directory is refused by what it is, without reading it). Messages name the
// file by `path` as given (UTF-8 of the path on Windows).
[[nodiscard]] ProfileRead LoadProfile(const std::filesystem::path& path);

// The profile's items with `overrides` (KEY=VALUE of the command line) in place of those of
// the same key; in sending order.
[[nodiscard]] std::vector<SetItem> MergeSettings(const std::vector<SetItem>& profile,
                                                 const std::vector<SetItem>& overrides);

// What a modem reported last, for writing its profile.
struct ModemReport {
    std::string modelCode;         // as cut from the console text
    bool settingsRead = false;     // false: the profile has "settings": null (an unlisted model)
    SettingsForm shown;            // the form as the console last showed it
    bool deviceMode = false;       // the mode the information screen reported
    bool uartRead = false;         // a UART information screen was read
    std::vector<SetKey> settable;  // what the model offers in that mode, in KeyTable() order
};

// The profile as a JSON object, keys in the order info --json has always printed them.
// Console bytes stay bytes: each becomes the character U+0000..U+00FF, so a dump with
// ensure_ascii writes a byte of 0x80 and above as \u0080..\u00ff.
[[nodiscard]] nlohmann::ordered_json ProfileJson(const ModemReport& report);

// The text of a profile file: ProfileJson indented by two, ASCII only, with a final newline.
[[nodiscard]] std::string WriteProfile(const ModemReport& report);

// Console bytes as a JSON string, one character U+00NN per byte (see ProfileJson).
[[nodiscard]] nlohmann::ordered_json BytesToJson(std::string_view bytes);

// A JSON text as the program's JSON prints it: indented by two, ASCII only (\u00NN), newline.
[[nodiscard]] std::string DumpJson(const nlohmann::ordered_json& json);

}  // namespace veltaro::console
