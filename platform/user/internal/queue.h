// The UI thread's message queue: posted messages (from any thread), converted input and the
// quit flag.
#pragma once

#include "platform/core/types.h"
#include "platform/user/messages.h"

namespace platform::wm {

// Which messages a GetMessageW/PeekMessageW call accepts: a null hwnd takes all, (HWND)-1 only
// thread messages, any other a window and its descendants; a 0..0 range takes every message.
struct MessageFilter {
    HWND hwnd = nullptr;
    UINT min = 0;
    UINT max = 0;

    bool AcceptsMessage(UINT message) const;
    bool AcceptsWindow(HWND target) const;
    bool Accepts(const MSG& msg) const {
        return AcceptsMessage(msg.message) && AcceptsWindow(msg.hwnd);
    }
    bool TakesThreadMessages() const;
};

// Any thread; wakes the UI thread. `first` puts the message before all others (WM_CHAR from
// TranslateMessage is the next message retrieved).
void PostToQueue(const MSG& msg, bool first = false);
bool TakePosted(MSG& out, const MessageFilter& filter, bool remove);
bool AnyPosted();

void PostQuit(int exitCode);
bool TakeQuit(MSG& out, const MessageFilter& filter, bool remove);
bool QuitPending();

void QueueInput(const MSG& msg);
bool TakeInput(MSG& out, const MessageFilter& filter, bool remove);
bool AnyInput();

// The stylus position on screen, stamped on every message.
POINT StylusPos();
void SetStylusPos(POINT p);
MSG MakeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform::wm
