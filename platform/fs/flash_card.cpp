#include "platform/fs/flash_card.h"

#include <string>

#include "platform/core/error.h"
#include "platform/fs/device.h"

namespace {

// The card's mount folder as a device path; an exact lookup of it yields the same record a
// listing of the root shows for the card, so both always agree.
std::u16string CardMountPath() {
    return u"\\" + std::u16string(platform::kStorageCardName);
}

HANDLE NoCard() {
    SetLastError(ERROR_NO_MORE_FILES);
    return INVALID_HANDLE_VALUE;
}

}  // namespace

HANDLE FindFirstFlashCard(LPWIN32_FIND_DATAW data) {
    if (!data) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    // Without a card the path would name an ordinary folder of the root, which is no card.
    if (!platform::HasStorageCard())
        return NoCard();
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW(CardMountPath().c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return NoCard();
    // The card folder may have been replaced by a file between the two looks.
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        FindClose(find);
        return NoCard();
    }
    *data = found;
    return find;
}

BOOL FindNextFlashCard(HANDLE find, LPWIN32_FIND_DATAW data) {
    // The handle comes from the exact lookup above, which holds the one card only; passing it on
    // keeps the handle checks (a closed or foreign handle) in one place.
    return FindNextFileW(find, data);
}
