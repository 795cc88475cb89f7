// The whole program, headless: tabs, the soft-key menu and its enable rules, selection by tap,
// and the context menu.
#include <gtest/gtest.h>

#include <string>

#include "tests/app/browse/browse_run.h"

namespace browse_test {
namespace {

// A tap on the grid runs the tap-and-hold recogniser's own short loop; the waits after taps let
// it see the stylus lift before the script goes on.

// Portrait tab bar: five 44-pixel tabs with 3-pixel gaps in the bottom 47 pixels of the client.
std::string TapTab(int tab) {
    return "tap " + std::to_string(3 + tab * 47 + 22) + " " + std::to_string(kClientTop + 348 - 24);
}
// A point inside cell `slot` of the three-column portrait grid, away from its selection box.
std::string CellPoint(int slot) {
    return std::to_string(3 + (slot % 3) * 73 + 40) + " " +
           std::to_string(kClientTop + 22 + (slot / 3) * 70 + 40);
}
// The selection box in the cell's top-left corner.
std::string BoxPoint(int slot) {
    return std::to_string(3 + (slot % 3) * 73 + 6) + " " +
           std::to_string(kClientTop + 22 + (slot / 3) * 70 + 6);
}

void AddMixedFolder(BrowseRun& run) {
    run.AddFolder("\\My Documents\\Mixed\\Sub");
    run.AddFile("\\My Documents\\Mixed\\a.txt", 100, 1);
    run.AddFile("\\My Documents\\Mixed\\b.wav", 100, 2);
    run.AddFile("\\My Documents\\Mixed\\c.wav", 100, 3);
    run.AddFile("\\My Documents\\Mixed\\d.jpg", 100, 4);
    run.AddFile("\\My Documents\\Mixed\\e.mp4", 100, 5);
}

// The open pop-up's item with command `id`, or null.
const JsonValue* MenuItem(const JsonValue& state, int id) {
    for (const JsonValue& level : At(state, "popupMenu.levels").items) {
        for (const JsonValue& item : At(level, "items").items) {
            if (Int(item, "id") == id)
                return &item;
        }
    }
    return nullptr;
}

bool Enabled(const JsonValue& state, int id) {
    const JsonValue* item = MenuItem(state, id);
    return item != nullptr && Int(*item, "enabled") == 1;
}

TEST(BrowseCommandsTest, TabsFilterTheListAndTheSameTabChangesNothing) {
    BrowseRun run;
    AddMixedFolder(run);
    ASSERT_EQ(run.Run("\\My Documents\\Mixed",
                      {"idle", "state all", TapTab(3), "idle", "state music", TapTab(3), "idle",
                       "state musicAgain", TapTab(1), "idle", "state image", "quit"}),
              0)
        << run.DebugLog();
    struct Expect {
        const char* state;
        const char* filter;
        int shown;
        int bar;
    };
    // The folder stays in every tab; each filter has its own menu bar.
    for (const Expect& e : {Expect{"all", "0x11111", 6, 108}, Expect{"music", "0x1001", 3, 112},
                            Expect{"musicAgain", "0x1001", 3, 112},
                            Expect{"image", "0x11", 2, 110}}) {
        const JsonValue& s = run.State(e.state);
        EXPECT_EQ(Text(s, "mainWindow.typeFilter"), e.filter) << e.state;
        EXPECT_EQ(Int(s, "container.shownCount"), e.shown) << e.state;
        EXPECT_EQ(Int(s, "mainWindow.menuBar.resource"), e.bar) << e.state;
    }
    EXPECT_EQ(ShownNames(run.State("music")), ShownNames(run.State("musicAgain")));
}

TEST(BrowseCommandsTest, MenuRulesFollowTheItemAndTheSelection) {
    BrowseRun run;
    AddMixedFolder(run);
    // Date order, newest first: Sub (made now), a.txt, b.wav, c.wav, d.jpg, e.mp4. Slot 2 is
    // b.wav.
    ASSERT_EQ(run.Run("\\My Documents\\Mixed",
                      {"idle", "tap " + BoxPoint(2), "wait 300", "idle", "key f2", "idle", "state selected",
                       "key escape", "idle", "tap " + BoxPoint(2), "wait 300", "idle", "key f2", "idle",
                       "state none", "key escape", "idle", "quit"}),
              0)
        << run.DebugLog();
    const JsonValue& selected = run.State("selected");
    EXPECT_EQ(Int(selected, "container.cursor"), 2);
    ASSERT_NE(MenuItem(selected, 32818), nullptr) << "the Menu pop-up is not open";
    // With a selection: no slide show, no Add to Now Playing, no Properties; Delete stays.
    EXPECT_FALSE(Enabled(selected, 32845));
    EXPECT_FALSE(Enabled(selected, 32857));
    EXPECT_FALSE(Enabled(selected, 32831));
    EXPECT_TRUE(Enabled(selected, 32818));
    // Without one, on a sound: Add to Now Playing and Properties come back; the only picture
    // is broken, so there is no slide show.
    const JsonValue& none = run.State("none");
    EXPECT_TRUE(Enabled(none, 32857));
    EXPECT_TRUE(Enabled(none, 32831));
    EXPECT_FALSE(Enabled(none, 32845));
}

TEST(BrowseCommandsTest, HoldingACellOpensItsContextMenuAndClearsAnotherSelection) {
    BrowseRun run;
    AddMixedFolder(run);
    ASSERT_EQ(run.Run("\\My Documents\\Mixed",
                      {"idle", "tap " + BoxPoint(1), "wait 300", "idle", "state tapped",
                       "hold " + CellPoint(3) + " 1200", "idle", "state held", "key escape",
                       "idle", "hold " + CellPoint(0) + " 1200", "idle", "state folder",
                       "key escape", "idle", "quit"}),
              0)
        << run.DebugLog();
    const JsonValue& tapped = run.State("tapped");
    EXPECT_EQ(Int(tapped, "container.cursor"), 1);
    EXPECT_EQ(Int(At(tapped, "container.items").items.at(1), "selected"), 1);

    // Holding an unselected cell while another is selected selects none first, then moves the
    // cursor and shows the file menu: Rename without a selection, Select None disabled.
    const JsonValue& held = run.State("held");
    EXPECT_EQ(Int(held, "container.cursor"), 3);
    EXPECT_EQ(Int(At(held, "container.items").items.at(1), "selected"), 0);
    EXPECT_TRUE(Enabled(held, 32952));
    EXPECT_FALSE(Enabled(held, 32825));
    // The folder's menu has Rename too, and no Send.
    const JsonValue& folder = run.State("folder");
    EXPECT_EQ(Int(folder, "container.cursor"), 0);
    EXPECT_TRUE(Enabled(folder, 32952));
    EXPECT_EQ(MenuItem(folder, 32816), nullptr);
}

}  // namespace
}  // namespace browse_test
