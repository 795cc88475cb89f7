#include "platform/rights/rel/rel_wbxml.h"

#include <array>
#include <string_view>

#include "platform/rights/rel/rel_structure.h"

namespace platform::rights {
namespace {

// Global tokens: the same on every code page.
constexpr std::uint8_t kSwitchPage = 0x00;
constexpr std::uint8_t kEnd = 0x01;
constexpr std::uint8_t kEntity = 0x02;
constexpr std::uint8_t kStrI = 0x03;
constexpr std::uint8_t kStrT = 0x83;
constexpr std::uint8_t kOpaque = 0xC3;
constexpr std::uint8_t kHasAttributes = 0x80;
constexpr std::uint8_t kHasContent = 0x40;

constexpr std::uint8_t kVersion13 = 0x03;
constexpr std::uint32_t kRightsPublicId = 0x0E;
constexpr std::uint32_t kCharsetUtf8 = 0x6A;

struct TagToken {
    std::uint8_t token;
    std::string_view prefix;
    std::string_view local;
};
constexpr TagToken kTags[] = {
    {0x05, "o-ex", "rights"},   {0x06, "o-ex", "context"},    {0x07, "o-dd", "version"},
    {0x08, "o-dd", "uid"},      {0x09, "o-ex", "agreement"},  {0x0A, "o-ex", "asset"},
    {0x0B, "ds", "KeyInfo"},    {0x0C, "ds", "KeyValue"},     {0x0D, "o-ex", "permission"},
    {0x0E, "o-dd", "play"},     {0x0F, "o-dd", "display"},    {0x10, "o-dd", "execute"},
    {0x11, "o-dd", "print"},    {0x12, "o-ex", "constraint"}, {0x13, "o-dd", "count"},
    {0x14, "o-dd", "datetime"}, {0x15, "o-dd", "start"},      {0x16, "o-dd", "end"},
    {0x17, "o-dd", "interval"},
};

// Attribute start tokens: each is a whole namespace declaration.
struct AttributeToken {
    std::uint8_t token;
    std::string_view name;
    std::string_view value;
};
constexpr AttributeToken kAttributes[] = {
    {0x05, "xmlns:o-ex", kOdrlExUri},
    {0x06, "xmlns:o-dd", kOdrlDdUri},
    {0x07, "xmlns:ds", "http://www.w3.org/2000/09/xmldsig#/"},
};

bool IsGlobal(std::uint8_t token) {
    return (token & 0x3F) <= 0x04;
}

class WbxmlReader {
  public:
    WbxmlReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::optional<XmlNode> Document() {
        const auto version = Byte();
        if (!version || *version < 0x01 || *version > kVersion13 || MbUint32() != kRightsPublicId ||
            MbUint32() != kCharsetUtf8) {
            return std::nullopt;
        }
        const auto tableLength = MbUint32();
        if (!tableLength || *tableLength > size_ - pos_)
            return std::nullopt;
        stringTable_ = std::string_view(reinterpret_cast<const char*>(data_ + pos_), *tableLength);
        pos_ += *tableLength;
        XmlNode root;
        if (!Element(root, 1) || pos_ != size_)
            return std::nullopt;
        return root;
    }

  private:
    std::optional<std::uint8_t> Byte() {
        if (pos_ >= size_)
            return std::nullopt;
        return data_[pos_++];
    }

    // A multi-byte integer: seven bits a byte, high bit set on all but the last, 32 bits at most.
    std::optional<std::uint32_t> MbUint32() {
        std::uint32_t value = 0;
        for (int i = 0; i < 5; ++i) {
            const auto byte = Byte();
            if (!byte || (i == 4 && (value >> 25) != 0))
                return std::nullopt;
            value = (value << 7) | (*byte & 0x7F);
            if (!(*byte & 0x80))
                return value;
        }
        return std::nullopt;
    }

    // Tags and attributes all live on code page 0; a switch to any other page is refused.
    std::optional<std::uint8_t> Token() {
        auto token = Byte();
        while (token == kSwitchPage) {
            if (Byte() != 0)
                return std::nullopt;
            token = Byte();
        }
        return token;
    }

    std::optional<std::string> TerminatedString(std::string_view from, std::size_t start) {
        const std::size_t nul = from.find('\0', start);
        if (start > from.size() || nul == std::string_view::npos)
            return std::nullopt;
        return std::string(from.substr(start, nul - start));
    }

    std::string_view Rest() const {
        return std::string_view(reinterpret_cast<const char*>(data_ + pos_), size_ - pos_);
    }

    // Appends a string or entity value token to `out`; false for anything else or bad data.
    bool StringValue(std::uint8_t token, std::string& out) {
        std::optional<std::string> text;
        if (token == kStrI) {
            text = TerminatedString(Rest(), 0);
            if (text)
                pos_ += text->size() + 1;
        } else if (token == kStrT) {
            const auto offset = MbUint32();
            text = offset ? TerminatedString(stringTable_, *offset) : std::nullopt;
        } else if (token == kEntity) {
            const auto cp = MbUint32();
            return cp && AppendCodePoint(out, *cp);
        }
        if (!text)
            return false;
        out += *text;
        return true;
    }

    bool Opaque(std::string& out) {
        const auto length = MbUint32();
        if (!length || *length > size_ - pos_)
            return false;
        out.append(reinterpret_cast<const char*>(data_ + pos_), *length);
        pos_ += *length;
        return true;
    }

    bool Attributes(XmlNode& node) {
        std::string* value = nullptr;
        for (;;) {
            const auto token = Token();
            if (!token)
                return false;
            if (*token == kEnd)
                return true;
            if (value && *token != kOpaque && StringValue(*token, *value))
                continue;
            const AttributeToken* known = nullptr;
            for (const AttributeToken& attribute : kAttributes) {
                if (attribute.token == *token)
                    known = &attribute;
            }
            if (!known)
                return false;
            node.attributes.emplace_back(std::string(known->name), std::string(known->value));
            value = &node.attributes.back().second;
        }
    }

    bool Content(XmlNode& node, int depth) {
        bool sawString = false;
        for (;;) {
            const auto token = Token();
            if (!token)
                return false;
            if (*token == kEnd)
                return !(sawString && node.opaqueText);
            if (*token == kOpaque) {
                node.opaqueText = true;
                if (!Opaque(node.text))
                    return false;
            } else if (*token == kStrI || *token == kStrT || *token == kEntity) {
                sawString = true;
                if (!StringValue(*token, node.text))
                    return false;
            } else {
                --pos_;
                node.children.emplace_back();
                if (!Element(node.children.back(), depth + 1))
                    return false;
            }
        }
    }

    bool Element(XmlNode& node, int depth) {
        const auto token = Token();
        if (!token || depth > kMaxRightsDepth || IsGlobal(*token))
            return false;
        // An unknown tag stays nameless: the rights structure ignores it, or refuses it where
        // ignoring it would widen a right.
        for (const TagToken& tag : kTags) {
            if (tag.token == (*token & 0x3F)) {
                node.prefix = std::string(tag.prefix);
                node.local = std::string(tag.local);
            }
        }
        if ((*token & kHasAttributes) && !Attributes(node))
            return false;
        return !(*token & kHasContent) || Content(node, depth);
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    std::string_view stringTable_;
};

void AppendMbUint32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    std::uint8_t bytes[5];
    int count = 0;
    do {
        bytes[count++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (count > 1)
        out.push_back(bytes[--count] | 0x80);
    out.push_back(bytes[0]);
}

void AppendInlineString(std::vector<std::uint8_t>& out, std::string_view text) {
    out.push_back(kStrI);
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}

bool AppendElement(std::vector<std::uint8_t>& out, const XmlNode& node) {
    const TagToken* tag = nullptr;
    for (const TagToken& candidate : kTags) {
        if (candidate.prefix == node.prefix && candidate.local == node.local)
            tag = &candidate;
    }
    if (!tag)
        return false;
    const bool hasContent = !node.text.empty() || !node.children.empty();
    out.push_back(tag->token | (hasContent ? kHasContent : 0) |
                  (node.attributes.empty() ? 0 : kHasAttributes));
    if (!node.attributes.empty()) {
        for (const auto& [name, value] : node.attributes) {
            const AttributeToken* attribute = nullptr;
            for (const AttributeToken& candidate : kAttributes) {
                if (candidate.name == name)
                    attribute = &candidate;
            }
            if (!attribute)
                return false;
            out.push_back(attribute->token);
        }
        out.push_back(kEnd);
    }
    if (!hasContent)
        return true;
    if (!node.text.empty())
        AppendInlineString(out, node.text);
    for (const XmlNode& child : node.children) {
        if (!AppendElement(out, child))
            return false;
    }
    out.push_back(kEnd);
    return true;
}

}  // namespace

std::optional<RightsObject> ParseRightsWbxml(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size > kMaxRightsInput)
        return std::nullopt;
    const auto root = WbxmlReader(data, size).Document();
    if (!root)
        return std::nullopt;
    return RightsFromTree(*root);
}

std::vector<std::uint8_t> WriteRightsWbxml(const RightsObject& rights) {
    const auto root = RightsToTree(rights);
    if (!root)
        return {};
    std::vector<std::uint8_t> out = {kVersion13};
    AppendMbUint32(out, kRightsPublicId);
    AppendMbUint32(out, kCharsetUtf8);
    AppendMbUint32(out, 0);  // no string table
    if (!AppendElement(out, *root))
        return {};
    return out;
}

}  // namespace platform::rights
