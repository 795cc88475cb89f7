#include "tools/probe/probe_folder.h"

#include "catalogue/container/media_container.h"

namespace probetool {

namespace {

// The process-wide direction flags, put back as they were when the probe is done.
class SavedDirections {
  public:
    SavedDirections()
        : name_(CMediaContainer::s_bNameAscending),
          date_(CMediaContainer::s_bDateNewestFirst),
          size_(CMediaContainer::s_bSizeSmallestFirst) {}
    ~SavedDirections() {
        CMediaContainer::s_bNameAscending = name_;
        CMediaContainer::s_bDateNewestFirst = date_;
        CMediaContainer::s_bSizeSmallestFirst = size_;
    }
    SavedDirections(const SavedDirections&) = delete;
    SavedDirections& operator=(const SavedDirections&) = delete;

  private:
    BYTE name_;
    BYTE date_;
    BYTE size_;
};

// Empties the container however the listing ends, so no folder watch outlives the probe.
struct ContainerCleanup {
    CMediaContainer& container;
    ~ContainerCleanup() {
        container.FreeFilteredList();
        container.FreeAll();
    }
};

BYTE& DirectionFlag(SortMode mode) {
    switch (mode) {
        case SORT_BY_NAME:
            return CMediaContainer::s_bNameAscending;
        case SORT_BY_DATE:
            return CMediaContainer::s_bDateNewestFirst;
        case SORT_BY_SIZE:
            break;
    }
    return CMediaContainer::s_bSizeSmallestFirst;
}

// Sorts in the mode's default direction. Choosing the mode already active flips its flag, so
// the flag is set to the other way first and the flip brings it to the default.
void SortByDefault(CMediaContainer& container, SortMode mode) {
    CMediaContainer::s_bNameAscending = 1;
    CMediaContainer::s_bDateNewestFirst = 1;
    CMediaContainer::s_bSizeSmallestFirst = 1;
    if (container.GetSortMode() == mode)
        DirectionFlag(mode) = 0;
    container.Sort(mode);
}

void WriteCount(const char* key, int value, platform::JsonWriter& json) {
    json.Key(key);
    json.Int(value);
}

void WriteCounts(CMediaContainer& container, platform::JsonWriter& json) {
    json.Key("counts");
    json.BeginObject();
    WriteCount("total", container.GetTotalCount(), json);
    WriteCount("folders", container.GetCount(MEDIA_FOLDER), json);
    WriteCount("images", container.GetCount(MEDIA_IMAGE, TRUE), json);
    WriteCount("documents", container.GetCount(MEDIA_DOCUMENT), json);
    WriteCount("music", container.GetCount(MEDIA_MUSIC), json);
    WriteCount("videos", container.GetCount(MEDIA_VIDEO), json);
    json.EndObject();
}

void WriteSorted(CMediaContainer& container, platform::JsonWriter& json) {
    struct Order {
        const char* key;
        SortMode mode;
    };
    constexpr Order kOrders[] = {
        {"name", SORT_BY_NAME}, {"date", SORT_BY_DATE}, {"size", SORT_BY_SIZE}};
    json.Key("sorted");
    json.BeginObject();
    for (const Order& order : kOrders) {
        SortByDefault(container, order.mode);
        json.Key(order.key);
        json.BeginArray();
        for (const CMediaItem* item : container.ShownItems())
            json.String(std::u16string_view(item->m_szName));
        json.EndArray();
    }
    json.EndObject();
}

}  // namespace

void WriteFolderFields(const std::u16string& folderPath, platform::JsonWriter& json) {
    const SavedDirections saved;
    CMediaContainer& container = *CMediaContainer::GetMediaContainer();
    const ContainerCleanup cleanup{container};
    container.LoadFolder(folderPath.c_str());
    container.ApplyFilter(FILTER_ALL);
    WriteCounts(container, json);
    WriteSorted(container, json);
}

}  // namespace probetool
