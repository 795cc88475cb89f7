// FindWindow's search of other processes: straight to the socket when class and title are both
// given, else a scan of the folder for sockets whose names fit.
#include <dirent.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/error.h"
#include "platform/user/remote.h"
#include "platform/user/remote/remote_client.h"
#include "platform/user/remote/remote_config.h"
#include "platform/user/remote/remote_handles.h"
#include "platform/user/remote/remote_log.h"
#include "platform/user/remote/runtime_folder.h"
#include "platform/user/remote/start_lock.h"

namespace platform {
namespace {

struct Candidate {
    std::string socketPath;
    std::string lockPath;
};

Candidate CandidateFor(const std::string& folder, const EndpointKey& key) {
    return Candidate{folder + "/" + key.SocketName(), folder + "/" + key.LockName()};
}

// Asks the socket whether it is the window wanted; a handle for it when it is.
ExchangeResult Probe(const Candidate& candidate, std::u16string_view className,
                     std::u16string_view title, HWND& found) {
    RemoteRequest request;
    request.kind = RemoteKind::Probe;
    request.className = className;
    request.title = title;
    RemoteReply reply;
    ExchangeResult result =
        ExchangeRequest(candidate.socketPath, request, RemoteShortLimitMs(), reply);
    if (result == ExchangeResult::Stale)
        RemoveStaleSocket(candidate.socketPath, candidate.lockPath);
    if (result != ExchangeResult::Answered)
        return result;
    if (reply.status != RemoteStatus::Ok)
        return ExchangeResult::NoEndpoint;
    found = RemoteHandleTable::Instance().Insert(RemoteEndpoint{
        candidate.socketPath, std::u16string(className), std::u16string(title), reply.token});
    return ExchangeResult::Answered;
}

HWND Finish(ExchangeResult result, HWND found, std::u16string_view className,
            std::u16string_view title) {
    if (result == ExchangeResult::Answered)
        return found;
    if (result == ExchangeResult::TimedOut) {
        RemoteLog("%s did not answer a lookup in time", WindowLabel(className, title).c_str());
        SetLastError(ERROR_TIMEOUT);
    }
    return nullptr;
}

bool IsMiss(ExchangeResult result) {
    return result == ExchangeResult::NoEndpoint || result == ExchangeResult::Stale ||
           result == ExchangeResult::Closed;
}

HWND FindExact(const std::string& folder, std::u16string_view className,
               std::u16string_view title) {
    const Candidate candidate = CandidateFor(folder, EndpointKey::For(className, title));
    HWND found = nullptr;
    ExchangeResult result = Probe(candidate, className, title, found);
    if (!IsMiss(result))
        return Finish(result, found, className, title);
    // Nothing there yet: wait for anyone who is starting under this name, then look again.
    StartLocks& locks = StartLocks::Instance();
    if (locks.TakeOnFirstMiss(candidate.lockPath, RemoteTimeoutMs())) {
        result = Probe(candidate, className, title, found);
        // The other instance is there after all: this process will not publish the name.
        if (!IsMiss(result))
            locks.Release(candidate.lockPath);
    }
    return Finish(result, found, className, title);
}

std::vector<std::string> SocketNamesIn(const std::string& folder, std::u16string_view className,
                                       std::u16string_view title) {
    std::vector<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir)
        return names;
    const uint64_t classHash = NameHash(className);
    const uint64_t titleHash = NameHash(title);
    while (const dirent* entry = ::readdir(dir.get())) {
        EndpointKey key;
        if (!ParseSocketName(entry->d_name, key))
            continue;
        if (!className.empty() && key.classHash != classHash)
            continue;
        if (!title.empty() && key.titleHash != titleHash)
            continue;
        names.emplace_back(entry->d_name);
    }
    // The directory's order is arbitrary; a sorted one makes repeated lookups agree.
    std::sort(names.begin(), names.end());
    return names;
}

HWND FindByScan(const std::string& folder, std::u16string_view className,
                std::u16string_view title) {
    ExchangeResult last = ExchangeResult::NoEndpoint;
    for (const std::string& name : SocketNamesIn(folder, className, title)) {
        EndpointKey key;
        ParseSocketName(name, key);
        HWND found = nullptr;
        const ExchangeResult result = Probe(CandidateFor(folder, key), className, title, found);
        if (result == ExchangeResult::Answered)
            return found;
        if (result == ExchangeResult::TimedOut)
            last = result;
    }
    return Finish(last, nullptr, className, title);
}

}  // namespace

HWND FindRemoteWindow(std::u16string_view className, std::u16string_view title) {
    if (className.size() > kMaxRemoteNameLength || title.size() > kMaxRemoteNameLength)
        return nullptr;  // no published window has such a name
    const std::optional<std::string> folder = RuntimeFolder();
    if (!folder)
        return nullptr;
    if (className.empty() || title.empty())
        return FindByScan(*folder, className, title);
    return FindExact(*folder, className, title);
}

}  // namespace platform
