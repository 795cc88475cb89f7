#include "platform/fs/change_notify_watch.h"

#include <dirent.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/core/no_destructor.h"

#include "platform/core/wstring.h"
#include "platform/fs/change_notify.h"
#include "platform/fs/errors.h"
#include "platform/fs/path_map.h"

namespace platform::fs {

namespace {

constexpr std::uint32_t kFolderEvents = IN_ONLYDIR | IN_CREATE | IN_DELETE | IN_MOVED_FROM |
                                        IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF;
// A move out of the folder shows only its first half; this long without the second half, it is
// taken as a removal.
constexpr int kPairWaitMs = 20;
// Subfolders deeper than this are not watched, so a pathological tree cannot exhaust watches.
constexpr int kMaxDepth = 32;

std::uint32_t MaskFor(DWORD filter) {
    std::uint32_t mask = kFolderEvents;
    if (filter & FILE_NOTIFY_CHANGE_ATTRIBUTES)
        mask |= IN_ATTRIB;
    if (filter & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE))
        mask |= IN_MODIFY | IN_CLOSE_WRITE;
    return mask;
}

// The handheld spelling of a host name, or empty when it has none.
std::u16string DeviceName(const char* hostName) {
    std::u16string name = FromUtf8(hostName);
    if (name.find(u'\\') != std::u16string::npos || name.size() > kMaxPathUnits)
        return {};
    return name;
}

bool StartsWith(const std::u16string& text, const std::u16string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The last close of an inotify descriptor waits for the kernel to retire its watches, often 10 ms
// or more. A folder change closes the old watch on the UI thread, so that wait is handed to one
// background thread that closes descriptors in order.
class BackgroundCloser {
  public:
    void Close(UniqueFd fd) {
        std::lock_guard guard(mutex_);
        if (!started_) {
            try {
                std::thread([this] { Run(); }).detach();
                started_ = true;
            } catch (const std::system_error&) {
                return;  // no thread to be had: `fd` closes here, just more slowly
            }
        }
        pending_.push_back(fd.Release());
        wake_.notify_one();
    }

  private:
    [[noreturn]] void Run() {
        for (;;) {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return !pending_.empty(); });
            const int fd = pending_.front();
            pending_.pop_front();
            lock.unlock();
            ::close(fd);
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<int> pending_;
    bool started_ = false;
};

void CloseInBackground(UniqueFd fd) {
    // Outlives static destruction: the detached thread may still be waiting at exit.
    static NoDestructor<BackgroundCloser> closer;
    closer->Close(std::move(fd));
}

}  // namespace

std::shared_ptr<ChangeWatch> ChangeWatch::Open(const std::string& hostDir, bool subtree,
                                               DWORD filter) {
    UniqueFd inotify(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    UniqueFd stop(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
    if (!inotify || !stop) {
        SetLastErrorFromErrno(errno);
        return nullptr;
    }
    auto watch =
        std::make_shared<ChangeWatch>(std::move(inotify), std::move(stop), subtree, filter);
    if (!watch->AddFolder(hostDir, u"", 0))
        return nullptr;
    try {
        watch->Start();
    } catch (const std::system_error&) {
        // No thread to be had: refuse the handle rather than hand out one that never signals.
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return watch;
}

ChangeWatch::ChangeWatch(UniqueFd inotify, UniqueFd stop, bool subtree, DWORD filter)
    : inotify_(std::move(inotify)), stop_(std::move(stop)), subtree_(subtree), filter_(filter) {}

ChangeWatch::~ChangeWatch() {
    if (thread_.joinable()) {
        const std::uint64_t one = 1;
        // An eventfd write of 1 cannot block or fail short of a bad descriptor.
        [[maybe_unused]] const ssize_t written = ::write(stop_.Get(), &one, sizeof(one));
        thread_.join();
    }
    CloseInBackground(std::move(inotify_));
}

// Adds a watch for `host` (and, for a subtree, its subfolders). Only the watched folder itself
// reports failure; a subfolder that vanished or cannot be read is just not watched.
bool ChangeWatch::AddFolder(const std::string& host, const std::u16string& prefix, int depth) {
    std::uint32_t mask = MaskFor(filter_);
    if (depth > 0)
        mask |= IN_DONT_FOLLOW;
    const int wd = ::inotify_add_watch(inotify_.Get(), host.c_str(), mask);
    if (wd < 0) {
        if (depth == 0)
            SetLastErrorFromErrno(errno, host);
        return false;
    }
    if (depth == 0)
        rootWatch_ = wd;
    folders_[wd] = Folder{host, prefix};
    if (!subtree_ || depth >= kMaxDepth)
        return true;
    DirPtr dir(::opendir(host.c_str()));
    if (!dir)
        return true;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (IsDotOrDotDot(entry->d_name))
            continue;
        const std::u16string name = DeviceName(entry->d_name);
        const std::string child = host + "/" + entry->d_name;
        if (!name.empty() && IsHostDirectory(child))
            AddFolder(child, prefix + name + u"\\", depth + 1);
    }
    return true;
}

void ChangeWatch::Start() {
    thread_ = std::thread([this] { Run(); });
}

void ChangeWatch::Run() {
    pollfd fds[2] = {{inotify_.Get(), POLLIN, 0}, {stop_.Get(), POLLIN, 0}};
    for (;;) {
        const int ready = ::poll(fds, 2, held_ ? kPairWaitMs : -1);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0 || fds[1].revents != 0)
            return;
        std::vector<NotifyRecord> records;
        if (ready == 0)
            FlushHeld(records);
        else if (fds[0].revents & POLLIN)
            Drain(records);
        else
            return;  // the descriptor failed; nothing more will come
        Publish(records);
    }
}

void ChangeWatch::Drain(std::vector<NotifyRecord>& out) {
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(inotify_.Get(), buffer, sizeof(buffer));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return;
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= got;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof(event));
            // The name follows the header, NUL-padded to event.len bytes.
            const char* name = buffer + at + sizeof(inotify_event);
            const std::size_t room = static_cast<std::size_t>(got - at) - sizeof(inotify_event);
            Translate(event,
                      std::string(name, ::strnlen(name, std::min<std::size_t>(event.len, room))),
                      out);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event.len);
        }
        // Publish per read, so a folder that never stops changing still signals and is bounded.
        Publish(out);
        out.clear();
    }
}

bool ChangeWatch::Wants(bool isDirectory) const {
    return filter_ & (isDirectory ? FILE_NOTIFY_CHANGE_DIR_NAME : FILE_NOTIFY_CHANGE_FILE_NAME);
}

void ChangeWatch::Translate(const inotify_event& event, const std::string& hostName,
                            std::vector<NotifyRecord>& out) {
    const std::uint32_t mask = event.mask;
    // A move's second half must follow its first at once; anything else ends the wait for it.
    if (held_ && !((mask & IN_MOVED_TO) && event.cookie == held_->cookie))
        FlushHeld(out);
    if (mask & IN_Q_OVERFLOW) {
        out.push_back({FILE_ACTION_MODIFIED, kFolderItself});
        return;
    }
    const auto folder = folders_.find(event.wd);
    if (folder == folders_.end())
        return;
    if (event.wd == rootWatch_ && (mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED))) {
        FolderGone(out);
        return;
    }
    if (mask & IN_IGNORED) {
        folders_.erase(folder);
        return;
    }
    if (hostName.empty())
        return;  // a subfolder's own events: its parent reports them by name
    const std::u16string leaf = DeviceName(hostName.c_str());
    if (leaf.empty())
        return;
    const std::u16string name = folder->second.prefix + leaf;
    const std::string host = folder->second.host + "/" + hostName;
    const bool isDirectory = (mask & IN_ISDIR) != 0;
    const auto depth = static_cast<int>(std::count(name.begin(), name.end(), u'\\')) + 1;
    if (mask & IN_MOVED_FROM) {
        held_ = HeldMove{event.cookie, name, host, isDirectory};
    } else if ((mask & IN_MOVED_TO) && held_) {
        if (Wants(isDirectory)) {
            out.push_back({FILE_ACTION_RENAMED_OLD_NAME, held_->name});
            out.push_back({FILE_ACTION_RENAMED_NEW_NAME, name});
        }
        if (isDirectory && subtree_)
            RenameFolders(held_->name + u"\\", name + u"\\", host);
        held_.reset();
    } else if (mask & (IN_CREATE | IN_MOVED_TO)) {
        if (Wants(isDirectory))
            out.push_back({FILE_ACTION_ADDED, name});
        if (isDirectory && subtree_)
            AddFolder(host, name + u"\\", depth);
    } else if (mask & IN_DELETE) {
        if (Wants(isDirectory))
            out.push_back({FILE_ACTION_REMOVED, name});
    } else if (mask & (IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB)) {
        out.push_back({FILE_ACTION_MODIFIED, name});
    }
}

// The first half of a move with no second half: the entry left the watched tree.
void ChangeWatch::FlushHeld(std::vector<NotifyRecord>& out) {
    if (!held_)
        return;
    if (Wants(held_->isDirectory))
        out.push_back({FILE_ACTION_REMOVED, held_->name});
    if (held_->isDirectory && subtree_)
        DropFolders(held_->name + u"\\");
    held_.reset();
}

// The watched folder was deleted or moved away: say so once and stop watching, since a moved
// folder would otherwise go on reporting from its new place.
void ChangeWatch::FolderGone(std::vector<NotifyRecord>& out) {
    if (gone_)
        return;
    gone_ = true;
    out.push_back({FILE_ACTION_REMOVED, kFolderItself});
    for (const auto& [wd, folder] : folders_)
        ::inotify_rm_watch(inotify_.Get(), wd);
    folders_.clear();
}

void ChangeWatch::DropFolders(const std::u16string& prefix) {
    for (auto it = folders_.begin(); it != folders_.end();) {
        if (StartsWith(it->second.prefix, prefix)) {
            ::inotify_rm_watch(inotify_.Get(), it->first);
            it = folders_.erase(it);
        } else {
            ++it;
        }
    }
}

void ChangeWatch::RenameFolders(const std::u16string& from, const std::u16string& to,
                                const std::string& host) {
    for (auto& [wd, folder] : folders_) {
        if (!StartsWith(folder.prefix, from))
            continue;
        const std::u16string rest = folder.prefix.substr(from.size());
        folder.prefix = to + rest;
        // The host path below the moved folder keeps its tail; only the moved part changes.
        std::string tail = ToUtf8(rest);
        std::replace(tail.begin(), tail.end(), '\\', '/');
        if (!tail.empty())
            tail.pop_back();
        folder.host = tail.empty() ? host : host + "/" + tail;
    }
}

void ChangeWatch::Publish(std::vector<NotifyRecord>& records) {
    if (records.empty())
        return;
    {
        auto lock = WaitStateLock();
        if (KeepsRecords()) {
            for (NotifyRecord& record : records)
                queue_.Push(std::move(record));
        }
        changed_ = true;
    }
    NotifyWaitStateChanged();
}

bool ChangeWatch::KeepsRecords() const {
    return (filter_ & FILE_NOTIFY_CHANGE_CEGETINFO) != 0;
}

bool ChangeWatch::IsSignaledLocked() const {
    return KeepsRecords() ? !queue_.Empty() : changed_;
}

void ChangeWatch::Rearm() {
    auto lock = WaitStateLock();
    changed_ = false;
}

BOOL ChangeWatch::Read(BYTE* buffer, DWORD length, DWORD& returned, DWORD& available) {
    auto lock = WaitStateLock();
    returned = 0;
    if (buffer && length > 0) {
        bool tooSmall = false;
        returned = queue_.TakeInto(buffer, length, tooSmall);
        if (tooSmall) {
            available = queue_.PendingBytes();
            return Fail(ERROR_INSUFFICIENT_BUFFER);
        }
    }
    available = queue_.PendingBytes();
    return TRUE;
}

}  // namespace platform::fs
