#include "json_reader.h"

#include <charconv>

namespace veltaro::cli {
namespace {

constexpr int kMaxDepth = 32;

class Reader {
  public:
    explicit Reader(std::string_view text) : m_text(text) {}

    JsonParse Run() {
        JsonValue value = Value(0);
        SkipBlanks();
        if (m_error.empty() && m_pos != m_text.size()) {
            Fail("unexpected text after the JSON value");
        }
        if (!m_error.empty()) {
            return {std::nullopt, m_error, m_line};
        }
        return {std::move(value), {}, 0};
    }

  private:
    void Fail(std::string message) {
        if (m_error.empty()) {
            m_error = std::move(message);
        }
    }

    bool AtEnd() const { return m_pos >= m_text.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_text[m_pos]; }

    void SkipBlanks() {
        while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\r' || Peek() == '\n')) {
            m_line += Peek() == '\n' ? 1 : 0;
            ++m_pos;
        }
    }

    bool Take(char c) {
        SkipBlanks();
        if (Peek() != c) {
            return false;
        }
        ++m_pos;
        return true;
    }

    JsonValue Value(int depth) {
        SkipBlanks();
        JsonValue value;
        value.line = m_line;
        if (depth > kMaxDepth) {
            Fail("nested too deeply");
        } else if (Peek() == '{') {
            Object(value, depth);
        } else if (Peek() == '[') {
            Array(value, depth);
        } else if (Peek() == '"') {
            value.kind = JsonValue::Kind::kString;
            value.text = String();
        } else {
            Literal(value);
        }
        return value;
    }

    void Object(JsonValue& value, int depth) {
        value.kind = JsonValue::Kind::kObject;
        ++m_pos;
        if (Take('}')) {
            return;
        }
        do {
            SkipBlanks();
            if (Peek() != '"') {
                return Fail("expected a quoted key");
            }
            std::string key = String();
            if (!Take(':')) {
                return Fail("expected ':' after the key");
            }
            value.members.emplace_back(std::move(key), Value(depth + 1));
        } while (m_error.empty() && Take(','));
        if (m_error.empty() && !Take('}')) {
            Fail("expected ',' or '}'");
        }
    }

    void Array(JsonValue& value, int depth) {
        value.kind = JsonValue::Kind::kArray;
        ++m_pos;
        if (Take(']')) {
            return;
        }
        do {
            value.items.push_back(Value(depth + 1));
        } while (m_error.empty() && Take(','));
        if (m_error.empty() && !Take(']')) {
            Fail("expected ',' or ']'");
        }
    }

    void Literal(JsonValue& value) {
        const std::size_t start = m_pos;
        while (!AtEnd() &&
               std::string_view("+-.0123456789abcdefghijklmnopqrstuvwxyzE").find(Peek()) !=
                   std::string_view::npos) {
            ++m_pos;
        }
        const std::string_view word = m_text.substr(start, m_pos - start);
        if (word == "null" || word == "true" || word == "false") {
            value.kind = word == "null" ? JsonValue::Kind::kNull : JsonValue::Kind::kBool;
            value.flag = word == "true";
            return;
        }
        double number = 0.0;
        const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), number);
        if (word.empty() || ec != std::errc() || end != word.data() + word.size() ||
            word.front() == '+') {
            return Fail(word.empty() ? "expected a value"
                                     : "not a JSON value: " + std::string(word));
        }
        value.kind = JsonValue::Kind::kNumber;
        value.text = std::string(word);
    }

    std::string String() {
        ++m_pos;  // the opening quote
        std::string out;
        while (m_error.empty()) {
            if (AtEnd() || static_cast<unsigned char>(Peek()) < 0x20) {
                Fail("unterminated string");
                break;
            }
            const char c = m_text[m_pos++];
            if (c == '"') {
                break;
            }
            if (c == '\\') {
                Escape(out);
            } else {
                out += c;
            }
        }
        return out;
    }

    void Escape(std::string& out) {
        static constexpr std::string_view kFrom = "\"\\/bfnrt";
        static constexpr std::string_view kTo = "\"\\/\b\f\n\r\t";
        const char c = Peek();
        ++m_pos;
        if (const std::size_t at = kFrom.find(c); at != std::string_view::npos && c != '\0') {
            out += kTo[at];
            return;
        }
        unsigned code = 0;
        const std::string_view hex = m_text.substr(m_pos, 4);
        const auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), code, 16);
        if (c != 'u' || hex.size() != 4 || ec != std::errc() || end != hex.data() + 4) {
            return Fail("bad escape in a string");
        }
        m_pos += 4;
        if (code > 0xff) {
            return Fail("a character beyond \\u00ff: the modem's values are single bytes");
        }
        out += static_cast<char>(code);
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_line = 1;
    std::string m_error;
};

}  // namespace

JsonParse ParseJson(std::string_view text) {
    return Reader(text).Run();
}

std::string_view KindName(JsonValue::Kind kind) {
    switch (kind) {
        case JsonValue::Kind::kNull:
            return "null";
        case JsonValue::Kind::kBool:
            return "true or false";
        case JsonValue::Kind::kNumber:
            return "a number";
        case JsonValue::Kind::kString:
            return "a string";
        case JsonValue::Kind::kArray:
            return "an array";
        case JsonValue::Kind::kObject:
            return "an object";
    }
    return "a value";
}

}  // namespace veltaro::cli
