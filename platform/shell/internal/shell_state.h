// What the shell remembers per window (OK button, full-screen wishes, dialog sizing) and for the
// whole device (the input panel). UI thread only.
#pragma once

#include <functional>

#include "platform/core/types.h"

namespace platform::shell {

enum class DoneButton { FromStyle, Shown, ShownCancel, Hidden };

struct WindowRecord {
    DoneButton done = DoneButton::FromStyle;
    bool hidesTaskBar = false;
    bool hidesSipButton = false;
    bool hidesStartIcon = false;
    // SHInitDialog's flags while the dialog is sized by the shell.
    DWORD sizedDialogFlags = 0;
};

// Null when the shell keeps nothing for `hwnd`.
WindowRecord* FindRecord(HWND hwnd);
WindowRecord& RecordFor(HWND hwnd);
// Drops the records of windows that are gone; handles are never reused, so a stale record can
// only be garbage, never wrong.
void PruneRecords();
void ForEachRecord(const std::function<void(HWND, WindowRecord&)>& visit);

bool& SipUp();

}  // namespace platform::shell
