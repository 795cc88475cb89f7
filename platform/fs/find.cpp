#include "platform/fs/find.h"

#include <cerrno>
#include <cstring>
#include <mutex>

#include "platform/core/handle.h"
#include "platform/core/wstring.h"
#include "platform/fs/attribute_store.h"
#include "platform/fs/device.h"
#include "platform/fs/errors.h"
#include "platform/fs/path_map.h"
#include "platform/fs/pattern.h"

namespace platform::fs {

namespace {

bool IsSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

bool IsListableName(const std::u16string& name) {
    return !name.empty() && name.size() <= kMaxPathUnits &&
           name.find(u'\\') == std::u16string::npos;
}

void FillFromStat(const std::u16string& name, const HostStat& st, DWORD attributes,
                  WIN32_FIND_DATAW* out) {
    *out = WIN32_FIND_DATAW{};
    out->dwFileAttributes = attributes;
    out->ftCreationTime = st.creation;
    out->ftLastAccessTime = st.access;
    out->ftLastWriteTime = st.write;
    const std::uint64_t size = st.isDirectory ? 0 : st.size;
    out->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    out->nFileSizeLow = static_cast<DWORD>(size);
    out->dwOID = static_cast<DWORD>(st.inode);
    name.copy(out->cFileName, name.size());
}

// Fills `out` for the host entry `host`, shown under `name`; false when the entry has vanished
// or its name cannot be spelled on the handheld.
bool FillFindData(const std::string& host, const std::u16string& name, PathKind kind,
                  WIN32_FIND_DATAW* out) {
    HostStat st;
    if (!IsListableName(name) || StatHost(host, st) != 0)
        return false;
    FillFromStat(name, st, AttributesOf(host, HostLeaf(host), st, kind), out);
    return true;
}

// The same for the entry `hostName` of the folder being listed, looked up relative to it.
bool FillFindDataAt(int dirFd, const std::string& hostDir, const char* hostName,
                    const std::u16string& name, WIN32_FIND_DATAW* out) {
    HostStat st;
    if (!IsListableName(name) || StatHostAt(dirFd, hostName, st) != 0)
        return false;
    FillFromStat(name, st, AttributesOfEntryAt(dirFd, hostName, hostDir, st), out);
    return true;
}

// One enumeration. Entries are read lazily so that a big folder costs nothing up front and a
// change made during the walk is simply seen or not, never a crash. The card's mount folder is
// listed after the root's own entries, and a host folder of the same name is hidden under it.
class FindSearch final : public KernelObject {
  public:
    FindSearch(DirPtr dir, std::string hostDir, std::u16string pattern, std::string card)
        : dir_(std::move(dir)),
          hostDir_(std::move(hostDir)),
          pattern_(std::move(pattern)),
          card_(std::move(card)),
          cardPending_(!card_.empty()) {}
    // An exhausted search, for a lookup that found its one entry.
    FindSearch() = default;

    bool Next(WIN32_FIND_DATAW* data) {
        std::lock_guard guard(mutex_);
        if (dir_ && NextHostEntry(data))
            return true;
        dir_.reset();
        if (cardPending_ && NextCard(data))
            return true;
        SetLastError(ERROR_NO_MORE_FILES);
        return false;
    }

  private:
    bool NextHostEntry(WIN32_FIND_DATAW* data) {
        while (const dirent* entry = ::readdir(dir_.get())) {
            if (IsDotOrDotDot(entry->d_name))
                continue;
            const std::u16string name = FromUtf8(entry->d_name);
            if (cardPending_ && EqualsNoCase(name, kStorageCardName))
                continue;
            if (!MatchesPattern(name, pattern_))
                continue;
            if (FillFindDataAt(::dirfd(dir_.get()), hostDir_, entry->d_name, name, data))
                return true;
        }
        return false;
    }

    bool NextCard(WIN32_FIND_DATAW* data) {
        cardPending_ = false;
        const std::u16string name(kStorageCardName);
        return MatchesPattern(name, pattern_) &&
               FillFindData(card_, name, PathKind::CardMount, data);
    }

    std::mutex mutex_;
    DirPtr dir_;
    std::string hostDir_;
    std::u16string pattern_;
    std::string card_;  // set only when listing the root with a card configured
    bool cardPending_ = false;
};

HANDLE Register(std::shared_ptr<FindSearch> search) {
    return RegisterHandle(std::move(search));
}

// A name without wildcards is looked up directly instead of reading the whole folder.
HANDLE FindExact(std::u16string_view path, WIN32_FIND_DATAW* data) {
    const auto mapped = MapDevicePath(path);
    if (!mapped)
        return INVALID_HANDLE_VALUE;
    const std::u16string name = mapped->kind == PathKind::CardMount
                                    ? std::u16string(kStorageCardName)
                                    : FromUtf8(HostLeaf(mapped->host));
    if (FillFindData(mapped->host, name, mapped->kind, data)) {
        return Register(std::make_shared<FindSearch>());
    }
    HostStat folder;
    const bool folderExists =
        mapped->kind == PathKind::CardMount ||
        (StatHost(HostParent(mapped->host), folder) == 0 && folder.isDirectory);
    SetLastError(folderExists ? ERROR_NO_MORE_FILES : ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
}

HANDLE FindInFolder(std::u16string_view folder, std::u16string_view pattern,
                    WIN32_FIND_DATAW* data) {
    const auto mapped = MapDevicePath(folder);
    if (!mapped)
        return INVALID_HANDLE_VALUE;
    DirPtr dir(::opendir(mapped->host.c_str()));
    if (!dir) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR) {
            SetLastError(ERROR_PATH_NOT_FOUND);
        } else {
            SetLastErrorFromErrno(error, mapped->host);
        }
        return INVALID_HANDLE_VALUE;
    }
    std::string card = mapped->kind == PathKind::Root ? ConfiguredCardHostPath() : std::string();
    auto search = std::make_shared<FindSearch>(std::move(dir), mapped->host,
                                               std::u16string(pattern), std::move(card));
    if (!search->Next(data))
        return INVALID_HANDLE_VALUE;
    return Register(std::move(search));
}

}  // namespace

}  // namespace platform::fs

HANDLE FindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW data) {
    if (!pattern || !data) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::u16string_view full(pattern);
    size_t split = full.size();
    while (split > 0 && !platform::fs::IsSeparator(full[split - 1]))
        --split;
    const std::u16string_view folder = full.substr(0, split);
    const std::u16string_view name = full.substr(split);
    if (name.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (platform::fs::HasWildcards(folder)) {
        SetLastError(ERROR_INVALID_NAME);
        return INVALID_HANDLE_VALUE;
    }
    if (!platform::fs::HasWildcards(name))
        return platform::fs::FindExact(full, data);
    return platform::fs::FindInFolder(folder, name, data);
}

BOOL FindNextFileW(HANDLE find, LPWIN32_FIND_DATAW data) {
    auto search = platform::LookupHandleAs<platform::fs::FindSearch>(find);
    if (!search)
        return FALSE;
    if (!data) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return search->Next(data) ? TRUE : FALSE;
}

BOOL FindClose(HANDLE find) {
    if (!platform::LookupHandleAs<platform::fs::FindSearch>(find))
        return FALSE;
    return CloseHandle(find);
}
