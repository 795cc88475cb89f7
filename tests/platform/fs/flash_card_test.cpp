#include "platform/fs/flash_card.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "fs_test_support.h"
#include "platform/core/error.h"
#include "platform/core/wstring.h"
#include "platform/fs/device.h"

namespace {

using fs_test::MakeHostDir;
using fs_test::WriteHostFile;

constexpr DWORD kCardAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY;

class FlashCardTest : public fs_test::DeviceTest {
  protected:
    std::string CardHost() const { return temp_.Path() + "/card"; }

    // The card's record, or nothing with the error FindFirstFlashCard gave.
    bool FirstCard(WIN32_FIND_DATAW& data, DWORD& error) {
        SetLastError(0);
        HANDLE find = FindFirstFlashCard(&data);
        error = GetLastError();
        if (find == INVALID_HANDLE_VALUE)
            return false;
        EXPECT_TRUE(FindClose(find));
        return true;
    }

    void ExpectCard() {
        WIN32_FIND_DATAW data{};
        DWORD error = 0;
        ASSERT_TRUE(FirstCard(data, error)) << "error " << error;
        EXPECT_EQ(platform::ToUtf8(data.cFileName), "Storage Card");
        EXPECT_EQ(data.dwFileAttributes & kCardAttributes, kCardAttributes);
        EXPECT_EQ(data.nFileSizeHigh, 0u);
        EXPECT_EQ(data.nFileSizeLow, 0u);
    }

    void ExpectNoCard() {
        WIN32_FIND_DATAW data{};
        DWORD error = 0;
        EXPECT_FALSE(FirstCard(data, error));
        EXPECT_EQ(error, ERROR_NO_MORE_FILES);
    }
};

TEST_F(FlashCardTest, CardShownOnlyWhileItsFolderIsThere) {
    enum class Card { NotConfigured, Missing, PlainFile, Folder };
    struct CardCase {
        const char* name;
        Card card;
        bool rootHasNamesake;  // the root holds an ordinary folder called "Storage Card"
        bool present;
    };
    const CardCase cases[] = {
        {"no card", Card::NotConfigured, false, false},
        {"no card, ordinary namesake folder", Card::NotConfigured, true, false},
        {"card folder missing", Card::Missing, false, false},
        {"card path is a file", Card::PlainFile, false, false},
        {"card present", Card::Folder, false, true},
        {"card present over a namesake", Card::Folder, true, true},
    };
    for (const CardCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(CardHost());
        std::filesystem::remove_all(Root("/Storage Card"));
        if (c.rootHasNamesake)
            MakeHostDir(Root("/Storage Card"));
        if (c.card == Card::PlainFile)
            WriteHostFile(CardHost(), "not a folder");
        if (c.card == Card::Folder)
            MakeHostDir(CardHost());
        if (c.card == Card::NotConfigured) {
            ASSERT_TRUE(platform::ConfigureDevice(Root(), ""));
        } else {
            UseCard(CardHost());
        }
        if (c.present) {
            ExpectCard();
        } else {
            ExpectNoCard();
        }
    }
}

TEST_F(FlashCardTest, CardPulledAndPutBackWhileRunning) {
    MakeHostDir(CardHost());
    WriteHostFile(CardHost() + "/a.jpg", "x");
    UseCard(CardHost());
    ExpectCard();

    std::filesystem::remove_all(CardHost());
    ExpectNoCard();

    MakeHostDir(CardHost());
    ExpectCard();
}

TEST_F(FlashCardTest, RecordMatchesTheRootListing) {
    MakeHostDir(CardHost());
    UseCard(CardHost());
    WIN32_FIND_DATAW card{};
    DWORD error = 0;
    ASSERT_TRUE(FirstCard(card, error));

    WIN32_FIND_DATAW listed{};
    HANDLE find = FindFirstFileW(u"\\Storage Card", &listed);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(FindClose(find));
    EXPECT_EQ(std::memcmp(&card, &listed, sizeof(card)), 0);
    EXPECT_NE(card.dwOID, 0u);
    EXPECT_NE(card.ftLastWriteTime.dwLowDateTime | card.ftLastWriteTime.dwHighDateTime, 0u);
}

TEST_F(FlashCardTest, ThereIsNeverASecondCardAndTheHandleCloses) {
    MakeHostDir(CardHost());
    UseCard(CardHost());
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFlashCard(&data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);

    WIN32_FIND_DATAW next{};
    next.dwFileAttributes = 0xABCD;
    EXPECT_FALSE(FindNextFlashCard(find, &next));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_FALSE(FindNextFlashCard(find, &next));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_EQ(next.dwFileAttributes, 0xABCDu);  // nothing written on the way out

    EXPECT_TRUE(FindClose(find));
    EXPECT_FALSE(FindClose(find));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(FindNextFlashCard(find, &next));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(FlashCardTest, BadArgumentsAreRefused) {
    MakeHostDir(CardHost());
    UseCard(CardHost());
    SetLastError(0);
    EXPECT_EQ(FindFirstFlashCard(nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    WIN32_FIND_DATAW data{};
    EXPECT_FALSE(FindNextFlashCard(INVALID_HANDLE_VALUE, &data));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(FindNextFlashCard(nullptr, &data));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

}  // namespace
