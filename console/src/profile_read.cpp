#include <algorithm>
#include <array>
#include <optional>

#include "json_scan.h"
#include "veltaro/console/profile.h"
#include "veltaro/console/setting_value.h"

namespace veltaro::console {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kVersionKey = "veltaro_profile";
// Information for the reader of the file; the detected model decides.
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

std::string KindName(const Json& value) {
    switch (value.type()) {
        case Json::value_t::null:
            return "null";
        case Json::value_t::boolean:
            return "a boolean";
        case Json::value_t::string:
            return "a string";
        case Json::value_t::array:
            return "an array";
        case Json::value_t::object:
            return "an object";
        default:
            return "a number";
    }
}

// What `info --json` prints for several ports: [{"com": 5, ..., "info": {profile}}, ...].
bool IsPortsArray(const Json& root) {
    return !root.empty() && std::all_of(root.begin(), root.end(), [](const Json& item) {
        return item.is_object() && item.contains("info") && item.contains("com");
    });
}

class ProfileReader {
  public:
    explicit ProfileReader(std::string_view fileName) : m_file(fileName) {}

    ProfileRead Read(std::string_view text) {
        if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
            return Failed("the file is empty, not a profile");
        }
        m_scan = detail::ScanJson(text);
        if (!m_scan.error.empty()) {
            Fail(m_scan.line, m_scan.error);
            return std::move(m_read);
        }
        const Json& root = m_scan.value;
        if (!root.is_object()) {
            return Failed(NotAnObject(root));
        }
        for (const auto& [key, value] : root.items()) {
            TopLevel(key, value);
        }
        if (!root.contains(kVersionKey)) {
            Fail(1, "\"" + std::string(kVersionKey) + "\": " + std::to_string(kProfileVersion) +
                        " is missing");
        }
        return Finish();
    }

  private:
    std::string NotAnObject(const Json& root) const {
        if (root.is_array() && IsPortsArray(root)) {
            return "this is what info --json prints for several ports: an array with one "
                   "profile per port under \"info\"; apply one of them, e.g. jq '.[0].info' " +
                   m_file + " > one.json";
        }
        return "a profile is one JSON object, as info --json prints it for one port; this "
               "file holds " +
               KindName(root);
    }

    ProfileRead Finish() {
        if (m_settable) {
            std::erase_if(m_read.items, [this](const SetItem& item) {
                return std::find(m_settable->begin(), m_settable->end(), item.key) ==
                       m_settable->end();
            });
        }
        if (m_read.error.empty() && m_read.items.empty()) {
            Refuse(NothingToApply());
        }
        if (!m_read.error.empty()) {
            m_read.items.clear();
        }
        std::stable_sort(m_read.items.begin(), m_read.items.end(),
                         [](const SetItem& a, const SetItem& b) { return a.key < b.key; });
        return std::move(m_read);
    }

    std::string NothingToApply() const {
        if (m_settable && m_settable->empty()) {
            return "nothing to apply: \"settable\" is empty";
        }
        if (m_settable && m_valued > 0) {
            return "nothing to apply: \"settable\" lists none of the settings that have a value";
        }
        return m_valued == 0 && m_scan.value.contains("settings")
                   ? "nothing to apply: every setting is null or empty"
                   : "nothing to apply: the profile has no \"settings\"";
    }

    void TopLevel(const std::string& key, const Json& value) {
        const int line = m_scan.LineOf(detail::PointerTo("", key));
        if (key == kVersionKey) {
            if (!value.is_number_integer() || value.get<long long>() != kProfileVersion) {
                Fail(line, "\"" + key + "\" must be " + std::to_string(kProfileVersion) +
                               " (this program reads profiles of that version)");
            }
        } else if (key == "settings") {
            Settings(value, line);
        } else if (key == "settable") {
            Settable(value, line);
        } else if (std::find(kInformational.begin(), kInformational.end(), key) ==
                   kInformational.end()) {
            Fail(line, "unknown key \"" + QuotedInMessage(key) + "\"");
        }
    }

    // The keys the source modem could set. Others in "settings" were only reported (a KD
    // model shows a period it has no control for) and are not applied.
    void Settable(const Json& list, int line) {
        if (!list.is_array()) {
            return Fail(line, "\"settable\" must be an array of key names");
        }
        m_settable.emplace();
        for (std::size_t i = 0; i < list.size(); ++i) {
            const Json& name = list[i];
            const KeyRow* row = name.is_string() ? FindKey(name.get<std::string>()) : nullptr;
            if (row == nullptr) {
                return Fail(m_scan.LineOf("/settable/" + std::to_string(i)),
                            "\"settable\" lists the keys of set, e.g. \"channel\"");
            }
            m_settable->push_back(row->key);
        }
    }

    void Settings(const Json& settings, int line) {
        if (!settings.is_object()) {
            return Fail(line,
                        "\"settings\" must be an object (the profile of a model "
                        "whose settings were not read holds none)");
        }
        for (const auto& [key, value] : settings.items()) {
            Setting(key, value, settings);
        }
    }

    void Setting(const std::string& key, const Json& value, const Json& settings) {
        const int line = m_scan.LineOf(detail::PointerTo("/settings", key));
        const KeyRow* row = FindJsonKey(key);
        const bool raw = key.ends_with("_raw") && FindJsonKey(key.substr(0, key.size() - 4));
        if (row == nullptr && !raw && key != "period_unit") {
            return Fail(line, "unknown key \"" + QuotedInMessage(key) + "\" in \"settings\"");
        }
        if (!value.is_string() && !value.is_null()) {
            return Fail(line, "\"" + key + "\" must be a string or null, not " + KindName(value));
        }
        std::string text;
        if (value.is_string() && !detail::JsonTextToBytes(value.get<std::string>(), text)) {
            return Fail(line, "\"" + key +
                                  "\" holds a character beyond \\u00ff; the modem "
                                  "takes printable ASCII only");
        }
        if (row == nullptr || text.empty()) {
            return;  // a column as printed, the unit (taken with the period), or no value
        }
        ++m_valued;
        Value(*row, key, WithoutPadding(row->key, std::move(text)), settings, line);
    }

    void Value(const KeyRow& row, const std::string& key, std::string text, const Json& settings,
               int line) {
        if (row.kind == ValueKind::kPeriod) {
            const std::optional<std::string> letter = UnitLetter(settings);
            if (!letter) {
                return Fail(settings.contains("period_unit")
                                ? m_scan.LineOf("/settings/period_unit")
                                : line,
                            "\"period_unit\" must be \"hours\", \"minutes\" or \"seconds\" "
                            "beside \"period\"");
            }
            text += *letter;
        }
        SetItem item{row.key, {}, -1};
        const ValueParse parsed = ParseSettingValue(row, text, item);
        if (!parsed.error.empty()) {
            return Fail(line, "\"" + key + "\": " + parsed.error,
                        parsed.unsendable ? ProfileFault::kUnsendable : ProfileFault::kUnusable);
        }
        m_read.items.push_back(std::move(item));
    }

    static std::optional<std::string> UnitLetter(const Json& settings) {
        const auto unit = settings.find("period_unit");
        if (unit == settings.end() || !unit->is_string()) {
            return std::nullopt;
        }
        const std::span<const std::string_view> names = PeriodUnitNames();
        const auto found = std::find(names.begin(), names.end(), unit->get<std::string>());
        if (found == names.end()) {
            return std::nullopt;
        }
        return std::string(kUnitLetters[static_cast<std::size_t>(found - names.begin())]);
    }

    // A fault of the whole file, with no line to name.
    void Refuse(const std::string& message) {
        if (m_read.error.empty()) {
            m_read.error = m_file + ": " + message;
            m_read.fault = ProfileFault::kUnusable;
        }
    }

    ProfileRead Failed(const std::string& message) {
        Refuse(message);
        m_read.items.clear();
        return std::move(m_read);
    }

    void Fail(int line, const std::string& message, ProfileFault fault = ProfileFault::kUnusable) {
        if (m_read.error.empty()) {
            m_read.error = m_file + ":" + std::to_string(line) + ": " + message;
            m_read.fault = fault;
        }
    }

    std::string m_file;
    detail::JsonScan m_scan;
    ProfileRead m_read;
    std::optional<std::vector<SetKey>> m_settable;
    int m_valued = 0;  // settings with a value, before "settable" is applied
};

}  // namespace

ProfileRead ParseProfile(std::string_view text, std::string_view fileName) {
    return ProfileReader(fileName).Read(text);
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

}  // namespace veltaro::console
