#include <algorithm>

#include "platform/controls/internal/text_kit.h"
#include "platform/controls/message_box/message_box_layout.h"

namespace platform::controls {
namespace {

// Button labels; the handheld's own message boxes are not localised through the program.
constexpr MessageBoxButton kOk{IDOK, u"OK"};
constexpr MessageBoxButton kCancel{IDCANCEL, u"Cancel"};
constexpr MessageBoxButton kYes{IDYES, u"Yes"};
constexpr MessageBoxButton kNo{IDNO, u"No"};
constexpr MessageBoxButton kAbort{IDABORT, u"Abort"};
constexpr MessageBoxButton kRetry{IDRETRY, u"Retry"};
constexpr MessageBoxButton kIgnore{IDIGNORE, u"Ignore"};

int TextHeight(std::u16string_view text, int width) {
    const HDC hdc = GetDC(nullptr);
    if (!hdc)
        return ScaleForDpi(14);
    int height = 0;
    {
        ScopedSelectObject font(hdc, ControlFont(nullptr));
        height = std::max(WrappedHeight(hdc, text, width), LineHeight(hdc));
    }
    ReleaseDC(nullptr, hdc);
    return height;
}

}  // namespace

std::vector<MessageBoxButton> ButtonsFor(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return {kOk, kCancel};
        case MB_ABORTRETRYIGNORE:
            return {kAbort, kRetry, kIgnore};
        case MB_YESNOCANCEL:
            return {kYes, kNo, kCancel};
        case MB_YESNO:
            return {kYes, kNo};
        case MB_RETRYCANCEL:
            return {kRetry, kCancel};
        default:
            return {kOk};
    }
}

int EscapeAnswer(const std::vector<MessageBoxButton>& buttons) {
    for (int wanted : {IDCANCEL, IDNO}) {
        for (const MessageBoxButton& b : buttons) {
            if (b.id == wanted)
                return wanted;
        }
    }
    return buttons.size() == 1 && buttons[0].id == IDOK ? IDOK : 0;
}

MessageBoxLayout LayOutMessageBox(LPCWSTR text, LPCWSTR caption, UINT type) {
    MessageBoxLayout l;
    l.text = text ? text : u"";
    l.caption = caption ? caption : u"Error";
    l.icon = type & MB_ICONMASK;
    l.buttons = ButtonsFor(type);
    l.defaultButton = std::min<size_t>((type & MB_DEFMASK) >> 8, l.buttons.size() - 1);

    const RECT work = WorkArea();
    const int width = work.right - work.left;
    const int margin = ScaleForDpi(8);
    const int bandHeight = ScaleForDpi(24);
    const int iconSize = l.icon ? ScaleForDpi(32) : 0;
    const int buttonHeight = ScaleForDpi(34);
    const int textLeft = margin + (iconSize ? iconSize + margin : 0);
    const int textWidth = std::max(width - textLeft - margin, 1);
    const int maxText = (work.bottom - work.top) - bandHeight - buttonHeight - 4 * margin;
    const int textHeight = std::min(TextHeight(l.text, textWidth), std::max(maxText, 0));
    const int body = std::max(textHeight, iconSize);
    const int height = bandHeight + margin + body + margin + buttonHeight + margin;

    const int top = work.top + std::max((work.bottom - work.top - height) / 2, 0);
    l.panel = RECT{work.left, top, work.right, top + height};
    l.band = RECT{0, 0, width, bandHeight};
    const int bodyTop = bandHeight + margin;
    l.iconRect = RECT{margin, bodyTop, margin + iconSize, bodyTop + iconSize};
    l.textRect = RECT{textLeft, bodyTop + (body - textHeight) / 2, textLeft + textWidth,
                      bodyTop + (body + textHeight) / 2};

    // Equal buttons, at most S(100) wide, centred in the row.
    const int n = static_cast<int>(l.buttons.size());
    const int buttonWidth = std::min(ScaleForDpi(100), (width - (n + 1) * margin) / n);
    const int row = n * buttonWidth + (n - 1) * margin;
    int x = (width - row) / 2;
    const int buttonTop = height - margin - buttonHeight;
    for (MessageBoxButton& b : l.buttons) {
        b.rect = RECT{x, buttonTop, x + buttonWidth, buttonTop + buttonHeight};
        x += buttonWidth + margin;
    }
    return l;
}

}  // namespace platform::controls
