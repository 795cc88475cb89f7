// What the open menus show, for tests and the state dump of scripted runs.
#include "platform/controls/menu/menu_state_provider.h"
#include "platform/controls/menu/menu_tracker.h"
#include "platform/user/script/state.h"

namespace platform {

std::vector<OpenMenu> DescribeOpenMenus() {
    std::vector<OpenMenu> out;
    const menu::Tracker* tracker = menu::ActiveTracker();
    if (!tracker)
        return out;
    for (const menu::Level& level : tracker->Levels()) {
        const menu::Menu* m = menu::Lookup(level.menu);
        if (!m)
            continue;
        OpenMenu open;
        open.menu = level.menu;
        open.rect = level.rect;
        open.highlighted = level.highlighted;
        for (size_t i = 0; i < m->items.size(); ++i) {
            const menu::MenuItem& item = m->items[i];
            RECT r = i < level.layout.items.size() ? level.layout.items[i] : RECT{0, 0, 0, 0};
            OffsetRect(&r, level.rect.left, level.rect.top);
            open.items.push_back(OpenMenuItem{
                .id = item.IsPopup() ? 0xFFFFFFFF : item.id,
                .text = item.text,
                .separator = item.IsSeparator(),
                .popup = item.IsPopup(),
                .ownerDraw = item.IsOwnerDraw(),
                .enabled = !(item.state & (MF_GRAYED | MF_DISABLED)),
                .checked = (item.state & MF_CHECKED) != 0,
                .radio = (item.type & MFT_RADIOCHECK) != 0,
                .rect = r,
            });
        }
        out.push_back(std::move(open));
    }
    return out;
}

namespace menu {
namespace {

void WriteRect(JsonWriter& json, const RECT& r) {
    json.Key("rect");
    json.BeginArray();
    for (LONG v : {r.left, r.top, r.right, r.bottom})
        json.Int(v);
    json.EndArray();
}

void WriteItem(JsonWriter& json, const OpenMenuItem& item) {
    json.BeginObject();
    WriteRect(json, item.rect);
    json.Key("id");
    json.Int(item.popup ? -1 : static_cast<std::int64_t>(item.id));
    json.Key("text");
    json.String(std::u16string_view(item.text));
    json.Key("kind");
    json.String(item.separator   ? "separator"
                : item.popup     ? "popup"
                : item.ownerDraw ? "ownerdraw"
                                 : "item");
    json.Key("enabled");
    json.Bool(item.enabled);
    json.Key("checked");
    json.Bool(item.checked);
    json.EndObject();
}

void WriteOpenMenus(JsonWriter& json) {
    const std::vector<OpenMenu> menus = DescribeOpenMenus();
    if (menus.empty()) {
        json.Null();
        return;
    }
    json.BeginObject();
    json.Key("levels");
    json.BeginArray();
    for (const OpenMenu& m : menus) {
        json.BeginObject();
        WriteRect(json, m.rect);
        json.Key("highlighted");
        json.Int(m.highlighted);
        json.Key("items");
        json.BeginArray();
        for (const OpenMenuItem& item : m.items)
            WriteItem(json, item);
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

}  // namespace

void EnsureStateProvider() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    RegisterStateProvider("popupMenu", WriteOpenMenus);
}

}  // namespace menu
}  // namespace platform
