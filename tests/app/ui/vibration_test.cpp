#include "app/ui/vibration.h"

#include <gtest/gtest.h>

#include <string>

#include "app/reg_key.h"
#include "app/ui/vibe_effects.h"
#include "platform/core/debug.h"
#include "platform/services/haptics.h"
#include "tests/app/ui/ui_test_env.h"

namespace {

using platform::haptics::Journal;

class VibrationTest : public uitest::DeviceFixture {
  protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        CloseVibration();
        platform::haptics::SetDeviceCount(1);
        platform::haptics::ClearJournal();
    }
    void TearDown() override {
        CloseVibration();
        platform::haptics::SetDeviceCount(1);
        DeviceFixture::TearDown();
    }

    static void SetSetting(LPCWSTR name, DWORD value) {
        CRegKey key;
        ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kVibeTonzKey));
        ASSERT_TRUE(key.SetDword(name, value));
    }

    platform::DebugOutputCapture capture_;
};

TEST_F(VibrationTest, EffectBlocksAreWholeSeventyTwoByteBlocks) {
    EXPECT_EQ(ImmVibeGetIVTSize(g_ButtonDownIVT.data(), kVibeBlockBytes), 72);
    EXPECT_EQ(ImmVibeGetIVTSize(g_ButtonUpIVT.data(), kVibeBlockBytes), 72);
}

TEST_F(VibrationTest, StrengthFollowsTheUserSetting) {
    InitVibration();
    ASSERT_TRUE(IsVibrationReady());
    SetSetting(u"TouchVibeOn", 1);
    struct Case {
        DWORD setting;
        VibeInt32 strength;
    };
    const Case cases[] = {{0, 2000},  {1, 4000},  {2, 6000},           {3, 8000},
                          {4, 10000}, {7, 10000}, {0xFFFFFFFF, 10000}, {0, 2000}};
    for (const Case& c : cases) {
        SetSetting(u"TouchVibeStrength", c.setting);
        capture_.Clear();
        PlayVibrationFeedback(VIBE_BUTTON_DOWN);
        ASSERT_FALSE(Journal().empty());
        EXPECT_EQ(Journal().back().strength, c.strength) << c.setting;
        EXPECT_EQ(capture_.Utf8(), "Button Down Vibrated \n ") << c.setting;
    }
}

TEST_F(VibrationTest, MissingStrengthIsFullStrength) {
    InitVibration();
    SetSetting(u"TouchVibeOn", 1);
    PlayVibrationFeedback(VIBE_BUTTON_UP);
    ASSERT_EQ(Journal().size(), 1u);
    EXPECT_EQ(Journal()[0].strength, 10000);
    EXPECT_EQ(Journal()[0].priority, 10);
}

TEST_F(VibrationTest, OnlyTouchVibeOnOneVibrates) {
    InitVibration();
    SetSetting(u"TouchVibeStrength", 2);
    for (DWORD on : {0u, 2u, 0xFFFFFFFFu}) {
        SetSetting(u"TouchVibeOn", on);
        capture_.Clear();
        PlayVibrationFeedback(VIBE_BUTTON_DOWN);
        PlayVibrationFeedback(VIBE_BUTTON_UP);
        EXPECT_TRUE(Journal().empty()) << on;
        EXPECT_EQ(platform::haptics::StopCount(), 0) << on;
        EXPECT_EQ(capture_.Utf8(), "") << on;
    }
}

TEST_F(VibrationTest, NoSettingsAtAllMeansNoVibration) {
    InitVibration();
    PlayVibrationFeedback(VIBE_BUTTON_DOWN);
    EXPECT_TRUE(Journal().empty());
    EXPECT_EQ(capture_.Utf8(), "");
}

TEST_F(VibrationTest, PressAndReleasePlayTheirOwnEffectsAfterAStop) {
    InitVibration();
    SetSetting(u"TouchVibeOn", 1);
    PlayVibrationFeedback(VIBE_BUTTON_DOWN);
    PlayVibrationFeedback(VIBE_BUTTON_UP);
    const auto journal = Journal();
    ASSERT_EQ(journal.size(), 2u);
    EXPECT_EQ(journal[0].effectIndex, 0);
    EXPECT_EQ(journal[1].effectIndex, 0);
    // The press is the longer, firmer click.
    EXPECT_GT(journal[0].durationMs, journal[1].durationMs);
    EXPECT_GT(journal[0].magnitude, journal[1].magnitude);
    EXPECT_EQ(platform::haptics::StopCount(), 2);
    EXPECT_EQ(capture_.Utf8(), "Button Down Vibrated \n Button Up Vibrated \n ");
}

TEST_F(VibrationTest, WithoutADeviceFeedbackIsSilent) {
    platform::haptics::SetDeviceCount(0);
    InitVibration();
    EXPECT_FALSE(IsVibrationReady());
    EXPECT_EQ(ImmVibeGetDeviceCount(), VIBE_E_NOT_INITIALIZED) << "the library is shut again";
    SetSetting(u"TouchVibeOn", 1);
    PlayVibrationFeedback(VIBE_BUTTON_DOWN);
    EXPECT_TRUE(Journal().empty());
    EXPECT_EQ(capture_.Utf8(), "");
}

TEST_F(VibrationTest, CloseShutsTheLibraryAndAllowsANewStart) {
    InitVibration();
    InitVibration();  // guarded: a second call changes nothing
    ASSERT_TRUE(IsVibrationReady());
    SetSetting(u"TouchVibeOn", 1);
    CloseVibration();
    EXPECT_FALSE(IsVibrationReady());
    EXPECT_EQ(ImmVibeGetDeviceCount(), VIBE_E_NOT_INITIALIZED);
    PlayVibrationFeedback(VIBE_BUTTON_DOWN);
    EXPECT_TRUE(Journal().empty());
    CloseVibration();  // closing twice is harmless

    InitVibration();
    PlayVibrationFeedback(VIBE_BUTTON_DOWN);
    EXPECT_EQ(Journal().size(), 1u);
}

}  // namespace
