// The one handle table of the drawing layer: brushes, pens, bitmaps, fonts and device contexts.
// A handle is a number looked up in the table, so a stale or forged handle finds
// nothing and fails cleanly instead of being dereferenced.
#pragma once

#include <atomic>
#include <memory>

#include "platform/core/types.h"

namespace platform {

enum class GdiKind { Brush, Bitmap, Pen, Font, DeviceContext };

class GdiObject {
  public:
    explicit GdiObject(GdiKind kind) : kind_(kind) {}
    virtual ~GdiObject() = default;
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    GdiKind Kind() const { return kind_; }

    // How many device contexts have this object selected; such an object cannot be deleted.
    int Selections() const { return selections_.load(std::memory_order_acquire); }
    void AddSelection() { selections_.fetch_add(1, std::memory_order_acq_rel); }
    void RemoveSelection() { selections_.fetch_sub(1, std::memory_order_acq_rel); }
    // For objects that may be selected into one device context at a time (bitmaps).
    bool TryAddOnlySelection() {
        int expected = 0;
        return selections_.compare_exchange_strong(expected, 1, std::memory_order_acq_rel);
    }

  private:
    GdiKind kind_;
    std::atomic<int> selections_{0};
};

enum class GdiLifetime { Deletable, Permanent };

// Enters `object` and returns its new handle: never null, never a value that could be read as a
// system-colour brush ("(HBRUSH)(COLOR_x + 1)"), never one that is still in use.
HGDIOBJ RegisterGdiObject(std::shared_ptr<GdiObject> object,
                          GdiLifetime lifetime = GdiLifetime::Deletable);
// Enters a permanent object under a fixed handle value (stock objects).
void RegisterPermanentGdiObject(HGDIOBJ handle, std::shared_ptr<GdiObject> object);

std::shared_ptr<GdiObject> LookupGdiObject(HGDIOBJ handle);

template <typename T>
std::shared_ptr<T> LookupGdiObjectAs(HGDIOBJ handle) {
    return std::dynamic_pointer_cast<T>(LookupGdiObject(handle));
}

enum class UnregisterResult { Removed, NotFound, Permanent, Selected };

// Removes `handle` unless it is permanent, or `mustBe` differs from the object's kind, or the
// object is selected into a device context. The object lives on while anyone still holds it.
UnregisterResult UnregisterGdiObject(HGDIOBJ handle, GdiKind mustBe);

bool IsPermanentGdiObject(HGDIOBJ handle);

// True when `value` is the "(HBRUSH)(COLOR_x + 1)" form; `index` receives x without the flag.
bool IsSysColorBrushValue(HGDIOBJ value, int& index);

inline HGDIOBJ ToGdiHandle(HDC dc) {
    return reinterpret_cast<HGDIOBJ>(dc);
}
inline HDC ToDcHandle(HGDIOBJ handle) {
    return reinterpret_cast<HDC>(handle);
}

}  // namespace platform
