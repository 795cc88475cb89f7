#include "tools/controls-demo/demo_resources.h"

#include <algorithm>
#include <vector>

#include "app/host/host_setup.h"
#include "platform/controls/menu.h"
#include "platform/user/resource.h"
#include "platform/user/resource_tables.h"

namespace demo {
namespace {

using platform::MenuItemResource;

constexpr UINT kStringNext = 60001;
constexpr UINT kStringMenu = 60002;

constexpr MenuItemResource kPages[] = {
    {MF_STRING, kCmdFirstPage + 0, u"Controls"},
    {MF_STRING, kCmdFirstPage + 1, u"Open list"},
    {MF_STRING, kCmdFirstPage + 2, u"DrawText"},
    {MF_STRING, kCmdFirstPage + 3, u"Blits and shapes"},
    {MF_STRING, kCmdFirstPage + 4, u"Skin"},
};
constexpr MenuItemResource kMessageBoxes[] = {
    {MF_STRING, kCmdFirstMessageBox + 0, u"OK, exclamation"},
    {MF_STRING, kCmdFirstMessageBox + 1, u"Yes / No, question"},
    {MF_STRING, kCmdFirstMessageBox + 2, u"Yes / No / Cancel"},
    {MF_STRING, kCmdFirstMessageBox + 3, u"OK, error"},
    {MF_STRING, kCmdFirstMessageBox + 4, u"OK / Cancel, information"},
};
constexpr MenuItemResource kDialogs[] = {
    {MF_STRING, kCmdFirstDialog + 0, u"Rename"},
    {MF_STRING, kCmdFirstDialog + 1, u"Save as"},
    {MF_STRING, kCmdFirstDialog + 2, u"Slide Show Options..."},
};
constexpr MenuItemResource kMenuItems[] = {
    {MF_POPUP, 0, u"Go to page", kPages},
    {MF_POPUP, 0, u"Message box", kMessageBoxes},
    {MF_POPUP, 0, u"Dialog", kDialogs},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING, kCmdToggleGrid, u"Checked item"},
    {MF_STRING | MF_GRAYED, kCmdDisabled, u"Unavailable item"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING, kCmdQuit, u"Quit"},
};
constexpr MenuItemResource kMenuRoot[] = {{MF_POPUP, kCmdMenu, u"Menu", kMenuItems}};

constexpr platform::SoftKeyResource kKeys[] = {
    {kCmdNext, kStringNext},
    {kCmdMenu, kStringMenu, 0},
};

constexpr platform::MenuResource kDemoMenu{kMenu, kMenuRoot};
constexpr platform::SoftKeyBarResource kDemoBar{kSoftKeyBar, kMenu, kKeys};

template <typename Entry>
std::span<const Entry> Merged(std::span<const Entry> program, const Entry& extra) {
    static std::vector<Entry> merged;
    merged.assign(program.begin(), program.end());
    merged.push_back(extra);
    std::sort(merged.begin(), merged.end(),
              [](const Entry& a, const Entry& b) { return a.id < b.id; });
    return merged;
}

}  // namespace

void InstallDemoResources() {
    platform::ResourceCatalogue catalogue = ProgramCatalogue();
    catalogue.menus = Merged(catalogue.menus, kDemoMenu);
    catalogue.softKeyBars = Merged(catalogue.softKeyBars, kDemoBar);
    platform::SetResourceCatalogue(catalogue);
    // The demo's two soft-key texts, then the program's.
    platform::SetStringTable([](UINT id) -> LPCWSTR {
        if (id == kStringNext)
            return u"Next";
        if (id == kStringMenu)
            return u"Menu";
        return FindProgramString(id);
    });
}

}  // namespace demo
