// The memory budget every pixel allocation is checked against.
#include <atomic>

#include "platform/imaging/imaging.h"

namespace platform {
namespace {

constexpr std::size_t kDefaultBudget = std::size_t{256} << 20;
std::atomic<std::size_t> g_budget{kDefaultBudget};

}  // namespace

void SetImagingMemoryBudget(std::size_t bytes) {
    g_budget.store(bytes, std::memory_order_relaxed);
}

std::size_t ImagingMemoryBudget() {
    return g_budget.load(std::memory_order_relaxed);
}

}  // namespace platform
