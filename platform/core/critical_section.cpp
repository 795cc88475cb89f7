#include <memory>
#include <mutex>

#include "platform/core/sync.h"

namespace {

std::recursive_mutex& MutexOf(LPCRITICAL_SECTION section) {
    return *std::launder(reinterpret_cast<std::recursive_mutex*>(section->storage));
}

}  // namespace

void InitializeCriticalSection(LPCRITICAL_SECTION section) {
    std::construct_at(reinterpret_cast<std::recursive_mutex*>(section->storage));
}

void DeleteCriticalSection(LPCRITICAL_SECTION section) {
    std::destroy_at(&MutexOf(section));
}

void EnterCriticalSection(LPCRITICAL_SECTION section) {
    MutexOf(section).lock();
}

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section) {
    return MutexOf(section).try_lock() ? TRUE : FALSE;
}

void LeaveCriticalSection(LPCRITICAL_SECTION section) {
    MutexOf(section).unlock();
}
