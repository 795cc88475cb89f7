#include "platform/fs/change_notify_queue.h"

#include <cstddef>
#include <cstring>

#include "platform/fs/change_notify.h"

namespace platform::fs {

namespace {

constexpr DWORD kHeaderSize = offsetof(FILE_NOTIFY_INFORMATION, FileName);

bool IsFolderChanged(const NotifyRecord& record) {
    return record.action == FILE_ACTION_MODIFIED && record.name == kFolderItself;
}

}  // namespace

DWORD PackedSize(const NotifyRecord& record) {
    const DWORD raw = kHeaderSize + static_cast<DWORD>(record.name.size() * sizeof(WCHAR));
    return (raw + 3) & ~DWORD{3};
}

void RecordQueue::Push(NotifyRecord record) {
    if (record.action == FILE_ACTION_MODIFIED && !records_.empty() &&
        records_.back().action == FILE_ACTION_MODIFIED && records_.back().name == record.name) {
        return;
    }
    if (records_.size() >= maxRecords_) {
        // Full: whatever is dropped from here on is covered by one "folder changed" at the end.
        if (!IsFolderChanged(records_.back()))
            Append({FILE_ACTION_MODIFIED, kFolderItself});
        return;
    }
    Append(std::move(record));
}

void RecordQueue::Append(NotifyRecord record) {
    bytes_ += PackedSize(record);
    records_.push_back(std::move(record));
}

DWORD RecordQueue::TakeInto(BYTE* buffer, DWORD length, bool& tooSmall) {
    tooSmall = !records_.empty() && PackedSize(records_.front()) > length;
    DWORD used = 0;
    // The caller's buffer may be unaligned, so fields are written with memcpy.
    BYTE* previous = nullptr;
    while (!records_.empty() && PackedSize(records_.front()) <= length - used) {
        const NotifyRecord& record = records_.front();
        const DWORD size = PackedSize(record);
        BYTE* at = buffer + used;
        std::memset(at, 0, size);
        const DWORD nameBytes = static_cast<DWORD>(record.name.size() * sizeof(WCHAR));
        const DWORD header[3] = {0, record.action, nameBytes};
        std::memcpy(at, header, sizeof(header));
        std::memcpy(at + kHeaderSize, record.name.data(), nameBytes);
        if (previous) {
            const DWORD offset = static_cast<DWORD>(at - previous);
            std::memcpy(previous, &offset, sizeof(offset));
        }
        previous = at;
        used += size;
        bytes_ -= size;
        records_.pop_front();
    }
    return used;
}

}  // namespace platform::fs
