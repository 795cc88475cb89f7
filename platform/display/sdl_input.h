// Turns SDL events into the device's input: the left mouse button is the stylus, host keys are
// the device's keys, Ctrl+R turns the device.
#pragma once

#include <SDL.h>

#include <deque>
#include <optional>

#include "platform/display/backend.h"

namespace platform {

// The virtual-key code of a host key, or nothing for keys the device does not have.
std::optional<UINT> VirtualKeyFromSdl(SDL_Keycode key);

class SdlInputTranslator {
  public:
    SdlInputTranslator(int zoom, int screenWidth, int screenHeight);
    void SetScreenSize(int width, int height);

    // Appends what `event` means to the device to `queue`; most events mean nothing.
    void Translate(const SDL_Event& event, std::deque<InputEvent>& queue);

  private:
    void Stylus(InputEvent::Kind kind, int windowX, int windowY, std::deque<InputEvent>& queue);
    void Key(const SDL_KeyboardEvent& key, std::deque<InputEvent>& queue);

    int zoom_;
    int width_;
    int height_;
    bool stylusDown_ = false;
    int lastX_ = 0;
    int lastY_ = 0;
    bool rotateKeyHeld_ = false;
};

}  // namespace platform
