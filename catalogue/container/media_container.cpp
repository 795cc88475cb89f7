// The container's life and its loads: the singleton, loading a folder or a single file, and
// freeing the lists.
#include "catalogue/container/media_container.h"

#include <atomic>
#include <string>

#include "app/globals.h"
#include "app/ui/wait_cursor.h"
#include "platform/core/debug.h"
#include "platform/core/no_destructor.h"
#include "platform/core/wstring.h"
#include "platform/fs/change_notify.h"
#include "platform/shell/cursor.h"
#include "platform/user/resource.h"
#include "resources/resource_ids.h"

BYTE CMediaContainer::s_bNameAscending = 1;
BYTE CMediaContainer::s_bDateNewestFirst = 1;
BYTE CMediaContainer::s_bSizeSmallestFirst = 1;

namespace {

struct Singleton {
    std::mutex mutex;
    std::unique_ptr<CMediaContainer> container;
};

// Outlives static destruction: a container still alive at exit holds a change handle that the
// platform's handle table must not be asked to close after that table is gone.
Singleton& TheSingleton() {
    static platform::NoDestructor<Singleton> singleton;
    return *singleton;
}

std::atomic<CMediaContainer::FolderNameListener> g_folderNameListener{nullptr};

// The text after the last backslash, or the whole text without one.
LPCWSTR LastComponent(LPCWSTR path) {
    LPCWSTR last = path;
    for (LPCWSTR p = path; *p; ++p) {
        if (*p == u'\\')
            last = p + 1;
    }
    return last;
}

bool HasWildcard(LPCWSTR path) {
    for (LPCWSTR p = path; *p; ++p) {
        if (*p == u'*' || *p == u'?')
            return true;
    }
    return false;
}

}  // namespace

CMediaContainer* CMediaContainer::GetMediaContainer() {
    Singleton& singleton = TheSingleton();
    std::lock_guard guard(singleton.mutex);
    if (!singleton.container)
        singleton.container = std::make_unique<CMediaContainer>(Token{});
    return singleton.container.get();
}

void CMediaContainer::ReleaseMediaContainer() {
    Singleton& singleton = TheSingleton();
    std::lock_guard guard(singleton.mutex);
    singleton.container.reset();
}

void CMediaContainer::SetFolderNameListener(FolderNameListener listener) {
    g_folderNameListener = listener;
}

CMediaContainer::~CMediaContainer() {
    FreeFilteredList();
    FreeAll();
}

int CMediaContainer::LoadFolder(LPCWSTR path) {
    if (!path)
        path = u"";
    // The header is told before the lock is taken: the listener may paint.
    if (FolderNameListener listener = g_folderNameListener)
        listener(path);

    // One hold for the whole load, so that the folder watch never adds to a half-read folder.
    std::lock_guard guard(m_lock);
    FreeFilteredList();
    FreeAll();
    // Room for the "\*" of the search pattern; a longer path cannot name a device folder.
    if (lstrlenW(path) + 2 >= MAX_PATH) {
        OutputDebugStringW(u"There isn't a correct folder.\n");
        return 0;
    }
    StringCchCopyW(m_szFolderPath, MAX_PATH, path);
    if (*path) {
        StringCchCopyW(m_szDisplayName, MAX_PATH, LastComponent(path));
    } else {
        m_szDisplayName[0] = 0;
        LoadStringW(g_hInstance, IDS_MY_DEVICE, m_szDisplayName, MAX_PATH);
    }

    const std::u16string pattern = std::u16string(path) + u"\\*";
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(pattern.c_str(), &entry);
    const DWORD error = find == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    if (find == INVALID_HANDLE_VALUE && error != ERROR_NO_MORE_FILES) {
        OutputDebugStringW(u"There isn't a correct folder.\n");
        return 0;
    }
    if (!m_hChange) {
        HANDLE change = FindFirstChangeNotificationW(m_szFolderPath, FALSE, kFolderChangeFilter);
        m_hChange = change == INVALID_HANDLE_VALUE ? nullptr : change;
    }
    if (find == INVALID_HANDLE_VALUE) {
        OutputDebugStringW(u"This folder is empty.\n");
        return 0;
    }

    CWaitCursor wait;
    do {
        AddMedia(entry.cFileName, &entry);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return 1;
}

CMediaItem* CMediaContainer::LoadSingleFile(LPCWSTR path) {
    if (!path || HasWildcard(path))
        return nullptr;
    const MediaType type = ClassifyMediaName(path);
    if (type == MEDIA_UNKNOWN)
        return nullptr;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(path, &entry);
    if (find == INVALID_HANDLE_VALUE)
        return nullptr;
    FindClose(find);
    // A folder whose name ends like a picture is still a folder, not a file to open.
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return nullptr;

    // The folder is the text before the last backslash; a bare name lies in the root.
    const LPCWSTR name = LastComponent(path);
    const std::u16string folder(path, name == path ? 0 : name - path - 1);

    CMediaItem* item = nullptr;
    {
        std::lock_guard guard(m_lock);
        FreeAll();
        std::unique_ptr<CMediaItem> created = CreateMediaItem(type, entry, folder.c_str());
        if (!created)
            return nullptr;
        item = created.get();
        item->LookUpRights();
        item->m_dwSelected = 1;
        m_allItems.push_front(std::move(created));
        ++KindCount(type);
        ++m_nTotalCount;
    }
    ApplyFilter(type);
    return item;
}

void CMediaContainer::FreeFilteredList() {
    std::lock_guard guard(m_lock);
    m_shownItems.clear();
    m_cursor = m_shownItems.end();
    m_nShownCount = 0;
    m_nCursorIndex = 0;
}

void CMediaContainer::FreeAll() {
    std::lock_guard guard(m_lock);
    // shownItems only borrows the items: empty it before they go.
    FreeFilteredList();
    if (m_hChange) {
        FindCloseChangeNotification(m_hChange);
        m_hChange = nullptr;
    }
    m_allItems.clear();
    m_nTotalCount = 0;
    m_nFolderCount = m_nImageCount = m_nDocumentCount = m_nMusicCount = m_nVideoCount = 0;
}

int& CMediaContainer::KindCount(DWORD type) {
    switch (type) {
        case MEDIA_FOLDER:
            return m_nFolderCount;
        case MEDIA_IMAGE:
            return m_nImageCount;
        case MEDIA_DOCUMENT:
            return m_nDocumentCount;
        case MEDIA_MUSIC:
            return m_nMusicCount;
        default:
            return m_nVideoCount;
    }
}
