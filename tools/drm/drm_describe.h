// How the tool writes rights, constraints and their state: one line each, dates in ISO 8601.
#pragma once

#include <string>

#include "platform/rights/content/protected_file.h"
#include "platform/rights/rules/rights_rules.h"

namespace drmtool {

inline constexpr platform::rights::Permission kAllPermissions[] = {
    platform::rights::Permission::Display, platform::rights::Permission::Play,
    platform::rights::Permission::Execute, platform::rights::Permission::Print};

std::string PermissionName(platform::rights::Permission permission);
std::string ValidityName(platform::rights::Validity validity);
std::string DeliveryName(platform::rights::DeliveryMethod method);
// "unconstrained", or "count 2, start 2027-01-01T00:00:00Z, interval P1D".
std::string DescribeConstraint(const platform::rights::Constraint& constraint);
// "2 left, interval ends 2027-01-02T00:00:00Z", "interval not started", or "nothing spent".
std::string DescribeState(const platform::rights::Constraint& constraint,
                          const platform::rights::PermissionState& state);

}  // namespace drmtool
