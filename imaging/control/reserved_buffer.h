// Memory for a large copy kept outside the process heap: an address-space reservation whose
// pages are committed one by one and all given back when the object dies.
#pragma once

#include <cstddef>

#include "platform/core/types.h"

class ReservedBuffer {
  public:
    ReservedBuffer() = default;
    ~ReservedBuffer();
    ReservedBuffer(const ReservedBuffer&) = delete;
    ReservedBuffer& operator=(const ReservedBuffer&) = delete;

    // Reserves room for `bytes` (whole pages, none accessible).
    bool Reserve(std::size_t bytes);
    // Commits every reserved page for reading and writing, page by page.
    bool Commit();

    BYTE* Data() const { return base_; }

  private:
    BYTE* base_ = nullptr;
    std::size_t pageSize_ = 0;
    std::size_t pages_ = 0;
    std::size_t committed_ = 0;
};
