#include "tools/probe/probe_rights.h"

#include <cstdint>
#include <limits>
#include <span>

#include "tools/probe/probe_time.h"

namespace probetool {

namespace {

// A summary released whatever happens while it is written.
struct OwnedSummary {
    DrmRightsSummary value{};
    ~OwnedSummary() { FreeDrmRightsSummary(&value); }
};

const char* ConstraintKindName(DWORD kind) {
    switch (kind) {
        case CONSTRAINT_NONE:
            return "none";
        case CONSTRAINT_DATETIME:
            return "datetime";
        case CONSTRAINT_INTERVAL:
            return "interval";
        case CONSTRAINT_COUNT:
            return "count";
        case CONSTRAINT_UNREADABLE:
            return "unreadable";
        default:
            return "unknown";
    }
}

std::int64_t Ticks(const FILETIME& time) {
    return static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) |
                                     time.dwLowDateTime);
}

// A date the client leaves open (no start: 0; no end: the largest FILETIME) is written as null.
void WriteDate(const char* key, const FILETIME& time, platform::JsonWriter& json) {
    json.Key(key);
    const std::int64_t ticks = Ticks(time);
    const std::string text = IsoFromFileTime(time, true);
    if (ticks <= 0 || ticks == std::numeric_limits<std::int64_t>::max() || text.empty())
        json.Null();
    else
        json.String(text);
}

void WriteConstraint(const DrmConstraint& c, platform::JsonWriter& json) {
    constexpr double kTicksPerSecond = 10'000'000.0;
    json.BeginObject();
    json.Key("kind");
    json.String(ConstraintKindName(c.dwKind));
    json.Key("valid");
    json.Bool(IsDrmConstraintValid(&c) != FALSE);
    WriteDate("start", c.ftStart, json);
    WriteDate("end", c.ftEnd, json);
    json.Key("intervalSeconds");
    json.Double(static_cast<double>(c.llIntervalDuration) / kTicksPerSecond);
    // The interval's start is on the client's local clock; 0 until the first use.
    json.Key("intervalStart");
    const FILETIME started{static_cast<DWORD>(c.llIntervalStart),
                           static_cast<DWORD>(static_cast<std::uint64_t>(c.llIntervalStart) >> 32)};
    const std::string startText = c.llIntervalStart > 0 ? IsoFromFileTime(started, false) : "";
    if (startText.empty())
        json.Null();
    else
        json.String(startText);
    json.Key("countTotal");
    json.Int(c.nCountTotal);
    json.Key("countUsed");
    json.Int(c.nCountUsed);
    json.EndObject();
}

void WriteSummary(const CMediaItem& item, platform::JsonWriter& json) {
    OwnedSummary summary;
    if (ReadDrmRightsSummary(item.FullPath().c_str(), item.m_dwType, &summary.value) != 1) {
        json.Null();
        return;
    }
    json.BeginObject();
    json.Key("forwardable");
    json.Bool(summary.value.dwForwardable != 0);
    json.Key("hasRightsIssuer");
    json.Bool(summary.value.dwHasRightsIssuer != 0);
    json.Key("constraints");
    json.BeginArray();
    if (summary.value.pConstraints && summary.value.nConstraintCount > 0) {
        for (const DrmConstraint& c :
             std::span(summary.value.pConstraints,
                       static_cast<std::size_t>(summary.value.nConstraintCount)))
            WriteConstraint(c, json);
    }
    json.EndArray();
    json.EndObject();
}

}  // namespace

void WriteRights(const CMediaItem& item, platform::JsonWriter& json) {
    if (!item.m_pDrmInfo) {
        json.Null();
        return;
    }
    const DWORD status = item.m_pDrmInfo->dwStatus;
    json.BeginObject();
    json.Key("status");
    json.Int(status);
    json.Key("forwardLocked");
    json.Bool((status & DRM_FORWARD_LOCKED) != 0);
    json.Key("noRights");
    json.Bool((status & DRM_NO_RIGHTS) != 0);
    json.Key("rightsIssuer");
    json.Bool((status & DRM_HAS_RIGHTS_ISSUER) != 0);
    json.Key("expired");
    json.Bool(item.m_dwDrmExpired != 0);
    json.Key("summary");
    WriteSummary(item, json);
    json.EndObject();
}

}  // namespace probetool
