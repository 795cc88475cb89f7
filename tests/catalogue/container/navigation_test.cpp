// The cursor, lookups by index and name, stepping to the next or previous item of a kind, and
// the counts, including pictures that are protected or do not decode.
#include "tests/catalogue/container/container_fixture.h"

namespace containertest {
namespace {

// Shown by name: 0 a.bmp, 1 b.txt, 2 c.bmp, 3 d.mp3, 4 e.bmp, 5 f.txt.
class NavigationTest : public ContainerTest {
  protected:
    void SetUp() override {
        ContainerTest::SetUp();
        for (const char16_t* name : {u"\\Nav\\a.bmp", u"\\Nav\\c.bmp", u"\\Nav\\e.bmp"})
            WriteFile(name, BmpPicture());
        MakeFiles(u"\\Nav", {{u"b.txt"}, {u"d.mp3"}, {u"f.txt"}});
        LoadSorted(u"\\Nav");
    }
};

struct MoveCase {
    const char* name;
    int from;
    int by;
    int to;
};

class CursorMoveTest : public NavigationTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(CursorMoveTest, StopsAtEitherEnd) {
    const MoveCase& c = GetParam();
    ASSERT_TRUE(container_->SetCursorIndex(c.from));
    container_->MoveCursor(c.by);
    EXPECT_EQ(container_->GetCursorIndex(), c.to);
    EXPECT_EQ(container_->GetCursor(), container_->ItemAt(c.to));
}

INSTANTIATE_TEST_SUITE_P(
    Moves, CursorMoveTest,
    ::testing::Values(MoveCase{"Forward", 0, 2, 2}, MoveCase{"Back", 2, -1, 1},
                      MoveCase{"PastTheEnd", 4, 10, 5}, MoveCase{"BeforeTheStart", 3, -10, 0},
                      MoveCase{"Huge", 1, 2147483647, 5}, MoveCase{"HugeBack", 1, -2147483647, 0},
                      MoveCase{"Nowhere", 3, 0, 3}),
    [](const ::testing::TestParamInfo<MoveCase>& info) { return info.param.name; });

TEST_F(NavigationTest, SetCursorOutOfRangeKeepsCursor) {
    ASSERT_TRUE(container_->SetCursorIndex(3));
    EXPECT_FALSE(container_->SetCursorIndex(-1));
    EXPECT_FALSE(container_->SetCursorIndex(6));
    EXPECT_EQ(container_->GetCursorIndex(), 3);
    EXPECT_EQ(Name(container_->GetCursor()), "d.mp3");
    container_->CursorToLast();
    EXPECT_EQ(container_->GetCursorIndex(), 5);
    EXPECT_EQ(Name(container_->GetCursor()), "f.txt");
    container_->CursorToFirst();
    EXPECT_EQ(container_->GetCursorIndex(), 0);
    EXPECT_EQ(Name(container_->GetCursor()), "a.bmp");
}

TEST_F(NavigationTest, ItemAtAndFindByName) {
    // Every index from every cursor position: the walk may start at either end or the cursor.
    const std::vector<std::string> names = ShownNames();
    for (int cursor = 0; cursor < 6; ++cursor) {
        ASSERT_TRUE(container_->SetCursorIndex(cursor));
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(Name(container_->ItemAt(i)), names[i]) << cursor << " " << i;
    }
    EXPECT_EQ(container_->ItemAt(-1), nullptr);
    EXPECT_EQ(container_->ItemAt(6), nullptr);
    EXPECT_EQ(Name(container_->FindByName(u"C.BMP")), "c.bmp");
    EXPECT_EQ(container_->FindByName(u"c.bm"), nullptr);
    EXPECT_EQ(container_->FindByName(nullptr), nullptr);
}

struct StepCase {
    const char* name;
    DWORD filter;
    int cursor;
    bool forward;
    MediaType kind;
    const char* expected;
};

class StepTest : public NavigationTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(StepTest, FindsItemOfKind) {
    const StepCase& c = GetParam();
    ASSERT_EQ(container_->ApplyFilter(c.filter), 1);
    ASSERT_EQ(container_->Sort(0), 1);
    ASSERT_TRUE(container_->SetCursorIndex(c.cursor));
    const CMediaItem* found =
        c.forward ? container_->NextOfKind(c.kind) : container_->PreviousOfKind(c.kind);
    EXPECT_EQ(Name(found), c.expected);
    EXPECT_EQ(container_->GetCursorIndex(), c.cursor) << "stepping does not move the cursor";
}

INSTANTIATE_TEST_SUITE_P(
    Steps, StepTest,
    ::testing::Values(StepCase{"NextPicture", FILTER_ALL, 0, true, MEDIA_IMAGE, "c.bmp"},
                      StepCase{"NextSkipsOtherKinds", FILTER_ALL, 2, true, MEDIA_IMAGE, "e.bmp"},
                      StepCase{"NoLaterPicture", FILTER_ALL, 4, true, MEDIA_IMAGE, "(none)"},
                      StepCase{"FromLastItemWraps", FILTER_ALL, 5, true, MEDIA_IMAGE, "a.bmp"},
                      StepCase{"LastPictureWraps", FILTER_IMAGE, 2, true, MEDIA_IMAGE, "a.bmp"},
                      StepCase{"NextMusic", FILTER_ALL, 0, true, MEDIA_MUSIC, "d.mp3"},
                      StepCase{"NoLaterMusic", FILTER_ALL, 4, true, MEDIA_MUSIC, "(none)"},
                      StepCase{"NoFolder", FILTER_ALL, 0, true, MEDIA_FOLDER, "(none)"},
                      StepCase{"PreviousPicture", FILTER_ALL, 4, false, MEDIA_IMAGE, "c.bmp"},
                      StepCase{"PreviousSkipsKinds", FILTER_ALL, 1, false, MEDIA_IMAGE, "a.bmp"},
                      StepCase{"PreviousFromPicture", FILTER_ALL, 2, false, MEDIA_IMAGE, "a.bmp"},
                      StepCase{"FromFirstItemWraps", FILTER_ALL, 0, false, MEDIA_IMAGE, "e.bmp"},
                      StepCase{"FirstPictureWraps", FILTER_IMAGE, 0, false, MEDIA_IMAGE, "e.bmp"},
                      StepCase{"PreviousDocument", FILTER_ALL, 5, false, MEDIA_DOCUMENT, "b.txt"},
                      StepCase{"NoEarlierMusic", FILTER_ALL, 2, false, MEDIA_MUSIC, "(none)"}),
    [](const ::testing::TestParamInfo<StepCase>& info) { return info.param.name; });

struct CountCase {
    const char* name;
    DWORD filter;
    DWORD kind;
    BOOL raw;
    int expected;
};

class CountTest : public NavigationTest, public ::testing::WithParamInterface<CountCase> {};

TEST_P(CountTest, CountsByKind) {
    const CountCase& c = GetParam();
    ASSERT_EQ(container_->ApplyFilter(c.filter), 1);
    EXPECT_EQ(container_->GetCount(c.kind, c.raw), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, CountTest,
    ::testing::Values(CountCase{"Shown", FILTER_ALL, 0, TRUE, 6},
                      CountCase{"OtherValueIsShown", FILTER_ALL, 0x12345, TRUE, 6},
                      CountCase{"Folders", FILTER_ALL, MEDIA_FOLDER, TRUE, 0},
                      CountCase{"RawPictures", FILTER_ALL, MEDIA_IMAGE, TRUE, 3},
                      CountCase{"ShowablePictures", FILTER_ALL, MEDIA_IMAGE, FALSE, 3},
                      CountCase{"Documents", FILTER_ALL, MEDIA_DOCUMENT, TRUE, 2},
                      CountCase{"Music", FILTER_ALL, MEDIA_MUSIC, TRUE, 1},
                      CountCase{"Videos", FILTER_ALL, MEDIA_VIDEO, TRUE, 0},
                      CountCase{"ShownUnderImageFilter", FILTER_IMAGE, 0, TRUE, 3},
                      // Kind counts cover the whole folder, not the filtered list.
                      CountCase{"DocumentsUnderImageFilter", FILTER_IMAGE, MEDIA_DOCUMENT, TRUE, 2},
                      CountCase{"NothingShownUnderVideoFilter", FILTER_VIDEO, MEDIA_IMAGE, TRUE,
                                0}),
    [](const ::testing::TestParamInfo<CountCase>& info) { return info.param.name; });

// A protected picture between two plain ones, and one that is not a picture at all.
class ProtectedTest : public ContainerTest {
  protected:
    void SetUp() override {
        ContainerTest::SetUp();
        WriteFile(u"\\Prot\\a.bmp", BmpPicture());
        MakeProtectedPicture(u"\\Prot\\b.bmp");
        WriteFile(u"\\Prot\\c.bmp", BmpPicture());
        WriteFile(u"\\Prot\\d.jpg", testing_support::SampleContent(500));
        LoadSorted(u"\\Prot");
    }
};

TEST_F(ProtectedTest, StepsNeverReachProtectedPicture) {
    ASSERT_TRUE(container_->SetCursorIndex(0));
    EXPECT_EQ(Name(container_->NextOfKind(MEDIA_IMAGE)), "c.bmp");
    ASSERT_TRUE(container_->SetCursorIndex(2));
    EXPECT_EQ(Name(container_->PreviousOfKind(MEDIA_IMAGE)), "a.bmp");
    EXPECT_TRUE(container_->FindByName(u"b.bmp")->IsProtected());
    EXPECT_FALSE(container_->FindByName(u"a.bmp")->IsProtected());
    // The damaged picture is not protected, so stepping still reaches it.
    EXPECT_EQ(Name(container_->NextOfKind(MEDIA_IMAGE)), "d.jpg");
}

TEST_F(ProtectedTest, OnlyPlainDecodablePicturesAreShowable) {
    EXPECT_EQ(container_->GetCount(MEDIA_IMAGE, TRUE), 4);
    EXPECT_EQ(container_->GetCount(MEDIA_IMAGE, FALSE), 2);
    EXPECT_TRUE(container_->HasShowablePicture());
    container_->DeleteMedia(u"a.bmp");
    container_->DeleteMedia(u"c.bmp");
    EXPECT_EQ(container_->GetCount(MEDIA_IMAGE, FALSE), 0);
    EXPECT_FALSE(container_->HasShowablePicture());
}

TEST_F(ContainerTest, EmptyListHasNoCursorOrStep) {
    MakeFolder(u"\\Void");
    EXPECT_EQ(container_->LoadFolder(u"\\Void"), 0);
    EXPECT_EQ(container_->GetCursor(), nullptr);
    EXPECT_EQ(container_->NextOfKind(MEDIA_IMAGE), nullptr);
    EXPECT_EQ(container_->PreviousOfKind(MEDIA_IMAGE), nullptr);
    container_->MoveCursor(3);
    container_->CursorToLast();
    EXPECT_EQ(container_->GetCursorIndex(), 0);
    EXPECT_FALSE(container_->SetCursorIndex(0));
    EXPECT_FALSE(container_->HasShowablePicture());
}

}  // namespace
}  // namespace containertest
