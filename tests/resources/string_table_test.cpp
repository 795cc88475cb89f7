#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "resource_test_util.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"

namespace {

using resources_test::StringText;
using resources_test::Text;

struct QuotedText {
    unsigned id;
    const char16_t* text;
};

TEST(StringTable, TextsAsTheProgramQuotesThem) {
    const QuotedText cases[] = {
        {1, u"Pictarium"},
        {2, u"QUORVANE"},
        {5, u"Save"},
        {6, u"Done"},
        {7, u"Cancel"},
        {8, u"Up"},
        {9, u"Menu"},
        {17, u"Alert"},
        {18, u"Not enough memory to load content"},
        {21, u"Ringtone error"},
        {25, u"Size"},
        {27, u"Type : "},
        {28, u"Name"},
        {29, u"Date"},
        {30, u"'%s' already exists"},
        {33, u"Error"},
        {34, u"Cannot move '%.25s':\n\nThe destination folder is the same as the source folder"},
        {38, u"Delete '%.25s'?"},
        {40, u"Delete these %d items?"},
        {47, u"New folder"},
        {48, u"Unable to send over %d KB"},
        {49, u"Folder is empty."},
        {58, u"Sec"},
        {107, u"A file named '%.25s' already exists.\n\nReplace the existing file"},
        {109, u"Error Renaming File"},
        {113, u"Crop"},
        {120, u"Input new folder name"},
        {121, u"Input new name"},
        {122, u"Rename"},
        {131, u"Properties"},
        {132, u"Unable to set image as Today background"},
        {133, u"Unable to load file"},
        {134, u"A file name cannot contain any of the following characters: \\/:*?\"<>|"},
        {135, u"Copy of "},
        {138, u"You must type a file name."},
        {140, u"Undo all changes?"},
        {205, u"OK"},
        {348, u"Options"},
        {356, u"My Device"},
        {365, u"The ring tone has been copied to \\Windows\\Rings and set as your ring tone."},
        {374, u"Not enough memory"},
        {419, u"N/A"},
        {429, u"Unable to save"},
        {480, u"Processing..."},
        {482, u"Position :"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Text(StringText(c.id)), c.text) << "string " << c.id;
}

// The nine characters a file name may not hold, as message 134 lists them and the name check
// reads them from it.
TEST(StringTable, ForbiddenCharacterMessageEndsWithTheNineCharacters) {
    const std::u16string text = Text(StringText(IDS_INVALID_FILE_NAME));
    ASSERT_GE(text.size(), 9u);
    EXPECT_EQ(text.substr(text.size() - 9), u"\\/:*?\"<>|");
}

// Effect ids are stored in the registry; the names are not in id order (86 was added later).
TEST(StringTable, TransitionEffectNamesInEffectIdOrder) {
    const char16_t* names[] = {
        u"No effect",    u"Wipe right",    u"Wipe left",      u"Wipe up",      u"Wipe down",
        u"Cover right",  u"Cover left",    u"Cover up",       u"Cover down",   u"BlindHorz",
        u"BlindVert",    u"Stretch right", u"Stretch left",   u"Stretch up",   u"Stretch down",
        u"Strew random", u"Strew right",   u"Strew left",     u"Strew up",     u"Strew down",
        u"Clock right",  u"Clock left",    u"Show rectangle", u"Show ellipse", u"Show diamond",
        u"Random",
    };
    ASSERT_EQ(std::size(names), kTransitionEffectNameIds.size());
    for (std::size_t effect = 0; effect < std::size(names); ++effect) {
        EXPECT_EQ(Text(StringText(kTransitionEffectNameIds[effect])), names[effect])
            << "effect " << effect;
    }
    EXPECT_EQ(kTransitionEffectNameIds[16], 86u);
    EXPECT_EQ(kTransitionEffectNameIds[25], IDS_RANDOM);
}

// printf-style conversions of one text, in order ("%%" is not one).
std::vector<std::u16string> Conversions(const std::u16string& text) {
    std::vector<std::u16string> found;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'%')
            continue;
        std::size_t end = i + 1;
        while (end < text.size() &&
               std::u16string(u"-.0123456789l").find(text[end]) != std::u16string::npos)
            ++end;
        if (end < text.size() && text[end] == u'%' && end == i + 1) {
            i = end;
            continue;
        }
        found.push_back(text.substr(i, end + 1 - i));
        i = end;
    }
    return found;
}

// A stray or wrong conversion in a message makes the formatter read arguments that were never
// passed; only the messages that take an argument may hold one.
TEST(StringTable, OnlyMessagesTakingArgumentsHoldConversions) {
    const std::map<unsigned, std::vector<std::u16string>> expected = {
        {IDS_ALREADY_EXISTS, {u"%s"}},          {IDS_CANNOT_MOVE_SAME_FOLDER, {u"%.25s"}},
        {IDS_DELETE_FILE_PROMPT, {u"%.25s"}},   {IDS_DELETE_ITEMS_PROMPT, {u"%d"}},
        {IDS_DELETE_FOLDER_PROMPT, {u"%.25s"}}, {IDS_SEND_TOO_LARGE, {u"%d"}},
        {IDS_REPLACE_FILE_PROMPT, {u"%.25s"}},  {IDS_REPLACE_FOLDER_PROMPT, {u"%.25s"}},
        {IDS_SYSTEM_FOLDER, {u"%.25s"}},        {IDS_CANNOT_COPY_SAME_FOLDER, {u"%.25s"}},
    };
    for (const auto& entry : ProgramStrings()) {
        const auto it = expected.find(entry.id);
        const std::vector<std::u16string> want =
            it != expected.end() ? it->second : std::vector<std::u16string>{};
        EXPECT_EQ(Conversions(entry.text), want) << "string " << entry.id;
    }
}

TEST(StringTable, EveryEntryHasTextWithoutStrayBlanks) {
    // Labels that the properties view writes a value straight behind, and the copy-name prefix.
    const std::vector<unsigned> trailingBlankAllowed = {IDS_TYPE_LABEL, IDS_CONTENTS_LABEL,
                                                        IDS_LENGTH_LABEL, IDS_COPY_OF};
    for (const auto& entry : ProgramStrings()) {
        const std::u16string text = Text(entry.text);
        ASSERT_FALSE(text.empty()) << "string " << entry.id;
        EXPECT_NE(text.front(), u' ') << "string " << entry.id;
        const bool allowed = std::find(trailingBlankAllowed.begin(), trailingBlankAllowed.end(),
                                       entry.id) != trailingBlankAllowed.end();
        EXPECT_EQ(text.back() == u' ', allowed) << "string " << entry.id;
    }
}

TEST(StringTable, LookupFindsExactIdsOnly) {
    EXPECT_EQ(StringText(0), nullptr);
    EXPECT_EQ(StringText(3), nullptr);    // between 2 and 5
    EXPECT_EQ(StringText(484), nullptr);  // past the last entry
    EXPECT_EQ(StringText(0xFFFFFFFFu), nullptr);
    const auto strings = ProgramStrings();
    EXPECT_EQ(StringText(strings.front().id), strings.front().text);
    EXPECT_EQ(StringText(strings.back().id), strings.back().text);
}

}  // namespace
