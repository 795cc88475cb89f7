// Folders as the probe reports them: the container's counts and the names it shows by name, date
// and size in their default directions, folders ahead of files, unlisted names left out.
#include "catalogue/container/media_container.h"
#include "tests/support/zone_override.h"
#include "tests/tools/probe/probe_test_helpers.h"

namespace probetest {
namespace {

constexpr std::int64_t kBase = 1'772'600'767;  // 2026-03-04T05:06:07Z

struct Entry {
    const char16_t* name;
    int bytes;  // -1: a folder
    std::int64_t time;
};

// Equal times (A.txt, d.mp4) and equal sizes (A.txt, e.wav) fall back to the name.
const Entry kAlbum[] = {
    {u"Zeta", -1, kBase + 50},     {u"alpha", -1, kBase + 10},    {u"b.jpg", 3000, kBase + 30},
    {u"A.txt", 1000, kBase + 40},  {u"c.mp3", 5000, kBase + 20},  {u"d.mp4", 2000, kBase + 40},
    {u"e.wav", 1000, kBase + 5},   {u"SKIP.AMR", 10, kBase + 60}, {u"noext", 10, kBase + 70},
    {u"clip.3GP", 10, kBase + 80},
};

class AlbumDevice : public ProbeDevice {
  public:
    AlbumDevice() {
        for (const Entry& e : kAlbum) {
            const std::u16string path = std::u16string(u"\\My Documents\\album\\") + e.name;
            if (e.bytes < 0)
                MakeFolder(path);
            else
                Write(path, testing_support::SampleContent(static_cast<std::size_t>(e.bytes)));
            SetTime(path, e.time);
        }
        SetTime(u"\\My Documents\\album", kBase);
        MakeFolder(u"\\My Documents\\empty");
    }
};

const std::vector<std::string> kByName = {"alpha", "Zeta",  "A.txt", "b.jpg",
                                          "c.mp3", "d.mp4", "e.wav"};
const std::vector<std::string> kByDate = {"Zeta",  "alpha", "A.txt", "d.mp4",
                                          "b.jpg", "c.mp3", "e.wav"};
const std::vector<std::string> kBySize = {"alpha", "Zeta",  "A.txt", "e.wav",
                                          "d.mp4", "b.jpg", "c.mp3"};

void ExpectAlbum(const JsonValue& album) {
    EXPECT_EQ(At(album, "path").text, "\\My Documents\\album");
    EXPECT_EQ(At(album, "kind").text, "folder");
    EXPECT_EQ(At(album, "sizeKB").number, 0);
    EXPECT_TRUE(IsNull(At(album, "rights")));
    const JsonValue& counts = At(album, "counts");
    EXPECT_EQ(Keys(counts), (std::vector<std::string>{"total", "folders", "images", "documents",
                                                      "music", "videos"}));
    EXPECT_EQ(At(counts, "total").number, 7);
    EXPECT_EQ(At(counts, "folders").number, 2);
    EXPECT_EQ(At(counts, "images").number, 1);
    EXPECT_EQ(At(counts, "documents").number, 1);
    EXPECT_EQ(At(counts, "music").number, 2);
    EXPECT_EQ(At(counts, "videos").number, 1);
    const JsonValue& sorted = At(album, "sorted");
    EXPECT_EQ(Texts(At(sorted, "name")), kByName);
    EXPECT_EQ(Texts(At(sorted, "date")), kByDate);
    EXPECT_EQ(Texts(At(sorted, "size")), kBySize);
}

TEST(ProbeFolderTest, CountsAndTheThreeOrders) {
    AlbumDevice device;
    const Outcome outcome = RunInProcess(device.Args({"\\My Documents\\album"}));
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const std::vector<JsonValue> objects = Objects(outcome.out);
    ASSERT_EQ(objects.size(), 1u);
    ExpectAlbum(objects[0]);
    const JsonValue& capabilities = At(objects[0], "capabilities");
    EXPECT_FALSE(At(capabilities, "canSend").boolean);
    EXPECT_FALSE(At(capabilities, "canSetAs").boolean);
    EXPECT_FALSE(At(capabilities, "canEdit").boolean);
}

// Sorting the mode already active would flip it: with name sorting active and the flags left in
// their other direction beforehand, the same folder twice still gives the default orders, and
// the flags are put back.
TEST(ProbeFolderTest, OrdersDoNotDependOnEarlierSorts) {
    AlbumDevice device;
    CMediaContainer::GetMediaContainer()->Sort(SORT_BY_NAME);
    ASSERT_EQ(CMediaContainer::GetMediaContainer()->GetSortMode(), SORT_BY_NAME);
    CMediaContainer::s_bNameAscending = 0;
    CMediaContainer::s_bDateNewestFirst = 0;
    CMediaContainer::s_bSizeSmallestFirst = 0;
    const Outcome outcome =
        RunInProcess(device.Args({"\\My Documents\\album", "\\my documents\\ALBUM\\"}));
    const std::vector<JsonValue> objects = Objects(outcome.out);
    ASSERT_EQ(objects.size(), 2u);
    ExpectAlbum(objects[0]);
    ExpectAlbum(objects[1]);
    EXPECT_EQ(CMediaContainer::s_bNameAscending, 0);
    EXPECT_EQ(CMediaContainer::s_bDateNewestFirst, 0);
    EXPECT_EQ(CMediaContainer::s_bSizeSmallestFirst, 0);
    CMediaContainer::s_bNameAscending = 1;
    CMediaContainer::s_bDateNewestFirst = 1;
    CMediaContainer::s_bSizeSmallestFirst = 1;
}

TEST(ProbeFolderTest, EmptyFolderHasNoEntries) {
    AlbumDevice device;
    const Outcome outcome = RunInProcess(device.Args({"\\My Documents\\empty"}));
    EXPECT_EQ(outcome.status, 0);
    const std::vector<JsonValue> objects = Objects(outcome.out);
    ASSERT_EQ(objects.size(), 1u);
    const JsonValue& counts = At(objects[0], "counts");
    for (const std::string& key : Keys(counts))
        EXPECT_EQ(At(counts, key).number, 0) << key;
    for (const char* order : {"name", "date", "size"}) {
        const JsonValue& names = At(At(objects[0], "sorted"), order);
        EXPECT_EQ(names.type, JsonValue::Type::Array) << order;
        EXPECT_TRUE(names.items.empty()) << order;
    }
}

TEST(ProbeFolderTest, ModifiedIsLocalTime) {
    const testing_support::ZoneOverride zone("EST5");
    AlbumDevice device;
    const Outcome outcome =
        RunInProcess(device.Args({"\\My Documents\\album", "\\My Documents\\album\\b.jpg"}));
    const std::vector<JsonValue> objects = Objects(outcome.out);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(At(objects[0], "modified").text, "2026-03-04T00:06:07");
    EXPECT_EQ(At(objects[1], "modified").text, "2026-03-04T00:06:37");
}

TEST(ProbeFolderTest, RootListsTheStorageCard) {
    AlbumDevice device;
    testing_support::TempDir card;
    std::filesystem::create_directories(card / "DCIM");
    testing_support::WriteBytes(card / "DCIM/x.jpg", testing_support::SampleContent(10));
    std::vector<std::string> args = device.Args({"\\", "\\Storage Card\\DCIM"});
    args.insert(args.begin(), {"--card", card.path()});
    const Outcome outcome = RunInProcess(args);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const std::vector<JsonValue> objects = Objects(outcome.out);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(At(objects[0], "path").text, "");
    EXPECT_EQ(At(objects[0], "kind").text, "folder");
    const std::vector<std::string> rootNames = Texts(At(At(objects[0], "sorted"), "name"));
    EXPECT_NE(std::find(rootNames.begin(), rootNames.end(), "Storage Card"), rootNames.end());
    EXPECT_NE(std::find(rootNames.begin(), rootNames.end(), "My Documents"), rootNames.end());
    EXPECT_EQ(At(objects[1], "path").text, "\\Storage Card\\DCIM");
    EXPECT_EQ(Texts(At(At(objects[1], "sorted"), "name")), std::vector<std::string>{"x.jpg"});
    EXPECT_EQ(At(At(objects[1], "counts"), "images").number, 1);
}

}  // namespace
}  // namespace probetest
