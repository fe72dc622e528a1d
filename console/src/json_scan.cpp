#include "json_scan.h"

#include <iterator>
#include <set>
#include <vector>

#include "veltaro/console/setting_value.h"

namespace veltaro::console::detail {
namespace {

using Json = nlohmann::ordered_json;

// Deeper than any profile; bounds the work on a hostile file.
constexpr std::size_t kMaxDepth = 64;

// Reads the text for the parser and counts the line ends it has consumed, so that the
// events below know the line of what was just read.
class LineCountingIterator {
  public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    LineCountingIterator(const char* at, int* line) : m_at(at), m_line(line) {}
    reference operator*() const { return *m_at; }
    LineCountingIterator& operator++() {
        if (*m_at == '\n') {
            ++*m_line;
        }
        ++m_at;
        return *this;
    }
    LineCountingIterator operator++(int) {
        LineCountingIterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const LineCountingIterator& other) const { return m_at == other.m_at; }

  private:
    const char* m_at;
    int* m_line;
};

}  // namespace

std::string PointerTo(std::string_view parent, std::string_view key) {
    std::string out = std::string(parent) + "/";
    for (const char c : key) {
        out += c == '~' ? std::string("~0") : c == '/' ? std::string("~1") : std::string(1, c);
    }
    return out;
}

namespace {

// The parser's own words, without its prefix and without the bytes it last read (which may
// be anything the file holds).
std::string ParserWords(const std::string& what) {
    std::string words = what;
    if (const std::size_t column = words.find("column "); column != std::string::npos) {
        const std::size_t colon = words.find(": ", column);
        words = colon == std::string::npos ? words : words.substr(colon + 2);
    }
    if (const std::size_t lastRead = words.find("; last read"); lastRead != std::string::npos) {
        words.erase(lastRead);
    }
    if (const std::size_t control = words.find("control character U+");
        control != std::string::npos) {
        const std::string code = words.substr(control + 20, 4);
        return "a raw control byte (0x" + code.substr(2) + ") inside a string; write it as \\u" +
               code;
    }
    return words;
}

// Records lines and refuses duplicates; the values themselves are parsed afterwards.
class LineRecorder : public nlohmann::json_sax<Json> {
  public:
    explicit LineRecorder(const int& line) : m_line(line) {}

    bool null() override { return Value(); }
    bool boolean(bool) override { return Value(); }
    bool number_integer(number_integer_t) override { return Value(); }
    bool number_unsigned(number_unsigned_t) override { return Value(); }
    bool number_float(number_float_t, const string_t&) override { return Value(); }
    bool string(string_t&) override { return Value(); }
    bool binary(binary_t&) override { return Value(); }
    bool start_object(std::size_t) override { return Open(true); }
    bool end_object() override { return Close(); }
    bool start_array(std::size_t) override { return Open(false); }
    bool end_array() override { return Close(); }

    bool key(string_t& name) override {
        Frame& frame = m_frames.back();
        if (!frame.keys.insert(name).second) {
            return Fail("duplicate key \"" + QuotedInMessage(name) + "\"" + Where() +
                        ": a profile names each key once");
        }
        frame.current = PointerTo(frame.path, name);
        m_scan.lines[frame.current] = m_line;
        return true;
    }

    bool parse_error(std::size_t, const std::string&,
                     const nlohmann::detail::exception& ex) override {
        return Fail("not valid JSON: " + ParserWords(ex.what()));
    }

    JsonScan Take() { return std::move(m_scan); }

  private:
    struct Frame {
        bool object;
        std::string path;
        std::set<std::string> keys;
        std::size_t index = 0;
        std::string current;  // the pointer of the value being read
    };

    // The pointer of the value that starts now; records array elements' lines.
    std::string NextPath() {
        if (m_frames.empty()) {
            return "";
        }
        Frame& frame = m_frames.back();
        if (frame.object) {
            return frame.current;
        }
        std::string path = frame.path + "/" + std::to_string(frame.index++);
        m_scan.lines[path] = m_line;
        return path;
    }

    bool Value() {
        NextPath();
        return true;
    }

    bool Open(bool object) {
        if (m_frames.size() >= kMaxDepth) {
            return Fail("nested more than " + std::to_string(kMaxDepth) + " levels deep");
        }
        m_frames.push_back({object, NextPath(), {}, 0, {}});
        return true;
    }

    bool Close() {
        m_frames.pop_back();
        return true;
    }

    std::string Where() const {
        const std::string& path = m_frames.back().path;
        return path.empty() ? " at the top level"
                            : " in \"" + QuotedInMessage(path.substr(1)) + "\"";
    }

    bool Fail(std::string message) {
        if (m_scan.error.empty()) {
            m_scan.error = std::move(message);
            m_scan.line = m_line;
        }
        return false;
    }

    const int& m_line;
    std::vector<Frame> m_frames;
    JsonScan m_scan;
};

}  // namespace

JsonScan ScanJson(std::string_view text) {
    int line = 1;
    LineRecorder recorder(line);
    const LineCountingIterator first(text.data(), &line);
    const LineCountingIterator last(text.data() + text.size(), &line);
    const bool ok = Json::sax_parse(first, last, &recorder);
    JsonScan scan = recorder.Take();
    if (ok && scan.error.empty()) {
        scan.value = Json::parse(text.begin(), text.end());  // checked above: cannot throw
    }
    return scan;
}

bool JsonTextToBytes(std::string_view utf8, std::string& bytes) {
    bytes.clear();
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            bytes += static_cast<char>(lead);
        } else if ((lead == 0xC2 || lead == 0xC3) && i + 1 < utf8.size()) {
            const auto next = static_cast<unsigned char>(utf8[++i]);
            bytes += static_cast<char>(((lead & 0x03) << 6) | (next & 0x3F));
        } else {
            return false;  // the parser has checked the UTF-8: this is beyond U+00FF
        }
    }
    return true;
}

}  // namespace veltaro::console::detail
