#include "app/log/ppc_log.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/debug.h"
#include "platform/core/time.h"

namespace {

const std::string kFailureText =
    " =========  ERROR ===== \r\n _vsntprintf function  fail. Not process log information \r\n";

class LogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        log_ = CPPCLog::getInstance();
        ASSERT_NE(log_, nullptr);
        capture_.Clear();
    }
    void TearDown() override { ReleaseCPPCLog(); }

    CPPCLog* log_ = nullptr;
    platform::DebugOutputCapture capture_;
};

TEST_F(LogTest, ThresholdDecidesWhichLevelsAreWritten) {
    struct Case {
        LONG level;
        bool debug, trace, info, error;
    };
    const Case cases[] = {
        {0, true, true, true, true},    {1, false, true, true, true},
        {2, false, false, true, true},  {3, false, false, false, true},
        {4, false, false, false, true}, {5, false, false, false, false},
        {-1, true, true, true, true},
    };
    for (const Case& c : cases) {
        log_->SetLevel(c.level);
        capture_.Clear();
        log_->DEBUG(u"d");
        log_->TRACE(u"t");
        log_->INFO(u"i");
        log_->ERROR(u"e");
        const std::string out = capture_.Utf8();
        EXPECT_EQ(out.find("[DEBUG]") != std::string::npos, c.debug) << c.level;
        EXPECT_EQ(out.find("[TRACE]") != std::string::npos, c.trace) << c.level;
        EXPECT_EQ(out.find("[INFO]") != std::string::npos, c.info) << c.level;
        EXPECT_EQ(out.find("[ERROR]") != std::string::npos, c.error) << c.level;
    }
}

TEST_F(LogTest, LineCarriesTagThreadIdAndMessage) {
    log_->TRACE(u"CMainWnd::PowerWakeup==>ActiveWindow=[%lx]", 0x5ac2u);
    const std::regex line(R"(\[TRACE\] Thread Id=\[[0-9a-f]+\] CMainWnd::PowerWakeup==>)"
                          R"(ActiveWindow=\[5ac2\]\r\n)");
    EXPECT_TRUE(std::regex_match(capture_.Utf8(), line)) << capture_.Utf8();
}

TEST_F(LogTest, TooLongMessageIsReplacedByTheFixedText) {
    const std::u16string longText(300, u'x');
    log_->TRACE(u"%s", longText.c_str());
    EXPECT_EQ(capture_.Utf8(), kFailureText + "\r\n");
}

TEST_F(LogTest, MessageThatExactlyFillsTheLineIsKept) {
    log_->TRACE(u"");
    const std::size_t prefix = capture_.Utf8().size() - 2;  // without the line break
    capture_.Clear();
    // 255 units leave room for the terminator; one more does not.
    const std::u16string fits(CPPCLog::kLineUnits - 1 - prefix, u'y');
    log_->TRACE(u"%s", fits.c_str());
    EXPECT_EQ(capture_.Utf8().size(), prefix + fits.size() + 2);
    capture_.Clear();
    const std::u16string tooLong = fits + u"y";
    log_->TRACE(u"%s", tooLong.c_str());
    EXPECT_EQ(capture_.Utf8(), kFailureText + "\r\n");
}

TEST_F(LogTest, PercentInAnArgumentIsShownVerbatim) {
    log_->TRACE(u"name=[%s]", u"100%s%d%%");
    EXPECT_NE(capture_.Utf8().find("name=[100%s%d%%]"), std::string::npos) << capture_.Utf8();
}

TEST_F(LogTest, DebugOutputOffWritesNothing) {
    log_->SetDebugOutput(false);
    log_->ERROR(u"hidden");
    EXPECT_EQ(capture_.Utf8(), "");
}

TEST_F(LogTest, ThreadsWriteWholeLines) {
    constexpr int kThreads = 4;
    constexpr int kLines = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([this, t] {
            for (int i = 0; i < kLines; ++i)
                log_->TRACE(u"worker %d line %d end", t, i);
        });
    }
    for (std::thread& thread : threads)
        thread.join();

    // Each line break must close a whole line; lines of one thread share one thread id.
    const std::regex line(R"(\[TRACE\] Thread Id=\[([0-9a-f]+)\] worker (\d) line (\d+) end)");
    std::istringstream in(capture_.Utf8());
    std::string text;
    std::map<std::string, std::string> idOfWorker;
    int count = 0;
    while (std::getline(in, text)) {
        ASSERT_FALSE(text.empty());
        ASSERT_EQ(text.back(), '\r');
        text.pop_back();
        std::smatch match;
        ASSERT_TRUE(std::regex_match(text, match, line)) << text;
        auto [it, inserted] = idOfWorker.emplace(match[2], match[1]);
        EXPECT_EQ(it->second, match[1].str());
        ++count;
    }
    EXPECT_EQ(count, kThreads * kLines);
    std::set<std::string> ids;
    for (const auto& entry : idOfWorker)
        ids.insert(entry.second);
    EXPECT_EQ(ids.size(), static_cast<std::size_t>(kThreads));
}

TEST(PrintLastErrorTest, WritesTheLastErrorsText) {
    platform::DebugOutputCapture capture;
    SetLastError(ERROR_FILE_NOT_FOUND);
    PrintLastError();
    EXPECT_EQ(capture.Utf8(), "The system cannot find the file specified.\r\n");
}

// The name the logger builds from the local date and hour, as "%04d%d%d%02d.txt".
std::string ExpectedFileName() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char name[32];
    std::snprintf(name, sizeof(name), "%04d%d%d%02d.txt", now.wYear, now.wMonth, now.wDay,
                  now.wHour);
    return name;
}

TEST(LogLifetimeTest, ReleaseResetsLevelAndRebuildsFileName) {
    platform::DebugOutputCapture capture;
    CPPCLog* first = CPPCLog::getInstance();
    ASSERT_NE(first, nullptr);
    first->SetLevel(4);
    ReleaseCPPCLog();
    EXPECT_NE(capture.Utf8().find("CPPCLog::~CPPCLog==> ---------------------------- "),
              std::string::npos);

    capture.Clear();
    const std::string before = ExpectedFileName();
    CPPCLog* second = CPPCLog::getInstance();
    const std::string after = ExpectedFileName();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetLevel(), 0);
    // The hour may turn between the reads; the name must match one side of it.
    EXPECT_TRUE(second->FileName() == before || second->FileName() == after) << second->FileName();
    // Created at threshold 0, so its own creation line is shown; the name is printed without
    // its extension.
    const std::string out = capture.Utf8();
    const std::string stem = second->FileName().substr(0, second->FileName().size() - 4);
    EXPECT_NE(out.find("CPPCLog::CPPCLog==>FILE NAME=[" + stem + "] ============= \r\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("LOGGER CREATE.. LOGGER INSTANCE=["), std::string::npos) << out;
    ReleaseCPPCLog();
}

}  // namespace
