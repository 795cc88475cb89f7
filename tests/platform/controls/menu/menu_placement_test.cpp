// Where pop-ups and sub-menus go on a 240 x 400 screen.
#include "menu_test_support.h"
#include "platform/controls/menu/menu_layout.h"

namespace menutest {
namespace {

using platform::menu::PlacePopup;
using platform::menu::PlaceSubMenu;

constexpr RECT kScreen{0, 0, 240, 400};
constexpr SIZE kSize{100, 120};

bool Same(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b);
}

TEST(MenuPlacementTest, PopUpsStayOnTheScreen) {
    struct Case {
        const char* name;
        POINT at;
        UINT flags;
        RECT expected;
    };
    const std::vector<Case> cases = {
        {"fits below right", {20, 30}, TPM_LEFTALIGN | TPM_TOPALIGN, {20, 30, 120, 150}},
        {"flips left at the right edge", {200, 30}, 0, {100, 30, 200, 150}},
        {"flips up at the bottom edge", {20, 350}, 0, {20, 230, 120, 350}},
        {"flips both in the corner", {239, 399}, 0, {139, 279, 239, 399}},
        {"right aligned", {150, 30}, TPM_RIGHTALIGN, {50, 30, 150, 150}},
        {"right aligned near the left edge flips", {40, 30}, TPM_RIGHTALIGN, {40, 30, 140, 150}},
        {"centred", {120, 30}, TPM_CENTERALIGN, {70, 30, 170, 150}},
        {"bottom aligned above a soft key", {0, 374}, TPM_BOTTOMALIGN, {0, 254, 100, 374}},
        {"bottom aligned near the top flips", {10, 50}, TPM_BOTTOMALIGN, {10, 50, 110, 170}},
        {"vertically centred", {10, 200}, TPM_VCENTERALIGN, {10, 140, 110, 260}},
        {"left of the screen is shifted", {-30, 30}, 0, {0, 30, 100, 150}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RECT r = PlacePopup(kSize, c.at, c.flags, kScreen, nullptr);
        EXPECT_TRUE(Same(r, c.expected))
            << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

TEST(MenuPlacementTest, ALargerThanScreenMenuStartsAtTheTop) {
    const RECT r = PlacePopup(SIZE{100, 500}, POINT{20, 200}, 0, kScreen, nullptr);
    EXPECT_TRUE(Same(r, RECT{20, 0, 120, 500}));
}

TEST(MenuPlacementTest, KeepsClearOfTheExcludedRectangle) {
    // Shifted up from the bottom edge it would cover the soft key; it goes above it instead.
    const RECT key{0, 374, 120, 400};
    const RECT r = PlacePopup(kSize, POINT{0, 380}, TPM_TOPALIGN, RECT{0, 0, 240, 500}, &key);
    EXPECT_TRUE(Same(r, RECT{0, 254, 100, 374}));
    // Right-aligned on the right key, bottom-aligned at its top: touching, not covering.
    const RECT right{120, 374, 240, 400};
    const RECT r2 =
        PlacePopup(kSize, POINT{240, 374}, TPM_RIGHTALIGN | TPM_BOTTOMALIGN, kScreen, &right);
    EXPECT_TRUE(Same(r2, RECT{140, 254, 240, 374}));
}

TEST(MenuPlacementTest, SubMenusOpenBesideTheirParent) {
    struct Case {
        const char* name;
        RECT parent;
        RECT item;
        RECT expected;
    };
    const std::vector<Case> cases = {
        {"to the right", {10, 40, 110, 200}, {11, 60, 109, 84}, {110, 60, 210, 180}},
        {"to the left when the right is full",
         {130, 40, 230, 200},
         {131, 60, 229, 84},
         {30, 60, 130, 180}},
        {"shifted up at the bottom",
         {10, 200, 110, 390},
         {11, 360, 109, 384},
         {110, 280, 210, 400}},
        {"no room either side: shifted in",
         {70, 40, 170, 200},
         {71, 60, 169, 84},
         {140, 60, 240, 180}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RECT r = PlaceSubMenu(kSize, c.parent, c.item, kScreen);
        EXPECT_TRUE(Same(r, c.expected))
            << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

}  // namespace
}  // namespace menutest
