#include "platform/rights/rules/rights_rules.h"

#include <algorithm>
#include <limits>
#include <tuple>

namespace platform::rights {
namespace {

constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();

// The count still left: the stored one, or the whole count for a state that never recorded one.
std::optional<std::uint32_t> Remaining(const Constraint& constraint, const PermissionState& state) {
    if (!constraint.count)
        return std::nullopt;
    return state.remainingCount ? state.remainingCount : constraint.count;
}

// The end of a started interval; an interval that has not run yet has none.
std::optional<std::int64_t> IntervalEnd(const Constraint& constraint,
                                        const PermissionState& state) {
    return constraint.interval ? state.intervalEnd : std::nullopt;
}

// `now + seconds`, held at the largest time rather than wrapping; a negative length counts as
// none.
std::int64_t SaturatingAdd(std::int64_t now, std::int64_t seconds) {
    seconds = std::max<std::int64_t>(seconds, 0);
    return now > kNever - seconds ? kNever : now + seconds;
}

bool CanNeverPass(const Constraint& constraint, const PermissionState& state, std::int64_t now) {
    const auto remaining = Remaining(constraint, state);
    const auto intervalEnd = IntervalEnd(constraint, state);
    if (remaining && *remaining == 0)
        return true;
    if (constraint.end && now >= *constraint.end)
        return true;
    if (intervalEnd && now >= *intervalEnd)
        return true;
    // A window that closes no later than it opens is never open.
    return constraint.start && constraint.end && *constraint.start >= *constraint.end;
}

// When a right stops being usable by itself: its end or its started interval's end, whichever
// comes first. A count or an interval not yet started has no date.
std::int64_t EndsAt(const StoredRights& rights, Permission permission) {
    const Constraint& constraint = rights.object.permissions.at(permission);
    const auto state = rights.state.find(permission);
    const auto intervalEnd =
        state == rights.state.end() ? std::nullopt : IntervalEnd(constraint, state->second);
    return std::min(constraint.end.value_or(kNever), intervalEnd.value_or(kNever));
}

std::int64_t RemainingOrUnlimited(const StoredRights& rights, Permission permission) {
    const Constraint& constraint = rights.object.permissions.at(permission);
    const auto state = rights.state.find(permission);
    const auto remaining = Remaining(
        constraint, state == rights.state.end() ? InitialState(constraint) : state->second);
    return remaining ? static_cast<std::int64_t>(*remaining) : kNever;
}

}  // namespace

PermissionState InitialState(const Constraint& constraint) {
    return PermissionState{constraint.count, std::nullopt};
}

Validity Judge(const Constraint& constraint, const PermissionState& state, std::int64_t now) {
    if (CanNeverPass(constraint, state, now))
        return Validity::Expired;
    if (constraint.start && now < *constraint.start)
        return Validity::NotYetValid;
    const bool startsInterval = constraint.interval && !IntervalEnd(constraint, state);
    return constraint.count || startsInterval ? Validity::Metered : Validity::Valid;
}

Validity JudgeRights(const StoredRights& rights, Permission permission, std::int64_t now) {
    const auto granted = rights.object.permissions.find(permission);
    if (granted == rights.object.permissions.end())
        return Validity::NotGranted;
    const auto state = rights.state.find(permission);
    return Judge(granted->second,
                 state == rights.state.end() ? InitialState(granted->second) : state->second, now);
}

Validity JudgeAll(std::span<const StoredRights> rights, Permission permission, std::int64_t now) {
    // The enumerators are declared best first.
    Validity best = Validity::NotGranted;
    for (const StoredRights& one : rights)
        best = std::min(best, JudgeRights(one, permission, now));
    return best;
}

std::optional<std::size_t> ChooseRightsToSpend(std::span<const StoredRights> rights,
                                               Permission permission, std::int64_t now) {
    std::optional<std::size_t> chosen;
    std::tuple<std::int64_t, std::int64_t, std::int64_t> chosenRank{};
    for (std::size_t i = 0; i < rights.size(); ++i) {
        const Validity validity = JudgeRights(rights[i], permission, now);
        if (validity == Validity::Valid)
            return i;
        if (validity != Validity::Metered)
            continue;
        const auto rank = std::tuple{EndsAt(rights[i], permission),
                                     RemainingOrUnlimited(rights[i], permission), rights[i].id};
        if (!chosen || rank < chosenRank) {
            chosen = i;
            chosenRank = rank;
        }
    }
    return chosen;
}

PermissionState AfterUse(const Constraint& constraint, const PermissionState& state,
                         std::int64_t now) {
    PermissionState after;
    if (const auto remaining = Remaining(constraint, state))
        after.remainingCount = *remaining > 0 ? *remaining - 1 : 0;
    if (constraint.interval) {
        after.intervalEnd = IntervalEnd(constraint, state);
        if (!after.intervalEnd)
            after.intervalEnd = SaturatingAdd(now, *constraint.interval);
    }
    return after;
}

}  // namespace platform::rights
