// A rights object as the rights store keeps it, whichever encoding it arrived in.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace platform::rights {

enum class Permission { Display, Play, Execute, Print };

struct Constraint {
    std::optional<std::uint32_t> count;
    std::optional<std::int64_t> start;     // seconds since 1970 UTC
    std::optional<std::int64_t> end;       // seconds since 1970 UTC
    std::optional<std::int64_t> interval;  // seconds

    bool Unconstrained() const { return !count && !start && !end && !interval; }
    bool operator==(const Constraint&) const = default;
};

struct RightsObject {
    std::string version;
    std::string uid;  // joins the rights object to its content (the content URI)
    std::optional<std::array<std::uint8_t, 16>> key;
    // A permission that is present is granted; an empty Constraint means unconstrained.
    std::map<Permission, Constraint> permissions;

    bool operator==(const RightsObject&) const = default;
};

}  // namespace platform::rights
