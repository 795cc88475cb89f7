// The SDL2 window backend: the device screen shown at an integer zoom in a host window, the
// mouse as the stylus and the keyboard as the device's keys.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "platform/display/backend.h"
#include "platform/display/sdl_input.h"

namespace platform {

struct SdlDestroy {
    void operator()(SDL_Window* window) const;
    void operator()(SDL_Renderer* renderer) const;
    void operator()(SDL_Texture* texture) const;
};

// Holds SDL's video subsystem open for the backend's lifetime (SDL counts the holders).
class SdlVideoSubsystem {
  public:
    SdlVideoSubsystem();
    ~SdlVideoSubsystem();
    SdlVideoSubsystem(const SdlVideoSubsystem&) = delete;
    SdlVideoSubsystem& operator=(const SdlVideoSubsystem&) = delete;
    bool Ok() const { return ok_; }

  private:
    bool ok_;
};

class SdlBackend final : public DisplayBackend {
  public:
    // Null, with a debug-output line saying why, when SDL cannot open the window.
    static std::unique_ptr<SdlBackend> Create(const DeviceProfile& profile);
    explicit SdlBackend(const DeviceProfile& profile);

    const DeviceProfile& Profile() const override { return profile_; }
    Surface& Screen() override { return screen_; }
    void Present(const RECT& dirty) override;
    void WaitForInput(DWORD timeoutMs) override;
    void Wake() override;
    bool NextInput(InputEvent& event) override;
    void Rotate() override;
    void Raise() override;
    bool IsHeadless() const override { return false; }

    // The host window's SDL id, for tests that address events to it.
    std::uint32_t WindowId() const;

  private:
    bool Open(std::string& why);
    bool CreateTexture(std::string& why);
    void Upload(int top, int bottom);
    void Render();
    void Handle(const SDL_Event& event);
    void DrainPending();
    bool TakeReady();

    DeviceProfile profile_;
    Surface screen_;
    SdlVideoSubsystem video_;
    std::unique_ptr<SDL_Window, SdlDestroy> window_;
    std::unique_ptr<SDL_Renderer, SdlDestroy> renderer_;
    std::unique_ptr<SDL_Texture, SdlDestroy> texture_;
    std::uint32_t wakeEventType_ = 0;
    bool woken_ = false;
    std::deque<InputEvent> queue_;
    SdlInputTranslator translator_;
};

}  // namespace platform
