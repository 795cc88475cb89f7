#include "platform/services/haptics.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/user/script/state.h"
#include "tests/platform/services/ivt_builder.h"

namespace {

using haptics_test::IvtBuilder;
using platform::haptics::PlayedEffect;

constexpr std::uint8_t kPeriodic = 0x30;
constexpr std::uint8_t kMagSweep = 0x20;

class HapticsTest : public testing::Test {
  protected:
    void SetUp() override {
        ImmVibeTerminate();
        platform::haptics::SetDeviceCount(1);
        platform::haptics::ClearJournal();
    }
    void TearDown() override {
        ImmVibeTerminate();
        platform::haptics::SetDeviceCount(1);
    }

    VibeInt32 OpenFirst() {
        EXPECT_EQ(ImmVibeInitialize(VIBE_CURRENT_VERSION_NUMBER), VIBE_S_SUCCESS);
        VibeInt32 device = VIBE_INVALID_DEVICE_HANDLE_VALUE;
        EXPECT_EQ(ImmVibeOpenDevice(0, &device), VIBE_S_SUCCESS);
        return device;
    }

    // A press effect: a timeline launching a 30 ms pulse at 0 and a 20 ms one at 25 ms.
    static std::vector<std::uint8_t> TapBlock() {
        return IvtBuilder()
            .Timeline({{0, 1}, {25, 2}})
            .Basis(kPeriodic, 30, 9000)
            .Basis(kMagSweep, 20, 4000)
            .Build();
    }
};

TEST_F(HapticsTest, EveryCallBeforeInitialiseFails) {
    const std::vector<std::uint8_t> block = TapBlock();
    VibeInt32 out = 0;
    const std::vector<std::function<VibeStatus()>> calls = {
        [] { return ImmVibeTerminate(); },
        [] { return ImmVibeGetDeviceCount(); },
        [&] { return ImmVibeOpenDevice(0, &out); },
        [] { return ImmVibeCloseDevice(1); },
        [] { return ImmVibeSetDevicePropertyInt32(1, VIBE_DEVPROPTYPE_PRIORITY, 10); },
        [&] { return ImmVibeGetDevicePropertyInt32(1, VIBE_DEVPROPTYPE_STRENGTH, &out); },
        [&] { return ImmVibeGetDeviceCapabilityInt32(0, VIBE_DEVCAPTYPE_MIN_PERIOD, &out); },
        [&] { return ImmVibePlayIVTEffect(1, block.data(), 0, &out); },
        [] { return ImmVibeStopAllPlayingEffects(1); },
    };
    for (std::size_t i = 0; i < calls.size(); ++i)
        EXPECT_EQ(calls[i](), VIBE_E_NOT_INITIALIZED) << "call " << i;
    EXPECT_TRUE(platform::haptics::Journal().empty());
}

TEST_F(HapticsTest, InitialiseChecksVersionAndRepeats) {
    EXPECT_EQ(ImmVibeInitialize(0x01000044), VIBE_E_INVALID_ARGUMENT);
    EXPECT_EQ(ImmVibeInitialize(0x03000000), VIBE_E_INVALID_ARGUMENT);
    EXPECT_EQ(ImmVibeInitialize(0x02000010), VIBE_S_SUCCESS);
    EXPECT_EQ(ImmVibeInitialize(VIBE_CURRENT_VERSION_NUMBER), VIBE_E_ALREADY_INITIALIZED);
    EXPECT_EQ(ImmVibeGetDeviceCount(), 1);
    EXPECT_EQ(ImmVibeTerminate(), VIBE_S_SUCCESS);
    EXPECT_EQ(ImmVibeTerminate(), VIBE_E_NOT_INITIALIZED);
}

TEST_F(HapticsTest, OpenRefusesMissingDevicesAndNullOutput) {
    ASSERT_EQ(ImmVibeInitialize(VIBE_CURRENT_VERSION_NUMBER), VIBE_S_SUCCESS);
    VibeInt32 handle = VIBE_INVALID_DEVICE_HANDLE_VALUE;
    EXPECT_EQ(ImmVibeOpenDevice(1, &handle), VIBE_E_INVALID_ARGUMENT);
    EXPECT_EQ(ImmVibeOpenDevice(-1, &handle), VIBE_E_INVALID_ARGUMENT);
    EXPECT_EQ(ImmVibeOpenDevice(0, nullptr), VIBE_E_INVALID_ARGUMENT);
    EXPECT_EQ(handle, VIBE_INVALID_DEVICE_HANDLE_VALUE);
    EXPECT_EQ(ImmVibeOpenDevice(0, &handle), VIBE_S_SUCCESS);
    EXPECT_GT(handle, 0);
}

TEST_F(HapticsTest, WithoutADeviceEveryDeviceCallFailsCleanly) {
    platform::haptics::SetDeviceCount(0);
    ASSERT_EQ(ImmVibeInitialize(VIBE_CURRENT_VERSION_NUMBER), VIBE_S_SUCCESS);
    EXPECT_EQ(ImmVibeGetDeviceCount(), 0);
    VibeInt32 handle = VIBE_INVALID_DEVICE_HANDLE_VALUE;
    VibeInt32 value = 0;
    EXPECT_EQ(ImmVibeOpenDevice(0, &handle), VIBE_E_INVALID_ARGUMENT);
    EXPECT_EQ(ImmVibeGetDeviceCapabilityInt32(0, VIBE_DEVCAPTYPE_MIN_PERIOD, &value),
              VIBE_E_INVALID_ARGUMENT);
    const std::vector<std::uint8_t> block = TapBlock();
    EXPECT_EQ(ImmVibePlayIVTEffect(handle, block.data(), 0, &value), VIBE_E_INVALID_ARGUMENT);
    EXPECT_EQ(ImmVibeStopAllPlayingEffects(handle), VIBE_E_INVALID_ARGUMENT);
    EXPECT_EQ(ImmVibeCloseDevice(handle), VIBE_E_INVALID_ARGUMENT);
    EXPECT_TRUE(platform::haptics::Journal().empty());
}

TEST_F(HapticsTest, ClosedAndTerminatedHandlesAreRefused) {
    const VibeInt32 device = OpenFirst();
    EXPECT_EQ(ImmVibeCloseDevice(device), VIBE_S_SUCCESS);
    EXPECT_EQ(ImmVibeCloseDevice(device), VIBE_E_INVALID_ARGUMENT);
    EXPECT_EQ(ImmVibeStopAllPlayingEffects(device), VIBE_E_INVALID_ARGUMENT);
    EXPECT_EQ(ImmVibeCloseDevice(VIBE_INVALID_DEVICE_HANDLE_VALUE), VIBE_E_INVALID_ARGUMENT);

    // Terminating closes what was left open; a new session does not revive old handles.
    VibeInt32 second = VIBE_INVALID_DEVICE_HANDLE_VALUE;
    ASSERT_EQ(ImmVibeOpenDevice(0, &second), VIBE_S_SUCCESS);
    EXPECT_NE(second, device);
    ASSERT_EQ(ImmVibeTerminate(), VIBE_S_SUCCESS);
    ASSERT_EQ(ImmVibeInitialize(VIBE_CURRENT_VERSION_NUMBER), VIBE_S_SUCCESS);
    EXPECT_EQ(ImmVibeStopAllPlayingEffects(second), VIBE_E_INVALID_ARGUMENT);
}

TEST_F(HapticsTest, PropertiesAreRangeChecked) {
    const VibeInt32 device = OpenFirst();
    struct Case {
        VibeInt32 property, value;
        VibeStatus expected;
    };
    const Case cases[] = {
        {VIBE_DEVPROPTYPE_PRIORITY, 10, VIBE_S_SUCCESS},
        {VIBE_DEVPROPTYPE_PRIORITY, 0, VIBE_S_SUCCESS},
        {VIBE_DEVPROPTYPE_PRIORITY, 15, VIBE_S_SUCCESS},
        {VIBE_DEVPROPTYPE_PRIORITY, 16, VIBE_E_INVALID_ARGUMENT},
        {VIBE_DEVPROPTYPE_PRIORITY, -1, VIBE_E_INVALID_ARGUMENT},
        {VIBE_DEVPROPTYPE_STRENGTH, 0, VIBE_S_SUCCESS},
        {VIBE_DEVPROPTYPE_STRENGTH, 10000, VIBE_S_SUCCESS},
        {VIBE_DEVPROPTYPE_STRENGTH, 10001, VIBE_E_INVALID_ARGUMENT},
        {VIBE_DEVPROPTYPE_STRENGTH, -5, VIBE_E_INVALID_ARGUMENT},
        {2, 1, VIBE_E_INCOMPATIBLE_PROPERTY_TYPE},
        {99, 1, VIBE_E_INCOMPATIBLE_PROPERTY_TYPE},
    };
    for (const Case& c : cases) {
        VibeInt32 before = 0;
        ASSERT_EQ(ImmVibeGetDevicePropertyInt32(device, VIBE_DEVPROPTYPE_PRIORITY, &before), 0);
        EXPECT_EQ(ImmVibeSetDevicePropertyInt32(device, c.property, c.value), c.expected)
            << c.property << "=" << c.value;
        VibeInt32 now = -100;
        const VibeStatus read = ImmVibeGetDevicePropertyInt32(device, c.property, &now);
        if (c.expected == VIBE_S_SUCCESS) {
            EXPECT_EQ(now, c.value);
        } else if (read == VIBE_S_SUCCESS) {
            EXPECT_NE(now, c.value) << "a refused value must not be stored";
        }
    }
}

TEST_F(HapticsTest, CapabilitiesSixAndSevenAreThePeriodRange) {
    OpenFirst();
    VibeInt32 minPeriod = 0, maxPeriod = 0, other = 0;
    ASSERT_EQ(ImmVibeGetDeviceCapabilityInt32(0, VIBE_DEVCAPTYPE_MIN_PERIOD, &minPeriod), 0);
    ASSERT_EQ(ImmVibeGetDeviceCapabilityInt32(0, VIBE_DEVCAPTYPE_MAX_PERIOD, &maxPeriod), 0);
    EXPECT_GT(minPeriod, 0);
    EXPECT_GT(maxPeriod, minPeriod);
    EXPECT_EQ(ImmVibeGetDeviceCapabilityInt32(0, 99, &other), VIBE_E_INCOMPATIBLE_CAPABILITY_TYPE);
    EXPECT_EQ(ImmVibeGetDeviceCapabilityInt32(0, 6, nullptr), VIBE_E_INVALID_ARGUMENT);
}

TEST_F(HapticsTest, PlayRecordsStrengthDurationAndHandle) {
    const VibeInt32 device = OpenFirst();
    ASSERT_EQ(ImmVibeSetDevicePropertyInt32(device, VIBE_DEVPROPTYPE_PRIORITY, 10), 0);
    ASSERT_EQ(ImmVibeSetDevicePropertyInt32(device, VIBE_DEVPROPTYPE_STRENGTH, 6000), 0);
    const std::vector<std::uint8_t> block = TapBlock();
    VibeInt32 first = VIBE_INVALID_EFFECT_HANDLE_VALUE, second = first;
    ASSERT_EQ(ImmVibePlayIVTEffect(device, block.data(), 0, &first), VIBE_S_SUCCESS);
    ASSERT_EQ(ImmVibeSetDevicePropertyInt32(device, VIBE_DEVPROPTYPE_STRENGTH, 2000), 0);
    ASSERT_EQ(ImmVibePlayIVTEffect(device, block.data(), 2, &second), VIBE_S_SUCCESS);
    EXPECT_NE(first, second);

    const std::vector<PlayedEffect> journal = platform::haptics::Journal();
    ASSERT_EQ(journal.size(), 2u);
    EXPECT_EQ(journal[0].effectIndex, 0);
    EXPECT_EQ(journal[0].effectHandle, first);
    EXPECT_EQ(journal[0].strength, 6000);
    EXPECT_EQ(journal[0].priority, 10);
    EXPECT_EQ(journal[0].durationMs, 45);  // the second pulse ends last: 25 + 20
    EXPECT_EQ(journal[0].magnitude, 9000);
    EXPECT_EQ(journal[1].effectIndex, 2);
    EXPECT_EQ(journal[1].strength, 2000);
    EXPECT_EQ(journal[1].durationMs, 20);
    EXPECT_EQ(journal[1].magnitude, 4000);
}

TEST_F(HapticsTest, JournalKeepsTheMostRecentPlays) {
    const VibeInt32 device = OpenFirst();
    const std::vector<std::uint8_t> block = TapBlock();
    std::vector<VibeInt32> handles;
    for (std::size_t i = 0; i < platform::haptics::kJournalCapacity + 6; ++i) {
        VibeInt32 handle = 0;
        ASSERT_EQ(ImmVibePlayIVTEffect(device, block.data(), 0, &handle), VIBE_S_SUCCESS);
        handles.push_back(handle);
    }
    const std::vector<PlayedEffect> journal = platform::haptics::Journal();
    ASSERT_EQ(journal.size(), platform::haptics::kJournalCapacity);
    EXPECT_EQ(journal.front().effectHandle, handles[6]);
    EXPECT_EQ(journal.back().effectHandle, handles.back());
}

TEST_F(HapticsTest, StopAllIsCountedPerSuccessfulCall) {
    const VibeInt32 device = OpenFirst();
    EXPECT_EQ(ImmVibeStopAllPlayingEffects(device), VIBE_S_SUCCESS);
    EXPECT_EQ(ImmVibeStopAllPlayingEffects(device + 1000), VIBE_E_INVALID_ARGUMENT);
    EXPECT_EQ(ImmVibeStopAllPlayingEffects(device), VIBE_S_SUCCESS);
    EXPECT_EQ(platform::haptics::StopCount(), 2);
    platform::haptics::ClearJournal();
    EXPECT_EQ(platform::haptics::StopCount(), 0);
}

TEST_F(HapticsTest, MalformedBlocksAreRefusedAndNothingIsPlayed) {
    const VibeInt32 device = OpenFirst();
    auto withByte = [](std::vector<std::uint8_t> b, std::size_t at, std::uint8_t v) {
        b[at] = v;
        return b;
    };
    const std::vector<std::uint8_t> good = IvtBuilder().Basis(kPeriodic, 40, 5000).Build();
    struct Case {
        const char* what;
        std::vector<std::uint8_t> block;
        VibeInt32 index;
    };
    const std::vector<Case> cases = {
        {"wrong format", withByte(good, 0, 2), 0},
        {"no effects", {1, 0, 0, 0, 0, 0, 0, 0}, 0},
        {"index past the end", good, 1},
        {"negative index", good, -1},
        {"offset outside the storage", withByte(good, 8, 200), 0},
        {"truncated basis", IvtBuilder().Raw({kPeriodic, 0, 40, 0}).Build(), 0},
        {"magnitude above 10000", IvtBuilder().Basis(kPeriodic, 40, 10001).Build(), 0},
        {"attack level above 10000", IvtBuilder().Basis(kMagSweep, 40, 10, 0, 5, 20000).Build(), 0},
        {"periodic without period", IvtBuilder().Basis(kPeriodic, 40, 500, 0).Build(), 0},
        {"unknown kind", IvtBuilder().Raw(std::vector<std::uint8_t>(16, 0x77)).Build(), 0},
        {"timeline to a missing effect", IvtBuilder().Timeline({{0, 5}}).Build(), 0},
        {"timeline to itself", IvtBuilder().Timeline({{0, 0}}).Build(), 0},
        {"timeline without launches", IvtBuilder().Timeline({}).Basis(kPeriodic, 1, 1).Build(), 0},
        {"timeline longer than its storage", IvtBuilder().Raw({0xF1, 9, 0, 0}).Build(), 0},
    };
    for (const Case& c : cases) {
        VibeInt32 handle = VIBE_INVALID_EFFECT_HANDLE_VALUE;
        EXPECT_EQ(ImmVibePlayIVTEffect(device, c.block.data(), c.index, &handle),
                  VIBE_E_INVALID_ARGUMENT)
            << c.what;
        EXPECT_EQ(handle, VIBE_INVALID_EFFECT_HANDLE_VALUE) << c.what;
    }
    VibeInt32 handle = 0;
    EXPECT_EQ(ImmVibePlayIVTEffect(device, nullptr, 0, &handle), VIBE_E_INVALID_ARGUMENT);
    EXPECT_EQ(ImmVibePlayIVTEffect(device, good.data(), 0, nullptr), VIBE_E_INVALID_ARGUMENT);
    EXPECT_TRUE(platform::haptics::Journal().empty());
}

TEST_F(HapticsTest, BlockSizeComesFromTheHeaderAndMustBeWhole) {
    const std::vector<std::uint8_t> block = TapBlock();
    const auto size = static_cast<VibeInt32>(block.size());
    EXPECT_EQ(ImmVibeGetIVTSize(block.data(), size), size);
    EXPECT_EQ(ImmVibeGetIVTSize(block.data(), size + 10), size);  // trailing bytes are not ours
    EXPECT_EQ(ImmVibeGetIVTSize(block.data(), size - 1), VIBE_E_INVALID_ARGUMENT);
    EXPECT_EQ(ImmVibeGetIVTSize(block.data(), 7), VIBE_E_INVALID_ARGUMENT);
    EXPECT_EQ(ImmVibeGetIVTSize(nullptr, size), VIBE_E_INVALID_ARGUMENT);
}

TEST_F(HapticsTest, StateDocumentShowsThePlays) {
    const VibeInt32 device = OpenFirst();
    ASSERT_EQ(ImmVibeSetDevicePropertyInt32(device, VIBE_DEVPROPTYPE_STRENGTH, 8000), 0);
    const std::vector<std::uint8_t> block = TapBlock();
    VibeInt32 handle = 0;
    ASSERT_EQ(ImmVibePlayIVTEffect(device, block.data(), 0, &handle), VIBE_S_SUCCESS);
    const std::string state = platform::StateJson();
    EXPECT_NE(state.find(R"("haptics":{"initialised":true,"openDevices":1)"), std::string::npos)
        << state;
    EXPECT_NE(state.find(R"({"effect":0,"strength":8000,"magnitude":9000,"durationMs":45,)"),
              std::string::npos)
        << state;
}

}  // namespace
