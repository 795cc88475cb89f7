// The SDL backend under SDL's dummy video driver, so it runs without a host display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/core/debug.h"
#include "platform/core/sync.h"
#include "platform/display/display.h"
#include "platform/display/display_sdl.h"

namespace platform {
namespace {

constexpr int kWidth = 120;
constexpr int kHeight = 100;
constexpr int kZoom = 2;

class SdlBackendTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { setenv("SDL_VIDEODRIVER", "dummy", 1); }

    void SetUp() override {
        backend_ = SdlBackend::Create(DeviceProfile{kWidth, kHeight, 96, kZoom});
        ASSERT_TRUE(backend_);
        Collect();  // whatever the window's creation produced
    }

    SDL_Window* Window() const { return SDL_GetWindowFromID(backend_->WindowId()); }

    void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError(); }
    void Key(Uint32 type, SDL_Keycode sym, Uint16 mod = KMOD_NONE, Uint8 repeat = 0) {
        SDL_Event e{};
        e.type = type;
        e.key.windowID = backend_->WindowId();
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.key.repeat = repeat;
        e.key.keysym.sym = sym;
        e.key.keysym.mod = mod;
        Push(e);
    }
    void Button(Uint32 type, Uint8 button, int x, int y) {
        SDL_Event e{};
        e.type = type;
        e.button.windowID = backend_->WindowId();
        e.button.button = button;
        e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.button.x = x;
        e.button.y = y;
        Push(e);
    }
    void Motion(int x, int y) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.windowID = backend_->WindowId();
        e.motion.x = x;
        e.motion.y = y;
        Push(e);
    }
    std::vector<InputEvent> Collect() {
        backend_->WaitForInput(0);
        std::vector<InputEvent> events;
        InputEvent e;
        while (backend_->NextInput(e))
            events.push_back(e);
        return events;
    }
    // The window's pixel at host coordinates, as 0xRRGGBB.
    std::uint32_t WindowPixel(int x, int y) {
        SDL_Renderer* renderer = SDL_GetRenderer(Window());
        std::uint32_t argb = 0;
        const SDL_Rect one{x, y, 1, 1};
        EXPECT_EQ(SDL_RenderReadPixels(renderer, &one, SDL_PIXELFORMAT_ARGB8888, &argb, 4), 0)
            << SDL_GetError();
        return argb & 0xFFFFFF;
    }
    void FillScreen(std::uint16_t value) {
        std::fill(backend_->Screen().pixels.begin(), backend_->Screen().pixels.end(), value);
    }

    std::unique_ptr<SdlBackend> backend_;
};

TEST_F(SdlBackendTest, OpensAZoomedFixedSizeWindow) {
    int w = 0, h = 0;
    SDL_GetWindowSize(Window(), &w, &h);
    EXPECT_EQ(w, kWidth * kZoom);
    EXPECT_EQ(h, kHeight * kZoom);
    EXPECT_STREQ(SDL_GetWindowTitle(Window()), "Pictarium");
    EXPECT_EQ(SDL_GetWindowFlags(Window()) & SDL_WINDOW_RESIZABLE, 0u);
    EXPECT_FALSE(backend_->IsHeadless());
    EXPECT_EQ(backend_->Screen().width, kWidth);
    EXPECT_EQ(backend_->Screen().height, kHeight);
}

TEST_F(SdlBackendTest, PresentShowsOnlyTheDirtyRowsScaled) {
    FillScreen(0xF800);
    backend_->Present(RECT{0, 0, kWidth, kHeight});
    EXPECT_EQ(WindowPixel(0, 0), 0xFF0000u);
    EXPECT_EQ(WindowPixel(kWidth * kZoom - 1, kHeight * kZoom - 1), 0xFF0000u);

    FillScreen(0x001F);
    backend_->Present(RECT{10, 2, 11, 4});  // rows 2 and 3 are dirty
    EXPECT_EQ(WindowPixel(0, 3), 0xFF0000u);
    EXPECT_EQ(WindowPixel(0, 4), 0x0000FFu);
    EXPECT_EQ(WindowPixel(kWidth * kZoom - 1, 7), 0x0000FFu) << "whole rows travel";
    EXPECT_EQ(WindowPixel(0, 8), 0xFF0000u);

    // Rectangles outside the screen or empty change nothing and do not fail.
    backend_->Present(RECT{0, -50, kWidth, -1});
    backend_->Present(RECT{5, 5, 5, 90});
    backend_->Present(RECT{0, kHeight, kWidth, kHeight + 50});
    EXPECT_EQ(WindowPixel(0, 8), 0xFF0000u);
}

TEST_F(SdlBackendTest, WakeFromAnotherThreadEndsAnEndlessWait) {
    std::thread waker([this] { backend_->Wake(); });
    backend_->WaitForInput(INFINITE);
    waker.join();
    backend_->Wake();
    backend_->WaitForInput(INFINITE);  // a Wake that came first is not lost either
    EXPECT_TRUE(Collect().empty());
}

TEST_F(SdlBackendTest, KeysBecomeVirtualKeys) {
    struct Case {
        SDL_Keycode key;
        UINT vk;
    };
    const std::vector<Case> cases = {
        {SDLK_LEFT, 0x25},   {SDLK_UP, 0x26},        {SDLK_RIGHT, 0x27},    {SDLK_DOWN, 0x28},
        {SDLK_RETURN, 0x0D}, {SDLK_KP_ENTER, 0x0D},  {SDLK_ESCAPE, 0x1B},   {SDLK_F1, 0x70},
        {SDLK_F2, 0x71},     {SDLK_BACKSPACE, 0x08}, {SDLK_DELETE, 0x2E},   {SDLK_HOME, 0x24},
        {SDLK_END, 0x23},    {SDLK_PAGEUP, 0x21},    {SDLK_PAGEDOWN, 0x22}, {SDLK_SPACE, 0x20},
        {SDLK_TAB, 0x09},    {SDLK_a, 'A'},          {SDLK_z, 'Z'},         {SDLK_0, '0'},
        {SDLK_9, '9'},
    };
    for (const Case& c : cases) {
        Key(SDL_KEYDOWN, c.key);
        Key(SDL_KEYUP, c.key);
        const auto events = Collect();
        ASSERT_EQ(events.size(), 2u) << SDL_GetKeyName(c.key);
        EXPECT_EQ(events[0].kind, InputEvent::Kind::KeyDown);
        EXPECT_EQ(events[0].vk, c.vk) << SDL_GetKeyName(c.key);
        EXPECT_EQ(events[1].kind, InputEvent::Kind::KeyUp);
        EXPECT_EQ(events[1].vk, c.vk);
    }
    Key(SDL_KEYDOWN, SDLK_F3);
    Key(SDL_KEYDOWN, SDLK_LSHIFT);
    EXPECT_TRUE(Collect().empty()) << "keys the device does not have";
}

TEST_F(SdlBackendTest, HeldKeysRepeatTheirKeyDown) {
    Key(SDL_KEYDOWN, SDLK_DOWN);
    Key(SDL_KEYDOWN, SDLK_DOWN, KMOD_NONE, 1);
    Key(SDL_KEYDOWN, SDLK_DOWN, KMOD_NONE, 1);
    Key(SDL_KEYUP, SDLK_DOWN);
    const auto events = Collect();
    ASSERT_EQ(events.size(), 4u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(events[i].kind, InputEvent::Kind::KeyDown);
    EXPECT_EQ(events[3].kind, InputEvent::Kind::KeyUp);
}

TEST_F(SdlBackendTest, CtrlRTurnsTheDeviceOnceAndIsNotAKey) {
    Key(SDL_KEYDOWN, SDLK_r, KMOD_LCTRL);
    Key(SDL_KEYDOWN, SDLK_r, KMOD_LCTRL, 1);
    Key(SDL_KEYUP, SDLK_r, KMOD_NONE);  // Ctrl let go first
    Key(SDL_KEYDOWN, SDLK_r);
    const auto events = Collect();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, InputEvent::Kind::Rotate);
    EXPECT_EQ(events[1].kind, InputEvent::Kind::KeyDown);
    EXPECT_EQ(events[1].vk, UINT('R'));
}

TEST_F(SdlBackendTest, LeftButtonIsTheStylus) {
    Motion(40, 40);  // no button: ignored
    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 101, 63);
    Motion(20, 20);
    Motion(31, 33);                                       // moves coalesce to the latest
    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 5, 5);  // other buttons: ignored
    Motion(-7, 10000);                                    // clamped to the screen
    Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 3, 3);
    Motion(50, 50);
    Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 9, 9);  // an up without a down: ignored
    const auto events = Collect();
    struct Expected {
        InputEvent::Kind kind;
        int x, y;
    };
    const std::vector<Expected> expected = {
        {InputEvent::Kind::StylusDown, 50, 31},
        {InputEvent::Kind::StylusMove, 0, kHeight - 1},
        {InputEvent::Kind::StylusUp, 1, 1},
    };
    ASSERT_EQ(events.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(events[i].kind, expected[i].kind) << i;
        EXPECT_EQ(events[i].x, expected[i].x) << i;
        EXPECT_EQ(events[i].y, expected[i].y) << i;
    }
}

TEST_F(SdlBackendTest, ClosingTheWindowIsQuit) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    Push(quit);
    const auto events = Collect();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, InputEvent::Kind::Quit);
}

TEST_F(SdlBackendTest, RotateTurnsScreenWindowAndTexture) {
    backend_->Rotate();
    EXPECT_EQ(backend_->Profile().width, kHeight);
    EXPECT_EQ(backend_->Profile().height, kWidth);
    EXPECT_EQ(backend_->Screen().width, kHeight);
    EXPECT_EQ(backend_->Screen().height, kWidth);
    int w = 0, h = 0;
    SDL_GetWindowSize(Window(), &w, &h);
    EXPECT_EQ(w, kHeight * kZoom);
    EXPECT_EQ(h, kWidth * kZoom);

    FillScreen(0x07E0);
    backend_->Screen().Row(kWidth - 1)[kHeight - 1] = 0xFFFF;
    backend_->Present(RECT{0, 0, kHeight, kWidth});
    EXPECT_EQ(WindowPixel(0, 0), 0x00FF00u);
    EXPECT_EQ(WindowPixel(kHeight * kZoom - 1, kWidth * kZoom - 1), 0xFFFFFFu);

    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, kHeight * kZoom + 50, kWidth * kZoom - 1);
    const auto events = Collect();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].x, kHeight - 1);
    EXPECT_EQ(events[0].y, kWidth - 1);
}

TEST(SdlBackendFailure, SaysWhyWhenNoWindowCanBeOpened) {
    {
        DebugOutputCapture capture;
        setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
        EXPECT_EQ(CreateSdlBackend(DeviceProfile{}), nullptr);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        EXPECT_NE(capture.Utf8().find("cannot initialise video"), std::string::npos)
            << capture.Utf8();
    }
    DebugOutputCapture capture;
    EXPECT_EQ(CreateSdlBackend(DeviceProfile{240, 400, 96, 100}), nullptr);
    EXPECT_NE(capture.Utf8().find("zoom"), std::string::npos) << capture.Utf8();
}

}  // namespace
}  // namespace platform
