// Whatever the writers produce, the readers give back unchanged, in both encodings.
#include <gtest/gtest.h>

#include "platform/rights/rel/rel_wbxml.h"
#include "platform/rights/rel/rel_xml.h"

namespace platform::rights {
namespace {

struct Codec {
    const char* name;
    std::optional<RightsObject> (*roundTrip)(const RightsObject&, bool& wroteSomething);
};

std::optional<RightsObject> ThroughXml(const RightsObject& rights, bool& wroteSomething) {
    const std::string text = WriteRightsXml(rights);
    wroteSomething = !text.empty();
    return ParseRightsXml(text);
}

std::optional<RightsObject> ThroughWbxml(const RightsObject& rights, bool& wroteSomething) {
    const std::vector<std::uint8_t> data = WriteRightsWbxml(rights);
    wroteSomething = !data.empty();
    return ParseRightsWbxml(data.data(), data.size());
}

constexpr Codec kCodecs[] = {{"xml", ThroughXml}, {"wbxml", ThroughWbxml}};

RightsObject Base() {
    RightsObject rights;
    rights.version = "1.0";
    rights.uid = "cid:photo-7&<\"x\">@example.com";
    return rights;
}

std::vector<std::pair<const char*, RightsObject>> Objects() {
    std::vector<std::pair<const char*, RightsObject>> out;
    RightsObject full = Base();
    full.key =
        std::array<std::uint8_t, 16>{0xFF, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 0x80};
    full.permissions[Permission::Display] = {};
    full.permissions[Permission::Play] = {3u, 1072915200, 1104537599, 86400 * 30 + 5};
    full.permissions[Permission::Execute] = {0u, std::nullopt, std::nullopt, std::nullopt};
    full.permissions[Permission::Print] = {std::nullopt, -86400, std::nullopt, 0};
    out.emplace_back("full", full);
    out.emplace_back("nothing granted", Base());
    RightsObject noVersion = Base();
    noVersion.version.clear();
    noVersion.permissions[Permission::Print] = {};
    out.emplace_back("no version", noVersion);
    const std::pair<const char*, Constraint> single[] = {
        {"count", {4294967295u, std::nullopt, std::nullopt, std::nullopt}},
        {"start", {std::nullopt, 0, std::nullopt, std::nullopt}},
        {"end", {std::nullopt, std::nullopt, 253402300799, std::nullopt}},
        {"interval", {std::nullopt, std::nullopt, std::nullopt, 1}},
    };
    for (const auto& [name, constraint] : single) {
        RightsObject rights = Base();
        rights.permissions[Permission::Play] = constraint;
        out.emplace_back(name, rights);
    }
    return out;
}

TEST(RelRoundTripTest, WrittenObjectsReadBackUnchanged) {
    for (const Codec& codec : kCodecs) {
        for (const auto& [name, rights] : Objects()) {
            bool wrote = false;
            EXPECT_EQ(codec.roundTrip(rights, wrote), rights) << codec.name << ": " << name;
        }
    }
}

TEST(RelRoundTripTest, ObjectsThatCannotBeWrittenFaithfullyAreNotWritten) {
    std::vector<std::pair<const char*, RightsObject>> cases;
    RightsObject noUid = Base();
    noUid.uid.clear();
    cases.emplace_back("no uid", noUid);
    RightsObject control = Base();
    control.uid = std::string("cid:a\0b", 7);
    cases.emplace_back("NUL in uid", control);
    RightsObject spaced = Base();
    spaced.version = " 1.0";
    cases.emplace_back("leading space", spaced);
    const std::pair<const char*, Constraint> constraints[] = {
        {"year 10000", {std::nullopt, std::nullopt, 253402300800, std::nullopt}},
        {"negative interval", {std::nullopt, std::nullopt, std::nullopt, -1}},
        {"start after end", {std::nullopt, 10, 5, std::nullopt}},
    };
    for (const auto& [name, constraint] : constraints) {
        RightsObject rights = Base();
        rights.permissions[Permission::Display] = constraint;
        cases.emplace_back(name, rights);
    }
    for (const Codec& codec : kCodecs) {
        for (const auto& [name, rights] : cases) {
            bool wrote = true;
            EXPECT_FALSE(codec.roundTrip(rights, wrote)) << codec.name << ": " << name;
            EXPECT_FALSE(wrote) << codec.name << ": " << name;
        }
    }
}

}  // namespace
}  // namespace platform::rights
