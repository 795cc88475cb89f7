#include "app/host/options.h"

#include <gtest/gtest.h>

#include <vector>

#include "catalogue/media_types.h"

namespace {

bool Parse(std::vector<const char*> args, HostOptions& options, std::string& error) {
    args.insert(args.begin(), "pictarium");
    return ParseHostOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(HostOptionsTest, ValuesAndFlags) {
    HostOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--root", "/r", "--card=/c", "--screen", "480x800", "--dpi=192", "--zoom",
                       "1", "--type", "music", "--debug", "--", "--not-an-option"},
                      options, error))
        << error;
    EXPECT_EQ(options.root, "/r");
    EXPECT_EQ(options.card, "/c");
    EXPECT_EQ(options.profile.width, 480);
    EXPECT_EQ(options.profile.height, 800);
    EXPECT_EQ(options.profile.dpi, 192);
    EXPECT_EQ(options.profile.zoom, 1);
    EXPECT_EQ(options.typeFilter, FILTER_MUSIC);
    EXPECT_TRUE(options.debug);
    EXPECT_EQ(options.arguments, std::vector<std::string>{"--not-an-option"});
}

TEST(HostOptionsTest, ScriptImpliesHeadless) {
    HostOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--script", "s.txt"}, options, error));
    EXPECT_TRUE(options.headless);
}

TEST(HostOptionsTest, BadInputIsRefusedWithAReason) {
    const std::vector<std::vector<const char*>> cases = {
        {"--screen", "240"}, {"--screen", "0x400"},  {"--dpi", "abc"},
        {"--zoom", "9"},     {"--type", "pictures"}, {"--root"},
        {"--frobnicate"},    {"--debug=1"},          {"--script", "a", "--screens", "b"},
    };
    for (const auto& args : cases) {
        HostOptions options;
        std::string error;
        EXPECT_FALSE(Parse(args, options, error)) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
    }
}

TEST(HostOptionsTest, HandheldTextIsToldFromHostPaths) {
    EXPECT_TRUE(IsHandheldRequest({":path \"\\a\" :type IMAGE"}));
    EXPECT_TRUE(IsHandheldRequest({":path", "\"\\a\"", ":type", "IMAGE"}));
    EXPECT_FALSE(IsHandheldRequest({"/home/me/Pictures"}));
    EXPECT_FALSE(IsHandheldRequest({}));
}

}  // namespace
