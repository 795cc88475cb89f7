// The program's dialog templates. Lengths are written in design pixels at 96 dpi and stored in
// dialog units (dialog_units.h), so that the templates read like the layouts the views describe.
#include "platform/controls/controls.h"
#include "platform/user/window.h"
#include "resources/dialog_units.h"
#include "resources/resource_ids.h"
#include "resources/resource_tables.h"
#include "resources/table_checks.h"

namespace {

using platform::DialogItemResource;
using platform::DialogResource;
using resources::DialogUnitsX;
using resources::DialogUnitsY;

struct PixelRect {
    int x, y, cx, cy;
};

constexpr DialogItemResource Control(LPCWSTR className, LPCWSTR text, unsigned id, DWORD style,
                                     PixelRect r) {
    return {className,
            text,
            static_cast<WORD>(id),
            WS_CHILD | WS_VISIBLE | style,
            0,
            DialogUnitsX(r.x),
            DialogUnitsY(r.y),
            DialogUnitsX(r.cx),
            DialogUnitsY(r.cy)};
}

constexpr DialogResource Dialog(unsigned id, DWORD style, PixelRect r, LPCWSTR title,
                                std::span<const DialogItemResource> items) {
    return {id,
            style,
            0,
            DialogUnitsX(r.x),
            DialogUnitsY(r.y),
            DialogUnitsX(r.cx),
            DialogUnitsY(r.cy),
            title,
            nullptr,
            0,
            items};
}

constexpr DWORD kLabelStyle = SS_LEFT | SS_NOPREFIX;
constexpr DWORD kListStyle = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kEditStyle = WS_TABSTOP | WS_BORDER | ES_LEFT | ES_AUTOHSCROLL;

constexpr DialogItemResource Label(LPCWSTR text, PixelRect r) {
    return Control(u"static", text, IDC_STATIC, kLabelStyle, r);
}
// A drop-down list's height includes its open list, as in every dialog template.
constexpr DialogItemResource DropDownList(unsigned id, int top, int openHeight) {
    return Control(u"combobox", u"", id, kListStyle, {10, top, 220, openHeight});
}

// Slide show options: sized to the screen by the dialog helper; the title "Options" and the
// rule under it are painted across the top 27 pixels.
constexpr DialogItemResource kSlideShowOptionsItems[] = {
    Label(u"Repeat:", {10, 34, 220, 16}),
    DropDownList(IDC_SLIDESHOW_REPEAT, 52, 70),
    Label(u"Duration:", {10, 84, 220, 16}),
    DropDownList(IDC_SLIDESHOW_DURATION, 102, 86),
    Label(u"Transition effect:", {10, 134, 220, 16}),
    DropDownList(IDC_SLIDESHOW_EFFECT, 152, 150),
    Label(u"Show direction:", {10, 184, 220, 16}),
    DropDownList(IDC_SLIDESHOW_DIRECTION, 202, 86),
};

// Rename and New folder share one box; the caller sets the title and paints the prompt at
// (10, 5)-(200, 25), then places the box at its pixel position.
constexpr DialogItemResource kOkButton =
    Control(u"button", u"OK", IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, {20, 62, 80, 24});
constexpr DialogItemResource kCancelButton =
    Control(u"button", u"Cancel", IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, {120, 62, 80, 24});
constexpr PixelRect kNameEditRect{10, 30, 200, 22};

constexpr DialogItemResource kNameInputItems[] = {
    Control(u"edit", u"", IDC_NAME_EDIT, kEditStyle, kNameEditRect),
    kOkButton,
    kCancelButton,
};
constexpr DialogItemResource kSaveAsItems[] = {
    Label(u"Input filename", {10, 5, 200, 20}),
    Control(u"edit", u"", IDC_SAVE_AS_EDIT, kEditStyle, kNameEditRect),
    kOkButton,
    kCancelButton,
};

constexpr DWORD kBoxStyle = WS_POPUP | WS_CAPTION | DS_MODALFRAME;

constexpr DialogResource kDialogs[] = {
    Dialog(IDD_SLIDESHOW_OPTIONS, WS_POPUP | WS_CAPTION | WS_SYSMENU, {0, 0, 240, 268},
           u"Slide Show Options", kSlideShowOptionsItems),
    Dialog(IDD_NAME_INPUT, kBoxStyle, {10, 74, 220, 120}, u"", kNameInputItems),
    Dialog(IDD_SAVE_AS, kBoxStyle | DS_CENTER, {10, 74, 220, 120}, u"Save as", kSaveAsItems),
};
static_assert(resources::StrictlyAscendingIds(std::span<const DialogResource>(kDialogs)),
              "dialogs are looked up by binary search");

}  // namespace

std::span<const DialogResource> ProgramDialogs() {
    return kDialogs;
}
