#include "platform/fs/pattern.h"

#include <gtest/gtest.h>

namespace {

struct PatternCase {
    const char16_t* name;
    const char16_t* pattern;
    bool matches;
};

TEST(PatternTest, MatchesLikeTheHandheld) {
    const PatternCase cases[] = {
        {u"a.jpg", u"*", true},
        {u"a.jpg", u"*.*", true},
        {u"README", u"*.*", true},  // names without a dot still match *.*
        {u"a.jpg", u"*.jpg", true},
        {u"A.JPG", u"*.jpg", true},  // case is ignored
        {u"\u00c4rger.jpg", u"\u00e4*", true},
        {u"a.jpeg", u"*.jpg", false},
        {u"a.jpg.bak", u"*.jpg", false},
        {u"a.jpg", u"?.jpg", true},
        {u"ab.jpg", u"?.jpg", false},
        {u".jpg", u"?.jpg", false},
        {u"photo", u"photo.*", true},
        {u"photo", u"photo.", true},  // "name." matches a name without an extension
        {u"photo.x", u"photo.", false},
        {u"IMG_0001.JPG", u"img_*1.jpg", true},
        {u"abcabcabd", u"*abd", true},  // backtracking over a repeated prefix
        {u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", u"*a*a*a*a*a*a*a*a*c", false},
        {u"x", u"", false},
    };
    for (const PatternCase& c : cases) {
        EXPECT_EQ(platform::fs::MatchesPattern(c.name, c.pattern), c.matches)
            << "name " << std::u16string_view(c.name).size() << " units, pattern index "
            << (&c - cases);
    }
}

}  // namespace
