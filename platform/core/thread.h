// Threads with Win32 names: waitable handles, exit codes and the handheld's priority levels.
//
// There is deliberately no TerminateThread or SuspendThread: stopping a thread from outside can
// catch it holding a lock (a critical section, the allocator's, the debug output's) that then
// stays held forever. Threads are asked to stop (an event, a flag) and end themselves.
#pragma once

#include "platform/core/error.h"
#include "platform/core/handle.h"
#include "platform/core/types.h"

using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID);

constexpr DWORD CREATE_SUSPENDED = 0x00000004;
constexpr DWORD STILL_ACTIVE = 259;

// The handheld's numbering: lower is more urgent.
constexpr int THREAD_PRIORITY_TIME_CRITICAL = 0;
constexpr int THREAD_PRIORITY_HIGHEST = 1;
constexpr int THREAD_PRIORITY_ABOVE_NORMAL = 2;
constexpr int THREAD_PRIORITY_NORMAL = 3;
constexpr int THREAD_PRIORITY_BELOW_NORMAL = 4;
constexpr int THREAD_PRIORITY_LOWEST = 5;
constexpr int THREAD_PRIORITY_ABOVE_IDLE = 6;
constexpr int THREAD_PRIORITY_IDLE = 7;
constexpr int THREAD_PRIORITY_ERROR_RETURN = 0x7FFFFFFF;
// Ce priorities run 0-255; 248 + the levels above are the ordinary application range.
constexpr int CE_THREAD_PRIO_256_BASE = 248;

// The handle is signalled when the thread function returns, and the thread keeps running when
// the handle is closed. The stack size is ignored: host stacks are larger than the handheld's.
// NULL with ERROR_INVALID_PARAMETER for a null function or unknown flags, ERROR_NOT_ENOUGH_MEMORY
// when the host cannot start a thread.
HANDLE CreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stackSize,
                    LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD flags, LPDWORD threadId);
// Starts a thread created suspended; returns the previous suspend count (1, then 0), or
// 0xFFFFFFFF with ERROR_INVALID_HANDLE.
DWORD ResumeThread(HANDLE thread);
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);

// The kernel's thread id (gettid).
DWORD GetCurrentThreadId();
// A pseudo-handle meaning "the calling thread" to the priority functions and GetExitCodeThread.
HANDLE GetCurrentThread();

// Records the level (returned by the getters) and applies a matching nice value to the thread.
// Lowering is always allowed; a raise the host refuses is not an error.
BOOL SetThreadPriority(HANDLE thread, int priority);
int GetThreadPriority(HANDLE thread);
BOOL CeSetThreadPriority(HANDLE thread, int priority);
// THREAD_PRIORITY_ERROR_RETURN with ERROR_INVALID_HANDLE for an unknown handle.
int CeGetThreadPriority(HANDLE thread);
