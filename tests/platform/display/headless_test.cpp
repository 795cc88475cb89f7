#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/core/debug.h"
#include "platform/core/sync.h"
#include "platform/display/display.h"
#include "platform/display/display_headless.h"

namespace platform {
namespace {

class HeadlessTest : public ::testing::Test {
  protected:
    void TearDown() override { InstallDisplay(nullptr); }
};

TEST_F(HeadlessTest, DefaultDisplayIsAHeadlessPortraitScreen) {
    DisplayBackend& display = GetDisplay();
    EXPECT_TRUE(display.IsHeadless());
    EXPECT_EQ(display.Profile().width, 240);
    EXPECT_EQ(display.Profile().height, 400);
    EXPECT_EQ(display.Profile().dpi, 96);
    EXPECT_EQ(display.Screen().width, 240);
    EXPECT_EQ(display.Screen().height, 400);
    EXPECT_EQ(display.Screen().pixels.size(), 240u * 400u);
    EXPECT_EQ(&GetDisplay(), &display) << "installed once, then reused";
}

TEST_F(HeadlessTest, InputFromAnotherThreadWakesAnEndlessWait) {
    std::thread feeder([] {
        InjectInput({InputEvent::Kind::StylusDown, 10, 20});
        InjectInput({InputEvent::Kind::StylusUp, 11, 21});
    });
    DisplayBackend& display = GetDisplay();
    std::vector<InputEvent> got;
    while (got.size() < 2) {
        display.WaitForInput(INFINITE);
        InputEvent event;
        while (display.NextInput(event))
            got.push_back(event);
    }
    feeder.join();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].kind, InputEvent::Kind::StylusDown);
    EXPECT_EQ(got[0].x, 10);
    EXPECT_EQ(got[1].kind, InputEvent::Kind::StylusUp);
    EXPECT_EQ(got[1].y, 21);
    InputEvent none;
    EXPECT_FALSE(display.NextInput(none));
}

TEST_F(HeadlessTest, WakeFromAnotherThreadEndsAWait) {
    DisplayBackend& display = GetDisplay();
    std::thread waker([&] { display.Wake(); });
    // Whether the Wake lands before or during the wait, the wait must end.
    display.WaitForInput(INFINITE);
    waker.join();
}

TEST_F(HeadlessTest, AWakeBeforeTheWaitIsNotLost) {
    DisplayBackend& display = GetDisplay();
    display.Wake();
    display.WaitForInput(INFINITE);
    InputEvent event;
    EXPECT_FALSE(display.NextInput(event));
}

TEST_F(HeadlessTest, KeysKeepTheirOrderAcrossThreads) {
    constexpr int kPerThread = 200;
    std::vector<std::thread> threads;
    for (UINT t = 0; t < 3; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < kPerThread; ++i) {
                InputEvent e{InputEvent::Kind::KeyDown};
                e.vk = t;
                e.x = i;
                InjectInput(e);
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    std::vector<int> next(3, 0);
    InputEvent event;
    int count = 0;
    while (GetDisplay().NextInput(event)) {
        ASSERT_EQ(event.x, next[event.vk]++) << "thread " << event.vk;
        ++count;
    }
    EXPECT_EQ(count, 3 * kPerThread);
}

TEST_F(HeadlessTest, RotateSwapsTheProfileAndTheScreen) {
    InstallDisplay(CreateHeadlessBackend(DeviceProfile{320, 480, 128, 1}));
    DisplayBackend& display = GetDisplay();
    display.Rotate();
    EXPECT_EQ(display.Profile().width, 480);
    EXPECT_EQ(display.Profile().height, 320);
    EXPECT_EQ(display.Profile().dpi, 128);
    EXPECT_EQ(display.Screen().width, 480);
    EXPECT_EQ(display.Screen().height, 320);
    EXPECT_EQ(display.Screen().stride, 480);
    EXPECT_EQ(display.Screen().pixels.size(), 480u * 320u);
    display.Rotate();
    EXPECT_EQ(display.Screen().width, 320);
}

TEST_F(HeadlessTest, PresentIsCountedWithItsRectangle) {
    auto* headless = dynamic_cast<HeadlessBackend*>(&GetDisplay());
    ASSERT_NE(headless, nullptr);
    const auto before = headless->PresentCount();
    headless->Present(RECT{1, 2, 3, 4});
    headless->Present(RECT{5, 6, 7, 8});
    EXPECT_EQ(headless->PresentCount(), before + 2);
    EXPECT_EQ(headless->LastPresented().left, 5);
    EXPECT_EQ(headless->LastPresented().bottom, 8);
}

TEST_F(HeadlessTest, UnusableProfilesAreRefusedWithAReason) {
    const std::vector<DeviceProfile> bad = {
        {0, 400, 96, 2},   {240, -1, 96, 2},     {240, 400, 0, 2},
        {240, 400, 96, 0}, {100000, 400, 96, 1},
    };
    for (const DeviceProfile& profile : bad) {
        DebugOutputCapture capture;
        EXPECT_EQ(CreateHeadlessBackend(profile), nullptr);
        EXPECT_NE(capture.Utf8().find("not created"), std::string::npos) << capture.Utf8();
    }
}

// A backend that is not headless must not receive injected input.
class WindowedStandIn final : public DisplayBackend {
  public:
    const DeviceProfile& Profile() const override { return profile_; }
    Surface& Screen() override { return screen_; }
    void Present(const RECT&) override {}
    void WaitForInput(DWORD) override {}
    void Wake() override {}
    bool NextInput(InputEvent&) override { return false; }
    void Rotate() override {}
    void Raise() override {}
    bool IsHeadless() const override { return false; }

  private:
    DeviceProfile profile_;
    Surface screen_;
};

TEST_F(HeadlessTest, InjectedInputIsIgnoredByOtherBackends) {
    InstallDisplay(std::make_unique<WindowedStandIn>());
    InjectInput({InputEvent::Kind::KeyDown});
    InstallDisplay(nullptr);
    InputEvent event;
    EXPECT_FALSE(GetDisplay().NextInput(event)) << "a fresh headless display starts empty";
}

}  // namespace
}  // namespace platform
