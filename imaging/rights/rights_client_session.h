// The pieces the rights records share: which right a media type is judged by, and one open
// session on the rights client for a file (opened from its UTF-8 path, closed on scope exit).
#pragma once

#include "platform/core/types.h"
#include "platform/rights/client/ls_oma_client.h"

namespace imaging::rights {

// Display for pictures, play for everything else.
DWORD RightForMediaType(DWORD mediaType);
// The rights client's permission selector for the summary: play for music and video, display
// otherwise.
DWORD SelectorForMediaType(DWORD mediaType);

class RightsClientSession {
  public:
    explicit RightsClientSession(LPCWSTR path);
    ~RightsClientSession();
    RightsClientSession(const RightsClientSession&) = delete;
    RightsClientSession& operator=(const RightsClientSession&) = delete;

    bool IsOpen() const { return handle_ != nullptr; }
    LSHANDLE Handle() const { return handle_; }
    // The file names a "Rights-Issuer" header with a value.
    bool HasRightsIssuer() const;

  private:
    LSHANDLE handle_ = nullptr;
};

}  // namespace imaging::rights
