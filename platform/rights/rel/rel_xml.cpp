#include "platform/rights/rel/rel_xml.h"

#include "platform/rights/rel/rel_structure.h"
#include "platform/rights/rel/xml_reader.h"

namespace platform::rights {
namespace {

void AppendEscaped(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
}

void AppendElement(std::string& out, const XmlNode& node, int depth) {
    const std::string name = node.prefix.empty() ? node.local : node.prefix + ':' + node.local;
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
    out += '<' + name;
    for (const auto& [attribute, value] : node.attributes) {
        out += ' ' + attribute + "=\"";
        AppendEscaped(out, value);
        out += '"';
    }
    if (node.children.empty() && node.text.empty()) {
        out += "/>\n";
        return;
    }
    out += '>';
    AppendEscaped(out, node.text);
    if (!node.children.empty()) {
        out += '\n';
        for (const XmlNode& child : node.children)
            AppendElement(out, child, depth + 1);
        out.append(static_cast<std::size_t>(depth) * 2, ' ');
    }
    out += "</" + name + ">\n";
}

}  // namespace

std::optional<RightsObject> ParseRightsXml(std::string_view text) {
    const auto root = ParseXmlDocument(text);
    if (!root)
        return std::nullopt;
    return RightsFromTree(*root);
}

std::string WriteRightsXml(const RightsObject& rights) {
    const auto root = RightsToTree(rights);
    if (!root)
        return {};
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    AppendElement(out, *root, 0);
    return out;
}

}  // namespace platform::rights
