#include "app/menus/folder_change_records.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/fs/change_notify.h"

namespace {

constexpr uint64_t kHeaderSize = offsetof(FILE_NOTIFY_INFORMATION, FileName);

DWORD ReadDword(const BYTE* at) {
    DWORD value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

}  // namespace

std::vector<FolderChange> ReadFolderChanges(const BYTE* records, DWORD size) {
    std::vector<FolderChange> changes;
    if (!records)
        return changes;
    uint64_t offset = 0;
    while (offset + kHeaderSize <= size) {
        const BYTE* record = records + offset;
        const DWORD next = ReadDword(record + offsetof(FILE_NOTIFY_INFORMATION, NextEntryOffset));
        const DWORD action = ReadDword(record + offsetof(FILE_NOTIFY_INFORMATION, Action));
        const DWORD nameBytes =
            ReadDword(record + offsetof(FILE_NOTIFY_INFORMATION, FileNameLength));
        if (nameBytes % sizeof(WCHAR) != 0 || offset + kHeaderSize + nameBytes > size)
            break;
        FolderChange change;
        change.action = action;
        change.name.resize(nameBytes / sizeof(WCHAR));
        std::memcpy(change.name.data(), record + kHeaderSize, nameBytes);
        changes.push_back(std::move(change));
        // A next offset that does not pass the header would revisit the same bytes forever.
        if (next == 0 || next < kHeaderSize)
            break;
        offset += next;
    }
    return changes;
}
