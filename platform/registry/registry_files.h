// The registry file's place on the host and the file operations around it.
#pragma once

#include <string>

namespace platform::registry {

bool Exists(const std::string& path);

// $XDG_CONFIG_HOME/pictarium/registry.db, XDG_CONFIG_HOME defaulting to ~/.config; empty when
// the user has no home folder.
std::string DefaultRegistryPath();

// Creates the folder that will hold `path`; false when it cannot exist.
bool CreateRegistryFolder(const std::string& path);

// Serialises opening and replacing the file between processes, so that two of them finding it
// damaged at once do not both move it aside (the second would move the first one's fresh file).
// Held only while the file is opened and checked. If the lock cannot be had within a few
// seconds the work goes ahead without it rather than hang on a stuck process.
class FolderLock {
  public:
    explicit FolderLock(const std::string& path);
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();

  private:
    int fd_ = -1;
};

// True when `path` exists but cannot be read or does not start like an SQLite database, with
// `reason` saying which. Checked before SQLite opens the file, because SQLite would already
// rewrite a -wal companion that does not match it.
bool IsForeignFile(const std::string& path, std::string& reason);

// Renames `path` to `path`.corrupt-YYYYMMDD-HHMMSS (a free variant of that name), then its -wal
// and -shm companions to match. On success `aside` names the new place; on failure `error` says
// why.
bool MoveAside(const std::string& path, std::string& aside, std::string& error);

}  // namespace platform::registry
