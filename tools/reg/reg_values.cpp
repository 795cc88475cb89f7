#include "tools/reg/reg_values.h"

#include <charconv>
#include <cstdint>
#include <cstdio>

#include "platform/core/wstring.h"
#include "platform/registry/registry.h"

namespace regtool {
namespace {

// UTF-16LE text as stored, without the trailing terminators.
std::u16string DecodeText(std::span<const BYTE> data) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    }
    while (!text.empty() && text.back() == u'\0')
        text.pop_back();
    return text;
}

std::vector<std::string> SplitMulti(std::span<const BYTE> data) {
    std::vector<std::string> strings;
    const std::u16string text = DecodeText(data);
    std::size_t start = 0;
    while (start <= text.size() && !text.empty()) {
        std::size_t end = text.find(u'\0', start);
        if (end == std::u16string::npos)
            end = text.size();
        strings.push_back(platform::ToUtf8(std::u16string_view(text).substr(start, end - start)));
        start = end + 1;
    }
    return strings;
}

std::string HexBytes(std::span<const BYTE> data) {
    std::string out;
    char pair[4];
    for (BYTE byte : data) {
        std::snprintf(pair, sizeof pair, "%02x", byte);
        if (!out.empty())
            out += ' ';
        out += pair;
    }
    return out;
}

bool IsDword(DWORD type, std::span<const BYTE> data) {
    return type == REG_DWORD && data.size() == sizeof(DWORD);
}

DWORD ReadDword(std::span<const BYTE> data) {
    return DWORD(data[0]) | DWORD(data[1]) << 8 | DWORD(data[2]) << 16 | DWORD(data[3]) << 24;
}

bool ParseDword(const std::string& word, std::vector<BYTE>& data) {
    std::string_view text = word;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const bool negative = !hex && !text.empty() && text[0] == '-';
    if (hex)
        text.remove_prefix(2);
    std::int64_t value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, hex ? 16 : 10);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return false;
    if (value > 0xFFFFFFFFLL || value < INT32_MIN || (value < 0 && !negative))
        return false;
    const auto bits = static_cast<DWORD>(value);
    data = {BYTE(bits), BYTE(bits >> 8), BYTE(bits >> 16), BYTE(bits >> 24)};
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool ParseBinary(std::span<const std::string> words, std::vector<BYTE>& data) {
    std::string digits;
    for (const std::string& word : words) {
        for (char c : word) {
            if (c == ' ' || c == ',' || c == ':' || c == '\t')
                continue;
            if (HexDigit(c) < 0)
                return false;
            digits += c;
        }
    }
    if (digits.size() % 2 != 0)
        return false;
    data.clear();
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        data.push_back(static_cast<BYTE>(HexDigit(digits[i]) << 4 | HexDigit(digits[i + 1])));
    }
    return true;
}

void StoreText(const std::string& utf8, std::vector<BYTE>& data) {
    const std::u16string text = platform::FromUtf8(utf8);
    data.clear();
    for (char16_t unit : text) {
        data.push_back(static_cast<BYTE>(unit & 0xFF));
        data.push_back(static_cast<BYTE>(unit >> 8));
    }
    data.insert(data.end(), {0, 0});
}

}  // namespace

std::string TypeName(DWORD type) {
    switch (type) {
        case REG_NONE:
            return "REG_NONE";
        case REG_SZ:
            return "REG_SZ";
        case REG_EXPAND_SZ:
            return "REG_EXPAND_SZ";
        case REG_BINARY:
            return "REG_BINARY";
        case REG_DWORD:
            return "REG_DWORD";
        case REG_MULTI_SZ:
            return "REG_MULTI_SZ";
        default:
            return "type " + std::to_string(type);
    }
}

std::string FormatData(DWORD type, std::span<const BYTE> data) {
    if (IsDword(type, data))
        return std::to_string(ReadDword(data));
    if (type == REG_SZ || type == REG_EXPAND_SZ)
        return platform::ToUtf8(DecodeText(data));
    if (type == REG_MULTI_SZ) {
        std::string lines;
        for (const std::string& line : SplitMulti(data))
            lines += (lines.empty() ? "" : "\n") + line;
        return lines;
    }
    return HexBytes(data);
}

std::string DescribeData(DWORD type, std::span<const BYTE> data) {
    if (IsDword(type, data)) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%08x", ReadDword(data));
        return std::to_string(ReadDword(data)) + " (" + hex + ")";
    }
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        return "\"" + platform::ToUtf8(DecodeText(data)) + "\"";
    }
    if (type == REG_MULTI_SZ) {
        std::string quoted;
        for (const std::string& s : SplitMulti(data))
            quoted += (quoted.empty() ? "\"" : " \"") + s + "\"";
        return quoted;
    }
    return HexBytes(data);
}

bool ParseData(std::string_view typeWord, std::span<const std::string> words, DWORD& type,
               std::vector<BYTE>& data, std::string& error) {
    if (typeWord == "binary") {
        type = REG_BINARY;
        if (ParseBinary(words, data))
            return true;
        error = "binary data must be pairs of hex digits";
        return false;
    }
    if (words.size() != 1) {
        error = std::string(typeWord) + " takes exactly one value";
        return false;
    }
    if (typeWord == "dword") {
        type = REG_DWORD;
        if (ParseDword(words[0], data))
            return true;
        error = "not a 32-bit number: " + words[0];
        return false;
    }
    if (typeWord == "string") {
        type = REG_SZ;
        StoreText(words[0], data);
        return true;
    }
    error = "unknown type " + std::string(typeWord) + " (use dword, string or binary)";
    return false;
}

}  // namespace regtool
