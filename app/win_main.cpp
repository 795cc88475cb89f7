#include "app/win_main.h"

#include "app/globals.h"
#include "app/launch/command_line.h"
#include "app/log/ppc_log.h"
#include "app/main_wnd.h"
#include "platform/core/debug.h"
#include "platform/core/wstring.h"
#include "platform/user/resource.h"
#include "platform/user/user.h"
#include "resources/resource_ids.h"

namespace {

struct WindowNames {
    WCHAR windowClass[100] = {};
    WCHAR title[100] = {};
};

WindowNames LoadWindowNames() {
    WindowNames names;
    LoadStringW(g_hInstance, IDS_APP_TITLE, names.title, 100);
    LoadStringW(g_hInstance, IDS_WINDOW_CLASS, names.windowClass, 100);
    return names;
}

// Hands the request to the running instance. The call returns once that instance has applied it.
void HandOver(const LaunchContext& request) {
    if (GetLoadingFlag() != 0)
        return;  // the running instance is still busy: drop this request
    SetLoadingFlag(1);

    LaunchContext record = {};
    record.source = request.source;
    record.isExplicit = request.isExplicit;
    record.openMode = request.openMode;
    record.typeFilter = request.typeFilter;
    StringCchCopyW(record.path, MAX_PATH, request.path);

    const WindowNames names = LoadWindowNames();
    HWND running = FindWindowW(names.windowClass, names.title);
    g_pLog->TRACE(u"Find Previous Instance==> handle=[%x], szWindowClass=[%s], szTitle=[%s] \n",
                  reinterpret_cast<ULONG_PTR>(running), names.windowClass, names.title);

    COPYDATASTRUCT data = {COPYDATA_LAUNCH, LAUNCH_CONTEXT_SIZE, &record};
    SetLastError(ERROR_SUCCESS);
    if (running != nullptr)
        SendMessageW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    if (running == nullptr || GetLastError() != ERROR_SUCCESS) {
        // The running instance went away or did not answer: leaving "Loading" at 1 would make
        // every later start drop its request, so give the flag back.
        NKDbgPrintfW(u"Find Previous Instance==> hand-over failed, error %u\n", GetLastError());
        SetLoadingFlag(0);
        return;
    }
    g_pLog->TRACE(u"Find Previous Instance==> WM_COPYDATA Finished \n");
}

// Dispatches what is already queued, so the window paints before the slower initialisation.
void DispatchPending() {
    MSG msg = {};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

int RunFirstInstance(const LaunchContext& request) {
    SetLoadingFlag(1);
    CMainWnd* mainWnd = CMainWnd::GetOrCreate(request.source);
    if (mainWnd == nullptr) {
        ReleaseCPPCLog();
        return 0;
    }
    if (request.openMode == OPEN_FOLDER) {
        mainWnd->SetTypeFilter(request.typeFilter);
        mainWnd->SetFolderName(request.path);
        mainWnd->SetViewMode(VIEW_BROWSER);
        // Initialize sees the filter unchanged and keeps this bar.
        mainWnd->CreateMenuBar(request.typeFilter);
        ShowWindow(mainWnd->GetHwnd(), SW_SHOW);
        UpdateWindow(mainWnd->GetHwnd());
        DispatchPending();
    }
    mainWnd->Initialize(request.source, request.openMode, request.typeFilter, request.path);
    g_pLog->TRACE(u"WinMain7==> Initailize() : done");

    HACCEL accelerators = LoadAcceleratorsW(g_hInstance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    MSG msg = {};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!TranslateAcceleratorW(msg.hwnd, accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    CMainWnd::Destroy();
    ReleaseCPPCLog();
    return static_cast<int>(msg.wParam);
}

}  // namespace

int CheckPreviousInstance(HINSTANCE instance, int /*showCommand*/) {
    g_hInstance = instance;
    const WindowNames names = LoadWindowNames();
    HWND running = FindWindowW(names.windowClass, names.title);
    if (running == nullptr)
        return 1;
    // The low bit asks for the window together with its owned pop-ups.
    SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<ULONG_PTR>(running) | 1));
    return 0;
}

int RunPictarium(HINSTANCE instance, LPCWSTR commandLine, const LaunchContext* request,
                 int showCommand) {
    LaunchContext context = {};
    g_pLog = CPPCLog::getInstance();
    if (g_pLog == nullptr)
        return 0;
    g_pLog->SetLevel(1);
    g_pLog->TRACE(u"WinMain7==> Parameter=[%s]", commandLine != nullptr ? commandLine : u"");

    if (request != nullptr) {
        context = *request;
    } else {
        context.isExplicit = static_cast<DWORD>(ParseCommandLine(commandLine, context));
    }

    if (CheckPreviousInstance(instance, showCommand) == 1)
        return RunFirstInstance(context);
    HandOver(context);
    ReleaseCPPCLog();
    return 0;
}

int WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPWSTR commandLine, int showCommand) {
    return RunPictarium(instance, commandLine, nullptr, showCommand);
}
