// The rules that decide whether a rights object allows a use now, and what a use spends. Pure
// functions of a rights object, what has been spent of it, and the time; the store and the
// service build on them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>

#include "platform/rights/rel/rights_object.h"

namespace platform::rights {

// What has been spent of one permission of an installed rights object.
struct PermissionState {
    std::optional<std::uint32_t> remainingCount;  // present when the permission has a count
    std::optional<std::int64_t> intervalEnd;      // seconds since 1970 UTC, once the interval ran
    bool operator==(const PermissionState&) const = default;
};

// An installed rights object and its state, one entry per granted permission.
struct StoredRights {
    std::int64_t id = 0;  // the store's row, in install order
    RightsObject object;
    std::map<Permission, PermissionState> state;
};

enum class Validity {
    Valid,        // usable now and a use spends nothing
    Metered,      // usable now, and a use spends a count or starts an interval
    NotYetValid,  // before its start; not expired
    Expired,      // count used up, at or after its end, or its interval over; never valid again
    NotGranted,   // no rights object grants this permission
};

// The state of a permission just installed: the whole count, the interval not started.
PermissionState InitialState(const Constraint& constraint);

// All constraints of the permission hold together: any that can never pass again makes it
// Expired, else any not yet passing makes it NotYetValid, else it is Valid or Metered.
Validity Judge(const Constraint& constraint, const PermissionState& state, std::int64_t now);

// One rights object: NotGranted when it lacks the permission.
Validity JudgeRights(const StoredRights& rights, Permission permission, std::int64_t now);

// Several rights objects for one piece of content: a use is allowed when any one allows it.
// The best answer wins, in the order Valid, Metered, NotYetValid, Expired, NotGranted.
Validity JudgeAll(std::span<const StoredRights> rights, Permission permission, std::int64_t now);

// Which rights object one use should spend: a Valid one when there is one (nothing is spent),
// else the Metered one that ends soonest (the earliest end or interval end, then the smallest
// remaining count, then the oldest). Nullopt when none allows the use.
std::optional<std::size_t> ChooseRightsToSpend(std::span<const StoredRights> rights,
                                               Permission permission, std::int64_t now);

// The state after one committed use at `now`: the count less one, the interval started (its end
// set to now + interval) if it had not been. Only meaningful for a use Judge allowed.
PermissionState AfterUse(const Constraint& constraint, const PermissionState& state,
                         std::int64_t now);

}  // namespace platform::rights
