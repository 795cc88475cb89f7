#include <map>
#include <string>

#include "platform/core/no_destructor.h"
#include "platform/core/sync.h"
#include "platform/core/waitable.h"

namespace platform {
namespace {

class Event : public Waitable {
  public:
    Event(bool manualReset, bool signalled) : manualReset_(manualReset), signalled_(signalled) {}

    void Set() {
        auto lock = WaitStateLock();
        signalled_ = true;
        NotifyWaitStateChanged();
    }
    void Reset() {
        auto lock = WaitStateLock();
        signalled_ = false;
    }

    bool IsSignaledLocked() const override { return signalled_; }
    void AcquireLocked() override {
        if (!manualReset_)
            signalled_ = false;  // an auto-reset event releases one waiter
    }

  private:
    const bool manualReset_;
    bool signalled_;
};

// Named events live as long as some handle refers to them, as kernel objects do.
struct NamedEvents {
    std::mutex mutex;
    std::map<std::u16string, std::weak_ptr<Event>> byName;
};

NamedEvents& Names() {
    static NoDestructor<NamedEvents> names;
    return *names;
}

std::shared_ptr<Event> FindOrCreateNamed(const std::u16string& name, bool manualReset,
                                         bool initialState, bool& existed) {
    auto& names = Names();
    std::lock_guard lock(names.mutex);
    auto& slot = names.byName[name];
    auto event = slot.lock();
    existed = event != nullptr;
    if (!event) {
        event = std::make_shared<Event>(manualReset, initialState);
        slot = event;
    }
    // Forget entries whose events are gone, so the map does not grow with every name ever used.
    std::erase_if(names.byName, [](const auto& entry) { return entry.second.expired(); });
    return event;
}

BOOL WithEvent(HANDLE handle, void (Event::*action)()) {
    const auto event = LookupHandleAs<Event>(handle);
    if (!event)
        return FALSE;
    ((*event).*action)();
    return TRUE;
}

}  // namespace
}  // namespace platform

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES /*attributes*/, BOOL manualReset, BOOL initialState,
                    LPCWSTR name) {
    bool existed = false;
    std::shared_ptr<platform::Event> event =
        name && *name ? platform::FindOrCreateNamed(name, manualReset, initialState, existed)
                      : std::make_shared<platform::Event>(manualReset, initialState);
    HANDLE handle = platform::RegisterHandle(std::move(event));
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

BOOL SetEvent(HANDLE event) {
    return platform::WithEvent(event, &platform::Event::Set);
}

BOOL ResetEvent(HANDLE event) {
    return platform::WithEvent(event, &platform::Event::Reset);
}
