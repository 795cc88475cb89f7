#include "user_test_support.h"

#include <stdlib.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "platform/gdi/gdi.h"

namespace usertest {
namespace {

constexpr COLORREF kBackground = RGB(0, 0, 255);

Hook& CurrentHook() {
    static Hook hook;
    return hook;
}

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsRecordedMessage(message))
        MessageLog::Instance().Add({hwnd, message, wParam, lParam});
    if (Hook& hook = CurrentHook()) {
        if (const std::optional<LRESULT> answer = hook(hwnd, message, wParam, lParam)) {
            return *answer;
        }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void RegisterTestClass(const WCHAR* name, UINT style) {
    WNDCLASSW existing{};
    if (GetClassInfoW(nullptr, name, &existing))
        return;
    static const HBRUSH background = CreateSolidBrush(kBackground);
    WNDCLASSW wc{};
    wc.style = style;
    wc.lpfnWndProc = RecordingProc;
    wc.cbWndExtra = 16;
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    ASSERT_NE(RegisterClassW(&wc), 0);
}

BOOL CALLBACK CollectTop(HWND hwnd, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

std::string Describe(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    std::ostringstream s;
    s << hwnd << " " << MessageName(message) << " w=" << std::hex << wParam << " l=" << lParam;
    return s.str();
}

}  // namespace

COLORREF ClassBackground() {
    return kBackground;
}

bool IsRecordedMessage(UINT message) {
    return message != WM_GETTEXT && message != WM_GETTEXTLENGTH;
}

MessageLog& MessageLog::Instance() {
    static MessageLog log;
    return log;
}

std::vector<Recorded> MessageLog::Of(UINT message) const {
    std::vector<Recorded> out;
    for (const Recorded& r : entries_) {
        if (r.message == message)
            out.push_back(r);
    }
    return out;
}

testing::AssertionResult SequenceIs(const std::vector<Expect>& expected) {
    const auto& actual = MessageLog::Instance().Entries();
    bool same = actual.size() == expected.size();
    for (size_t i = 0; same && i < actual.size(); ++i) {
        const Expect& e = expected[i];
        const Recorded& a = actual[i];
        same = a.hwnd == e.hwnd && a.message == e.message && (!e.wParam || *e.wParam == a.wParam) &&
               (!e.lParam || *e.lParam == a.lParam);
    }
    if (same)
        return testing::AssertionSuccess();
    std::ostringstream s;
    s << "\nexpected:\n";
    for (const Expect& e : expected) {
        s << "  " << Describe(e.hwnd, e.message, e.wParam.value_or(0), e.lParam.value_or(0))
          << "\n";
    }
    s << "actual:\n";
    for (const Recorded& a : actual) {
        s << "  " << Describe(a.hwnd, a.message, a.wParam, a.lParam) << "\n";
    }
    return testing::AssertionFailure() << s.str();
}

void SetHook(Hook hook) {
    CurrentHook() = std::move(hook);
}

std::string MessageName(UINT message) {
    static const std::map<UINT, const char*> names = {
        {WM_CREATE, "WM_CREATE"},
        {WM_DESTROY, "WM_DESTROY"},
        {WM_MOVE, "WM_MOVE"},
        {WM_SIZE, "WM_SIZE"},
        {WM_ACTIVATE, "WM_ACTIVATE"},
        {WM_SETFOCUS, "WM_SETFOCUS"},
        {WM_KILLFOCUS, "WM_KILLFOCUS"},
        {WM_ENABLE, "WM_ENABLE"},
        {WM_SETTEXT, "WM_SETTEXT"},
        {WM_PAINT, "WM_PAINT"},
        {WM_CLOSE, "WM_CLOSE"},
        {WM_QUIT, "WM_QUIT"},
        {WM_ERASEBKGND, "WM_ERASEBKGND"},
        {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
        {WM_SETTINGCHANGE, "WM_SETTINGCHANGE"},
        {WM_CANCELMODE, "WM_CANCELMODE"},
        {WM_NCCREATE, "WM_NCCREATE"},
        {WM_NCDESTROY, "WM_NCDESTROY"},
        {WM_KEYDOWN, "WM_KEYDOWN"},
        {WM_KEYUP, "WM_KEYUP"},
        {WM_CHAR, "WM_CHAR"},
        {WM_TIMER, "WM_TIMER"},
        {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
        {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
        {WM_LBUTTONUP, "WM_LBUTTONUP"},
        {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
        {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
        {WM_COPYDATA, "WM_COPYDATA"},
    };
    auto it = names.find(message);
    if (it != names.end())
        return it->second;
    std::ostringstream s;
    s << "0x" << std::hex << message;
    return s.str();
}

void UserTest::SetUp() {
    RegisterTestClass(kRecClass, CS_HREDRAW | CS_VREDRAW);
    RegisterTestClass(kDblClass, CS_DBLCLKS);
    Pump();
    Log().Clear();
}

void UserTest::TearDown() {
    SetHook(nullptr);
    platform::SetIdleHandler({});
    std::vector<HWND> tops;
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&tops));
    for (HWND hwnd : tops)
        DestroyWindow(hwnd);
    ReleaseCapture();
    MSG m;
    for (int i = 0; i < 100000 && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++i) {
        DispatchMessageW(&m);
    }
    Log().Clear();
}

HWND UserTest::CreateTop(const RECT& r, DWORD style, const WCHAR* title, const WCHAR* cls,
                         DWORD exStyle, HWND owner) {
    return CreateWindowExW(exStyle, cls, title, style, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, owner, nullptr, nullptr, nullptr);
}

HWND UserTest::CreateChild(HWND parent, const RECT& r, DWORD style, int id, const WCHAR* cls) {
    return CreateWindowExW(0, cls, u"", style | WS_CHILD, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, parent, reinterpret_cast<HMENU>(intptr_t{id}), nullptr,
                           nullptr);
}

void UserTest::Pump() {
    MSG m;
    for (int i = 0; i < 100000 && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (m.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(m.wParam));
            return;
        }
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

void UserTest::Inject(platform::InputEvent::Kind kind, int x, int y, UINT vk) {
    platform::InputEvent e;
    e.kind = kind;
    e.x = x;
    e.y = y;
    e.vk = vk;
    platform::InjectInput(e);
    Pump();
}

}  // namespace usertest
