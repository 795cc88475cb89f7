#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/user/window.h"
#include "resource_test_util.h"
#include "resources/dialog_units.h"
#include "resources/resource_ids.h"

namespace {

using platform::DialogItemResource;
using platform::DialogResource;
using resources_test::Dialog;
using resources_test::Text;

const DialogItemResource* Control(const DialogResource& dialog, WORD id) {
    for (const auto& item : dialog.items) {
        if (item.id == id)
            return &item;
    }
    return nullptr;
}

bool IsDropDownList(const DialogItemResource& item) {
    return Text(item.className) == u"combobox" && (item.style & 0x3) == CBS_DROPDOWNLIST;
}

// The area a control covers while closed; a drop-down list's template height includes its list.
struct Box {
    int left, top, right, bottom;
};
Box ClosedBox(const DialogItemResource& item) {
    const int height = IsDropDownList(item) ? resources::DialogUnitsY(22) : item.cy;
    return {item.x, item.y, item.x + item.cx, item.y + height};
}

TEST(Dialogs, SlideShowOptionsHasALabelledDropDownListPerSetting) {
    const DialogResource* dialog = Dialog(IDD_SLIDESHOW_OPTIONS);
    ASSERT_NE(dialog, nullptr);
    struct Setting {
        WORD id;
        const char16_t* label;
    };
    const Setting settings[] = {
        {IDC_SLIDESHOW_REPEAT, u"Repeat:"},
        {IDC_SLIDESHOW_DURATION, u"Duration:"},
        {IDC_SLIDESHOW_EFFECT, u"Transition effect:"},
        {IDC_SLIDESHOW_DIRECTION, u"Show direction:"},
    };
    int previousTop = -1;
    for (const auto& setting : settings) {
        const DialogItemResource* list = Control(*dialog, setting.id);
        ASSERT_NE(list, nullptr) << setting.id;
        EXPECT_TRUE(IsDropDownList(*list)) << setting.id;
        EXPECT_NE(list->style & WS_TABSTOP, 0u) << setting.id;
        EXPECT_GT(list->y, previousTop) << "settings top to bottom in id order";
        previousTop = list->y;
        // Its label is the static text that ends nearest above it.
        const DialogItemResource* label = nullptr;
        for (const auto& item : dialog->items) {
            if (Text(item.className) == u"static" && item.y + item.cy <= list->y &&
                (label == nullptr || item.y > label->y))
                label = &item;
        }
        ASSERT_NE(label, nullptr) << setting.id;
        EXPECT_EQ(Text(label->text), setting.label) << setting.id;
    }
    // The effect list must be able to show several of its 26 names when open.
    EXPECT_GE(resources::DialogPixelsY(Control(*dialog, IDC_SLIDESHOW_EFFECT)->cy), 120);
}

TEST(Dialogs, NameInputIsAnEditBoxOf220By120Pixels) {
    const DialogResource* dialog = Dialog(IDD_NAME_INPUT);
    ASSERT_NE(dialog, nullptr);
    EXPECT_NEAR(resources::DialogPixelsX(dialog->cx), 220, 1);
    EXPECT_NEAR(resources::DialogPixelsY(dialog->cy), 120, 1);
    const DialogItemResource* edit = Control(*dialog, IDC_NAME_EDIT);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(Text(edit->className), u"edit");
    EXPECT_NE(edit->style & ES_AUTOHSCROLL, 0u);  // names are longer than the box
    // The prompt is painted at (10, 5)-(200, 25); the edit box stays below it.
    EXPECT_GE(resources::DialogPixelsY(edit->y), 25);
}

TEST(Dialogs, SaveAsHasPromptEditAndButtons) {
    const DialogResource* dialog = Dialog(IDD_SAVE_AS);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(dialog->title), u"Save as");
    const DialogItemResource* edit = Control(*dialog, IDC_SAVE_AS_EDIT);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(Text(edit->className), u"edit");
    bool prompt = false;
    for (const auto& item : dialog->items)
        prompt = prompt || Text(item.text) == u"Input filename";
    EXPECT_TRUE(prompt);
}

TEST(Dialogs, NameDialogsCanBeConfirmedAndCancelled) {
    for (UINT id : {IDD_NAME_INPUT, IDD_SAVE_AS}) {
        const DialogResource* dialog = Dialog(id);
        ASSERT_NE(dialog, nullptr);
        for (WORD button : {IDOK, IDCANCEL}) {
            const DialogItemResource* item = Control(*dialog, button);
            ASSERT_NE(item, nullptr) << "dialog " << id << " button " << button;
            EXPECT_EQ(Text(item->className), u"button");
            EXPECT_FALSE(Text(item->text).empty());
        }
        EXPECT_EQ(Control(*dialog, IDOK)->style & 0xF, BS_DEFPUSHBUTTON) << "Enter confirms";
    }
}

// Every control is visible, inside its dialog, not on top of another, and addressed once.
TEST(Dialogs, ControlsAreVisibleInsideAndApart) {
    for (const auto& dialog : ProgramDialogs()) {
        std::set<WORD> ids;
        std::vector<Box> boxes;
        for (const auto& item : dialog.items) {
            EXPECT_EQ(item.style & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);
            EXPECT_FALSE(Text(item.className).empty());
            if (item.id != IDC_STATIC) {
                EXPECT_TRUE(ids.insert(item.id).second) << "dialog " << dialog.id << " " << item.id;
            }
            const Box box = ClosedBox(item);
            EXPECT_GE(box.left, 0) << "dialog " << dialog.id << " " << item.id;
            EXPECT_GE(box.top, 0) << "dialog " << dialog.id << " " << item.id;
            EXPECT_LE(box.right, dialog.cx) << "dialog " << dialog.id << " " << item.id;
            EXPECT_LE(box.bottom, dialog.cy) << "dialog " << dialog.id << " " << item.id;
            for (const Box& other : boxes) {
                const bool apart = box.right <= other.left || other.right <= box.left ||
                                   box.bottom <= other.top || other.bottom <= box.top;
                EXPECT_TRUE(apart) << "dialog " << dialog.id << " control " << item.id;
            }
            boxes.push_back(box);
        }
    }
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// The dialog manager builds every template: each addressed control exists and, in the platform's
// own dialog units, lies inside the dialog's client area.
TEST(Dialogs, EveryTemplateBuildsWithItsControlsInside) {
    const resources_test::ScopedProgramCatalogue catalogue;
    platform::RegisterControlClasses();
    for (const auto& t : ProgramDialogs()) {
        const HWND dialog =
            CreateDialogParamW(nullptr, MAKEINTRESOURCEW(t.id), nullptr, QuietDialogProc, 0);
        ASSERT_NE(dialog, nullptr) << "dialog " << t.id;
        RECT client{};
        GetClientRect(dialog, &client);
        for (const auto& item : t.items) {
            if (item.id == IDC_STATIC)
                continue;
            const HWND control = GetDlgItem(dialog, item.id);
            ASSERT_NE(control, nullptr) << "dialog " << t.id << " control " << item.id;
            RECT r{};
            GetWindowRect(control, &r);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
            EXPECT_GE(r.left, client.left) << "dialog " << t.id << " control " << item.id;
            EXPECT_GE(r.top, client.top) << "dialog " << t.id << " control " << item.id;
            EXPECT_LE(r.right, client.right) << "dialog " << t.id << " control " << item.id;
            EXPECT_LE(r.bottom, client.bottom) << "dialog " << t.id << " control " << item.id;
        }
        DestroyWindow(dialog);
    }
}

TEST(DialogUnits, RoundTripStaysWithinAPixel) {
    for (int pixels = 0; pixels <= 480; ++pixels) {
        EXPECT_NEAR(resources::DialogPixelsX(resources::DialogUnitsX(pixels)), pixels, 1);
        EXPECT_NEAR(resources::DialogPixelsY(resources::DialogUnitsY(pixels)), pixels, 1);
    }
}

}  // namespace
