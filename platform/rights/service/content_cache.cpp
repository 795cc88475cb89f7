#include "platform/rights/service/content_cache.h"

#include <sys/stat.h>

#include <ctime>

#include <list>
#include <mutex>

namespace platform::rights {
namespace {

constexpr std::size_t kCachedFiles = 16;
// A file modified this recently may change again within its time stamp's granularity without
// the stamp changing, so it is not remembered yet.
constexpr std::int64_t kSettledSeconds = 2;

struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t seconds = 0;
    std::int64_t nanoseconds = 0;
    ino_t inode = 0;
    bool operator==(const FileStamp&) const = default;
};

struct Entry {
    std::string hostPath;
    FileStamp stamp;
    ReadResult result;
};

std::optional<FileStamp> StampOf(const std::string& hostPath) {
    struct stat info {};
    if (::stat(hostPath.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return FileStamp{static_cast<std::uint64_t>(info.st_size), info.st_mtim.tv_sec,
                     info.st_mtim.tv_nsec, info.st_ino};
}

bool Settled(const FileStamp& stamp) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec - stamp.seconds > kSettledSeconds;
}

std::mutex cacheMutex;
std::list<Entry> cache;  // most recently used first

}  // namespace

ReadResult ReadProtectedFileCached(const std::string& hostPath) {
    const auto before = StampOf(hostPath);
    if (!before)
        return ReadProtectedFile(hostPath);
    {
        std::lock_guard lock(cacheMutex);
        for (auto entry = cache.begin(); entry != cache.end(); ++entry) {
            if (entry->hostPath == hostPath && entry->stamp == *before) {
                cache.splice(cache.begin(), cache, entry);
                return entry->result;
            }
        }
    }
    ReadResult result = ReadProtectedFile(hostPath);
    // A file that changed while it was read is answered as read but not remembered.
    if (result.check == FileCheck::Unreadable || !Settled(*before) || StampOf(hostPath) != before)
        return result;
    std::lock_guard lock(cacheMutex);
    std::erase_if(cache, [&hostPath](const Entry& entry) { return entry.hostPath == hostPath; });
    cache.push_front(Entry{hostPath, *before, result});
    if (cache.size() > kCachedFiles)
        cache.pop_back();
    return result;
}

}  // namespace platform::rights
