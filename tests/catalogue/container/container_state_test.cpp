// The container's section of the state document, read back through a strict JSON reader after
// loads, sorts, filters, selection and cursor moves.
#include "catalogue/container/container_state.h"

#include <string>
#include <vector>

#include "platform/user/script/state.h"
#include "tests/catalogue/container/container_fixture.h"
#include "tests/platform/script/test_json.h"

namespace containertest {
namespace {

using platform::test::JsonReader;
using platform::test::JsonValue;

class ContainerStateTest : public ContainerTest {
  protected:
    void SetUp() override {
        ContainerTest::SetUp();
        RegisterContainerState();
        MakeFiles(u"\\Mixed", {{u"b.jpg", 3072, kBaseTime + 100},
                               {u"a.mp3", 1024, kBaseTime + 300},
                               {u"c.txt", 2048, kBaseTime + 200},
                               {u"d.mp4", 512, kBaseTime + 400}});
        MakeFolder(u"\\Mixed\\Album", kBaseTime);
        MakeProtectedPicture(u"\\Mixed\\locked.bmp");
    }
    void TearDown() override {
        UnregisterContainerState();
        ContainerTest::TearDown();
    }

    // The "container" section of a fresh state document; fails the test when it is missing.
    static JsonValue Section() {
        const std::optional<JsonValue> doc = JsonReader::Parse(platform::StateJson());
        if (!doc) {
            ADD_FAILURE() << "the state is not well-formed JSON";
            return {};
        }
        const JsonValue* section = doc->Find("container");
        if (!section || section->type != JsonValue::Type::Object) {
            ADD_FAILURE() << "no container section";
            return {};
        }
        return *section;
    }

    static double Number(const JsonValue& object, const char* key) {
        const JsonValue* value = object.Find(key);
        EXPECT_TRUE(value && value->type == JsonValue::Type::Number) << key;
        return value ? value->number : -1000;
    }
    static bool Flag(const JsonValue& object, const char* key) {
        const JsonValue* value = object.Find(key);
        EXPECT_TRUE(value && value->type == JsonValue::Type::Bool) << key;
        return value && value->boolean;
    }
    static std::string Text(const JsonValue& object, const char* key) {
        const JsonValue* value = object.Find(key);
        EXPECT_TRUE(value && value->type == JsonValue::Type::String) << key;
        return value ? value->text : std::string();
    }
    static const std::vector<JsonValue>& Items(const JsonValue& section) {
        static const std::vector<JsonValue> kNone;
        const JsonValue* items = section.Find("items");
        EXPECT_TRUE(items && items->type == JsonValue::Type::Array);
        return items ? items->items : kNone;
    }
    static std::vector<std::string> ItemNames(const JsonValue& section) {
        std::vector<std::string> names;
        for (const JsonValue& item : Items(section))
            names.push_back(Text(item, "name"));
        return names;
    }
};

TEST_F(ContainerStateTest, DescribesTheLoadedFolder) {
    LoadSorted(u"\\Mixed");
    const JsonValue section = Section();
    EXPECT_EQ(Text(section, "folderPath"), "\\Mixed");
    EXPECT_EQ(Text(section, "displayName"), "Mixed");
    EXPECT_EQ(Number(section, "sortMode"), SORT_BY_NAME);
    EXPECT_TRUE(Flag(section, "nameAscending"));
    EXPECT_TRUE(Flag(section, "dateNewestFirst"));
    EXPECT_TRUE(Flag(section, "sizeSmallestFirst"));
    EXPECT_EQ(Number(section, "totalCount"), 6);
    EXPECT_EQ(Number(section, "shownCount"), 6);
    EXPECT_EQ(Number(section, "cursor"), 0);

    const JsonValue* counts = section.Find("counts");
    ASSERT_NE(counts, nullptr);
    struct Count {
        const char* kind;
        int expected;
    };
    for (const Count& c : {Count{"folder", 1}, Count{"image", 2}, Count{"document", 1},
                           Count{"music", 1}, Count{"video", 1}})
        EXPECT_EQ(Number(*counts, c.kind), c.expected) << c.kind;

    const std::vector<JsonValue>& items = Items(section);
    ASSERT_EQ(items.size(), 6u);
    struct Item {
        const char* name;
        MediaType type;
        double sizeKB;
    };
    const Item expected[] = {{"Album", MEDIA_FOLDER, 0},  {"a.mp3", MEDIA_MUSIC, 1},
                             {"b.jpg", MEDIA_IMAGE, 3},   {"c.txt", MEDIA_DOCUMENT, 2},
                             {"d.mp4", MEDIA_VIDEO, 0.5}, {"locked.bmp", MEDIA_IMAGE, -1}};
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(Text(items[i], "name"), expected[i].name);
        EXPECT_EQ(Number(items[i], "type"), static_cast<double>(expected[i].type));
        // The protected file's size depends on its envelope; it is only known to be there.
        if (expected[i].sizeKB >= 0) {
            EXPECT_DOUBLE_EQ(Number(items[i], "sizeKB"), expected[i].sizeKB);
        } else {
            EXPECT_GT(Number(items[i], "sizeKB"), 0);
        }
        EXPECT_FALSE(Flag(items[i], "selected"));
        EXPECT_FALSE(Flag(items[i], "isDrm"));
    }
}

TEST_F(ContainerStateTest, FollowsSortsAndTheirDirections) {
    LoadSorted(u"\\Mixed");
    struct Case {
        const char* name;
        DWORD mode;
        std::vector<std::string> names;
        double sortMode;
        bool nameAscending;
        bool dateNewestFirst;
        bool sizeSmallestFirst;
    };
    const Case cases[] = {
        {"name again flips",
         SORT_BY_NAME,
         {"Album", "locked.bmp", "d.mp4", "c.txt", "b.jpg", "a.mp3"},
         SORT_BY_NAME,
         false,
         true,
         true},
        {"size",
         SORT_BY_SIZE,
         {"Album", "locked.bmp", "d.mp4", "a.mp3", "c.txt", "b.jpg"},
         SORT_BY_SIZE,
         false,
         true,
         true},
        {"date",
         SORT_BY_DATE,
         {"Album", "locked.bmp", "d.mp4", "a.mp3", "c.txt", "b.jpg"},
         SORT_BY_DATE,
         false,
         true,
         true},
        {"date again flips",
         SORT_BY_DATE,
         {"Album", "b.jpg", "c.txt", "a.mp3", "d.mp4", "locked.bmp"},
         SORT_BY_DATE,
         false,
         false,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(container_->Sort(c.mode), 1);
        const JsonValue section = Section();
        EXPECT_EQ(ItemNames(section), c.names);
        EXPECT_EQ(Number(section, "sortMode"), c.sortMode);
        EXPECT_EQ(Flag(section, "nameAscending"), c.nameAscending);
        EXPECT_EQ(Flag(section, "dateNewestFirst"), c.dateNewestFirst);
        EXPECT_EQ(Flag(section, "sizeSmallestFirst"), c.sizeSmallestFirst);
        EXPECT_EQ(Number(section, "cursor"), 0);
    }
}

TEST_F(ContainerStateTest, FollowsTheFilter) {
    LoadSorted(u"\\Mixed");
    struct Case {
        const char* name;
        DWORD filter;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"pictures", FILTER_IMAGE, {"Album", "b.jpg", "locked.bmp"}},
        {"music", FILTER_MUSIC, {"Album", "a.mp3"}},
        {"documents", FILTER_DOCUMENT, {"Album", "c.txt"}},
        {"all", FILTER_ALL, {"Album", "a.mp3", "b.jpg", "c.txt", "d.mp4", "locked.bmp"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(container_->ApplyFilter(c.filter), 1);
        ASSERT_EQ(container_->Sort(0), 1);
        const JsonValue section = Section();
        EXPECT_EQ(ItemNames(section), c.names);
        EXPECT_EQ(Number(section, "shownCount"), static_cast<double>(c.names.size()));
        EXPECT_EQ(Number(section, "totalCount"), 6);
    }
}

TEST_F(ContainerStateTest, ShowsSelectionCursorAndProtection) {
    LoadSorted(u"\\Mixed");
    container_->ToggleSelect(container_->ItemAt(2));  // b.jpg
    ASSERT_TRUE(container_->SetCursorIndex(4));
    // Counting showable pictures looks up every picture's rights.
    container_->GetCount(MEDIA_IMAGE, FALSE);
    const JsonValue section = Section();
    EXPECT_EQ(Number(section, "cursor"), 4);
    const std::vector<JsonValue>& items = Items(section);
    ASSERT_EQ(items.size(), 6u);
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(Text(items[i], "name"));
        EXPECT_EQ(Flag(items[i], "selected"), i == 2);
        EXPECT_EQ(Flag(items[i], "isDrm"), i == 5);
    }
}

TEST_F(ContainerStateTest, EmptyListHasNoCursor) {
    MakeFolder(u"\\Empty");
    EXPECT_EQ(container_->LoadFolder(u"\\Empty"), 0);
    container_->ApplyFilter(FILTER_ALL);
    const JsonValue section = Section();
    EXPECT_EQ(Number(section, "cursor"), -1);
    EXPECT_TRUE(Items(section).empty());
    EXPECT_EQ(Number(section, "shownCount"), 0);
    const JsonValue* counts = section.Find("counts");
    ASSERT_NE(counts, nullptr);
    EXPECT_EQ(Number(*counts, "image"), 0);
}

TEST_F(ContainerStateTest, UnregisteredSectionIsGone) {
    UnregisterContainerState();
    const std::optional<JsonValue> doc = JsonReader::Parse(platform::StateJson());
    ASSERT_TRUE(doc.has_value());
    EXPECT_EQ(doc->Find("container"), nullptr);
    RegisterContainerState();
}

}  // namespace
}  // namespace containertest
