// The sending side of a cross-process request: one connection, one frame, one answer.
#pragma once

#include <string>

#include "platform/core/types.h"
#include "platform/user/remote/remote_protocol.h"

namespace platform {

enum class ExchangeResult {
    Answered,    // `reply` holds the peer's answer
    NoEndpoint,  // nothing is published at that path
    Stale,       // a socket file whose process is gone
    TimedOut,    // no answer within the time limit
    Closed,      // the peer hung up without answering
    Failed,      // any other error (a debug-output line says which)
};

ExchangeResult ExchangeRequest(const std::string& socketPath, const RemoteRequest& request,
                               DWORD timeoutMs, RemoteReply& reply);

// Unlinks a socket file whose process died, but only while no one is starting or publishing under
// that name: the caller holds the start lock, or this takes it without waiting.
void RemoveStaleSocket(const std::string& socketPath, const std::string& lockPath);

}  // namespace platform
