// Serving one accepted connection: read and check the request, deliver it, answer.
#pragma once

#include "platform/user/remote/publisher.h"
#include "platform/user/remote/remote_protocol.h"
#include "platform/user/remote/unique_fd.h"

namespace platform {

// Runs on the connection's own thread. A request that is not exactly well-formed is dropped with
// a debug-output line before anything reaches a window procedure.
void ServeConnection(UniqueFd connection, const Publication& publication, Publisher& publisher);

// Whether `request` names the published window: an empty class or title matches any, and every
// request but a probe must carry the publication's token.
bool RequestMatches(const RemoteRequest& request, const Publication& publication);

}  // namespace platform
