#include "platform/rights/service/rights_messages.h"

#include <cstdio>
#include <vector>

#include "platform/core/time.h"
#include "platform/core/wstring.h"

namespace platform::rights {
namespace {

std::string Plural(std::int64_t n, const char* unit) {
    return std::to_string(n) + " " + unit + (n == 1 ? "" : "s");
}

const char* PermissionName(Permission permission) {
    switch (permission) {
        case Permission::Display:
            return "Display";
        case Permission::Play:
            return "Play";
        case Permission::Execute:
            return "Run";
        case Permission::Print:
            return "Print";
    }
    return "Use";
}

const char* DeliveryText(DeliveryMethod method) {
    switch (method) {
        case DeliveryMethod::ForwardLock:
            return "It can be used without limit on this device and cannot be forwarded.";
        case DeliveryMethod::CombinedDelivery:
            return "Its rights came with it; it cannot be forwarded.";
        case DeliveryMethod::SeparateDelivery:
            return "It can be forwarded; the receiver needs rights of their own.";
    }
    return "";
}

// One line per permission: its terms, what is left, and whether it can still be used.
std::string PermissionLine(Permission permission, const Constraint& constraint,
                           const PermissionState& state, std::int64_t now) {
    std::string line = std::string(PermissionName(permission)) + ": ";
    std::vector<std::string> terms;
    if (constraint.Unconstrained())
        terms.emplace_back("unlimited");
    if (constraint.count)
        terms.push_back(Plural(state.remainingCount.value_or(0), "use") + " left of " +
                        std::to_string(*constraint.count));
    if (constraint.start)
        terms.push_back("from " + LocalDateTime(*constraint.start));
    if (constraint.end)
        terms.push_back("until " + LocalDateTime(*constraint.end));
    if (constraint.interval) {
        terms.push_back(state.intervalEnd
                            ? "until " + LocalDateTime(*state.intervalEnd)
                            : "for " + DurationText(*constraint.interval) + " from the first use");
    }
    for (std::size_t i = 0; i < terms.size(); ++i)
        line += (i ? ", " : "") + terms[i];
    switch (Judge(constraint, state, now)) {
        case Validity::Expired:
            line += " (expired)";
            break;
        case Validity::NotYetValid:
            line += " (not yet valid)";
            break;
        default:
            break;
    }
    return line;
}

std::string IssuerSentence(const std::optional<std::string>& rightsIssuer) {
    if (!rightsIssuer || rightsIssuer->empty())
        return "";
    return "\nNew rights are available from " + *rightsIssuer + ".";
}

}  // namespace

std::string ContentDisplayName(const ProtectedFile& file, std::u16string_view devicePath) {
    if (const auto name = file.Header("Content-Name"); name && !name->empty())
        return *name;
    const auto slash = devicePath.find_last_of(u"\\/");
    return ToUtf8(slash == std::u16string_view::npos ? devicePath : devicePath.substr(slash + 1));
}

std::string LocalDateTime(std::int64_t unixSeconds) {
    const FILETIME utc = FileTimeFromUnix(unixSeconds, 0);
    FILETIME local{};
    SYSTEMTIME time{};
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &time))
        return "?";
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", unsigned{time.wYear},
                  unsigned{time.wMonth}, unsigned{time.wDay}, unsigned{time.wHour},
                  unsigned{time.wMinute});
    return text;
}

std::string DurationText(std::int64_t seconds) {
    struct Unit {
        std::int64_t seconds;
        const char* name;
    };
    static constexpr Unit kUnits[] = {
        {86400, "day"}, {3600, "hour"}, {60, "minute"}, {1, "second"}};
    if (seconds <= 0)
        return "0 seconds";
    std::string text;
    int shown = 0;
    for (const Unit& unit : kUnits) {
        const std::int64_t n = seconds / unit.seconds;
        if (n == 0 || shown == 2)
            continue;
        text += (shown ? " " : "") + Plural(n, unit.name);
        seconds -= n * unit.seconds;
        ++shown;
        if (seconds == 0)
            break;
    }
    return text;
}

std::string ConfirmUseText(const std::string& name, const Constraint& constraint,
                           const PermissionState& state) {
    std::string text;
    if (state.remainingCount)
        text +=
            "\"" + name + "\" can be used " +
            (*state.remainingCount == 1 ? std::string("1 more time")
                                        : std::to_string(*state.remainingCount) + " more times") +
            ".\n";
    if (constraint.interval && !state.intervalEnd)
        text += "An interval of " + DurationText(*constraint.interval) + " for \"" + name +
                "\" starts at the first use.\n";
    else if (state.intervalEnd)
        text += "\"" + name + "\" can be used until " + LocalDateTime(*state.intervalEnd) + ".\n";
    return text + "Use it now?";
}

std::string NoticeText(VerifyNotice notice, const std::string& name,
                       const std::optional<std::string>& rightsIssuer,
                       const std::optional<std::int64_t>& validFrom) {
    const std::string quoted = "\"" + name + "\"";
    switch (notice) {
        case VerifyNotice::CannotForward:
            return quoted + " is protected and cannot be forwarded.";
        case VerifyNotice::NotYetValid:
            return quoted + " cannot be used yet" +
                   (validFrom ? "; its rights start on " + LocalDateTime(*validFrom) : "") + "." +
                   IssuerSentence(rightsIssuer);
        case VerifyNotice::Expired:
            return "The rights to use " + quoted + " have expired." + IssuerSentence(rightsIssuer);
        case VerifyNotice::NoRights:
            return "There are no rights to use " + quoted + " on this device." +
                   IssuerSentence(rightsIssuer);
        case VerifyNotice::ConfirmUse:
        case VerifyNotice::None:
            break;
    }
    return quoted + " is protected.";
}

std::optional<std::int64_t> NextStart(const ContentRights& content, Permission permission,
                                      std::int64_t now) {
    std::optional<std::int64_t> next;
    for (const StoredRights& rights : content.rights) {
        const auto found = rights.object.permissions.find(permission);
        if (found == rights.object.permissions.end() || !found->second.start ||
            *found->second.start <= now)
            continue;
        if (!next || *found->second.start < *next)
            next = found->second.start;
    }
    return next;
}

std::string LicenseInfoText(const ContentRights& content, const std::string& name,
                            std::int64_t now) {
    std::string text = "\"" + name + "\" is protected. " + DeliveryText(content.file.method);
    if (content.file.method != DeliveryMethod::ForwardLock) {
        if (content.rights.empty())
            text += "\nThere are no rights for it on this device.";
        for (const StoredRights& rights : content.rights) {
            for (const auto& [permission, constraint] : rights.object.permissions) {
                const auto state = rights.state.find(permission);
                const PermissionState current =
                    state != rights.state.end() ? state->second : InitialState(constraint);
                text += "\n" + PermissionLine(permission, constraint, current, now);
            }
        }
    }
    if (const auto issuer = content.file.Header("Rights-Issuer"))
        text += IssuerSentence(issuer);
    return text;
}

}  // namespace platform::rights
