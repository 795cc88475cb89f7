// A strict little JSON reader for checking state documents in tests: it refuses anything that is
// not well-formed JSON (trailing commas, missing commas, bare words, trailing text).
#pragma once

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::test {

struct JsonValue {
    enum class Type { Null, Bool, Number, String, Array, Object };
    Type type = Type::Null;
    bool boolean = false;
    double number = 0;
    std::string text;  // strings, as UTF-8
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;  // in document order

    const JsonValue* Find(std::string_view key) const {
        for (const auto& [name, value] : members) {
            if (name == key)
                return &value;
        }
        return nullptr;
    }
};

class JsonReader {
  public:
    static std::optional<JsonValue> Parse(std::string_view text) {
        JsonReader reader(text);
        JsonValue value;
        if (!reader.Value(value, 0))
            return std::nullopt;
        reader.SkipSpace();
        if (reader.pos_ != text.size())
            return std::nullopt;
        return value;
    }

  private:
    explicit JsonReader(std::string_view text) : s_(text) {}

    void SkipSpace() {
        while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_])))
            ++pos_;
    }
    bool Eat(char c) {
        SkipSpace();
        if (pos_ < s_.size() && s_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool Word(std::string_view word) {
        if (s_.substr(pos_, word.size()) != word)
            return false;
        pos_ += word.size();
        return true;
    }

    bool Value(JsonValue& v, int depth) {
        if (depth > 64)
            return false;
        SkipSpace();
        if (pos_ >= s_.size())
            return false;
        const char c = s_[pos_];
        if (c == '{')
            return Object(v, depth);
        if (c == '[')
            return Array(v, depth);
        if (c == '"') {
            v.type = JsonValue::Type::String;
            return String(v.text);
        }
        if (Word("null"))
            return true;
        for (bool b : {true, false}) {
            if (Word(b ? "true" : "false")) {
                v.type = JsonValue::Type::Bool;
                v.boolean = b;
                return true;
            }
        }
        return Number(v);
    }

    bool Number(JsonValue& v) {
        const std::size_t start = pos_;
        if (pos_ < s_.size() && s_[pos_] == '-')
            ++pos_;
        const std::size_t digits = pos_;
        while (pos_ < s_.size() &&
               (std::isdigit(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '.' ||
                s_[pos_] == 'e' || s_[pos_] == 'E' || s_[pos_] == '+' || s_[pos_] == '-')) {
            ++pos_;
        }
        if (pos_ == digits || !std::isdigit(static_cast<unsigned char>(s_[digits])))
            return false;
        v.type = JsonValue::Type::Number;
        v.number = std::stod(std::string(s_.substr(start, pos_ - start)));
        return true;
    }

    bool String(std::string& out) {
        ++pos_;  // opening quote
        while (pos_ < s_.size()) {
            const char c = s_[pos_++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= s_.size())
                return false;
            const char e = s_[pos_++];
            const std::string_view simple = "\"\\/bfnrt";
            const std::string_view meaning = "\"\\/\b\f\n\r\t";
            if (const auto i = simple.find(e); i != std::string_view::npos) {
                out += meaning[i];
            } else if (e == 'u') {
                if (!Escape(out))
                    return false;
            } else {
                return false;
            }
        }
        return false;
    }

    // A \u escape, appended as UTF-8 (the documents under test need no surrogate pairs).
    bool Escape(std::string& out) {
        unsigned code = 0;
        const char* first = s_.data() + pos_;
        const char* last = first + std::min<std::size_t>(4, s_.size() - pos_);
        auto [ptr, ec] = std::from_chars(first, last, code, 16);
        if (ec != std::errc() || ptr != first + 4 || (code >= 0xD800 && code < 0xE000)) {
            return false;
        }
        pos_ += 4;
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
        return true;
    }

    bool Array(JsonValue& v, int depth) {
        ++pos_;
        v.type = JsonValue::Type::Array;
        if (Eat(']'))
            return true;
        do {
            v.items.emplace_back();
            if (!Value(v.items.back(), depth + 1))
                return false;
        } while (Eat(','));
        return Eat(']');
    }

    bool Object(JsonValue& v, int depth) {
        ++pos_;
        v.type = JsonValue::Type::Object;
        if (Eat('}'))
            return true;
        do {
            SkipSpace();
            if (pos_ >= s_.size() || s_[pos_] != '"')
                return false;
            std::string key;
            if (!String(key) || !Eat(':'))
                return false;
            v.members.emplace_back(std::move(key), JsonValue{});
            if (!Value(v.members.back().second, depth + 1))
                return false;
        } while (Eat(','));
        return Eat('}');
    }

    std::string_view s_;
    std::size_t pos_ = 0;
};

}  // namespace platform::test
