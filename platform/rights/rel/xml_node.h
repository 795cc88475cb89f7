// The element tree both rights encodings are read into and written from, so the rights
// structure is interpreted in one place.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/core/utf8.h"

namespace platform::rights {

inline constexpr std::string_view kOdrlExUri = "http://odrl.net/1.1/ODRL-EX";
inline constexpr std::string_view kOdrlDdUri = "http://odrl.net/1.1/ODRL-DD";
inline constexpr std::string_view kXmlDsigUri = "http://www.w3.org/2000/09/xmldsig#";

// Both readers stop here: rights objects are a few hundred bytes and a handful of levels deep.
inline constexpr std::size_t kMaxRightsInput = 64 * 1024;
inline constexpr int kMaxRightsDepth = 32;

struct XmlNode {
    std::string prefix;        // as written; empty when none
    std::string local;         // name after the prefix
    std::string namespaceUri;  // resolved from the declarations in scope; empty when undeclared
    std::vector<std::pair<std::string, std::string>> attributes;  // qualified name, value
    std::string text;         // the element's own character data, concatenated
    bool opaqueText = false;  // text holds raw bytes (WBXML opaque data), not characters
    std::vector<XmlNode> children;
};

// Appends a character reference's code point as UTF-8; false for one XML cannot carry.
inline bool AppendCodePoint(std::string& out, std::uint32_t cp) {
    if (cp == 0 || cp > 0x10FFFF || utf::IsSurrogate(cp))
        return false;
    char bytes[4];
    out.append(bytes, static_cast<std::size_t>(utf::EncodeUtf8(cp, bytes)));
    return true;
}

}  // namespace platform::rights
