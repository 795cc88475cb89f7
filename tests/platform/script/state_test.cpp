#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/display/display.h"
#include "platform/user/script/replace_file.h"
#include "platform/user/script/state.h"
#include "platform/user/user.h"
#include "script_fixture.h"
#include "test_json.h"

namespace platform::test {
namespace {

std::vector<std::string> MemberNames(const JsonValue& object) {
    std::vector<std::string> names;
    for (const auto& member : object.members)
        names.push_back(member.first);
    return names;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class StateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallDisplay(CreateHeadlessBackend(DeviceProfile{}));
        dir_ = MakeTempFolder();
    }
    void TearDown() override {
        for (const char* section : {"a", "b", "c", "late", "we\"ird\n"}) {
            UnregisterStateProvider(section);
        }
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    static JsonValue Parsed() {
        const std::string json = StateJson();
        auto value = JsonReader::Parse(json);
        EXPECT_TRUE(value) << json;
        return value ? *value : JsonValue{};
    }

    std::filesystem::path dir_;
};

void WriteInt(JsonWriter& w, int value) {
    w.Int(value);
}

TEST_F(StateTest, SectionsKeepTheirFirstPlaceWhenReplaced) {
    RegisterStateProvider("a", [](JsonWriter& w) { WriteInt(w, 1); });
    RegisterStateProvider("b", [](JsonWriter& w) { WriteInt(w, 2); });
    RegisterStateProvider("c", [](JsonWriter& w) { WriteInt(w, 3); });
    RegisterStateProvider("a", [](JsonWriter& w) { WriteInt(w, 10); });
    UnregisterStateProvider("b");
    UnregisterStateProvider("never-registered");

    const JsonValue state = Parsed();
    EXPECT_EQ(MemberNames(state), (std::vector<std::string>{"screen", "windows", "a", "c"}));
    EXPECT_EQ(state.Find("a")->number, 10);
    EXPECT_EQ(state.Find("c")->number, 3);
}

TEST_F(StateTest, ASectionThatIsNotOneValueBecomesNull) {
    const struct {
        const char* what;
        std::function<void(JsonWriter&)> write;
    } cases[] = {
        {"nothing", [](JsonWriter&) {}},
        {"two values", [](JsonWriter& w) { w.Int(1), w.Int(2); }},
        {"unclosed object", [](JsonWriter& w) { w.BeginObject(); }},
        {"key outside an object", [](JsonWriter& w) { w.Key("k"); }},
        {"empty function", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RegisterStateProvider("a", c.write);
        RegisterStateProvider("b", [](JsonWriter& w) { w.String("fine"); });
        const JsonValue state = Parsed();
        ASSERT_NE(state.Find("a"), nullptr);
        EXPECT_EQ(state.Find("a")->type, JsonValue::Type::Null);
        EXPECT_EQ(state.Find("b")->text, "fine");
    }
}

TEST_F(StateTest, SectionNamesAreEscapedAndProvidersMayRegisterWhileRunning) {
    RegisterStateProvider("we\"ird\n", [](JsonWriter& w) {
        RegisterStateProvider("late", [](JsonWriter& inner) { inner.Bool(true); });
        w.Null();
    });
    EXPECT_EQ(MemberNames(Parsed()), (std::vector<std::string>{"screen", "windows", "we\"ird\n"}));
    EXPECT_EQ(MemberNames(Parsed()),
              (std::vector<std::string>{"screen", "windows", "we\"ird\n", "late"}));
}

TEST_F(StateTest, WindowTreeShowsHiddenWindowsAndTheTurnedScreen) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"StateTestWindow";
    RegisterClassW(&wc);
    HWND hidden = CreateWindowExW(0, u"StateTestWindow", u"hidden \u00e9", WS_POPUP, 1, 2, 30, 40,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hidden, nullptr);
    GetDisplay().Rotate();

    const JsonValue state = Parsed();
    DestroyWindow(hidden);
    EXPECT_EQ(state.Find("screen")->Find("width")->number, 400);
    EXPECT_EQ(state.Find("screen")->Find("height")->number, 240);
    const JsonValue* window = nullptr;
    for (const JsonValue& w : state.Find("windows")->items) {
        if (w.Find("class")->text == "StateTestWindow")
            window = &w;
    }
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Find("title")->text, "hidden \xC3\xA9");
    EXPECT_FALSE(window->Find("visible")->boolean);
    EXPECT_EQ(window->Find("rect")->items[2].number, 31);
}

TEST_F(StateTest, StateFileIsReplacedWholeOrLeftAlone) {
    const auto target = dir_ / "nested/folder/state.json";
    ASSERT_TRUE(WriteStateFile(target.string()));
    ASSERT_TRUE(JsonReader::Parse(ReadFile(target)));

    std::ofstream(target, std::ios::binary) << "old";
    ASSERT_TRUE(WriteStateFile(target.string()));
    EXPECT_TRUE(JsonReader::Parse(ReadFile(target)));

    // Targets that cannot be written: a folder in the way, a file where a folder is needed.
    std::filesystem::create_directory(dir_ / "is-a-folder");
    std::ofstream(dir_ / "file") << "keep";
    for (const auto& bad : {dir_ / "is-a-folder", dir_ / "file/state.json"}) {
        SCOPED_TRACE(bad.string());
        EXPECT_FALSE(WriteStateFile(bad.string()));
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir_ / "is-a-folder"));
    EXPECT_EQ(ReadFile(dir_ / "file"), "keep");
    // No temporary file is left behind, whatever happened.
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 3);  // nested, is-a-folder, file
    EXPECT_TRUE(std::filesystem::is_empty(dir_ / "is-a-folder"));
}

TEST_F(StateTest, ReplaceFileContentsWritesExactBytes) {
    const std::string data("line\n\0binary\xff", 13);
    std::string error;
    const auto target = dir_ / "out.bin";
    ASSERT_TRUE(ReplaceFileContents(target.string(), data, error)) << error;
    EXPECT_EQ(ReadFile(target), data);
    ASSERT_TRUE(ReplaceFileContents(target.string(), "", error)) << error;
    EXPECT_EQ(ReadFile(target), "");
    EXPECT_EQ(std::filesystem::status(target).permissions() & std::filesystem::perms::all,
              std::filesystem::perms(0644));
}

}  // namespace
}  // namespace platform::test
