#include "platform/display/display_sdl.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "platform/core/sync.h"
#include "platform/display/debug_line.h"
#include "platform/display/display.h"
#include "platform/display/profile.h"

namespace platform {

void SdlDestroy::operator()(SDL_Window* window) const {
    SDL_DestroyWindow(window);
}
void SdlDestroy::operator()(SDL_Renderer* renderer) const {
    SDL_DestroyRenderer(renderer);
}
void SdlDestroy::operator()(SDL_Texture* texture) const {
    SDL_DestroyTexture(texture);
}

SdlVideoSubsystem::SdlVideoSubsystem() : ok_(SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {}

SdlVideoSubsystem::~SdlVideoSubsystem() {
    if (ok_)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

std::unique_ptr<SdlBackend> SdlBackend::Create(const DeviceProfile& profile) {
    std::string why = ProfileProblem(profile);
    if (why.empty()) {
        auto backend = std::make_unique<SdlBackend>(profile);
        if (backend->Open(why))
            return backend;
    }
    DisplayDebugLine("SDL display not available: " + why);
    return nullptr;
}

SdlBackend::SdlBackend(const DeviceProfile& profile)
    : profile_(profile), translator_(profile.zoom, profile.width, profile.height) {
    screen_.Resize(profile.width, profile.height);
}

bool SdlBackend::Open(std::string& why) {
    if (!video_.Ok()) {
        why = std::string("cannot initialise video: ") + SDL_GetError();
        return false;
    }
    window_.reset(SDL_CreateWindow("Pictarium", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   profile_.width * profile_.zoom, profile_.height * profile_.zoom,
                                   SDL_WINDOW_SHOWN));
    if (!window_) {
        why = std::string("cannot create the window: ") + SDL_GetError();
        return false;
    }
    renderer_.reset(SDL_CreateRenderer(window_.get(), -1, 0));
    if (!renderer_)
        renderer_.reset(SDL_CreateRenderer(window_.get(), -1, SDL_RENDERER_SOFTWARE));
    if (!renderer_) {
        why = std::string("cannot create a renderer: ") + SDL_GetError();
        return false;
    }
    if (!CreateTexture(why))
        return false;
    // Keys arrive as key events; text input would only add events (and an input method window).
    SDL_StopTextInput();
    const Uint32 registered = SDL_RegisterEvents(1);
    wakeEventType_ =
        registered == static_cast<Uint32>(-1) ? static_cast<Uint32>(SDL_USEREVENT) : registered;
    Upload(0, screen_.height);
    Render();
    return true;
}

bool SdlBackend::CreateTexture(std::string& why) {
    texture_.reset(SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_RGB565,
                                     SDL_TEXTUREACCESS_STREAMING, screen_.width, screen_.height));
    if (!texture_) {
        why = std::string("cannot create the screen texture: ") + SDL_GetError();
        return false;
    }
    // Device pixels stay crisp squares at any zoom.
    SDL_SetTextureScaleMode(texture_.get(), SDL_ScaleModeNearest);
    return true;
}

std::uint32_t SdlBackend::WindowId() const {
    return SDL_GetWindowID(window_.get());
}

void SdlBackend::Upload(int top, int bottom) {
    if (!texture_ || bottom <= top)
        return;
    const SDL_Rect rows{0, top, screen_.width, bottom - top};
    SDL_UpdateTexture(texture_.get(), &rows, screen_.Row(top),
                      screen_.stride * static_cast<int>(sizeof(std::uint16_t)));
}

void SdlBackend::Render() {
    if (!texture_)
        return;
    SDL_RenderCopy(renderer_.get(), texture_.get(), nullptr, nullptr);
    SDL_RenderPresent(renderer_.get());
}

// Only the dirty rows travel to the texture; the whole texture is drawn, because a renderer's
// back buffer holds nothing reliable after a present.
void SdlBackend::Present(const RECT& dirty) {
    const int top = std::clamp<int>(dirty.top, 0, screen_.height);
    const int bottom = std::clamp<int>(dirty.bottom, 0, screen_.height);
    if (dirty.right <= dirty.left || bottom <= top)
        return;
    Upload(top, bottom);
    Render();
}

void SdlBackend::Handle(const SDL_Event& event) {
    if (event.type == wakeEventType_) {
        woken_ = true;
    } else if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED) {
        Render();
    } else {
        translator_.Translate(event, queue_);
    }
}

void SdlBackend::DrainPending() {
    SDL_Event event;
    while (SDL_PollEvent(&event))
        Handle(event);
}

bool SdlBackend::TakeReady() {
    if (queue_.empty() && !woken_)
        return false;
    woken_ = false;
    return true;
}

void SdlBackend::WaitForInput(DWORD timeoutMs) {
    DrainPending();
    if (TakeReady())
        return;
    const Uint64 start = SDL_GetTicks64();
    for (;;) {
        SDL_Event event;
        int got = 0;
        if (timeoutMs == INFINITE) {
            got = SDL_WaitEvent(&event);
        } else {
            const Uint64 elapsed = SDL_GetTicks64() - start;
            if (elapsed >= timeoutMs)
                return;
            const Uint64 left = std::min<Uint64>(timeoutMs - elapsed, INT_MAX);
            got = SDL_WaitEventTimeout(&event, static_cast<int>(left));
        }
        // A failed infinite wait would otherwise spin; the caller will simply look again.
        if (!got)
            return;
        Handle(event);
        DrainPending();
        if (TakeReady())
            return;
    }
}

void SdlBackend::Wake() {
    SDL_Event event{};
    event.type = wakeEventType_;
    SDL_PushEvent(&event);
}

// Called without a wait too (PeekMessage), so it fetches what SDL has first.
bool SdlBackend::NextInput(InputEvent& event) {
    if (queue_.empty())
        DrainPending();
    if (queue_.empty())
        return false;
    event = queue_.front();
    queue_.pop_front();
    return true;
}

void SdlBackend::Rotate() {
    std::swap(profile_.width, profile_.height);
    screen_.Resize(profile_.width, profile_.height);
    translator_.SetScreenSize(profile_.width, profile_.height);
    SDL_SetWindowSize(window_.get(), profile_.width * profile_.zoom,
                      profile_.height * profile_.zoom);
    std::string why;
    if (!CreateTexture(why))
        DisplayDebugLine("SDL display after turning: " + why);
    Upload(0, screen_.height);
    Render();
}

void SdlBackend::Raise() {
    SDL_RaiseWindow(window_.get());
}

std::unique_ptr<DisplayBackend> CreateSdlBackend(const DeviceProfile& profile) {
    return SdlBackend::Create(profile);
}

}  // namespace platform
