#include "platform/core/thread.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <atomic>

#include "platform/core/sync.h"
#include "platform/core/time.h"

namespace {

// What a test thread sees and does: it records its id and priority, then waits for `go`.
struct Job {
    HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> ran{false};
    std::atomic<DWORD> id{0};
    std::atomic<int> nice{-100};
    DWORD exitCode = 0;
    ~Job() { CloseHandle(go); }
};

DWORD JobMain(LPVOID parameter) {
    auto& job = *static_cast<Job*>(parameter);
    job.id = GetCurrentThreadId();
    job.ran = true;
    WaitForSingleObject(job.go, INFINITE);
    job.nice = getpriority(PRIO_PROCESS, 0);
    return job.exitCode;
}

TEST(Thread, ExitCodeAndWaitableHandle) {
    Job job;
    job.exitCode = 42;
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, JobMain, &job, 0, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_NE(id, 0u);
    EXPECT_NE(id, GetCurrentThreadId());

    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_EQ(WaitForSingleObject(thread, 10), WAIT_TIMEOUT);

    SetEvent(job.go);
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0) << "stays signalled";
    ASSERT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 42u);
    EXPECT_EQ(job.id.load(), id) << "the id given out is the thread's own";
    EXPECT_TRUE(CloseHandle(thread));
    EXPECT_FALSE(GetExitCodeThread(thread, &code));
}

TEST(Thread, CreatedSuspendedRunsOnlyAfterResume) {
    Job job;
    SetEvent(job.go);
    HANDLE thread = CreateThread(nullptr, 0, JobMain, &job, CREATE_SUSPENDED, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 30), WAIT_TIMEOUT);
    EXPECT_FALSE(job.ran);
    EXPECT_EQ(ResumeThread(thread), 1u);
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    EXPECT_TRUE(job.ran);
    EXPECT_EQ(ResumeThread(thread), 0u);
    CloseHandle(thread);
}

TEST(Thread, ClosingTheHandleLeavesTheThreadRunning) {
    Job job;
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    struct Context {
        Job* job;
        HANDLE done;
    } context{&job, done};
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            auto* c = static_cast<Context*>(p);
            JobMain(c->job);
            SetEvent(c->done);
            return 0;
        },
        &context, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_TRUE(CloseHandle(thread));
    SetEvent(job.go);
    EXPECT_EQ(WaitForSingleObject(done, 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(job.ran);
    CloseHandle(done);
}

TEST(Thread, BadArgumentsAreRefused) {
    SetLastError(0);
    EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    Job job;
    EXPECT_EQ(CreateThread(nullptr, 0, JobMain, &job, 0x8, nullptr), nullptr);
    EXPECT_EQ(ResumeThread(reinterpret_cast<HANDLE>(0x7FFFFFF0)), 0xFFFFFFFFu);
    EXPECT_EQ(GetThreadPriority(reinterpret_cast<HANDLE>(0x7FFFFFF0)),
              THREAD_PRIORITY_ERROR_RETURN);
}

TEST(Thread, PrioritiesAreRecordedAndLoweringIsApplied) {
    Job job;
    HANDLE thread = CreateThread(nullptr, 0, JobMain, &job, CREATE_SUSPENDED, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_NORMAL);
    EXPECT_EQ(CeGetThreadPriority(thread), 251);

    struct Case {
        int level;
        BOOL accepted;
    };
    const Case cases[] = {{THREAD_PRIORITY_ABOVE_NORMAL, TRUE},
                          {-1, FALSE},
                          {8, FALSE},
                          {THREAD_PRIORITY_IDLE, TRUE}};
    for (const Case& c : cases)
        EXPECT_EQ(SetThreadPriority(thread, c.level), c.accepted);
    EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_IDLE);
    EXPECT_EQ(CeGetThreadPriority(thread), 255);
    EXPECT_FALSE(CeSetThreadPriority(thread, 256));
    EXPECT_TRUE(CeSetThreadPriority(thread, 255));

    ResumeThread(thread);
    SetEvent(job.go);
    WaitForSingleObject(thread, INFINITE);
    EXPECT_EQ(job.nice, 19) << "idle maps to the weakest nice value";
    EXPECT_TRUE(SetThreadPriority(thread, THREAD_PRIORITY_LOWEST)) << "an ended thread's record";
    EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_LOWEST);
    CloseHandle(thread);
}

TEST(Thread, PseudoHandleMeansTheCallingThread) {
    const int mainNice = getpriority(PRIO_PROCESS, 0);
    struct Seen {
        int before = -1, after = -1, nice = -100;
        DWORD code = 0;
    } seen;
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            auto* s = static_cast<Seen*>(p);
            s->before = GetThreadPriority(GetCurrentThread());
            SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
            s->after = GetThreadPriority(GetCurrentThread());
            s->nice = getpriority(PRIO_PROCESS, 0);
            GetExitCodeThread(GetCurrentThread(), &s->code);
            return 0;
        },
        &seen, CREATE_SUSPENDED, nullptr);
    ASSERT_NE(thread, nullptr);
    SetThreadPriority(thread, THREAD_PRIORITY_LOWEST);
    ResumeThread(thread);
    WaitForSingleObject(thread, INFINITE);
    EXPECT_EQ(seen.before, THREAD_PRIORITY_LOWEST);
    EXPECT_EQ(seen.after, THREAD_PRIORITY_BELOW_NORMAL);
    // Lowest (10) was applied at start; going back up to below normal (5) needs a privilege.
    EXPECT_TRUE(seen.nice == 5 || seen.nice == 10) << seen.nice;
    EXPECT_EQ(getpriority(PRIO_PROCESS, 0), mainNice) << "only the started thread changed";
    EXPECT_EQ(seen.code, STILL_ACTIVE);
    EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_BELOW_NORMAL)
        << "the pseudo-handle and the real handle share one record";
    CloseHandle(thread);
}

}  // namespace
