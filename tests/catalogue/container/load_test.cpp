// Loading a folder or a single file, adding single new entries, and the folder watch.
#include <filesystem>

#include "platform/core/debug.h"
#include "platform/core/sync.h"
#include "platform/core/time.h"
#include "platform/core/wstring.h"
#include "platform/fs/device.h"
#include "platform/shell/cursor.h"
#include "tests/catalogue/container/container_fixture.h"

namespace containertest {
namespace {

class LoadTest : public ContainerTest {
  protected:
    // Two folders, one file of each kind, and names the classifier does not know.
    void MakeMixedFolder() {
        MakeFiles(u"\\Mixed", {{u"photo.JPG", 3000},
                               {u"notes.txt"},
                               {u"song.mp3"},
                               {u"clip.mp4"},
                               {u"SONG.AMR"},
                               {u"CLIP.3GP"},
                               {u"data.xyz"},
                               {u"README"}});
        MakeFolder(u"\\Mixed\\One");
        MakeFolder(u"\\Mixed\\Two");
    }
};

TEST_F(LoadTest, ListsKnownKindsWithFoldersFirst) {
    MakeMixedFolder();
    std::u16string heard = u"(nothing)";
    static std::u16string* listenerTarget = nullptr;
    listenerTarget = &heard;
    CMediaContainer::SetFolderNameListener([](LPCWSTR path) { *listenerTarget = path; });

    ASSERT_EQ(container_->LoadFolder(u"\\Mixed"), 1);
    EXPECT_EQ(heard, u"\\Mixed");
    EXPECT_EQ(container_->GetTotalCount(), 6);
    EXPECT_EQ(container_->GetShownCount(), 0) << "loading does not apply the filter";
    ASSERT_EQ(container_->ApplyFilter(FILTER_ALL), 1);
    EXPECT_EQ(container_->GetCount(MEDIA_FOLDER), 2);
    EXPECT_EQ(container_->GetCount(MEDIA_IMAGE), 1);
    EXPECT_EQ(container_->GetCount(MEDIA_DOCUMENT), 1);
    EXPECT_EQ(container_->GetCount(MEDIA_MUSIC), 1);
    EXPECT_EQ(container_->GetCount(MEDIA_VIDEO), 1);
    const std::vector<std::string> names = ShownNames();
    ASSERT_EQ(names.size(), 6u);
    for (size_t i = 0; i < names.size(); ++i) {
        const bool folder = names[i] == "One" || names[i] == "Two";
        EXPECT_EQ(folder, i < 2) << names[i] << " at " << i;
    }
    const CMediaItem* photo = container_->FindByName(u"photo.jpg");
    ASSERT_NE(photo, nullptr);
    EXPECT_EQ(photo->m_dSizeKB, 2.9296875);
    EXPECT_EQ(platform::ToUtf8(photo->m_szFolder), "\\Mixed");
    EXPECT_EQ(container_->FindByName(u"One")->m_dSizeKB, 0.0);
    EXPECT_EQ(platform::ToUtf8(container_->GetDisplayName()), "Mixed");
    EXPECT_EQ(platform::ToUtf8(container_->GetFolderPath()), "\\Mixed");
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW)) << "the wait cursor is taken down";
}

TEST_F(LoadTest, ModifiedIsTheLocalLastWriteTime) {
    MakeFiles(u"\\Times", {{u"a.jpg", 100, kBaseTime}});
    ASSERT_EQ(container_->LoadFolder(u"\\Times"), 1);
    FILETIME written = platform::FileTimeFromUnix(kBaseTime, 0);
    FILETIME local;
    SYSTEMTIME expected;
    ASSERT_TRUE(FileTimeToLocalFileTime(&written, &local));
    ASSERT_TRUE(FileTimeToSystemTime(&local, &expected));
    const SYSTEMTIME& got = container_->FindByName(u"a.jpg")->m_stModified;
    EXPECT_EQ(got.wYear, expected.wYear);
    EXPECT_EQ(got.wDay, expected.wDay);
    EXPECT_EQ(got.wHour, expected.wHour);
    EXPECT_EQ(got.wMinute, expected.wMinute);
}

TEST_F(LoadTest, RootIsMyDevice) {
    ASSERT_EQ(container_->LoadFolder(u""), 1);
    EXPECT_EQ(platform::ToUtf8(container_->GetDisplayName()), "My Device");
    EXPECT_NE(container_->FindByName(u"My Documents"), nullptr);
}

TEST_F(LoadTest, EmptyFolderLoadsNothingButIsWatched) {
    MakeFolder(u"\\Empty");
    platform::DebugOutputCapture output;
    EXPECT_EQ(container_->LoadFolder(u"\\Empty"), 0);
    EXPECT_NE(output.Utf8().find("This folder is empty.\n"), std::string::npos);
    EXPECT_NE(container_->GetChangeHandle(), nullptr);
    EXPECT_EQ(container_->GetTotalCount(), 0);
    EXPECT_EQ(container_->GetCount(0), 0);
    EXPECT_EQ(container_->GetCount(MEDIA_IMAGE), 0);
    EXPECT_EQ(container_->ApplyFilter(FILTER_ALL), 0);
    EXPECT_EQ(container_->Sort(SORT_BY_NAME), 0);
    EXPECT_EQ(platform::ToUtf8(container_->GetDisplayName()), "Empty");
}

struct NotFolderCase {
    const char* name;
    const char16_t* path;
};

class NotFolderTest : public LoadTest, public ::testing::WithParamInterface<NotFolderCase> {};

TEST_P(NotFolderTest, LeavesBothListsEmpty) {
    MakeMixedFolder();
    ASSERT_EQ(container_->LoadFolder(u"\\Mixed"), 1);
    ASSERT_EQ(container_->ApplyFilter(FILTER_ALL), 1);
    platform::DebugOutputCapture output;
    EXPECT_EQ(container_->LoadFolder(GetParam().path), 0);
    EXPECT_NE(output.Utf8().find("There isn't a correct folder.\n"), std::string::npos);
    EXPECT_EQ(container_->GetTotalCount(), 0);
    EXPECT_EQ(container_->GetShownCount(), 0);
    EXPECT_TRUE(container_->ShownItems().empty());
    EXPECT_EQ(container_->GetCursor(), nullptr);
    EXPECT_EQ(container_->GetChangeHandle(), nullptr);
    EXPECT_EQ(container_->ApplyFilter(FILTER_ALL), 0);
}

INSTANTIATE_TEST_SUITE_P(Paths, NotFolderTest,
                         ::testing::Values(NotFolderCase{"Missing", u"\\Nowhere"},
                                           NotFolderCase{"AFile", u"\\Mixed\\notes.txt"},
                                           NotFolderCase{"Escaping", u"\\..\\.."}),
                         [](const ::testing::TestParamInfo<NotFolderCase>& info) {
                             return info.param.name;
                         });

TEST_F(LoadTest, ZeroLastWriteTimeIsSkipped) {
    MakeFolder(u"\\Zero");
    container_->LoadFolder(u"\\Zero");
    WIN32_FIND_DATAW entry{};
    entry.dwFileAttributes = FILE_ATTRIBUTE_NORMAL;
    StringCchCopyW(entry.cFileName, MAX_PATH, u"old.jpg");
    EXPECT_EQ(container_->AddMedia(entry.cFileName, &entry), 0);
    EXPECT_EQ(container_->GetTotalCount(), 0);
    entry.ftLastWriteTime.dwLowDateTime = 1;
    EXPECT_EQ(container_->AddMedia(entry.cFileName, &entry), 0) << "listed, not shown";
    EXPECT_EQ(container_->GetTotalCount(), 1);
}

TEST_F(LoadTest, DirectoryBitMakesAFolderWhateverItsName) {
    MakeFolder(u"\\Dirs");
    container_->LoadFolder(u"\\Dirs");
    WIN32_FIND_DATAW entry{};
    entry.ftLastWriteTime.dwLowDateTime = 1;
    StringCchCopyW(entry.cFileName, MAX_PATH, u"looks.jpg");
    entry.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN;
    container_->AddMedia(entry.cFileName, &entry);
    StringCchCopyW(entry.cFileName, MAX_PATH, u"plain");
    entry.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    container_->AddMedia(entry.cFileName, &entry);
    EXPECT_EQ(container_->FindByName(u"looks.jpg")->m_dwType, MEDIA_FOLDER);
    EXPECT_EQ(container_->FindByName(u"plain")->m_dwType, MEDIA_FOLDER);
    EXPECT_EQ(container_->GetTotalCount(), 2);
}

TEST_F(LoadTest, StorageCardFolderIsMarked) {
    const std::string card = device_.Temp() / "card";
    std::filesystem::create_directories(card);
    ASSERT_TRUE(platform::ConfigureDevice(device_.Temp() / "device", card));
    MakeFolder(u"\\Storage Cards");
    ASSERT_EQ(container_->LoadFolder(u""), 1);
    const auto* mount = dynamic_cast<CFolderItem*>(container_->FindByName(u"Storage Card"));
    ASSERT_NE(mount, nullptr);
    EXPECT_EQ(mount->m_dwIsStorageCard, 1u);
    const auto* other = dynamic_cast<CFolderItem*>(container_->FindByName(u"Storage Cards"));
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->m_dwIsStorageCard, 0u);
    ASSERT_TRUE(platform::ConfigureDevice(device_.Temp() / "device", ""));
}

// Single new files, as the folder watch reports them.
class AddNewTest : public LoadTest {
  protected:
    void SetUp() override {
        LoadTest::SetUp();
        MakeFiles(u"\\New", {{u"a.jpg"}, {u"b.txt"}});
        ASSERT_EQ(container_->LoadFolder(u"\\New"), 1);
        ASSERT_EQ(container_->ApplyFilter(FILTER_IMAGE), 1);
    }
};

TEST_F(AddNewTest, JoinsShownListOnlyWhenFilterPasses) {
    MakeFile(u"\\New\\c.jpg");
    EXPECT_EQ(container_->AddMedia(u"c.jpg"), 1);
    EXPECT_EQ(container_->GetShownCount(), 2);
    EXPECT_EQ(ShownNames().back(), "c.jpg");
    EXPECT_EQ(Name(container_->GetCursor()), "a.jpg") << "the cursor stays where it was";

    MakeFile(u"\\New\\d.txt");
    EXPECT_EQ(container_->AddMedia(u"d.txt"), 0);
    EXPECT_EQ(container_->GetShownCount(), 2);
    EXPECT_EQ(container_->GetTotalCount(), 4);
    EXPECT_NE(container_->FindByName(u"d.txt"), nullptr);
}

TEST_F(AddNewTest, RefusesWhatIsNotANewKnownFile) {
    MakeFile(u"\\New\\e.xyz");
    EXPECT_EQ(container_->AddMedia(u"e.xyz"), 0);
    EXPECT_EQ(container_->AddMedia(u"missing.jpg"), 0);
    EXPECT_EQ(container_->AddMedia(u"A.JPG"), 0) << "already listed";
    EXPECT_EQ(container_->AddMedia(u"*.jpg"), 0);
    EXPECT_EQ(container_->AddMedia(u"\\"), 0);
    EXPECT_EQ(container_->AddMedia(u""), 0);
    EXPECT_EQ(container_->AddMedia(nullptr), 0);
    EXPECT_EQ(container_->GetTotalCount(), 2);
    EXPECT_EQ(container_->GetShownCount(), 1);
}

TEST_F(AddNewTest, OnlyShownItemBecomesCursor) {
    ASSERT_EQ(container_->ApplyFilter(FILTER_MUSIC), 1);
    ASSERT_EQ(container_->GetCursor(), nullptr);
    MakeFile(u"\\New\\tune.mp3");
    EXPECT_EQ(container_->AddMedia(u"tune.mp3"), 1);
    EXPECT_EQ(Name(container_->GetCursor()), "tune.mp3");
    EXPECT_EQ(container_->GetCursorIndex(), 0);
    MakeFile(u"\\New\\tune2.mp3");
    EXPECT_EQ(container_->AddMedia(u"tune2.mp3"), 1);
    EXPECT_EQ(Name(container_->GetCursor()), "tune.mp3");
}

TEST_F(AddNewTest, RefreshRereadsSizeAndTime) {
    const CMediaItem* item = container_->FindByName(u"b.txt");
    const WORD hourBefore = item->m_stModified.wHour;
    MakeFile(u"\\New\\b.txt", 4096, kBaseTime + 3600);
    EXPECT_EQ(container_->RefreshMedia(u"B.TXT"), 1);
    EXPECT_EQ(item->m_stModified.wHour, (hourBefore + 1) % 24);
    EXPECT_EQ(item->m_dSizeKB, 4.0);
    EXPECT_EQ(item->m_dwDrmChecked, 1u);
    std::filesystem::remove(device_.HostPath(u"\\New\\b.txt"));
    EXPECT_EQ(container_->RefreshMedia(u"b.txt"), 0);
    EXPECT_EQ(container_->RefreshMedia(u"none.txt"), 0);
}

TEST_F(AddNewTest, ChangeHandleSignalsNewFile) {
    HANDLE change = container_->GetChangeHandle();
    ASSERT_NE(change, nullptr);
    EXPECT_EQ(WaitForSingleObject(change, 0), WAIT_TIMEOUT);
    MakeFile(u"\\New\\fresh.jpg");
    EXPECT_EQ(WaitForSingleObject(change, 5000), WAIT_OBJECT_0);
    container_->FreeAll();
    EXPECT_EQ(container_->GetChangeHandle(), nullptr);
    EXPECT_EQ(container_->GetTotalCount(), 0);
    EXPECT_TRUE(container_->ShownItems().empty());
}

struct SingleCase {
    const char* name;
    const char16_t* path;
    bool found;
};

class SingleFileTest : public LoadTest, public ::testing::WithParamInterface<SingleCase> {};

TEST_P(SingleFileTest, OpensOneKnownFile) {
    const SingleCase& c = GetParam();
    MakeMixedFolder();
    MakeFolder(u"\\Mixed\\dir.jpg");
    ASSERT_EQ(container_->LoadFolder(u"\\Mixed"), 1);
    ASSERT_EQ(container_->ApplyFilter(FILTER_ALL), 1);
    CMediaItem* item = container_->LoadSingleFile(c.path);
    EXPECT_EQ(item != nullptr, c.found);
    if (!item) {
        EXPECT_EQ(container_->GetTotalCount(), 7) << "a refused file leaves the folder as it was";
        return;
    }
    EXPECT_EQ(container_->GetTotalCount(), 1);
    EXPECT_EQ(container_->GetShownCount(), 1);
    EXPECT_EQ(container_->GetCursor(), item);
    EXPECT_EQ(container_->GetTypeFilter(), static_cast<DWORD>(item->m_dwType));
    EXPECT_EQ(item->m_dwSelected, 1u);
    EXPECT_EQ(item->m_dwDrmChecked, 1u);
    EXPECT_EQ(platform::ToUtf8(item->m_szFolder), "\\Mixed");
    EXPECT_EQ(container_->GetCount(item->m_dwType), 1);
    EXPECT_EQ(container_->GetChangeHandle(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SingleFileTest,
    ::testing::Values(SingleCase{"Picture", u"\\Mixed\\photo.JPG", true},
                      SingleCase{"NameCaseDiffers", u"\\Mixed\\PHOTO.jpg", true},
                      SingleCase{"Video", u"\\Mixed\\clip.mp4", true},
                      SingleCase{"UnknownKind", u"\\Mixed\\data.xyz", false},
                      SingleCase{"ExactCaseExtension", u"\\Mixed\\SONG.AMR", false},
                      SingleCase{"Missing", u"\\Mixed\\gone.jpg", false},
                      SingleCase{"Folder", u"\\Mixed\\dir.jpg", false},
                      SingleCase{"Pattern", u"\\Mixed\\*.jpg", false}),
    [](const ::testing::TestParamInfo<SingleCase>& info) { return info.param.name; });

TEST_F(LoadTest, SingleProtectedFileIsLookedUp) {
    MakeProtectedPicture(u"\\Prot\\locked.bmp");
    CMediaItem* item = container_->LoadSingleFile(u"\\Prot\\locked.bmp");
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->IsProtected());
    EXPECT_EQ(item->m_dwIsDrm, 1u);
    EXPECT_EQ(container_->GetCount(MEDIA_IMAGE, FALSE), 0);
}

}  // namespace
}  // namespace containertest
