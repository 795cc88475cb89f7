// Whole-or-nothing copies: everything is written under a temporary name in the target's folder
// and renamed into place at the end, so a failure never leaves a partial or missing target.
#pragma once

#include <string>

#include "platform/fs/host_fs.h"

namespace platform::fs {

// A temporary entry that is removed again unless committed.
class TempEntry {
  public:
    TempEntry() = default;
    ~TempEntry();
    TempEntry(const TempEntry&) = delete;
    TempEntry& operator=(const TempEntry&) = delete;

    // Creates a temporary file or folder next to `target`; 0 or an errno value.
    int CreateFile(const std::string& target, UniqueFd& fd);
    int CreateFolder(const std::string& target);
    const std::string& Path() const { return path_; }
    // Renames the entry to `target`, replacing an existing file only when `replace` is set.
    int Commit(const std::string& target, bool replace);

  private:
    std::string path_;
};

// Copies the open file `source` (described by `st`) over or to `target`; 0 or an errno value.
int CopyFileAtomically(int source, const HostStat& st, const std::string& target, bool replace);

// Copies the entry `source` (a folder with everything in it, a file or a link) to `target`,
// which must not exist; 0 or an errno value.
int CopyTreeAtomically(const std::string& source, const std::string& target);

}  // namespace platform::fs
