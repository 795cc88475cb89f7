// The screen behind the window layer: one interface, an SDL2 window backend and a headless
// backend (memory screen, injected input, PNG screenshots). The window layer (platform/user) owns
// the message loop and asks the backend for input; the drawing layer (platform/gdi) draws into
// the backend's screen surface.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/types.h"

namespace platform {

// The device the program believes it runs on.
struct DeviceProfile {
    int width = 240;  // screen pixels, portrait by default
    int height = 400;
    int dpi = 96;  // LOGPIXELSX and LOGPIXELSY
    int zoom = 2;  // host pixels per device pixel in the SDL window
};

// The screen: RGB565 pixels, row-major, `stride` pixels per row.
struct Surface {
    int width = 0;
    int height = 0;
    int stride = 0;
    std::vector<std::uint16_t> pixels;

    void Resize(int w, int h) {
        width = w;
        height = h;
        stride = w;
        pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    }
    std::uint16_t* Row(int y) { return pixels.data() + static_cast<std::size_t>(y) * stride; }
    const std::uint16_t* Row(int y) const {
        return pixels.data() + static_cast<std::size_t>(y) * stride;
    }
};

// Input as the device sees it: the stylus in screen coordinates, keys as virtual-key codes.
struct InputEvent {
    enum class Kind { StylusDown, StylusMove, StylusUp, KeyDown, KeyUp, Rotate, Quit };
    Kind kind = Kind::StylusMove;
    int x = 0;
    int y = 0;
    UINT vk = 0;
};

class DisplayBackend {
  public:
    virtual ~DisplayBackend() = default;

    virtual const DeviceProfile& Profile() const = 0;
    virtual Surface& Screen() = 0;
    // Shows the screen's `dirty` rectangle (UI thread).
    virtual void Present(const RECT& dirty) = 0;
    // Blocks the UI thread until input is pending, Wake() is called, or `timeoutMs` passes
    // (INFINITE waits without limit).
    virtual void WaitForInput(DWORD timeoutMs) = 0;
    // Ends a WaitForInput early; callable from any thread.
    virtual void Wake() = 0;
    // Takes the next pending input event (UI thread); false when there is none.
    virtual bool NextInput(InputEvent& event) = 0;
    // Turns the device: swaps the profile's width and height and resizes the screen.
    virtual void Rotate() = 0;
    // Brings the device window to the front of the host's desktop (SetForegroundWindow).
    virtual void Raise() = 0;
    // True for the headless backend.
    virtual bool IsHeadless() const = 0;
};

}  // namespace platform
