// The constraints of one permission of a piece of content, flattened the way the rights client
// hands them out one index at a time.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/rights/client/ls_oma_client.h"
#include "platform/rights/rel/rights_object.h"
#include "platform/rights/service/rights_service.h"

namespace platform::rights::client {

// The permission an LS_PERMISSION_ selector names; nullopt for any other value.
std::optional<Permission> PermissionForSelector(DWORD selector);

// Every rights object for the content in install order, each contributing nothing when it lacks
// the permission, one LS_CONSTRAINT_NONE entry when the permission is unconstrained, else one
// entry per constraint (datetime, interval, count). Forward lock gives one NONE entry: every use
// is unlimited. `localOffsetTicks` turns interval starts into local time.
std::vector<DrmConstraint> FlattenConstraints(const ContentRights& content, Permission permission,
                                              std::int64_t localOffsetTicks);

}  // namespace platform::rights::client
