// The pending records of one change-notification handle, in the caller's packed layout.
#pragma once

#include <cstddef>
#include <deque>
#include <string>

#include "platform/core/types.h"

namespace platform::fs {

struct NotifyRecord {
    DWORD action = 0;
    std::u16string name;
};

// Size of `record` in the caller's buffer, padded so that the next one starts DWORD-aligned.
DWORD PackedSize(const NotifyRecord& record);

// The name of the record that stands for the folder itself (removed, or changed beyond what the
// records say).
inline constexpr char16_t kFolderItself[] = u"\\";

class RecordQueue {
  public:
    // Past `maxRecords` pending records the queue stops itemising and ends with one
    // "folder changed" record instead, so a reader that never reads cannot exhaust memory.
    explicit RecordQueue(std::size_t maxRecords = 65536) : maxRecords_(maxRecords) {}

    // Appends `record`; a MODIFIED equal to the last pending record is dropped as a repeat.
    void Push(NotifyRecord record);
    bool Empty() const { return records_.empty(); }
    std::size_t Count() const { return records_.size(); }
    DWORD PendingBytes() const { return bytes_; }

    // Moves as many whole records as fit into `buffer` and answers the bytes written; sets
    // `tooSmall` (and moves nothing) when the first record alone does not fit.
    DWORD TakeInto(BYTE* buffer, DWORD length, bool& tooSmall);

  private:
    void Append(NotifyRecord record);

    std::size_t maxRecords_;
    std::deque<NotifyRecord> records_;
    DWORD bytes_ = 0;
};

}  // namespace platform::fs
