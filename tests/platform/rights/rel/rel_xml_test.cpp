#include "platform/rights/rel/rel_xml.h"

#include <gtest/gtest.h>

#include <string>

namespace platform::rights {
namespace {

// A rights object as an issuer sends it: a declaration, comments and indentation included.
constexpr const char* kHeader =
    "<?xml version=\"1.0\"?>\n"
    "<!-- issued for a test -->\n"
    "<o-ex:rights xmlns:o-ex=\"http://odrl.net/1.1/ODRL-EX\"\n"
    "    xmlns:o-dd=\"http://odrl.net/1.1/ODRL-DD\"\n"
    "    xmlns:ds=\"http://www.w3.org/2000/09/xmldsig#/\">\n"
    "  <o-ex:context><o-dd:version>1.0</o-dd:version></o-ex:context>\n"
    "  <o-ex:agreement>\n";

std::string Rights(const std::string& asset, const std::string& permission) {
    return kHeader + asset + "    <o-ex:permission>" + permission +
           "</o-ex:permission>\n  </o-ex:agreement>\n</o-ex:rights>\n";
}

std::string Asset(const std::string& uid, const std::string& key = "") {
    std::string out =
        "    <o-ex:asset><o-ex:context><o-dd:uid>" + uid + "</o-dd:uid></o-ex:context>";
    if (!key.empty())
        out += "<ds:KeyInfo><ds:KeyValue>" + key + "</ds:KeyValue></ds:KeyInfo>";
    return out + "</o-ex:asset>\n";
}

std::string Play(const std::string& constraint) {
    return "<o-dd:play><o-ex:constraint>" + constraint + "</o-ex:constraint></o-dd:play>";
}

constexpr const char* kKey = "AAECAwQFBgcICQoLDA0ODw==";  // bytes 0..15

TEST(RelXmlTest, ReadsAFullRightsObject) {
    const auto rights = ParseRightsXml(
        Rights(Asset("cid:pic-1@example.com", kKey),
               "<o-dd:display/><o-dd:print></o-dd:print>" +
                   Play("<o-dd:count> 3 </o-dd:count>"
                        "<o-dd:datetime><o-dd:start>2004-01-01T00:00:00Z</o-dd:start>"
                        "<o-dd:end>2004-01-02T00:00:00+01:00</o-dd:end></o-dd:datetime>"
                        "<o-dd:interval>P1D</o-dd:interval>")));
    ASSERT_TRUE(rights);
    EXPECT_EQ(rights->version, "1.0");
    EXPECT_EQ(rights->uid, "cid:pic-1@example.com");
    ASSERT_TRUE(rights->key);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ((*rights->key)[i], i);
    ASSERT_EQ(rights->permissions.size(), 3u);
    EXPECT_TRUE(rights->permissions.at(Permission::Display).Unconstrained());
    EXPECT_TRUE(rights->permissions.at(Permission::Print).Unconstrained());
    EXPECT_FALSE(rights->permissions.contains(Permission::Execute));
    const Constraint& play = rights->permissions.at(Permission::Play);
    EXPECT_EQ(play.count, 3u);
    EXPECT_EQ(play.start, 1072915200);
    EXPECT_EQ(play.end, 1072998000);
    EXPECT_EQ(play.interval, 86400);
}

TEST(RelXmlTest, WithoutPermissionsNothingIsGranted) {
    const auto rights = ParseRightsXml(Rights(Asset("cid:x"), ""));
    ASSERT_TRUE(rights);
    EXPECT_TRUE(rights->permissions.empty());
    EXPECT_FALSE(rights->key);
}

TEST(RelXmlTest, DecodesEntitiesCdataAndCharacterReferences) {
    const auto rights = ParseRightsXml(
        Rights(Asset("cid:a&amp;b&#x41;&#66;&lt;&gt;&quot;&apos;<![CDATA[<c>&amp;]]>&#xE9;"),
               "<o-dd:play/>"));
    ASSERT_TRUE(rights);
    EXPECT_EQ(rights->uid, "cid:a&bAB<>\"'<c>&amp;\xC3\xA9");
}

TEST(RelXmlTest, MatchesOtherPrefixesByNamespace) {
    const auto rights = ParseRightsXml(
        "<r:rights xmlns:r=\"http://odrl.net/1.1/ODRL-EX\" xmlns=\"http://odrl.net/1.1/ODRL-DD\">"
        "<r:agreement><r:asset><r:context><uid>cid:ns</uid></r:context>"
        "<k:KeyInfo xmlns:k=\"http://www.w3.org/2000/09/xmldsig#\"><k:KeyValue>" +
        std::string(kKey) +
        "</k:KeyValue></k:KeyInfo></r:asset>"
        "<r:permission><execute/></r:permission></r:agreement></r:rights>");
    ASSERT_TRUE(rights);
    EXPECT_EQ(rights->uid, "cid:ns");
    EXPECT_TRUE(rights->key);
    EXPECT_TRUE(rights->permissions.contains(Permission::Execute));
}

TEST(RelXmlTest, RefusesBadRightsObjects) {
    std::string depthBomb = "<o-ex:rights>";
    for (int i = 0; i < 40; ++i)
        depthBomb += "<a>";
    std::string oversized = Rights(Asset("cid:x"), "<o-dd:play/>");
    oversized += "<!--" + std::string(64 * 1024, ' ') + "-->";
    // 32 attributes on one element are read; the 33rd is refused.
    std::string manyAttributes = Rights(Asset("cid:x"), "");
    for (int i = 0; i < 33; ++i) {
        EXPECT_TRUE(ParseRightsXml(manyAttributes)) << i;
        manyAttributes.insert(manyAttributes.find("<o-ex:agreement") + 15,
                              " a" + std::to_string(i) + "=''");
    }
    const std::pair<const char*, std::string> cases[] = {
        {"Feb 30", Rights(Asset("cid:x"), Play("<o-dd:datetime><o-dd:end>2003-02-30T00:00:00"
                                               "</o-dd:end></o-dd:datetime>"))},
        {"month 13", Rights(Asset("cid:x"), Play("<o-dd:datetime><o-dd:start>2003-13-01T00:00:00"
                                                 "</o-dd:start></o-dd:datetime>"))},
        {"start after end",
         Rights(Asset("cid:x"), Play("<o-dd:datetime><o-dd:start>2004-01-02T00:00:00</o-dd:start>"
                                     "<o-dd:end>2004-01-01T00:00:00</o-dd:end></o-dd:datetime>"))},
        {"bad interval", Rights(Asset("cid:x"), Play("<o-dd:interval>1D</o-dd:interval>"))},
        {"negative count", Rights(Asset("cid:x"), Play("<o-dd:count>-1</o-dd:count>"))},
        {"word count", Rights(Asset("cid:x"), Play("<o-dd:count>three</o-dd:count>"))},
        {"empty count", Rights(Asset("cid:x"), Play("<o-dd:count></o-dd:count>"))},
        {"huge count", Rights(Asset("cid:x"), Play("<o-dd:count>4294967296</o-dd:count>"))},
        {"two counts",
         Rights(Asset("cid:x"), Play("<o-dd:count>1</o-dd:count><o-dd:count>2</o-dd:count>"))},
        {"unknown constraint", Rights(Asset("cid:x"), Play("<o-dd:system>x</o-dd:system>"))},
        {"permission twice", Rights(Asset("cid:x"), "<o-dd:play/><o-dd:play/>")},
        {"15-byte key", Rights(Asset("cid:x", "AAECAwQFBgcICQoLDA0O"), "")},
        {"bad base64", Rights(Asset("cid:x", "AAECAwQFBgcICQoLDA0ODw=!"), "")},
        {"missing uid", Rights("<o-ex:asset><o-ex:context/></o-ex:asset>", "")},
        {"empty uid", Rights(Asset("  "), "")},
        {"no asset", Rights("", "<o-dd:play/>")},
        {"two assets", Rights(Asset("cid:x") + Asset("cid:y"), "")},
        {"not rights", "<o-ex:other><o-ex:agreement/></o-ex:other>"},
        {"unclosed element", Rights(Asset("cid:x"), "<o-dd:play>")},
        {"mismatched close", Rights(Asset("cid:x"), "<o-dd:play></o-dd:display>")},
        {"unknown entity", Rights(Asset("cid:&nbsp;"), "")},
        {"NUL reference", Rights(Asset("cid:&#0;"), "")},
        {"surrogate reference", Rights(Asset("cid:&#xD800;"), "")},
        {"unterminated reference", Rights(Asset("cid:&amp"), "")},
        {"DTD subset", "<!DOCTYPE r [<!ENTITY a \"b\">]>" + Rights(Asset("cid:x"), "")},
        {"text after root", Rights(Asset("cid:x"), "") + "junk"},
        {"second root", Rights(Asset("cid:x"), "") + "<o-ex:rights/>"},
        {"duplicate attribute", "<o-ex:rights a=\"1\" a=\"2\"/>"},
        {"unquoted attribute", "<o-ex:rights a=1/>"},
        {"too many attributes", manyAttributes},
        {"depth bomb", depthBomb},
        {"oversized", oversized},
        {"empty", ""},
    };
    for (const auto& [name, text] : cases)
        EXPECT_FALSE(ParseRightsXml(text)) << name;
}

TEST(RelXmlTest, AcceptsNestingUpToTheLimit) {
    // Rights is level 1 and agreement level 2; 30 ignored levels inside reach 32 exactly.
    std::string open, close;
    for (int i = 0; i < 30; ++i) {
        open += "<x>";
        close = "</x>" + close;
    }
    const std::string asset = Asset("cid:x");
    std::string text = Rights(asset, "");
    text.insert(text.find(asset), open + close);
    EXPECT_TRUE(ParseRightsXml(text));
    text.insert(text.find(asset), "<x>" + open + close + "</x>");
    EXPECT_FALSE(ParseRightsXml(text));
}

TEST(RelXmlTest, EveryTruncationIsRefused) {
    const std::string text = Rights(Asset("cid:x", kKey), Play("<o-dd:count>3</o-dd:count>"));
    ASSERT_TRUE(ParseRightsXml(text));
    const std::size_t rootEnd = text.rfind('>');
    for (std::size_t size = 0; size < rootEnd; ++size)
        EXPECT_FALSE(ParseRightsXml(std::string_view(text).substr(0, size))) << size;
}

}  // namespace
}  // namespace platform::rights
