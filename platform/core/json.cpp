#include "platform/core/json.h"

#include <charconv>
#include <cmath>

#include "platform/core/utf8.h"

namespace platform {
namespace {

// Appends one code point to a JSON string body: quotes, backslashes and control characters
// escaped, everything else as UTF-8.
void AppendEscaped(std::string& out, char32_t cp) {
    switch (cp) {
        case u'"':
            out += "\\\"";
            return;
        case u'\\':
            out += "\\\\";
            return;
        case u'\n':
            out += "\\n";
            return;
        case u'\r':
            out += "\\r";
            return;
        case u'\t':
            out += "\\t";
            return;
        case u'\b':
            out += "\\b";
            return;
        case u'\f':
            out += "\\f";
            return;
        default:
            break;
    }
    if (cp < 0x20) {
        static constexpr char kHex[] = "0123456789abcdef";
        out += "\\u00";
        out += kHex[cp >> 4];
        out += kHex[cp & 15];
        return;
    }
    char bytes[4];
    out.append(bytes, utf::EncodeUtf8(cp, bytes));
}

}  // namespace

// Places the comma or checks for the key before a value; false (and nothing written) when a
// value is not allowed here.
bool JsonWriter::BeforeValue() {
    if (stack_.empty()) {
        if (topLevelDone_)
            misused_ = true;
        return !topLevelDone_;
    }
    if (stack_.back() == Scope::Object) {
        if (!keyPending_)
            misused_ = true;
        const bool ok = keyPending_;
        keyPending_ = false;
        return ok;
    }
    if (!first_)
        out_ += ',';
    first_ = false;
    return true;
}

void JsonWriter::Open(Scope scope, char bracket) {
    if (!BeforeValue())
        return;
    out_ += bracket;
    stack_.push_back(scope);
    first_ = true;
}

void JsonWriter::Close(Scope scope, char bracket) {
    if (stack_.empty() || stack_.back() != scope || keyPending_) {
        misused_ = true;
        return;
    }
    out_ += bracket;
    stack_.pop_back();
    first_ = false;
    if (stack_.empty())
        topLevelDone_ = true;
}

void JsonWriter::BeginObject() {
    Open(Scope::Object, '{');
}
void JsonWriter::EndObject() {
    Close(Scope::Object, '}');
}
void JsonWriter::BeginArray() {
    Open(Scope::Array, '[');
}
void JsonWriter::EndArray() {
    Close(Scope::Array, ']');
}

void JsonWriter::Key(std::string_view utf8) {
    if (stack_.empty() || stack_.back() != Scope::Object || keyPending_) {
        misused_ = true;
        return;
    }
    if (!first_)
        out_ += ',';
    first_ = false;
    WriteEscaped(utf8);
    out_ += ':';
    keyPending_ = true;
}

void JsonWriter::WriteEscaped(std::string_view utf8) {
    out_ += '"';
    for (std::size_t pos = 0; pos < utf8.size();)
        AppendEscaped(out_, utf::DecodeUtf8(utf8, pos));
    out_ += '"';
}

void JsonWriter::WriteEscaped(std::u16string_view text) {
    out_ += '"';
    for (std::size_t pos = 0; pos < text.size();)
        AppendEscaped(out_, utf::DecodeUtf16(text, pos));
    out_ += '"';
}

template <typename Write>
void JsonWriter::Scalar(Write write) {
    if (!BeforeValue())
        return;
    write();
    if (stack_.empty())
        topLevelDone_ = true;  // a scalar can be the whole document
}

void JsonWriter::String(std::string_view utf8) {
    Scalar([&] { WriteEscaped(utf8); });
}
void JsonWriter::String(std::u16string_view text) {
    Scalar([&] { WriteEscaped(text); });
}
void JsonWriter::Bool(bool value) {
    Scalar([&] { out_ += value ? "true" : "false"; });
}
void JsonWriter::Null() {
    Scalar([&] { out_ += "null"; });
}
void JsonWriter::Int(std::int64_t value) {
    Scalar([&] { out_ += std::to_string(value); });
}

void JsonWriter::Double(double value) {
    if (!std::isfinite(value)) {
        Null();
        return;
    }
    Scalar([&] {
        char digits[32];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;  // shortest
        out_.append(digits, end);
    });
}

}  // namespace platform
