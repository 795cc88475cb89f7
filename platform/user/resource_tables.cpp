#include "platform/user/resource_tables.h"

#include <algorithm>
#include <mutex>

namespace platform {
namespace {

std::mutex& CatalogueMutex() {
    static std::mutex mutex;
    return mutex;
}

ResourceCatalogue& Catalogue() {
    static ResourceCatalogue catalogue;
    return catalogue;
}

// The tables are sorted by id, so one binary search finds an entry.
template <typename Entry>
const Entry* FindById(std::span<const Entry> ResourceCatalogue::*table, UINT id) {
    std::lock_guard lock(CatalogueMutex());
    const std::span<const Entry> entries = Catalogue().*table;
    const auto it = std::lower_bound(entries.begin(), entries.end(), id,
                                     [](const Entry& e, UINT wanted) { return e.id < wanted; });
    return it != entries.end() && it->id == id ? &*it : nullptr;
}

}  // namespace

void SetResourceCatalogue(const ResourceCatalogue& catalogue) {
    std::lock_guard lock(CatalogueMutex());
    Catalogue() = catalogue;
}

const MenuResource* FindMenuResource(UINT id) {
    return FindById(&ResourceCatalogue::menus, id);
}

const SoftKeyBarResource* FindSoftKeyBarResource(UINT id) {
    return FindById(&ResourceCatalogue::softKeyBars, id);
}

const DialogResource* FindDialogResource(UINT id) {
    return FindById(&ResourceCatalogue::dialogs, id);
}

const BitmapResource* FindBitmapResource(UINT id) {
    return FindById(&ResourceCatalogue::bitmaps, id);
}

}  // namespace platform
