#include "imaging/control/reserved_buffer.h"

#include "platform/core/virtual_memory.h"

ReservedBuffer::~ReservedBuffer() {
    if (!base_)
        return;
    for (std::size_t page = 0; page < committed_; ++page)
        VirtualFree(base_ + page * pageSize_, pageSize_, MEM_DECOMMIT);
    VirtualFree(base_, 0, MEM_RELEASE);
}

bool ReservedBuffer::Reserve(std::size_t bytes) {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    pageSize_ = info.dwPageSize;
    pages_ = (bytes + pageSize_ - 1) / pageSize_;
    if (pages_ == 0)
        return false;
    base_ =
        static_cast<BYTE*>(VirtualAlloc(nullptr, pages_ * pageSize_, MEM_RESERVE, PAGE_NOACCESS));
    return base_ != nullptr;
}

bool ReservedBuffer::Commit() {
    for (; committed_ < pages_; ++committed_) {
        if (!VirtualAlloc(base_ + committed_ * pageSize_, pageSize_, MEM_COMMIT, PAGE_READWRITE))
            return false;
    }
    return true;
}
