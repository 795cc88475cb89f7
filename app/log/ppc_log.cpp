#include "app/log/ppc_log.h"

#include <cstdio>
#include <memory>
#include <new>

#include "platform/core/debug.h"
#include "platform/core/thread.h"
#include "platform/core/time.h"
#include "platform/core/wstring.h"

CPPCLog* g_pLog = nullptr;

namespace {

std::unique_ptr<CPPCLog>& Instance() {
    static std::unique_ptr<CPPCLog> instance;
    return instance;
}

constexpr WCHAR kFormatFailure[] =
    u" =========  ERROR ===== \r\n _vsntprintf function  fail. Not process log information \r\n";

}  // namespace

CPPCLog* CPPCLog::getInstance() {
    std::unique_ptr<CPPCLog>& instance = Instance();
    if (!instance) {
        instance.reset(new (std::nothrow) CPPCLog());
        if (!instance)
            return nullptr;
        instance->DEBUG(u"CPPCLog::getInstance==>LOGGER CREATE.. LOGGER INSTANCE=[%x]",
                        reinterpret_cast<ULONG_PTR>(instance.get()));
    }
    return instance.get();
}

void ReleaseCPPCLog() {
    Instance().reset();
    g_pLog = nullptr;
}

CPPCLog::CPPCLog() {
    InitializeCriticalSection(&m_csLock);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char name[32] = {};
    std::snprintf(name, sizeof(name), "%04d%d%d%02d", now.wYear, now.wMonth, now.wDay, now.wHour);
    m_strFileName = name;
    NKDbgPrintfW(u"CPPCLog::CPPCLog==>FILE NAME=[%hs] ============= \r\n", m_strFileName.c_str());
    m_strFileName += ".txt";
}

CPPCLog::~CPPCLog() {
    OutputDebugStringW(u"CPPCLog::~CPPCLog==> ---------------------------- ");
    DeleteCriticalSection(&m_csLock);
}

void CPPCLog::WriteLine(LPCWSTR tag, LPCWSTR format, std::span<const platform::FormatArg> args) {
    platform::CriticalSectionLock lock(m_csLock);

    const platform::FormatArg prefixArgs[] = {platform::MakeFormatArg(tag),
                                              platform::MakeFormatArg(GetCurrentThreadId())};
    if (platform::FormatW(m_szPrefix, kPrefixUnits, u"[%s] Thread Id=[%lx] ", prefixArgs) < 0) {
        m_szPrefix[0] = u'\0';
    }
    StringCchCopyW(m_szLine, kLineUnits, m_szPrefix);
    const int prefixLength = lstrlenW(m_szLine);

    // The message goes straight behind the prefix; one that does not fit, terminator included,
    // is replaced whole rather than cut, so a reader never takes a cut line for a whole one.
    if (platform::FormatW(m_szLine + prefixLength, kLineUnits - prefixLength, format, args) < 0) {
        StringCchCopyW(m_szLine, kLineUnits, kFormatFailure);
    }
    if (m_bDebugOutput == 1) {
        OutputDebugStringW(m_szLine);
        OutputDebugStringW(u"\r\n");
    }
}

void PrintLastError() {
    WCHAR* text = nullptr;
    const DWORD error = GetLastError();
    if (FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                           FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK),
                       reinterpret_cast<LPWSTR>(&text), 0, nullptr) != 0 &&
        text != nullptr) {
        OutputDebugStringW(text);
        LocalFree(text);
    }
}
