#include "tools/probe/probe_entry.h"

#include <memory>

#include "catalogue/items/media_item.h"
#include "tools/probe/probe_folder.h"
#include "tools/probe/probe_paths.h"
#include "tools/probe/probe_picture.h"
#include "tools/probe/probe_rights.h"
#include "tools/probe/probe_time.h"

namespace probetool {

namespace {

const char* KindName(MediaType type) {
    switch (type) {
        case MEDIA_FOLDER:
            return "folder";
        case MEDIA_IMAGE:
            return "image";
        case MEDIA_DOCUMENT:
            return "document";
        case MEDIA_MUSIC:
            return "music";
        case MEDIA_VIDEO:
            return "video";
        case MEDIA_UNKNOWN:
            break;
    }
    return "unknown";
}

const char* LookupError(Lookup lookup) {
    switch (lookup) {
        case Lookup::Invalid:
            return "invalid path";
        case Lookup::Outside:
            return "outside the device";
        case Lookup::NotFound:
        case Lookup::Found:
            break;
    }
    return "not found";
}

bool IsFolderEntry(const WIN32_FIND_DATAW& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void WriteHeader(const std::u16string& path, MediaType type, double sizeKB,
                 const SYSTEMTIME& modified, platform::JsonWriter& json) {
    json.Key("path");
    json.String(path);
    json.Key("kind");
    json.String(KindName(type));
    json.Key("sizeKB");
    json.Double(sizeKB);
    json.Key("modified");
    json.String(IsoLocal(modified));
}

void WriteCapabilities(CMediaItem& item, platform::JsonWriter& json) {
    json.Key("capabilities");
    json.BeginObject();
    json.Key("canSend");
    json.Bool(item.CanSend() != 0);
    json.Key("canSetAs");
    json.Bool(item.CanSetAs() != 0);
    json.Key("canEdit");
    json.Bool(item.CanEdit() != 0);
    json.EndObject();
}

// A file the catalogue does not list: no item is made, so there is nothing to ask it.
void WriteUnlisted(const ProbeTarget& target, platform::JsonWriter& json) {
    const WIN32_FIND_DATAW& entry = target.entry;
    WriteHeader(target.path, MEDIA_UNKNOWN, SizeInKB(entry.nFileSizeHigh, entry.nFileSizeLow),
                LocalWriteTime(entry.ftLastWriteTime), json);
    json.Key("rights");
    json.Null();
    json.Key("capabilities");
    json.Null();
}

void WriteItem(const ProbeTarget& target, CMediaItem& item, platform::JsonWriter& json) {
    // Rights first: a protected picture is measured and read through its clear content.
    if (item.m_dwType != MEDIA_FOLDER)
        item.LookUpRights();
    WriteHeader(target.path, item.m_dwType, item.m_dSizeKB, item.m_stModified, json);
    if (auto* picture = dynamic_cast<CImageItem*>(&item))
        WritePictureFields(*picture, target.entry, json);
    json.Key("rights");
    WriteRights(item, json);
    WriteCapabilities(item, json);
    if (item.m_dwType == MEDIA_FOLDER)
        WriteFolderFields(target.path, json);
}

}  // namespace

bool WriteEntry(const std::string& argument, platform::JsonWriter& json) {
    ProbeTarget target;
    const Lookup lookup = LocateFile(argument, target);
    json.BeginObject();
    if (lookup != Lookup::Found) {
        json.Key("path");
        // A path that could not be made is shown as it was given.
        if (lookup == Lookup::NotFound)
            json.String(target.path);
        else
            json.String(argument);
        json.Key("error");
        json.String(LookupError(lookup));
        json.EndObject();
        return false;
    }
    const MediaType type =
        IsFolderEntry(target.entry) ? MEDIA_FOLDER : ClassifyMediaName(target.entry.cFileName);
    const std::unique_ptr<CMediaItem> item =
        type == MEDIA_UNKNOWN ? nullptr
                              : CreateMediaItem(type, target.entry, target.folder.c_str());
    if (item)
        WriteItem(target, *item, json);
    else
        WriteUnlisted(target, json);
    json.EndObject();
    return true;
}

}  // namespace probetool
