// Retrieval order, filters, WM_QUIT, translation and the idle handler, on the UI thread.
#include "platform/core/thread.h"
#include "platform/core/time.h"
#include "user_test_support.h"

namespace usertest {
namespace {

using MessageQueueTest = UserTest;

std::vector<UINT> TakeAll(UINT removeFlags = PM_REMOVE) {
    std::vector<UINT> taken;
    MSG m;
    while (taken.size() < 50 && PeekMessageW(&m, nullptr, 0, 0, removeFlags)) {
        taken.push_back(m.message);
        if (m.message == WM_PAINT)
            DispatchMessageW(&m);
        // A timer is due again soon after; one is enough to see where it stands.
        if (m.message == WM_TIMER || !(removeFlags & PM_REMOVE))
            break;
    }
    return taken;
}

TEST_F(MessageQueueTest, QuitComesAfterPostedMessagesWithItsExitCode) {
    HWND hwnd = CreateTop(RECT{0, 30, 10, 40}, 0);
    PostMessageW(hwnd, WM_USER, 0, 0);
    PostQuitMessage(42);
    PostMessageW(hwnd, WM_USER + 1, 0, 0);
    MSG m;
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, WM_USER);
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, WM_USER + 1);
    EXPECT_EQ(GetMessageW(&m, nullptr, 0, 0), FALSE);
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 42u);
    // Taken once only.
    EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueueTest, PostedThenPaintThenTimer) {
    HWND hwnd = CreateTop(RECT{0, 30, 10, 40});
    SetTimer(hwnd, 1, 1, nullptr);
    Sleep(5);
    PostMessageW(hwnd, WM_USER, 0, 0);
    EXPECT_EQ(TakeAll(), (std::vector<UINT>{WM_USER, WM_PAINT, WM_TIMER}));
    KillTimer(hwnd, 1);
}

TEST_F(MessageQueueTest, FiltersSelectByRangeAndWindow) {
    HWND a = CreateTop(RECT{0, 30, 10, 40}, 0);
    HWND child = CreateChild(a, RECT{0, 0, 5, 5});
    HWND b = CreateTop(RECT{0, 30, 10, 40}, 0);
    PostMessageW(b, WM_USER + 1, 0, 0);
    PostMessageW(child, WM_USER + 2, 0, 0);
    PostMessageW(nullptr, WM_USER + 3, 0, 0);
    PostMessageW(a, WM_USER + 4, 0, 0);
    MSG m;
    // A window filter takes the window's and its children's messages.
    ASSERT_TRUE(PeekMessageW(&m, a, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_USER + 2);
    ASSERT_TRUE(PeekMessageW(&m, a, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_USER + 4);
    EXPECT_FALSE(PeekMessageW(&m, a, 0, 0, PM_REMOVE));
    // (HWND)-1 takes thread messages only; a range takes what is in it.
    ASSERT_TRUE(PeekMessageW(&m, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_USER + 3);
    EXPECT_EQ(m.hwnd, nullptr);
    EXPECT_FALSE(PeekMessageW(&m, nullptr, WM_USER + 5, WM_USER + 9, PM_REMOVE));
    // PM_NOREMOVE leaves the message where it was.
    ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_USER, WM_USER + 1, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_USER, WM_USER + 1, PM_REMOVE));
    EXPECT_EQ(m.hwnd, b);
    SetLastError(0);
    HWND stale = CreateTop(RECT{0, 30, 10, 40}, 0);
    DestroyWindow(stale);
    EXPECT_EQ(GetMessageW(&m, stale, 0, 0), -1);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(MessageQueueTest, QuitIgnoresRangesButNotWindowFilters) {
    HWND hwnd = CreateTop(RECT{0, 30, 10, 40}, 0);
    PostQuitMessage(1);
    MSG m;
    // A loop that takes one window's messages (as when key releases are skipped) must not
    // swallow the quit.
    EXPECT_FALSE(PeekMessageW(&m, hwnd, 0, 0, PM_REMOVE));
    ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_USER, WM_USER, PM_REMOVE));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueueTest, BroadcastReachesEveryTopLevelWindowOnly) {
    HWND a = CreateTop(RECT{0, 30, 10, 40}, 0);
    HWND child = CreateChild(a, RECT{0, 0, 5, 5});
    HWND b = CreateTop(RECT{0, 30, 10, 40}, 0);
    constexpr UINT kNote = WM_USER + 77;
    ASSERT_TRUE(PostMessageW(HWND_BROADCAST, kNote, 5, 6));
    Pump();
    auto posted = Log().Of(kNote);
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].hwnd, b);
    EXPECT_EQ(posted[1].hwnd, a);
    Log().Clear();
    SendMessageW(HWND_BROADCAST, kNote, 0, 0);
    EXPECT_EQ(Log().Of(kNote).size(), 2u);
    for (const Recorded& r : Log().Entries())
        EXPECT_NE(r.hwnd, child);
}

TEST_F(MessageQueueTest, TranslateMessageFollowsCharacterKeysWithTheirCharacter) {
    HWND hwnd = CreateTop(RECT{0, 30, 10, 40});
    struct Case {
        UINT vk;
        WCHAR character;  // 0: no WM_CHAR
    };
    const Case cases[] = {{'A', u'a'},      {'7', u'7'},  {VK_RETURN, u'\r'}, {VK_SPACE, u' '},
                          {VK_BACK, u'\b'}, {VK_LEFT, 0}, {VK_F1, 0}};
    for (const Case& c : cases) {
        // Something already queued must not come between the key and its character.
        PostMessageW(hwnd, WM_USER, 0, 0);
        MSG key{hwnd, WM_KEYDOWN, c.vk, 1, 0, {0, 0}};
        EXPECT_TRUE(TranslateMessage(&key));
        MSG m;
        ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
        if (c.character) {
            EXPECT_EQ(m.message, WM_CHAR) << c.vk;
            EXPECT_EQ(m.wParam, static_cast<WPARAM>(c.character)) << c.vk;
            ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
        }
        EXPECT_EQ(m.message, WM_USER) << c.vk;
    }
    MSG other{hwnd, WM_USER, 0, 0, 0, {0, 0}};
    EXPECT_FALSE(TranslateMessage(&other));
}

TEST_F(MessageQueueTest, ThreadMessagesAndTheirErrors) {
    ASSERT_TRUE(PostThreadMessageW(GetCurrentThreadId(), WM_USER + 9, 3, 4));
    MSG m;
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.hwnd, nullptr);
    EXPECT_EQ(m.message, WM_USER + 9);
    EXPECT_EQ(DispatchMessageW(&m), 0);
    EXPECT_EQ(static_cast<LONG>(m.time), GetMessageTime());
    SetLastError(0);
    EXPECT_FALSE(PostThreadMessageW(GetCurrentThreadId() + 12345, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_THREAD_ID);
}

TEST_F(MessageQueueTest, IdleHandlerRunsOnlyWhenNothingIsPending) {
    HWND hwnd = CreateTop(RECT{0, 30, 10, 40});
    Pump();
    int calls = 0;
    PostMessageW(hwnd, WM_USER, 0, 0);
    platform::SetIdleHandler([&]() -> DWORD {
        ++calls;
        if (calls == 1)
            PostMessageW(hwnd, WM_USER + 1, 0, 0);
        if (calls == 2)
            PostQuitMessage(5);
        return INFINITE;
    });
    std::vector<UINT> seen;
    std::vector<int> callsBefore;
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0)) {
        seen.push_back(m.message);
        callsBefore.push_back(calls);
    }
    EXPECT_EQ(seen, (std::vector<UINT>{WM_USER, WM_USER + 1}));
    EXPECT_EQ(callsBefore, (std::vector<int>{0, 1}));
    EXPECT_EQ(m.wParam, 5u);
    EXPECT_EQ(calls, 2);
}

TEST_F(MessageQueueTest, IdleHandlerBoundsTheWait) {
    int calls = 0;
    platform::SetIdleHandler([&]() -> DWORD {
        if (++calls == 3)
            PostQuitMessage(0);
        return 1;
    });
    MSG m;
    // Without the bound this would sleep forever: nothing else ever arrives.
    EXPECT_FALSE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(calls, 3);
}

}  // namespace
}  // namespace usertest
