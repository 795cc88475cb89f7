#include "platform/core/debug.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/wstring.h"

namespace {

TEST(DebugOutput, CapturesCollectWholeTextsFromEveryThread) {
    constexpr int kThreads = 4, kLines = 200;
    std::vector<std::string> lines;
    for (int t = 0; t < kThreads; ++t)
        lines.push_back(std::string(300, char('a' + t)) + "\r\n");

    platform::DebugOutputCapture outer;
    {
        platform::DebugOutputCapture inner;
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&, t] {
                const std::u16string text = platform::FromUtf8(lines[t]);
                for (int i = 0; i < kLines; ++i)
                    OutputDebugStringW(text.c_str());
            });
        }
        for (auto& thread : threads)
            thread.join();
        for (const platform::DebugOutputCapture* capture : {&outer, &inner}) {
            std::map<std::string, int> counts;
            std::istringstream stream(capture->Utf8());
            for (std::string line; std::getline(stream, line);)
                ++counts[line + "\n"];
            ASSERT_EQ(counts.size(), static_cast<size_t>(kThreads)) << "no interleaved texts";
            for (const std::string& line : lines)
                EXPECT_EQ(counts[line], kLines);
        }
    }
    outer.Clear();
    OutputDebugStringW(u"after");
    EXPECT_EQ(outer.Utf8(), "after") << "the outer capture outlives the inner one";
}

TEST(DebugOutput, NKDbgPrintfWFormatsAndKeepsBadFormats) {
    platform::DebugOutputCapture capture;
    NKDbgPrintfW(u"CreateFile failed with GLE = %d", 2);
    NKDbgPrintfW(u"[%s]", u"");
    NKDbgPrintfW(u"hr: 0x%08x\n", E_FAIL);
    NKDbgPrintfW(u"%s missing");
    NKDbgPrintfW(u"\u00C4 %hs", "\xC3\xA4");
    const std::u16string big(5000, u'x');
    NKDbgPrintfW(u"%s", big.c_str());
    EXPECT_EQ(capture.Utf8(), "CreateFile failed with GLE = 2[]hr: 0x80004005\n%s missingÄ ä" +
                                  std::string(5000, 'x'));
}

TEST(DebugOutput, FileDestinationAppends) {
    char path[] = "/tmp/pictarium-debug-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    {
        std::ofstream existing(path);
        existing << "old\n";
    }
    ASSERT_TRUE(platform::SetDebugOutputFile(path));
    OutputDebugStringW(u"one\r\n");
    NKDbgPrintfW(u"%d\r\n", 2);
    EXPECT_FALSE(platform::SetDebugOutputFile("/nonexistent-dir/x.log"));
    OutputDebugStringW(u"three");  // the failed switch kept the working file
    ASSERT_TRUE(platform::SetDebugOutputFile(""));
    OutputDebugStringW(u"not written");
    std::ifstream in(path);
    std::stringstream content;
    content << in.rdbuf();
    EXPECT_EQ(content.str(), "old\none\r\n2\r\nthree");
    unlink(path);
}

}  // namespace
