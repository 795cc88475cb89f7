// The texts of the service's messages: the content's name, what is left of its rights and when
// they start or end, in local time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/rights/rules/rights_rules.h"
#include "platform/rights/service/file_drm_results.h"
#include "platform/rights/service/rights_service.h"

namespace platform::rights {

// The Content-Name header, else the file's name from its device path.
std::string ContentDisplayName(const ProtectedFile& file, std::u16string_view devicePath);

// "YYYY-MM-DD HH:MM" in local time.
std::string LocalDateTime(std::int64_t unixSeconds);
// "2 days 3 hours", "45 seconds": the largest units, at most two of them.
std::string DurationText(std::int64_t seconds);

// The question before a use that spends a count or starts an interval.
std::string ConfirmUseText(const std::string& name, const Constraint& constraint,
                           const PermissionState& state);

// The message for a notice other than ConfirmUse. `rightsIssuer` is named when given.
std::string NoticeText(VerifyNotice notice, const std::string& name,
                       const std::optional<std::string>& rightsIssuer,
                       const std::optional<std::int64_t>& validFrom);

// The earliest start still ahead among the rights for `permission`, for "valid from".
std::optional<std::int64_t> NextStart(const ContentRights& content, Permission permission,
                                      std::int64_t now);

// The rights dialog: every permission of every rights object and what is left of it.
std::string LicenseInfoText(const ContentRights& content, const std::string& name,
                            std::int64_t now);

}  // namespace platform::rights
