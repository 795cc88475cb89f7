// Kinds by name, sizes in kilobytes, and items made from directory entries.
#include <gtest/gtest.h>

#include <string>

#include "catalogue/items/media_item.h"
#include "platform/core/time.h"
#include "platform/core/wstring.h"
#include "tests/catalogue/items/item_test_env.h"
#include "tests/support/zone_override.h"

namespace {

using items_test::ItemTest;

TEST(ClassifyMediaName, ListsOrderAndCaseRules) {
    struct Case {
        const char16_t* name;
        MediaType type;
    };
    const Case cases[] = {
        {u"a.JPG", MEDIA_IMAGE},
        {u"a.Jpeg", MEDIA_IMAGE},
        {u"a.PNG", MEDIA_IMAGE},
        {u"a.jpe", MEDIA_IMAGE},
        {u"a.WBMP", MEDIA_IMAGE},
        {u"a.Gif", MEDIA_IMAGE},
        {u"a.bmp", MEDIA_IMAGE},
        {u"report.DOCX", MEDIA_DOCUMENT},
        {u"page.Htm", MEDIA_DOCUMENT},
        {u"notes.txt", MEDIA_DOCUMENT},
        {u"a.XLTX", MEDIA_DOCUMENT},
        {u"a.mp3", MEDIA_MUSIC},
        {u"a.MP3", MEDIA_MUSIC},
        {u"a.mp3-DRM", MEDIA_MUSIC},  // listed without regard to case
        {u"a.Wav-Drm", MEDIA_MUSIC},
        {u"a.M4A", MEDIA_MUSIC},
        {u"a.amr", MEDIA_MUSIC},
        {u"a.AMR", MEDIA_UNKNOWN},  // exact lower case only
        {u"a.mid-drm", MEDIA_MUSIC},
        {u"a.MID-DRM", MEDIA_UNKNOWN},
        {u"a.Mid", MEDIA_UNKNOWN},
        {u"a.wav", MEDIA_MUSIC},
        {u"a.WAV", MEDIA_UNKNOWN},
        {u"a.wm", MEDIA_MUSIC},
        {u"a.xmf0-drm", MEDIA_MUSIC},
        {u"a.3gp", MEDIA_VIDEO},
        {u"a.3GP", MEDIA_UNKNOWN},
        {u"a.3GPP", MEDIA_VIDEO},
        {u"a.MP4", MEDIA_VIDEO},
        {u"a.Asf", MEDIA_VIDEO},
        {u"archive.tar.mp4", MEDIA_VIDEO},  // the last dot decides
        {u"photo.jpg.txt", MEDIA_DOCUMENT},
        {u"movie.mp4.bak", MEDIA_UNKNOWN},
        {u"README", MEDIA_UNKNOWN},  // no dot
        {u"name.", MEDIA_UNKNOWN},   // a dot with nothing after it
        {u".jpg", MEDIA_IMAGE},      // the whole name is the extension
        {u"a.jpgx", MEDIA_UNKNOWN},  // whole extensions only
        {u"a.jp", MEDIA_UNKNOWN},
        {u"a.ogg", MEDIA_UNKNOWN},
        {u"", MEDIA_UNKNOWN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClassifyMediaName(c.name), c.type) << platform::ToUtf8(std::u16string(c.name));
    }
    EXPECT_EQ(ClassifyMediaName(nullptr), MEDIA_UNKNOWN);
}

TEST(SizeInKB, LowAndHighWords) {
    struct Case {
        DWORD high, low;
        double kb;
    };
    const Case cases[] = {
        {0, 0, 0},
        {0, 3000, 2.9296875},
        {0, 1024, 1},
        {0, 0xFFFFFFFF, 4194303.9990234375},
        {1, 0, 4194303.9990234375},  // the high word counts (2^32 - 1) / 1024 each
        {2, 1024, 1 + 2 * 4194303.9990234375},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(SizeInKB(c.high, c.low), c.kb) << c.high << ":" << c.low;
}

WIN32_FIND_DATAW Entry(const std::u16string& name, DWORD high, DWORD low, const FILETIME& time) {
    WIN32_FIND_DATAW entry{};
    lstrcpynW(entry.cFileName, name.c_str(), MAX_PATH);
    entry.nFileSizeHigh = high;
    entry.nFileSizeLow = low;
    entry.ftLastWriteTime = time;
    return entry;
}

TEST(CreateMediaItem, ClassByKindWithEntryFields) {
    struct Case {
        MediaType type;
        const char16_t* name;
        double kb;
    };
    const Case cases[] = {
        {MEDIA_FOLDER, u"Pictures", 0},  // folders have no size, whatever the entry says
        {MEDIA_IMAGE, u"a.jpg", 2.9296875}, {MEDIA_DOCUMENT, u"a.txt", 2.9296875},
        {MEDIA_MUSIC, u"a.mp3", 2.9296875}, {MEDIA_VIDEO, u"a.mp4", 2.9296875},
    };
    for (const Case& c : cases) {
        const auto item = CreateMediaItem(c.type, Entry(c.name, 0, 3000, {}), u"\\My Documents");
        ASSERT_NE(item, nullptr) << c.type;
        EXPECT_EQ(item->m_dwType, c.type);
        EXPECT_EQ(std::u16string(item->m_szName), c.name);
        EXPECT_EQ(std::u16string(item->m_szFolder), u"\\My Documents");
        EXPECT_DOUBLE_EQ(item->m_dSizeKB, c.kb);
        EXPECT_EQ(item->m_hThumbnail, nullptr);
        EXPECT_EQ(item->m_dwIsDrm, 0u);
        EXPECT_EQ(item->m_dwDrmChecked, 0u);
        EXPECT_EQ(item->m_rcThumb, kDefaultThumbRect);
        EXPECT_EQ(item->GetLength(), 0u);
    }
    const WIN32_FIND_DATAW any = Entry(u"x", 0, 1, {});
    EXPECT_NE(dynamic_cast<CFolderItem*>(CreateMediaItem(MEDIA_FOLDER, any, u"").get()), nullptr);
    EXPECT_NE(dynamic_cast<CDocumentItem*>(CreateMediaItem(MEDIA_DOCUMENT, any, u"").get()),
              nullptr);
    EXPECT_NE(dynamic_cast<CMusicItem*>(CreateMediaItem(MEDIA_MUSIC, any, u"").get()), nullptr);
    const auto picture = CreateMediaItem(MEDIA_IMAGE, any, u"");
    ASSERT_NE(dynamic_cast<CImageItem*>(picture.get()), nullptr);
    EXPECT_NE(static_cast<CImageItem*>(picture.get())->m_pImageCtrl, nullptr);
    const auto video = CreateMediaItem(MEDIA_VIDEO, any, u"");
    ASSERT_NE(dynamic_cast<CVideoItem*>(video.get()), nullptr);
    EXPECT_NE(static_cast<CVideoItem*>(video.get())->m_pImageCtrl, nullptr);
    EXPECT_EQ(CreateMediaItem(MEDIA_UNKNOWN, any, u""), nullptr);
    EXPECT_EQ(CreateMediaItem(static_cast<MediaType>(0x20), any, u""), nullptr);
}

TEST(CreateMediaItem, ModifiedIsLocalTime) {
    const testing_support::ZoneOverride zone("Europe/Berlin");
    // 2026-07-01 10:00:00 UTC is 12:00 in Berlin (summer time).
    const SYSTEMTIME utc{2026, 7, 3, 1, 10, 0, 0, 0};
    FILETIME written{};
    ASSERT_TRUE(SystemTimeToFileTime(&utc, &written));
    const auto item = CreateMediaItem(MEDIA_IMAGE, Entry(u"a.jpg", 0, 1, written), u"");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->m_stModified.wYear, 2026);
    EXPECT_EQ(item->m_stModified.wMonth, 7);
    EXPECT_EQ(item->m_stModified.wDay, 1);
    EXPECT_EQ(item->m_stModified.wHour, 12);
    EXPECT_EQ(item->m_stModified.wMinute, 0);
}

TEST(CreateMediaItem, LongFolderIsCutNotOverrun) {
    const std::u16string folder(400, u'f');
    const auto item = CreateMediaItem(MEDIA_DOCUMENT, Entry(u"a.txt", 0, 1, {}), folder.c_str());
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(std::u16string(item->m_szFolder), folder.substr(0, MAX_PATH - 1));
    // The whole path no longer fits any MAX_PATH buffer.
    WCHAR buffer[MAX_PATH];
    EXPECT_FALSE(item->GetFullPath(buffer, MAX_PATH));
    EXPECT_EQ(buffer[0], 0);
}

TEST(FullPath, FolderBackslashName) {
    struct Case {
        const char16_t* folder;
        const char16_t* name;
        const char16_t* path;
    };
    const Case cases[] = {
        {u"", u"a.jpg", u"\\a.jpg"},  // the device root is the empty path
        {u"\\My Documents", u"a.jpg", u"\\My Documents\\a.jpg"},
        {u"\\Storage Card\\DCIM", u"Sub", u"\\Storage Card\\DCIM\\Sub"},
    };
    for (const Case& c : cases) {
        WIN32_FIND_DATAW entry{};
        lstrcpynW(entry.cFileName, c.name, MAX_PATH);
        const auto item = CreateMediaItem(MEDIA_DOCUMENT, entry, c.folder);
        EXPECT_EQ(item->FullPath(), c.path);
        WCHAR buffer[MAX_PATH];
        ASSERT_TRUE(item->GetFullPath(buffer, MAX_PATH));
        EXPECT_EQ(std::u16string(buffer), c.path);
        // Exactly the path and its terminator fit; one unit less does not.
        const int exact = static_cast<int>(std::u16string(c.path).size()) + 1;
        EXPECT_TRUE(item->GetFullPath(buffer, exact));
        EXPECT_FALSE(item->GetFullPath(buffer, exact - 1));
    }
    WIN32_FIND_DATAW entry{};
    const auto item = CreateMediaItem(MEDIA_DOCUMENT, entry, u"");
    EXPECT_FALSE(item->GetFullPath(nullptr, MAX_PATH));
    WCHAR one[1];
    EXPECT_FALSE(item->GetFullPath(one, 0));
}

TEST_F(ItemTest, ItemsFromRealEntries) {
    Put(u"three.txt", testing_support::SampleContent(3000));
    const auto item = Item(MEDIA_DOCUMENT, u"three.txt");
    ASSERT_NE(item, nullptr);
    EXPECT_DOUBLE_EQ(item->m_dSizeKB, 2.9296875);
    EXPECT_EQ(item->FullPath(), u"\\My Documents\\three.txt");
    EXPECT_GE(item->m_stModified.wYear, 2020);
}

}  // namespace
