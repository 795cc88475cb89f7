// Dialog templates are laid out in dialog units, which the dialog manager turns into pixels with
// the dialog font's base units. The program's dialogs are designed in pixels at 96 dpi with the
// system font, whose base units there are 7 x 13 pixels (GetDialogBaseUnits): one horizontal unit
// is a quarter of the average character width, one vertical unit an eighth of the line height.
#pragma once

namespace resources {

constexpr int kDialogBaseUnitX = 7;
constexpr int kDialogBaseUnitY = 13;

// Nearest dialog unit for a design length in pixels.
constexpr short DialogUnitsX(int pixels) {
    return static_cast<short>((pixels * 4 + kDialogBaseUnitX / 2) / kDialogBaseUnitX);
}
constexpr short DialogUnitsY(int pixels) {
    return static_cast<short>((pixels * 8 + kDialogBaseUnitY / 2) / kDialogBaseUnitY);
}

// Back to pixels as MapDialogRect does it (MulDiv rounding).
constexpr int DialogPixelsX(int units) {
    return (units * kDialogBaseUnitX + 2) / 4;
}
constexpr int DialogPixelsY(int units) {
    return (units * kDialogBaseUnitY + 4) / 8;
}

}  // namespace resources
