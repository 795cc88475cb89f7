// The message queue of the UI thread: retrieval, posting from any thread, sending (marshalled
// to the UI thread when called elsewhere), translation, dispatch, timers and accelerators.
//
// Retrieval order: work sent from other threads, posted messages, input from the display,
// WM_QUIT, WM_PAINT for windows with an update region (parents before children), then WM_TIMER
// for due timers; when nothing is pending, the idle handler runs and the thread waits.
#pragma once

#include "platform/core/types.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"

using TIMERPROC = void(CALLBACK*)(HWND, UINT, UINT_PTR, DWORD);

// 0 when WM_QUIT was retrieved (its exit code is msg->wParam), -1 on a bad argument or a call
// from another thread, otherwise nonzero.
BOOL GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax);
BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL WaitMessage();
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageW(const MSG* msg);

// Any thread. A null hwnd posts a thread message (PostThreadMessageW to the UI thread).
BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
// Any thread; from another thread the call waits for the UI thread to run the window procedure.
LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Sends on the UI thread; posts from elsewhere without waiting.
BOOL SendNotifyMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// TRUE while the UI thread handles a message sent from another thread.
BOOL InSendMessage();

// Of the message last retrieved: the stylus position (x in the low word) and the tick count.
DWORD GetMessagePos();
LONG GetMessageTime();

// Timers: the same window and id replace an earlier timer. A timer never has more than one
// WM_TIMER pending. With a null window the id is chosen and returned.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

// The program carries no accelerator tables: loading one fails with
// ERROR_RESOURCE_NAME_NOT_FOUND and translating with none does nothing.
HACCEL LoadAcceleratorsW(HINSTANCE instance, LPCWSTR tableName);
int TranslateAcceleratorW(HWND hwnd, HACCEL table, LPMSG msg);
