#include "app/launch/command_line.h"

#include <cstring>

#include "app/reg_key.h"
#include "platform/core/debug.h"
#include "platform/core/wformat.h"
#include "platform/core/wstring.h"
#include "platform/fs/files.h"

namespace {

constexpr std::u16string_view kFromMarker = u":from";
constexpr std::u16string_view kPathMarker = u":path";
constexpr std::u16string_view kFileMarker = u":file";
constexpr std::u16string_view kTypeMarker = u":type";

struct TypeKeyword {
    std::u16string_view word;
    DWORD filter;
    bool folderOnly;  // a video can be shown as a folder of videos, but not opened alone
};
constexpr TypeKeyword kTypeKeywords[] = {
    {u"IMAGE", FILTER_IMAGE, false},
    {u"DOCUMENT", FILTER_DOCUMENT, false},
    {u"MUSIC", FILTER_MUSIC, false},
    {u"VIDEO", FILTER_VIDEO, true},
};

// Only U+0020 counts as a blank between a marker and its value.
std::size_t SkipBlanks(std::u16string_view line, std::size_t pos) {
    while (pos < line.size() && line[pos] == u' ')
        ++pos;
    return pos;
}

bool HasWordAt(std::u16string_view line, std::size_t pos, std::u16string_view word) {
    return pos <= line.size() && line.size() - pos >= word.size() &&
           platform::EqualsNoCase(line.substr(pos, word.size()), word);
}

// Copies the quoted text into the record's path, zero-filling the tail. A text that would not
// fit with its terminator is refused rather than cut into the name of a different folder.
bool CopyQuotedPath(std::u16string_view quoted, LaunchContext& ctx) {
    if (quoted.size() >= static_cast<std::size_t>(MAX_PATH))
        return false;
    std::memset(ctx.path, 0, sizeof(ctx.path));
    quoted.copy(ctx.path, quoted.size());
    return true;
}

// The ":from" step: where the later searches start, or npos when the value is not recognised.
std::size_t ParseSource(std::u16string_view line, LaunchContext& ctx) {
    ctx.source = SOURCE_NONE;
    const std::size_t marker = line.find(kFromMarker);
    if (marker == std::u16string_view::npos)
        return 0;
    const std::size_t value = SkipBlanks(line, marker + kFromMarker.size());
    if (HasWordAt(line, value, u"CAMERA")) {
        ctx.source = SOURCE_CAMERA;
    } else if (HasWordAt(line, value, u"CAMCORDER")) {
        ctx.source = SOURCE_CAMCORDER;
    } else {
        return std::u16string_view::npos;
    }
    return value;
}

// "\<folder>\DCIM\<n>HVCAM" for the camera's storage settings, or false when the registry
// cannot say (the path is then left as it was).
bool CameraFolder(WCHAR (&path)[MAX_PATH]) {
    // The camera's state keys are read into 260-byte buffers, as the camera writes them.
    WCHAR internal[130] = {};
    WCHAR external[130] = {};
    CRegKey card;
    if (!card.Open(HKEY_LOCAL_MACHINE, u"System\\State\\Halvern\\SDCARD"))
        return false;
    card.QueryString(u"InStorageFolder", internal, sizeof(internal));
    card.QueryString(u"ExStorageFolder", external, sizeof(external));
    card.Close();

    CRegKey camera;
    if (!camera.Open(HKEY_CURRENT_USER, u"Software\\Halvern\\Camera"))
        return false;
    const DWORD storageType = camera.QueryDword(u"StorageType", 1);
    const LONG dcfNumber = static_cast<LONG>(camera.QueryDword(u"DCFNumber", 0xFFFFFFFF));
    camera.Close();

    WCHAR base[MAX_PATH] = {};
    if (storageType == 0) {
        StringCchCopyW(base, MAX_PATH, u"\\My Documents\\DCIM");
    } else {
        StringCchPrintfW(base, MAX_PATH, u"\\%s\\DCIM", storageType == 2 ? external : internal);
    }
    WCHAR folder[MAX_PATH] = {};
    // A folder name that does not fit is no folder at all; the caller then falls back.
    if (FAILED(StringCchPrintfW(folder, MAX_PATH, u"%s\\%dHVCAM", base,
                                CameraFolderNumber(dcfNumber)))) {
        folder[0] = u'\0';
    }
    std::memcpy(path, folder, sizeof(folder));
    return true;
}

}  // namespace

int CameraFolderNumber(LONG dcfNumber) {
    // In 64 bits, so that the smallest stored number cannot overflow the subtraction.
    return static_cast<int>((static_cast<long long>(dcfNumber) - 1) / 100 + 100);
}

int ParseLaunchGrammar(std::u16string_view line, LaunchContext& ctx) {
    const std::size_t start = ParseSource(line, ctx);
    if (start == std::u16string_view::npos)
        return 0;

    std::size_t marker = line.find(kPathMarker, start);
    if (marker != std::u16string_view::npos) {
        ctx.openMode = OPEN_FOLDER;
    } else if ((marker = line.find(kFileMarker, start)) != std::u16string_view::npos) {
        ctx.openMode = OPEN_FILE;
    } else {
        return 0;
    }

    const std::size_t open = line.find(u'"', marker + kPathMarker.size());
    if (open == std::u16string_view::npos)
        return 0;
    const std::size_t close = line.find(u'"', open + 1);
    if (close == std::u16string_view::npos)
        return 0;
    if (!CopyQuotedPath(line.substr(open + 1, close - open - 1), ctx))
        return 0;

    const std::size_t type = line.find(kTypeMarker, open + 1);
    if (type == std::u16string_view::npos)
        return 0;
    const std::u16string_view word = line.substr(SkipBlanks(line, type + kTypeMarker.size()));
    for (const TypeKeyword& keyword : kTypeKeywords) {
        if (!platform::EqualsNoCase(word, keyword.word))
            continue;
        if (keyword.folderOnly && ctx.openMode != OPEN_FOLDER)
            return 0;
        ctx.typeFilter = keyword.filter;
        return 1;
    }
    return 0;
}

void ApplyLaunchDefaults(LaunchContext& ctx) {
    ctx.source = SOURCE_NONE;
    ctx.openMode = OPEN_FOLDER;
    ctx.typeFilter = FILTER_ALL;
    CameraFolder(ctx.path);
    NKDbgPrintfW(u"Folder path: %s\n", ctx.path);
    if (GetFileAttributesW(ctx.path) == INVALID_FILE_ATTRIBUTES) {
        SHGetSpecialFolderPath(nullptr, ctx.path, CSIDL_MYPICTURES, TRUE);
    }
}

int ParseCommandLine(LPCWSTR line, LaunchContext& ctx) {
    const std::u16string_view text = line != nullptr ? std::u16string_view(line) : u"";
    if (ParseLaunchGrammar(text, ctx) == 1) {
        ctx.isExplicit = 1;
        return 1;
    }
    ApplyLaunchDefaults(ctx);
    ctx.isExplicit = 0;
    return 0;
}
