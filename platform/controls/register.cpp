#include "platform/controls/combo/combo_state.h"
#include "platform/controls/controls.h"
#include "platform/controls/dialog/dialog_state.h"

namespace platform::controls {

LRESULT CALLBACK ButtonWindowProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK StaticWindowProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ScrollBarWindowProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ComboBoxWindowProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK EditWindowProc(HWND, UINT, WPARAM, LPARAM);

}  // namespace platform::controls

namespace platform {

void RegisterControlClasses() {
    using namespace controls;
    RegisterControlClass(WC_BUTTONW, ButtonWindowProc, CS_DBLCLKS);
    RegisterControlClass(WC_STATICW, StaticWindowProc, 0);
    RegisterControlClass(WC_SCROLLBARW, ScrollBarWindowProc, CS_DBLCLKS);
    RegisterControlClass(WC_COMBOBOXW, ComboBoxWindowProc, CS_DBLCLKS);
    RegisterControlClass(WC_EDITW, EditWindowProc, CS_DBLCLKS);
    RegisterControlClass(kComboListClass, ComboListWindowProc, CS_DBLCLKS,
                         2 * static_cast<int>(sizeof(LONG_PTR)));
    RegisterControlClass(WC_DIALOGW, DialogWindowProc, 0, DLGWINDOWEXTRA);
}

}  // namespace platform
