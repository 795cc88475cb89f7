// Storage-card enumeration as the handheld offers it: the mount folder of each card in the root.
// This device has one card slot at most, so a walk yields the card or nothing.
#pragma once

#include "platform/core/types.h"
#include "platform/fs/find.h"

// The first card's mount folder ("Storage Card", a folder marked FILE_ATTRIBUTE_TEMPORARY),
// with the times of its host folder. INVALID_HANDLE_VALUE with ERROR_NO_MORE_FILES when no card
// is configured or its host folder is gone (a card pulled while running is simply not there);
// ERROR_INVALID_PARAMETER when `data` is null. The handle is closed with FindClose.
HANDLE FindFirstFlashCard(LPWIN32_FIND_DATAW data);
// FALSE with ERROR_NO_MORE_FILES: there is never a second card.
BOOL FindNextFlashCard(HANDLE find, LPWIN32_FIND_DATAW data);
