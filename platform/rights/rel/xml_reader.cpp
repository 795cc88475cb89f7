#include "platform/rights/rel/xml_reader.h"

#include <cstdint>

namespace platform::rights {
namespace {

// Rights elements carry a few namespace declarations at most; the cap keeps the duplicate
// and namespace look-ups cheap on hostile input.
constexpr std::size_t kMaxAttributes = 32;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsNameChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == ':' || u >= 0x80;
}

// Decodes the body of "&#123;" or "&#x1F;"; nullopt for bad digits or past U+10FFFF.
std::optional<std::uint32_t> CharacterReference(std::string_view body) {
    const bool hex = body.size() > 1 && body[1] == 'x';
    std::string_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    std::uint32_t cp = 0;
    for (char c : digits) {
        int value = -1;
        if (c >= '0' && c <= '9')
            value = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            value = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            value = c - 'A' + 10;
        if (value < 0)
            return std::nullopt;
        cp = cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(value);
        if (cp > 0x10FFFF)
            return std::nullopt;
    }
    return cp;
}

class XmlReader {
  public:
    explicit XmlReader(std::string_view text) : text_(text) {}

    std::optional<XmlNode> Document() {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF")
            pos_ = 3;
        if (!SkipMisc(true) || !Peek('<'))
            return std::nullopt;
        XmlNode root;
        if (!Element(root, 1) || !SkipMisc(false) || pos_ != text_.size())
            return std::nullopt;
        return root;
    }

  private:
    bool Peek(char c) const { return pos_ < text_.size() && text_[pos_] == c; }
    bool StartsWith(std::string_view s) const { return text_.substr(pos_, s.size()) == s; }

    void SkipSpace() {
        while (pos_ < text_.size() && IsSpace(text_[pos_]))
            ++pos_;
    }

    // Moves past the next `terminator`; false when the input ends first.
    bool SkipPast(std::string_view terminator) {
        const std::size_t found = text_.find(terminator, pos_);
        if (found == std::string_view::npos)
            return false;
        pos_ = found + terminator.size();
        return true;
    }

    // Whitespace, comments and processing instructions around the root; a DOCTYPE before it
    // is skipped, but one with an internal subset is refused since it could declare entities.
    bool SkipMisc(bool beforeRoot) {
        for (;;) {
            SkipSpace();
            if (StartsWith("<?")) {
                if (!SkipPast("?>"))
                    return false;
            } else if (StartsWith("<!--")) {
                if (!SkipPast("-->"))
                    return false;
            } else if (beforeRoot && StartsWith("<!DOCTYPE")) {
                const std::size_t close = text_.find('>', pos_);
                if (close == std::string_view::npos ||
                    text_.substr(pos_, close - pos_).find('[') != std::string_view::npos) {
                    return false;
                }
                pos_ = close + 1;
            } else {
                return true;
            }
        }
    }

    std::optional<std::string_view> Name() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && IsNameChar(text_[pos_]))
            ++pos_;
        if (pos_ == start)
            return std::nullopt;
        return text_.substr(start, pos_ - start);
    }

    // Appends the entity or character reference at pos_ (on the '&') to `out`.
    bool Reference(std::string& out) {
        const std::size_t semicolon = text_.find(';', pos_);
        if (semicolon == std::string_view::npos || semicolon - pos_ > 12)
            return false;
        const std::string_view body = text_.substr(pos_ + 1, semicolon - pos_ - 1);
        pos_ = semicolon + 1;
        static constexpr std::pair<std::string_view, char> kNamed[] = {
            {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
        for (const auto& [name, c] : kNamed) {
            if (body == name) {
                out += c;
                return true;
            }
        }
        if (body.empty() || body[0] != '#')
            return false;
        const auto cp = CharacterReference(body);
        return cp && AppendCodePoint(out, *cp);
    }

    bool AttributeValue(std::string& out) {
        if (!Peek('"') && !Peek('\''))
            return false;
        const char quote = text_[pos_++];
        while (pos_ < text_.size() && text_[pos_] != quote) {
            if (text_[pos_] == '<')
                return false;
            if (text_[pos_] == '&') {
                if (!Reference(out))
                    return false;
            } else {
                out += text_[pos_++];
            }
        }
        if (!Peek(quote))
            return false;
        ++pos_;
        return true;
    }

    // Attributes up to the '>' or "/>"; sets `empty` for the latter.
    bool Attributes(XmlNode& node, bool& empty) {
        for (;;) {
            const std::size_t before = pos_;
            SkipSpace();
            if (Peek('>') || StartsWith("/>")) {
                empty = Peek('/');
                pos_ += empty ? 2 : 1;
                return true;
            }
            if (pos_ == before)
                return false;  // attributes must be separated by whitespace
            const auto name = Name();
            SkipSpace();
            if (!name || !Peek('='))
                return false;
            ++pos_;
            SkipSpace();
            std::string value;
            if (!AttributeValue(value))
                return false;
            if (node.attributes.size() == kMaxAttributes)
                return false;
            for (const auto& attribute : node.attributes) {
                if (attribute.first == *name)
                    return false;
            }
            node.attributes.emplace_back(std::string(*name), std::move(value));
        }
    }

    // Pushes the element's xmlns declarations and resolves its own prefix against them.
    void BindNamespaces(XmlNode& node) {
        for (const auto& [name, value] : node.attributes) {
            if (name == "xmlns")
                scopes_.emplace_back("", value);
            else if (name.starts_with("xmlns:"))
                scopes_.emplace_back(name.substr(6), value);
        }
        for (auto it = scopes_.rbegin(); it != scopes_.rend(); ++it) {
            if (it->first == node.prefix) {
                node.namespaceUri = it->second;
                break;
            }
        }
    }

    bool Element(XmlNode& node, int depth) {
        if (depth > kMaxRightsDepth || !Peek('<'))
            return false;
        ++pos_;
        const auto name = Name();
        if (!name)
            return false;
        const std::size_t colon = name->find(':');
        if (colon != std::string_view::npos) {
            node.prefix = std::string(name->substr(0, colon));
            node.local = std::string(name->substr(colon + 1));
        } else {
            node.local = std::string(*name);
        }
        bool empty = false;
        if (!Attributes(node, empty))
            return false;
        const std::size_t scopeMark = scopes_.size();
        BindNamespaces(node);
        const bool ok = empty || Content(node, *name, depth);
        scopes_.resize(scopeMark);
        return ok;
    }

    bool Content(XmlNode& node, std::string_view name, int depth) {
        for (;;) {
            if (pos_ >= text_.size())
                return false;
            if (StartsWith("</")) {
                pos_ += 2;
                const auto closing = Name();
                SkipSpace();
                if (!closing || *closing != name || !Peek('>'))
                    return false;
                ++pos_;
                return true;
            }
            if (!ContentItem(node, depth))
                return false;
        }
    }

    bool ContentItem(XmlNode& node, int depth) {
        if (StartsWith("<!--"))
            return SkipPast("-->");
        if (StartsWith("<?"))
            return SkipPast("?>");
        if (StartsWith("<![CDATA[")) {
            pos_ += 9;
            const std::size_t end = text_.find("]]>", pos_);
            if (end == std::string_view::npos)
                return false;
            node.text.append(text_.substr(pos_, end - pos_));
            pos_ = end + 3;
            return true;
        }
        if (Peek('<')) {
            node.children.emplace_back();
            return Element(node.children.back(), depth + 1);
        }
        if (Peek('&'))
            return Reference(node.text);
        node.text += text_[pos_++];
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::vector<std::pair<std::string, std::string>> scopes_;
};

}  // namespace

std::optional<XmlNode> ParseXmlDocument(std::string_view text) {
    if (text.size() > kMaxRightsInput)
        return std::nullopt;
    return XmlReader(text).Document();
}

}  // namespace platform::rights
