#include "app/launch/launch_context.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

TEST(LaunchContextTest, ReadAcceptsOnlyWholeRecords) {
    LaunchContext sent = {};
    sent.source = SOURCE_CAMERA;
    sent.isExplicit = 1;
    sent.openMode = OPEN_FILE;
    sent.typeFilter = FILTER_IMAGE;
    std::memcpy(sent.path, u"\\a.jpg", sizeof(u"\\a.jpg"));

    struct Case {
        std::size_t size;
        bool accepted;
    };
    const Case cases[] = {{0, false}, {535, false}, {536, true}, {537, false}, {1072, false}};
    std::vector<unsigned char> bytes(1072, 0);
    std::memcpy(bytes.data(), &sent, sizeof(sent));
    for (const Case& c : cases) {
        LaunchContext got = {};
        EXPECT_EQ(ReadLaunchContext(bytes.data(), c.size, got), c.accepted) << c.size;
        if (c.accepted) {
            EXPECT_EQ(got.source, sent.source);
            EXPECT_EQ(got.openMode, sent.openMode);
            EXPECT_EQ(got.typeFilter, sent.typeFilter);
            EXPECT_EQ(std::u16string(got.path), u"\\a.jpg");
        }
    }
    LaunchContext got = {};
    EXPECT_FALSE(ReadLaunchContext(nullptr, sizeof(LaunchContext), got));
}

TEST(LaunchContextTest, UnterminatedPathIsCutAtTheRecordsEnd) {
    LaunchContext sent = {};
    for (WCHAR& unit : sent.path)
        unit = u'x';
    LaunchContext got = {};
    ASSERT_TRUE(ReadLaunchContext(&sent, sizeof(sent), got));
    EXPECT_EQ(std::u16string(got.path).size(), static_cast<std::size_t>(MAX_PATH - 1));
}

}  // namespace
