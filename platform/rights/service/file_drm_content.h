// Shared by the file-rights functions: how the rights of a looked-up file judge a use now.
#pragma once

#include <cstdint>

#include "platform/rights/service/rights_service.h"

namespace platform::rights {

// Forward lock is always Valid; other content is judged over every rights object for it.
Validity JudgeContent(const ContentRights& content, Permission permission, std::int64_t now);

// True when some use other than forwarding is Valid or Metered now.
bool AnyUseAllowed(const ContentRights& content, std::int64_t now);

bool NamesRightsIssuer(const ProtectedFile& file);

}  // namespace platform::rights
