// The process-wide diagnostic logger. Every subsystem writes its trace lines through the one
// instance: a level tag and the calling thread's id, then the message, to the debug output.
// It never reports errors to the user and never stops the program.
#pragma once

#include <span>
#include <string>

#include "platform/core/sync.h"
#include "platform/core/types.h"
#include "platform/core/wformat.h"

class CPPCLog {
  public:
    // Room for one whole line, prefix and terminator included.
    static constexpr int kLineUnits = 256;
    static constexpr int kPrefixUnits = 33;

    // The instance, created on first use; null only when creation failed.
    static CPPCLog* getInstance();

    virtual ~CPPCLog();
    CPPCLog(const CPPCLog&) = delete;
    CPPCLog& operator=(const CPPCLog&) = delete;

    // Threshold: a level is written while the threshold is below its bound (DEBUG 1, TRACE 2,
    // INFO 3, ERROR 5), so 0 writes everything and 5 silences the logger.
    void SetLevel(LONG level) { m_nLevel = level; }
    LONG GetLevel() const { return m_nLevel; }
    void SetDebugOutput(bool on) { m_bDebugOutput = on ? 1 : 0; }

    // The log file name built at construction (local date and hour, then ".txt").
    const std::string& FileName() const { return m_strFileName; }

    template <typename... Args>
    void DEBUG(LPCWSTR format, const Args&... args) {
        if (m_nLevel < 1)
            Write(u"DEBUG", format, args...);
    }
    template <typename... Args>
    void TRACE(LPCWSTR format, const Args&... args) {
        if (m_nLevel < 2)
            Write(u"TRACE", format, args...);
    }
    template <typename... Args>
    void INFO(LPCWSTR format, const Args&... args) {
        if (m_nLevel < 3)
            Write(u"INFO", format, args...);
    }
    template <typename... Args>
    void ERROR(LPCWSTR format, const Args&... args) {
        if (m_nLevel < 5)
            Write(u"ERROR", format, args...);
    }

  private:
    friend void ReleaseCPPCLog();
    CPPCLog();

    template <typename... Args>
    void Write(LPCWSTR tag, LPCWSTR format, const Args&... args) {
        const platform::FormatArg packed[] = {platform::MakeFormatArg(args)...,
                                              platform::FormatArg{}};
        WriteLine(tag, format, std::span(packed, sizeof...(Args)));
    }
    void WriteLine(LPCWSTR tag, LPCWSTR format, std::span<const platform::FormatArg> args);

    CRITICAL_SECTION m_csLock;
    [[maybe_unused]] BYTE m_bFileOutput = 0;  // never set: lines go only to the debug output
    BYTE m_bDebugOutput = 1;
    WCHAR m_szLine[kLineUnits] = {};
    WCHAR m_szPrefix[kPrefixUnits] = {};
    LONG m_nLevel = 0;
    std::string m_strFileName;
};

// Deletes the instance; a later getInstance creates a new one.
void ReleaseCPPCLog();

// Sends the calling thread's last error, as text, to the debug output.
void PrintLastError();

// The instance every part of the program logs through (set in WinMain).
extern CPPCLog* g_pLog;
