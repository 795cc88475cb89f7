#include "platform/gdi/gdi_object.h"

#include <mutex>
#include <unordered_map>

#include "platform/core/no_destructor.h"

#include "platform/gdi/gdi_types.h"

namespace platform {
namespace {

// Handles stay within 32 bits because the program was written for a 32-bit device and may keep
// them in 32-bit fields. Values below kFirstDynamic belong to stock objects, and the window
// around SYS_COLOR_INDEX_FLAG is skipped so no handle reads as "(HBRUSH)(COLOR_x + 1)".
constexpr std::uintptr_t kFirstDynamic = 0x10000;
constexpr std::uintptr_t kLastDynamic = 0xFFFFFFF0;
constexpr std::uintptr_t kHandleStep = 8;
constexpr std::uintptr_t kSysColorWindowStart = SYS_COLOR_INDEX_FLAG;
constexpr std::uintptr_t kSysColorWindowEnd = SYS_COLOR_INDEX_FLAG + 0x1000;

struct Entry {
    std::shared_ptr<GdiObject> object;
    bool permanent = false;
};

class HandleTable {
  public:
    HGDIOBJ Add(std::shared_ptr<GdiObject> object, bool permanent) {
        std::lock_guard lock(mutex_);
        const std::uintptr_t key = NextFreeKey();
        entries_[key] = Entry{std::move(object), permanent};
        return reinterpret_cast<HGDIOBJ>(key);
    }

    void AddFixed(HGDIOBJ handle, std::shared_ptr<GdiObject> object) {
        std::lock_guard lock(mutex_);
        entries_[Key(handle)] = Entry{std::move(object), true};
    }

    std::shared_ptr<GdiObject> Find(HGDIOBJ handle) {
        std::lock_guard lock(mutex_);
        const auto it = entries_.find(Key(handle));
        return it == entries_.end() ? nullptr : it->second.object;
    }

    bool IsPermanent(HGDIOBJ handle) {
        std::lock_guard lock(mutex_);
        const auto it = entries_.find(Key(handle));
        return it != entries_.end() && it->second.permanent;
    }

    UnregisterResult Remove(HGDIOBJ handle, GdiKind mustBe) {
        std::shared_ptr<GdiObject> removed;  // released after the lock: destructors may re-enter
        std::lock_guard lock(mutex_);
        const auto it = entries_.find(Key(handle));
        if (it == entries_.end())
            return UnregisterResult::NotFound;
        if (it->second.object->Kind() != mustBe)
            return UnregisterResult::NotFound;
        if (it->second.permanent)
            return UnregisterResult::Permanent;
        if (it->second.object->Selections() > 0)
            return UnregisterResult::Selected;
        removed = std::move(it->second.object);
        entries_.erase(it);
        return UnregisterResult::Removed;
    }

  private:
    static std::uintptr_t Key(HGDIOBJ handle) { return reinterpret_cast<std::uintptr_t>(handle); }

    // Walks forward from the last value given out, so a freed handle is not reused until the
    // whole 32-bit range has gone round.
    std::uintptr_t NextFreeKey() {
        for (;;) {
            next_ += kHandleStep;
            if (next_ > kLastDynamic)
                next_ = kFirstDynamic;
            if (next_ >= kSysColorWindowStart && next_ < kSysColorWindowEnd)
                continue;
            if (!entries_.contains(next_))
                return next_;
        }
    }

    std::mutex mutex_;
    std::unordered_map<std::uintptr_t, Entry> entries_;
    std::uintptr_t next_ = kFirstDynamic - kHandleStep;
};

// Never destroyed: DCs and bitmaps still held at exit must not outlive the table they are in.
HandleTable& Table() {
    static NoDestructor<HandleTable> table;
    return *table;
}

}  // namespace

HGDIOBJ RegisterGdiObject(std::shared_ptr<GdiObject> object, GdiLifetime lifetime) {
    return Table().Add(std::move(object), lifetime == GdiLifetime::Permanent);
}

void RegisterPermanentGdiObject(HGDIOBJ handle, std::shared_ptr<GdiObject> object) {
    Table().AddFixed(handle, std::move(object));
}

std::shared_ptr<GdiObject> LookupGdiObject(HGDIOBJ handle) {
    if (!handle)
        return nullptr;
    return Table().Find(handle);
}

UnregisterResult UnregisterGdiObject(HGDIOBJ handle, GdiKind mustBe) {
    return Table().Remove(handle, mustBe);
}

bool IsPermanentGdiObject(HGDIOBJ handle) {
    return Table().IsPermanent(handle);
}

bool IsSysColorBrushValue(HGDIOBJ value, int& index) {
    constexpr auto kFlag = static_cast<std::uintptr_t>(SYS_COLOR_INDEX_FLAG);
    const auto v = reinterpret_cast<std::uintptr_t>(value);
    const std::uintptr_t plain = (v & kFlag) ? v - kFlag : v;
    if (plain < 1 || plain > static_cast<std::uintptr_t>(kSysColorCount))
        return false;
    index = static_cast<int>(plain - 1);
    return true;
}

}  // namespace platform
