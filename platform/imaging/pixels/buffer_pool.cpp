#include "platform/imaging/pixels/buffer_pool.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace platform::imaging {
namespace {

// Set once the pool is destroyed at exit, so a buffer outliving it frees its memory directly.
std::atomic<bool> g_poolGone{false};

class Pool {
  public:
    ~Pool() {
        Trim();
        g_poolGone.store(true);
    }

    // The smallest kept block that fits and is at most twice the request; removed from the pool.
    PooledBlock Take(std::size_t bytes) {
        std::lock_guard lock(mutex_);
        auto best = blocks_.end();
        for (auto it = blocks_.begin(); it != blocks_.end(); ++it) {
            if (it->capacity >= bytes && it->capacity / 2 <= bytes &&
                (best == blocks_.end() || it->capacity < best->capacity))
                best = it;
        }
        if (best == blocks_.end())
            return {};
        PooledBlock found = *best;
        total_ -= found.capacity;
        blocks_.erase(best);
        return found;
    }

    // Keeps the block, dropping the oldest ones while over the count or byte bound.
    void Put(PooledBlock block) {
        std::vector<PooledBlock> evicted;
        {
            std::lock_guard lock(mutex_);
            blocks_.push_back(block);
            total_ += block.capacity;
            while (blocks_.size() > kPoolMaximumBuffers || total_ > kPoolMaximumTotal) {
                evicted.push_back(blocks_.front());
                total_ -= blocks_.front().capacity;
                blocks_.erase(blocks_.begin());
            }
        }
        for (const PooledBlock& old : evicted)
            std::free(old.data);
    }

    std::size_t Total() {
        std::lock_guard lock(mutex_);
        return total_;
    }

    void Trim() {
        std::vector<PooledBlock> evicted;
        {
            std::lock_guard lock(mutex_);
            evicted.swap(blocks_);
            total_ = 0;
        }
        for (const PooledBlock& old : evicted)
            std::free(old.data);
    }

  private:
    std::mutex mutex_;
    std::vector<PooledBlock> blocks_;  // oldest first
    std::size_t total_ = 0;
};

Pool& ThePool() {
    static Pool pool;
    return pool;
}

}  // namespace

PooledBlock AcquirePixelMemory(std::size_t bytes, bool zero) {
    if (bytes == 0)
        bytes = 1;
    if (bytes >= kPoolMinimumBytes) {
        PooledBlock reused = ThePool().Take(bytes);
        if (reused.data != nullptr) {
            if (zero)
                std::memset(reused.data, 0, bytes);
            return reused;
        }
    }
    // calloc lets the kernel hand over zero pages lazily.
    void* fresh = zero ? std::calloc(bytes, 1) : std::malloc(bytes);
    if (fresh == nullptr)
        return {};
    return {static_cast<std::uint8_t*>(fresh), bytes};
}

void ReleasePixelMemory(PooledBlock block) {
    if (block.data == nullptr)
        return;
    if (block.capacity >= kPoolMinimumBytes && block.capacity <= kPoolMaximumTotal &&
        !g_poolGone.load()) {
        ThePool().Put(block);
        return;
    }
    std::free(block.data);
}

std::size_t PooledPixelBytes() {
    return ThePool().Total();
}

void TrimPixelPool() {
    ThePool().Trim();
}

}  // namespace platform::imaging
