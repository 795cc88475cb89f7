#include "platform/display/sdl_input.h"

#include <algorithm>
#include <array>
#include <utility>

namespace platform {
namespace {

constexpr std::array<std::pair<SDL_Keycode, UINT>, 17> kNamedKeys = {{
    {SDLK_BACKSPACE, 0x08},  // VK_BACK
    {SDLK_TAB, 0x09},        // VK_TAB
    {SDLK_RETURN, 0x0D},     // VK_RETURN
    {SDLK_KP_ENTER, 0x0D},   // VK_RETURN
    {SDLK_ESCAPE, 0x1B},     // VK_ESCAPE
    {SDLK_SPACE, 0x20},      // VK_SPACE
    {SDLK_PAGEUP, 0x21},     // VK_PRIOR
    {SDLK_PAGEDOWN, 0x22},   // VK_NEXT
    {SDLK_END, 0x23},        // VK_END
    {SDLK_HOME, 0x24},       // VK_HOME
    {SDLK_LEFT, 0x25},       // VK_LEFT
    {SDLK_UP, 0x26},         // VK_UP
    {SDLK_RIGHT, 0x27},      // VK_RIGHT
    {SDLK_DOWN, 0x28},       // VK_DOWN
    {SDLK_DELETE, 0x2E},     // VK_DELETE
    {SDLK_F1, 0x70},         // VK_F1, the left soft key
    {SDLK_F2, 0x71},         // VK_F2, the right soft key
}};

bool IsRotateChord(const SDL_Keysym& key) {
    return key.sym == SDLK_r && (key.mod & KMOD_CTRL) != 0;
}

}  // namespace

std::optional<UINT> VirtualKeyFromSdl(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z)
        return static_cast<UINT>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9)
        return static_cast<UINT>('0' + (key - SDLK_0));
    for (const auto& [sdl, vk] : kNamedKeys) {
        if (sdl == key)
            return vk;
    }
    return std::nullopt;
}

SdlInputTranslator::SdlInputTranslator(int zoom, int screenWidth, int screenHeight)
    : zoom_(std::max(zoom, 1)), width_(screenWidth), height_(screenHeight) {}

void SdlInputTranslator::SetScreenSize(int width, int height) {
    width_ = width;
    height_ = height;
}

void SdlInputTranslator::Translate(const SDL_Event& event, std::deque<InputEvent>& queue) {
    switch (event.type) {
        case SDL_QUIT:
            queue.push_back({InputEvent::Kind::Quit});
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button != SDL_BUTTON_LEFT)
                break;
            stylusDown_ = true;
            Stylus(InputEvent::Kind::StylusDown, event.button.x, event.button.y, queue);
            break;
        case SDL_MOUSEBUTTONUP:
            if (event.button.button != SDL_BUTTON_LEFT || !stylusDown_)
                break;
            stylusDown_ = false;
            Stylus(InputEvent::Kind::StylusUp, event.button.x, event.button.y, queue);
            break;
        case SDL_MOUSEMOTION:
            if (stylusDown_)
                Stylus(InputEvent::Kind::StylusMove, event.motion.x, event.motion.y, queue);
            break;
        case SDL_WINDOWEVENT:
            // A stylus that went down in the window must come up even if the release is lost
            // with the focus, or the program would keep dragging.
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST && stylusDown_) {
                stylusDown_ = false;
                queue.push_back({InputEvent::Kind::StylusUp, lastX_, lastY_});
            }
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            Key(event.key, queue);
            break;
        default:
            break;
    }
}

void SdlInputTranslator::Stylus(InputEvent::Kind kind, int windowX, int windowY,
                                std::deque<InputEvent>& queue) {
    lastX_ = std::clamp(windowX / zoom_, 0, std::max(width_ - 1, 0));
    lastY_ = std::clamp(windowY / zoom_, 0, std::max(height_ - 1, 0));
    // Moves coalesce: only where the stylus is now matters, not every point it passed.
    if (kind == InputEvent::Kind::StylusMove && !queue.empty() &&
        queue.back().kind == InputEvent::Kind::StylusMove) {
        queue.back().x = lastX_;
        queue.back().y = lastY_;
        return;
    }
    queue.push_back({kind, lastX_, lastY_});
}

void SdlInputTranslator::Key(const SDL_KeyboardEvent& key, std::deque<InputEvent>& queue) {
    const bool down = key.type == SDL_KEYDOWN;
    if (key.keysym.sym == SDLK_r && (rotateKeyHeld_ || (down && IsRotateChord(key.keysym)))) {
        // The chord turns the device once per press; its R never reaches the program.
        if (down && !rotateKeyHeld_)
            queue.push_back({InputEvent::Kind::Rotate});
        rotateKeyHeld_ = down;
        return;
    }
    const std::optional<UINT> vk = VirtualKeyFromSdl(key.keysym.sym);
    if (!vk)
        return;
    InputEvent event{down ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp};
    event.vk = *vk;
    queue.push_back(event);
}

}  // namespace platform
