// The "container" state section: the folder, the sort and its directions, the counts, the cursor
// and the shown list, all read under the container's lock so that the folder-change thread never
// changes them half-way through.
#include "catalogue/container/container_state.h"

#include <cstdint>

#include "catalogue/container/media_container.h"
#include "platform/user/script/state.h"

namespace {

constexpr const char* kSection = "container";

class ContainerLock {
  public:
    explicit ContainerLock(CMediaContainer& container) : container_(container) {
        container_.Lock();
    }
    ~ContainerLock() { container_.Unlock(); }
    ContainerLock(const ContainerLock&) = delete;
    ContainerLock& operator=(const ContainerLock&) = delete;

  private:
    CMediaContainer& container_;
};

void WriteCounts(platform::JsonWriter& json, CMediaContainer& container) {
    static constexpr struct {
        const char* key;
        DWORD kind;
    } kKinds[] = {{"folder", MEDIA_FOLDER},
                  {"image", MEDIA_IMAGE},
                  {"document", MEDIA_DOCUMENT},
                  {"music", MEDIA_MUSIC},
                  {"video", MEDIA_VIDEO}};
    json.Key("counts");
    json.BeginObject();
    for (const auto& kind : kKinds) {
        json.Key(kind.key);
        json.Int(container.GetCount(kind.kind, TRUE));
    }
    json.EndObject();
}

void WriteItem(platform::JsonWriter& json, const CMediaItem& item) {
    json.BeginObject();
    json.Key("name");
    json.String(std::u16string_view(item.m_szName));
    json.Key("type");
    json.Int(static_cast<std::int64_t>(item.m_dwType));
    json.Key("selected");
    json.Bool(item.m_dwSelected != 0);
    json.Key("isDrm");
    json.Bool(item.m_dwIsDrm != 0);
    json.Key("sizeKB");
    json.Double(item.m_dSizeKB);
    json.EndObject();
}

void WriteContainer(platform::JsonWriter& json) {
    CMediaContainer& container = *CMediaContainer::GetMediaContainer();
    ContainerLock lock(container);
    json.BeginObject();
    json.Key("folderPath");
    json.String(std::u16string_view(container.GetFolderPath()));
    json.Key("displayName");
    json.String(std::u16string_view(container.GetDisplayName()));
    json.Key("sortMode");
    json.Int(container.GetSortMode());
    json.Key("nameAscending");
    json.Bool(CMediaContainer::s_bNameAscending != 0);
    json.Key("dateNewestFirst");
    json.Bool(CMediaContainer::s_bDateNewestFirst != 0);
    json.Key("sizeSmallestFirst");
    json.Bool(CMediaContainer::s_bSizeSmallestFirst != 0);
    json.Key("typeFilter");
    json.Int(container.GetTypeFilter());
    json.Key("totalCount");
    json.Int(container.GetTotalCount());
    json.Key("shownCount");
    json.Int(container.GetShownCount());
    WriteCounts(json, container);
    json.Key("cursor");
    json.Int(container.ShownItems().empty() ? -1 : container.GetCursorIndex());
    json.Key("items");
    json.BeginArray();
    for (const CMediaItem* item : container.ShownItems())
        WriteItem(json, *item);
    json.EndArray();
    json.EndObject();
}

}  // namespace

void RegisterContainerState() {
    platform::RegisterStateProvider(kSection, WriteContainer);
}

void UnregisterContainerState() {
    platform::UnregisterStateProvider(kSection);
}
