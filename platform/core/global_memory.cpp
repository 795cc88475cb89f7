#include "platform/core/global_memory.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <unordered_map>

#include "platform/core/error.h"
#include "platform/core/no_destructor.h"

namespace {

struct Block {
    std::unique_ptr<std::byte[]> bytes;
    SIZE_T size = 0;
    int locks = 0;
};

// Handles are numbers from a counter, never addresses, so a freed handle is not found again.
struct BlockTable {
    std::mutex mutex;
    std::unordered_map<std::uintptr_t, Block> blocks;
    std::uintptr_t next = 0x10000;
};

BlockTable& Table() {
    static platform::NoDestructor<BlockTable> table;
    return *table;
}

std::uintptr_t Key(HGLOBAL handle) {
    return reinterpret_cast<std::uintptr_t>(handle);
}

// The block of `handle` (the table's lock held by the caller), or null with ERROR_INVALID_HANDLE.
Block* Find(BlockTable& table, HGLOBAL handle) {
    auto it = table.blocks.find(Key(handle));
    if (it == table.blocks.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return &it->second;
}

std::unique_ptr<std::byte[]> Allocate(SIZE_T bytes, bool zero) {
    std::unique_ptr<std::byte[]> storage(new (std::nothrow) std::byte[bytes == 0 ? 1 : bytes]);
    if (storage && zero)
        std::memset(storage.get(), 0, bytes);
    return storage;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    auto storage = Allocate(bytes, (flags & GMEM_ZEROINIT) != 0);
    if (!storage) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    BlockTable& table = Table();
    std::lock_guard lock(table.mutex);
    const std::uintptr_t key = table.next++;
    table.blocks.emplace(key, Block{std::move(storage), bytes, 0});
    return reinterpret_cast<HGLOBAL>(key);
}

HGLOBAL GlobalReAlloc(HGLOBAL handle, SIZE_T bytes, UINT flags) {
    BlockTable& table = Table();
    std::lock_guard lock(table.mutex);
    Block* found = Find(table, handle);
    if (!found)
        return nullptr;
    Block& block = *found;
    if (block.locks > 0) {
        // A locked block's address was handed out: it may shrink in place but never move.
        if (bytes > block.size) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        block.size = bytes;
        return handle;
    }
    auto storage = Allocate(bytes, (flags & GMEM_ZEROINIT) != 0);
    if (!storage) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    std::memcpy(storage.get(), block.bytes.get(), std::min(bytes, block.size));
    block.bytes = std::move(storage);
    block.size = bytes;
    return handle;
}

LPVOID GlobalLock(HGLOBAL handle) {
    BlockTable& table = Table();
    std::lock_guard lock(table.mutex);
    Block* block = Find(table, handle);
    if (!block)
        return nullptr;
    ++block->locks;
    return block->bytes.get();
}

BOOL GlobalUnlock(HGLOBAL handle) {
    BlockTable& table = Table();
    std::lock_guard lock(table.mutex);
    Block* block = Find(table, handle);
    if (!block)
        return FALSE;
    if (block->locks > 0)
        --block->locks;
    if (block->locks == 0) {
        SetLastError(NO_ERROR);
        return FALSE;
    }
    return TRUE;
}

SIZE_T GlobalSize(HGLOBAL handle) {
    BlockTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.blocks.find(Key(handle));
    return it == table.blocks.end() ? 0 : it->second.size;
}

HGLOBAL GlobalFree(HGLOBAL handle) {
    BlockTable& table = Table();
    std::lock_guard lock(table.mutex);
    if (table.blocks.erase(Key(handle)) == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return handle;
    }
    return nullptr;
}
