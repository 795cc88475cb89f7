#include "platform/display/display.h"

#include <mutex>
#include <utility>

#include "platform/core/no_destructor.h"
#include "platform/display/display_headless.h"

namespace platform {
namespace {

// Neither is destroyed at exit: threads still running then may call Wake or InjectInput.
std::mutex& DisplayMutex() {
    static NoDestructor<std::mutex> mutex;
    return *mutex;
}

std::unique_ptr<DisplayBackend>& Installed() {
    static NoDestructor<std::unique_ptr<DisplayBackend>> display;
    return *display;
}

// Caller holds DisplayMutex.
DisplayBackend& EnsureDisplay() {
    auto& display = Installed();
    if (!display)
        display = std::make_unique<HeadlessBackend>(DeviceProfile{});
    return *display;
}

}  // namespace

void InstallDisplay(std::unique_ptr<DisplayBackend> backend) {
    std::unique_ptr<DisplayBackend> previous;  // destroyed after the lock is released
    std::lock_guard lock(DisplayMutex());
    previous = std::exchange(Installed(), std::move(backend));
}

DisplayBackend& GetDisplay() {
    std::lock_guard lock(DisplayMutex());
    return EnsureDisplay();
}

void InjectInput(const InputEvent& event) {
    std::lock_guard lock(DisplayMutex());
    if (auto* headless = dynamic_cast<HeadlessBackend*>(&EnsureDisplay()))
        headless->Inject(event);
}

}  // namespace platform
