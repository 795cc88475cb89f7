#include "tools/drm/drm_describe.h"

#include <vector>

#include "platform/rights/rel/iso8601.h"

namespace drmtool {
namespace {

namespace rights = platform::rights;

std::string Date(std::int64_t seconds) {
    return rights::FormatIsoDateTime(seconds).value_or("@" + std::to_string(seconds));
}

std::string Duration(std::int64_t seconds) {
    return rights::FormatIsoDuration(seconds).value_or(std::to_string(seconds) + "s");
}

std::string Join(const std::vector<std::string>& parts, const std::string& otherwise) {
    if (parts.empty())
        return otherwise;
    std::string text = parts.front();
    for (std::size_t i = 1; i < parts.size(); ++i)
        text += ", " + parts[i];
    return text;
}

}  // namespace

std::string PermissionName(rights::Permission permission) {
    switch (permission) {
        case rights::Permission::Display:
            return "display";
        case rights::Permission::Play:
            return "play";
        case rights::Permission::Execute:
            return "execute";
        case rights::Permission::Print:
            return "print";
    }
    return "unknown";
}

std::string ValidityName(rights::Validity validity) {
    switch (validity) {
        case rights::Validity::Valid:
            return "Valid";
        case rights::Validity::Metered:
            return "Metered";
        case rights::Validity::NotYetValid:
            return "NotYetValid";
        case rights::Validity::Expired:
            return "Expired";
        case rights::Validity::NotGranted:
            return "NotGranted";
    }
    return "unknown";
}

std::string DeliveryName(rights::DeliveryMethod method) {
    switch (method) {
        case rights::DeliveryMethod::ForwardLock:
            return "forward lock";
        case rights::DeliveryMethod::CombinedDelivery:
            return "combined delivery";
        case rights::DeliveryMethod::SeparateDelivery:
            return "separate delivery";
    }
    return "unknown";
}

std::string DescribeConstraint(const rights::Constraint& constraint) {
    std::vector<std::string> parts;
    if (constraint.count)
        parts.push_back("count " + std::to_string(*constraint.count));
    if (constraint.start)
        parts.push_back("start " + Date(*constraint.start));
    if (constraint.end)
        parts.push_back("end " + Date(*constraint.end));
    if (constraint.interval)
        parts.push_back("interval " + Duration(*constraint.interval));
    return Join(parts, "unconstrained");
}

std::string DescribeState(const rights::Constraint& constraint,
                          const rights::PermissionState& state) {
    std::vector<std::string> parts;
    if (state.remainingCount)
        parts.push_back(std::to_string(*state.remainingCount) + " left");
    if (state.intervalEnd)
        parts.push_back("interval ends " + Date(*state.intervalEnd));
    else if (constraint.interval)
        parts.push_back("interval not started");
    return Join(parts, "nothing spent");
}

}  // namespace drmtool
