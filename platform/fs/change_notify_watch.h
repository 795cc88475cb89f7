// One change-notification handle: an inotify descriptor read by its own thread, which turns the
// host's events into the handheld's records and signals the handle, so a wait wakes promptly.
#pragma once

#include <sys/inotify.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/waitable.h"
#include "platform/fs/change_notify_queue.h"
#include "platform/fs/host_fs.h"

namespace platform::fs {

class ChangeWatch final : public Waitable {
  public:
    // Watches the host folder `hostDir`; null with the last error set when it cannot be watched.
    static std::shared_ptr<ChangeWatch> Open(const std::string& hostDir, bool subtree,
                                             DWORD filter);
    ChangeWatch(UniqueFd inotify, UniqueFd stop, bool subtree, DWORD filter);
    ~ChangeWatch() override;
    ChangeWatch(const ChangeWatch&) = delete;
    ChangeWatch& operator=(const ChangeWatch&) = delete;

    bool IsSignaledLocked() const override;
    bool KeepsRecords() const;
    // Clears the signal of a handle without records.
    void Rearm();
    // CeGetFileNotificationInfo on this handle, the counts already checked for null.
    BOOL Read(BYTE* buffer, DWORD length, DWORD& returned, DWORD& available);

  private:
    struct Folder {
        std::string host;
        std::u16string prefix;  // "" for the watched folder, "sub\" below it
    };
    struct HeldMove {
        std::uint32_t cookie;
        std::u16string name;
        std::string host;
        bool isDirectory;
    };

    bool AddFolder(const std::string& host, const std::u16string& prefix, int depth);
    void Start();
    void Run();
    void Drain(std::vector<NotifyRecord>& out);
    void Translate(const inotify_event& event, const std::string& hostName,
                   std::vector<NotifyRecord>& out);
    void FlushHeld(std::vector<NotifyRecord>& out);
    void FolderGone(std::vector<NotifyRecord>& out);
    void DropFolders(const std::u16string& prefix);
    void RenameFolders(const std::u16string& from, const std::u16string& to,
                       const std::string& host);
    bool Wants(bool isDirectory) const;
    void Publish(std::vector<NotifyRecord>& records);

    UniqueFd inotify_;
    UniqueFd stop_;
    const bool subtree_;
    const DWORD filter_;
    // Owned by the reader thread once it runs.
    std::map<int, Folder> folders_;
    int rootWatch_ = -1;
    bool gone_ = false;
    std::optional<HeldMove> held_;
    // Guarded by WaitStateLock().
    RecordQueue queue_;
    bool changed_ = false;
    // Last, so that it stops before anything it uses goes away.
    std::thread thread_;
};

}  // namespace platform::fs
