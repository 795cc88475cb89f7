// ComObject: reference counting and QueryInterface for a class that implements the interfaces
// it names. The count is atomic, so objects may be passed between threads; the object deletes
// itself with its last Release.
#pragma once

#include <atomic>
#include <new>
#include <utility>

#include "platform/core/com_ptr.h"
#include "platform/core/unknown.h"

template <typename Derived, typename First, typename... Rest>
class ComObject : public First, public Rest... {
  public:
    ULONG AddRef() override { return refs_.fetch_add(1, std::memory_order_relaxed) + 1; }
    ULONG Release() override {
        const ULONG left = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
        if (left == 0)
            delete this;  // the destructor is virtual: Derived goes with it
        return left;
    }
    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (IsEqualIID(iid, IID_IUnknown))
            *object = static_cast<First*>(this);
        else
            Find<First, Rest...>(iid, object);
        if (!*object)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }

    // A new object with one reference, owned by the result; null when memory is short.
    template <typename... Args>
    static ComPtr<Derived> Make(Args&&... args) {
        ComPtr<Derived> made;
        made.Attach(new (std::nothrow) Derived(std::forward<Args>(args)...));
        return made;
    }

  protected:
    ComObject() = default;
    virtual ~ComObject() = default;

  private:
    template <typename I, typename... More>
    void Find(REFIID iid, void** object) {
        if (IsEqualIID(iid, InterfaceIdOf<I>())) {
            *object = static_cast<I*>(this);
            return;
        }
        if constexpr (sizeof...(More) > 0)
            Find<More...>(iid, object);
    }

    std::atomic<ULONG> refs_{1};
};
