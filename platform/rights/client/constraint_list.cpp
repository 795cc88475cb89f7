#include "platform/rights/client/constraint_list.h"

#include <algorithm>
#include <limits>

#include "platform/rights/client/local_clock.h"

namespace platform::rights::client {

namespace {

constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kLargestFileTime = std::numeric_limits<std::int64_t>::max();

FILETIME AsFileTime(std::int64_t ticks) {
    const auto bits = static_cast<std::uint64_t>(ticks);
    return FILETIME{static_cast<DWORD>(bits), static_cast<DWORD>(bits >> 32)};
}

std::int32_t ClampCount(std::uint64_t value) {
    return static_cast<std::int32_t>(
        std::min<std::uint64_t>(value, std::numeric_limits<std::int32_t>::max()));
}

DrmConstraint DateTimeEntry(const Constraint& constraint) {
    DrmConstraint entry{};
    entry.dwKind = LS_CONSTRAINT_DATETIME;
    entry.ftStart = AsFileTime(constraint.start ? UtcTicks(*constraint.start) : 0);
    entry.ftEnd = AsFileTime(constraint.end ? UtcTicks(*constraint.end) : kLargestFileTime);
    return entry;
}

DrmConstraint IntervalEntry(std::int64_t interval, const PermissionState& state,
                            std::int64_t localOffsetTicks) {
    DrmConstraint entry{};
    entry.dwKind = LS_CONSTRAINT_INTERVAL;
    const std::int64_t seconds = std::max<std::int64_t>(interval, 0);
    entry.llIntervalDuration =
        seconds > kLargestFileTime / kTicksPerSecond ? kLargestFileTime : seconds * kTicksPerSecond;
    if (state.intervalEnd) {
        // The interval ran from its first use until intervalEnd; the start is that first use.
        std::int64_t start = 0;
        if (__builtin_sub_overflow(*state.intervalEnd, seconds, &start))
            start = std::numeric_limits<std::int64_t>::min();
        entry.llIntervalStart = AddTicks(UtcTicks(start), localOffsetTicks);
    }
    return entry;
}

DrmConstraint CountEntry(std::uint32_t count, const PermissionState& state) {
    DrmConstraint entry{};
    entry.dwKind = LS_CONSTRAINT_COUNT;
    const std::uint32_t remaining = std::min(state.remainingCount.value_or(count), count);
    entry.nCountTotal = ClampCount(count);
    entry.nCountUsed = ClampCount(count - remaining);
    return entry;
}

void AppendEntries(const Constraint& constraint, const PermissionState& state,
                   std::int64_t localOffsetTicks, std::vector<DrmConstraint>& out) {
    if (constraint.Unconstrained()) {
        out.push_back(DrmConstraint{});  // LS_CONSTRAINT_NONE, every other field 0
        return;
    }
    if (constraint.start || constraint.end)
        out.push_back(DateTimeEntry(constraint));
    if (constraint.interval)
        out.push_back(IntervalEntry(*constraint.interval, state, localOffsetTicks));
    if (constraint.count)
        out.push_back(CountEntry(*constraint.count, state));
}

}  // namespace

std::optional<Permission> PermissionForSelector(DWORD selector) {
    switch (selector) {
        case LS_PERMISSION_PLAY:
            return Permission::Play;
        case LS_PERMISSION_DISPLAY:
            return Permission::Display;
        case LS_PERMISSION_EXECUTE:
            return Permission::Execute;
        case LS_PERMISSION_PRINT:
            return Permission::Print;
        default:
            return std::nullopt;
    }
}

std::vector<DrmConstraint> FlattenConstraints(const ContentRights& content, Permission permission,
                                              std::int64_t localOffsetTicks) {
    if (content.file.method == DeliveryMethod::ForwardLock)
        return {DrmConstraint{}};
    std::vector<const StoredRights*> ordered;
    for (const StoredRights& rights : content.rights)
        ordered.push_back(&rights);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const StoredRights* a, const StoredRights* b) { return a->id < b->id; });
    std::vector<DrmConstraint> entries;
    for (const StoredRights* rights : ordered) {
        const auto granted = rights->object.permissions.find(permission);
        if (granted == rights->object.permissions.end())
            continue;
        const auto spent = rights->state.find(permission);
        const PermissionState state =
            spent != rights->state.end() ? spent->second : InitialState(granted->second);
        AppendEntries(granted->second, state, localOffsetTicks, entries);
    }
    return entries;
}

}  // namespace platform::rights::client
