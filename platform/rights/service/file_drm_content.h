// Shared by the file-rights functions: how the rights of a looked-up file judge a use now.
#pragma once

#include <cstdint>

#include "platform/core/error.h"
#include "platform/rights/service/rights_service.h"

namespace platform::rights {

// Forward lock is always Valid; other content is judged over every rights object for it.
Validity JudgeContent(const ContentRights& content, Permission permission, std::int64_t now);

// True when some use other than forwarding is Valid or Metered now.
bool AnyUseAllowed(const ContentRights& content, std::int64_t now);

bool NamesRightsIssuer(const ProtectedFile& file);

// For the functions that need readable protected content: S_OK when `found` has it, else what
// they answer for a file that cannot be read, is not protected or is damaged.
HRESULT ProtectedContentResult(const LookUpResult& found);

}  // namespace platform::rights
