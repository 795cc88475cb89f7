#include "platform/rights/rel/rel_structure.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "platform/rights/common/base64.h"
#include "platform/rights/rel/iso8601.h"

namespace platform::rights {
namespace {

enum class Ns { Ex, Dd, Ds };

struct NsInfo {
    std::string_view prefix;
    std::string_view uri;
};

NsInfo Info(Ns ns) {
    switch (ns) {
        case Ns::Ex:
            return {"o-ex", kOdrlExUri};
        case Ns::Dd:
            return {"o-dd", kOdrlDdUri};
        case Ns::Ds:
            break;
    }
    return {"ds", kXmlDsigUri};
}

// Elements match by the usual prefix as written, or by namespace under any other prefix. The
// signature namespace is also seen with a trailing '/', as the binary encoding declares it.
bool Is(const XmlNode& node, Ns ns, std::string_view local) {
    if (node.local != local)
        return false;
    const NsInfo info = Info(ns);
    if (node.prefix == info.prefix || node.namespaceUri == info.uri)
        return true;
    return ns == Ns::Ds && node.namespaceUri.size() == info.uri.size() + 1 &&
           node.namespaceUri.starts_with(info.uri) && node.namespaceUri.back() == '/';
}

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view kSpace = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

const XmlNode* Child(const XmlNode& parent, Ns ns, std::string_view local) {
    for (const XmlNode& child : parent.children) {
        if (Is(child, ns, local))
            return &child;
    }
    return nullptr;
}

std::size_t CountChildren(const XmlNode& parent, Ns ns, std::string_view local) {
    return static_cast<std::size_t>(
        std::count_if(parent.children.begin(), parent.children.end(),
                      [&](const XmlNode& child) { return Is(child, ns, local); }));
}

std::optional<std::uint32_t> ParseCount(std::string_view text) {
    text = Trimmed(text);
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || text[0] == '-' || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<std::array<std::uint8_t, 16>> ParseKey(const XmlNode& keyValue) {
    std::optional<std::vector<std::uint8_t>> bytes;
    if (keyValue.opaqueText)
        bytes.emplace(keyValue.text.begin(), keyValue.text.end());
    else
        bytes = DecodeBase64(Trimmed(keyValue.text));
    if (!bytes || bytes->size() != 16)
        return std::nullopt;
    std::array<std::uint8_t, 16> key;
    std::copy(bytes->begin(), bytes->end(), key.begin());
    return key;
}

bool ReadDatetime(const XmlNode& node, Constraint& out) {
    for (const XmlNode& child : node.children) {
        const bool isStart = Is(child, Ns::Dd, "start");
        if (!isStart && !Is(child, Ns::Dd, "end"))
            return false;
        std::optional<std::int64_t>& field = isStart ? out.start : out.end;
        if (field)
            return false;
        field = ParseIsoDateTime(Trimmed(child.text));
        if (!field)
            return false;
    }
    return !(out.start && out.end && *out.start > *out.end);
}

// Anything unknown inside a constraint is refused: ignoring it would grant more than meant.
bool ReadConstraint(const XmlNode& node, Constraint& out) {
    for (const XmlNode& child : node.children) {
        if (Is(child, Ns::Dd, "count")) {
            if (out.count || !(out.count = ParseCount(child.text)))
                return false;
        } else if (Is(child, Ns::Dd, "datetime")) {
            if (out.start || out.end || !ReadDatetime(child, out))
                return false;
        } else if (Is(child, Ns::Dd, "interval")) {
            if (out.interval || !(out.interval = ParseIsoDuration(Trimmed(child.text))))
                return false;
        } else {
            return false;
        }
    }
    return true;
}

constexpr std::pair<Permission, std::string_view> kPermissionNames[] = {
    {Permission::Display, "display"},
    {Permission::Play, "play"},
    {Permission::Execute, "execute"},
    {Permission::Print, "print"},
};

bool ReadPermission(const XmlNode& node, RightsObject& out) {
    for (const XmlNode& child : node.children) {
        for (const auto& [permission, name] : kPermissionNames) {
            if (!Is(child, Ns::Dd, name))
                continue;
            if (out.permissions.contains(permission) ||
                CountChildren(child, Ns::Ex, "constraint") > 1) {
                return false;
            }
            Constraint constraint;
            const XmlNode* constraintNode = Child(child, Ns::Ex, "constraint");
            if (constraintNode && !ReadConstraint(*constraintNode, constraint))
                return false;
            out.permissions.emplace(permission, constraint);
        }
    }
    return true;
}

bool ReadAsset(const XmlNode& asset, RightsObject& out) {
    const XmlNode* context = Child(asset, Ns::Ex, "context");
    const XmlNode* uid = context ? Child(*context, Ns::Dd, "uid") : nullptr;
    if (!uid)
        return false;
    out.uid = std::string(Trimmed(uid->text));
    const XmlNode* keyInfo = Child(asset, Ns::Ds, "KeyInfo");
    const XmlNode* keyValue = keyInfo ? Child(*keyInfo, Ns::Ds, "KeyValue") : nullptr;
    if (keyValue && !(out.key = ParseKey(*keyValue)))
        return false;
    return true;
}

// One agreement about one asset: a second could only be kept by dropping it.
bool ReadAgreement(const XmlNode& agreement, RightsObject& out) {
    const XmlNode* asset = Child(agreement, Ns::Ex, "asset");
    if (!asset || CountChildren(agreement, Ns::Ex, "asset") != 1 || !ReadAsset(*asset, out))
        return false;
    for (const XmlNode& child : agreement.children) {
        if (Is(child, Ns::Ex, "permission") && !ReadPermission(child, out))
            return false;
    }
    return true;
}

}  // namespace

std::optional<RightsObject> RightsFromTree(const XmlNode& root) {
    if (!Is(root, Ns::Ex, "rights") || CountChildren(root, Ns::Ex, "agreement") != 1)
        return std::nullopt;
    RightsObject rights;
    if (const XmlNode* context = Child(root, Ns::Ex, "context")) {
        if (const XmlNode* version = Child(*context, Ns::Dd, "version"))
            rights.version = std::string(Trimmed(version->text));
    }
    if (!ReadAgreement(*Child(root, Ns::Ex, "agreement"), rights) || rights.uid.empty())
        return std::nullopt;
    return rights;
}

namespace {

XmlNode Make(Ns ns, std::string_view local, std::string text = {}) {
    const NsInfo info = Info(ns);
    XmlNode node;
    node.prefix = std::string(info.prefix);
    node.local = std::string(local);
    node.namespaceUri = std::string(info.uri);
    node.text = std::move(text);
    return node;
}

XmlNode& Add(XmlNode& parent, Ns ns, std::string_view local, std::string text = {}) {
    parent.children.push_back(Make(ns, local, std::move(text)));
    return parent.children.back();
}

// Text that reads back unchanged: no control characters and nothing the reader trims.
bool Writable(std::string_view text) {
    return std::none_of(text.begin(), text.end(), [](char c) { return c >= 0 && c < 0x20; }) &&
           Trimmed(text).size() == text.size();
}

bool AddConstraint(XmlNode& permission, const Constraint& constraint) {
    if (constraint.Unconstrained())
        return true;
    XmlNode& node = Add(permission, Ns::Ex, "constraint");
    if (constraint.count)
        Add(node, Ns::Dd, "count", std::to_string(*constraint.count));
    if (constraint.start || constraint.end) {
        if (constraint.start && constraint.end && *constraint.start > *constraint.end)
            return false;
        XmlNode& datetime = Add(node, Ns::Dd, "datetime");
        for (const auto& [value, name] :
             {std::pair{constraint.start, "start"}, std::pair{constraint.end, "end"}}) {
            if (!value)
                continue;
            const auto text = FormatIsoDateTime(*value);
            if (!text)
                return false;
            Add(datetime, Ns::Dd, name, *text);
        }
    }
    if (constraint.interval) {
        const auto text = FormatIsoDuration(*constraint.interval);
        if (!text)
            return false;
        Add(node, Ns::Dd, "interval", *text);
    }
    return true;
}

}  // namespace

std::optional<XmlNode> RightsToTree(const RightsObject& rights) {
    if (rights.uid.empty() || !Writable(rights.uid) || !Writable(rights.version))
        return std::nullopt;
    XmlNode root = Make(Ns::Ex, "rights");
    for (Ns ns : {Ns::Ex, Ns::Dd, Ns::Ds})
        root.attributes.emplace_back("xmlns:" + std::string(Info(ns).prefix), Info(ns).uri);
    if (!rights.version.empty())
        Add(Add(root, Ns::Ex, "context"), Ns::Dd, "version", rights.version);
    XmlNode& agreement = Add(root, Ns::Ex, "agreement");
    XmlNode& asset = Add(agreement, Ns::Ex, "asset");
    Add(Add(asset, Ns::Ex, "context"), Ns::Dd, "uid", rights.uid);
    if (rights.key) {
        Add(Add(asset, Ns::Ds, "KeyInfo"), Ns::Ds, "KeyValue",
            EncodeBase64(rights.key->data(), rights.key->size()));
    }
    if (rights.permissions.empty())
        return root;
    XmlNode& permission = Add(agreement, Ns::Ex, "permission");
    for (const auto& [kind, name] : kPermissionNames) {
        const auto it = rights.permissions.find(kind);
        if (it != rights.permissions.end() &&
            !AddConstraint(Add(permission, Ns::Dd, name), it->second)) {
            return std::nullopt;
        }
    }
    return root;
}

}  // namespace platform::rights
