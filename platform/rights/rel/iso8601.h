// ISO 8601 dates and durations as rights objects write them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::rights {

// YYYY-MM-DDThh:mm:ss with an optional Z or +hh:mm / -hh:mm; no zone means UTC. Returns
// seconds since 1970 UTC, or nullopt for a malformed text or a field out of range.
std::optional<std::int64_t> ParseIsoDateTime(std::string_view text);

// PnYnMnWnDTnHnMnS with any components left out (P1D, PT10M, P2W). A year counts as 365 days
// and a month as 30 days, since a duration here is a fixed span, not a calendar step.
// Returns seconds, or nullopt for a malformed text or a total that overflows.
std::optional<std::int64_t> ParseIsoDuration(std::string_view text);

// "YYYY-MM-DDThh:mm:ssZ", or nullopt when the year falls outside 1..9999.
std::optional<std::string> FormatIsoDateTime(std::int64_t seconds);

// "PnDTnHnMnS" with zero components left out ("PT0S" for zero); nullopt when negative.
std::optional<std::string> FormatIsoDuration(std::int64_t seconds);

}  // namespace platform::rights
