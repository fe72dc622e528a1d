#include "profile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <span>
#include <sstream>

#include "json_reader.h"
#include "setting_keys.h"

namespace veltaro::cli {
namespace {

using Kind = JsonValue::Kind;

constexpr std::string_view kVersionKey = "veltaro_profile";
// Information for the reader of the file; `set` decides by the detected model.
constexpr std::array<std::string_view, 3> kInformational{"model", "range_class", "family"};
constexpr std::array<std::string_view, 3> kUnitLetters{"h", "m", "s"};
// The modem prints these with a leading zero ("0A") that their fields do not take: a user
// types "A". A destination ID keeps its zeros.
constexpr std::array kZeroPadded{SetKey::kChannel, SetKey::kPower};

std::string WithoutPadding(SetKey key, std::string text) {
    if (std::find(kZeroPadded.begin(), kZeroPadded.end(), key) != kZeroPadded.end()) {
        const std::size_t first = std::min(text.find_first_not_of('0'), text.size() - 1);
        text.erase(0, first);
    }
    return text;
}

class ProfileReader {
  public:
    explicit ProfileReader(std::string_view fileName) : m_file(fileName) {}

    ProfileLoad Read(std::string_view text) {
        const JsonParse parsed = ParseJson(text);
        if (!parsed.value) {
            return Failed(parsed.line, "not valid JSON: " + parsed.error);
        }
        const JsonValue& root = *parsed.value;
        if (root.kind != Kind::kObject) {
            return Failed(root.line, "a profile is one JSON object, as info --json prints it");
        }
        bool versioned = false;
        for (const auto& [key, value] : root.members) {
            TopLevel(key, value, versioned);
        }
        if (m_load.error.empty() && !versioned) {
            Fail(root.line, "\"" + std::string(kVersionKey) +
                                "\": " + std::to_string(kProfileVersion) + " is missing");
        }
        if (m_settable) {
            KeepSettable();
        }
        if (!m_load.error.empty()) {
            m_load.items.clear();
        }
        std::stable_sort(m_load.items.begin(), m_load.items.end(),
                         [](const SetItem& a, const SetItem& b) { return a.key < b.key; });
        return std::move(m_load);
    }

  private:
    void TopLevel(const std::string& key, const JsonValue& value, bool& versioned) {
        if (key == kVersionKey) {
            versioned = true;
            if (value.kind != Kind::kNumber || value.text != std::to_string(kProfileVersion)) {
                Fail(value.line, "\"" + key + "\" must be " + std::to_string(kProfileVersion) +
                                     " (this program reads profiles of that version)");
            }
        } else if (key == "settings") {
            Settings(value);
        } else if (key == "settable") {
            Settable(value);
        } else if (std::find(kInformational.begin(), kInformational.end(), key) ==
                   kInformational.end()) {
            Fail(value.line, "unknown key \"" + key + "\"");
        }
    }

    // The keys the source modem could set. Others in "settings" were only reported (a KD
    // model shows a period it has no control for) and are not applied.
    void Settable(const JsonValue& list) {
        m_settable.emplace();
        for (const JsonValue& name : list.items) {
            if (name.kind != Kind::kString || FindKey(name.text) == nullptr) {
                return Fail(name.line, "\"settable\" lists the keys of set, e.g. \"channel\"");
            }
            m_settable->push_back(FindKey(name.text)->key);
        }
        if (list.kind != Kind::kArray) {
            Fail(list.line, "\"settable\" must be an array of key names");
        }
    }

    void KeepSettable() {
        std::erase_if(m_load.items, [this](const SetItem& item) {
            return std::find(m_settable->begin(), m_settable->end(), item.key) == m_settable->end();
        });
    }

    void Settings(const JsonValue& settings) {
        if (settings.kind != Kind::kObject) {
            return Fail(settings.line,
                        "\"settings\" must be an object (the profile of a model "
                        "whose settings were not read holds none)");
        }
        const JsonValue* unit = Member(settings, "period_unit");
        for (const auto& [key, value] : settings.members) {
            Setting(key, value, unit);
        }
    }

    void Setting(const std::string& key, const JsonValue& value, const JsonValue* unit) {
        const KeyRow* row = RowByJsonName(key);
        const bool raw = key.ends_with("_raw") && RowByJsonName(key.substr(0, key.size() - 4));
        if (row == nullptr && !raw && key != "period_unit") {
            return Fail(value.line, "unknown key \"" + key + "\" in \"settings\"");
        }
        if (value.kind != Kind::kString && value.kind != Kind::kNull) {
            return Fail(value.line, "\"" + key + "\" must be a string or null, not " +
                                        std::string(KindName(value.kind)));
        }
        if (row == nullptr || value.kind == Kind::kNull || value.text.empty()) {
            return;  // a column as printed, the unit (taken with the period), or no value
        }
        std::string text = WithoutPadding(row->key, value.text);
        if (row->kind == ValueKind::kPeriod) {
            text += UnitLetter(unit, value.line);
        }
        SetParse parse{std::move(m_load.items), {}, false};
        ParseSetting(row->name, text, parse);
        m_load.items = std::move(parse.items);
        if (!parse.error.empty()) {
            m_load.status = parse.unsendable ? ExitStatus::kValueRefused : ExitStatus::kUsage;
            Fail(value.line, "\"" + key + "\": " + parse.error, m_load.status);
        }
    }

    std::string UnitLetter(const JsonValue* unit, int periodLine) {
        const std::span<const std::string_view> names = PeriodUnitNames();
        if (unit != nullptr && unit->kind == Kind::kString) {
            const auto found = std::find(names.begin(), names.end(), unit->text);
            if (found != names.end()) {
                return std::string(kUnitLetters[static_cast<std::size_t>(found - names.begin())]);
            }
        }
        Fail(unit != nullptr ? unit->line : periodLine,
             "\"period_unit\" must be \"hours\", \"minutes\" or \"seconds\" beside \"period\"");
        return {};
    }

    static const KeyRow* RowByJsonName(std::string_view name) {
        for (const KeyRow& row : KeyTable()) {
            if (row.jsonName == name) {
                return &row;
            }
        }
        return nullptr;
    }

    static const JsonValue* Member(const JsonValue& object, std::string_view key) {
        for (const auto& [name, value] : object.members) {
            if (name == key) {
                return &value;
            }
        }
        return nullptr;
    }

    ProfileLoad Failed(int line, const std::string& message) {
        Fail(line, message);
        return std::move(m_load);
    }

    void Fail(int line, const std::string& message, ExitStatus status = ExitStatus::kUsage) {
        if (m_load.error.empty()) {
            m_load.error = m_file + ":" + std::to_string(line) + ": " + message;
            m_load.status = status;
        }
    }

    std::string m_file;
    ProfileLoad m_load;
    std::optional<std::vector<SetKey>> m_settable;
};

}  // namespace

ProfileLoad ParseProfile(std::string_view text, std::string_view fileName) {
    return ProfileReader(fileName).Read(text);
}

ProfileLoad LoadProfile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (in) {
        text << in.rdbuf();  // an empty file sets failbit here; the JSON reader reports it
    }
    if (!in || in.bad()) {
        ProfileLoad failed;
        failed.error = "cannot read the profile " + path + ": " + std::strerror(errno);
        failed.status = ExitStatus::kUsage;
        return failed;
    }
    return ParseProfile(text.str(), path);
}

std::vector<SetItem> MergeSettings(const std::vector<SetItem>& profile,
                                   const std::vector<SetItem>& overrides) {
    std::vector<SetItem> merged = overrides;
    for (const SetItem& item : profile) {
        const auto same = [&item](const SetItem& other) { return other.key == item.key; };
        if (std::none_of(overrides.begin(), overrides.end(), same)) {
            merged.push_back(item);
        }
    }
    std::stable_sort(merged.begin(), merged.end(),
                     [](const SetItem& a, const SetItem& b) { return a.key < b.key; });
    return merged;
}

}  // namespace veltaro::cli
