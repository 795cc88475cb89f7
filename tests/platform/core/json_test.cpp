#include "platform/core/json.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(JsonWriter, NestedValuesWithCommasAndEscapes) {
    platform::JsonWriter json;
    json.BeginObject();
    json.Key("name");
    json.String(u"\u00C4rger \"1\"\\\U0001F600");
    json.Key("ctl");
    json.String(std::string_view("\n\t\x01\x1F", 4));
    json.Key("list");
    json.BeginArray();
    json.Int(-3);
    json.Double(0.5);
    json.Bool(true);
    json.Null();
    json.BeginObject();
    json.EndObject();
    json.BeginArray();
    json.EndArray();
    json.EndArray();
    json.Key("bad");
    json.String(std::string_view("a\xFF", 2));
    json.Key("lone");
    json.String(u"\xD800");
    json.Key("nan");
    json.Double(std::numeric_limits<double>::quiet_NaN());
    json.EndObject();
    EXPECT_TRUE(json.Complete());
    EXPECT_EQ(json.Str(),
              "{\"name\":\"Ärger \\\"1\\\"\\\\\xF0\x9F\x98\x80\",\"ctl\":\"\\n\\t\\u0001\\u001f\","
              "\"list\":[-3,0.5,true,null,{},[]],\"bad\":\"a\xEF\xBF\xBD\","
              "\"lone\":\"\xEF\xBF\xBD\",\"nan\":null}");
}

TEST(JsonWriter, MisuseIsRefusedAndReported) {
    struct Case {
        const char* name;
        void (*calls)(platform::JsonWriter&);
        const char* output;
    };
    const Case cases[] = {
        {"value without key",
         [](platform::JsonWriter& j) {
             j.BeginObject();
             j.Int(1);
             j.EndObject();
         },
         "{}"},
        {"key in array",
         [](platform::JsonWriter& j) {
             j.BeginArray();
             j.Key("k");
             j.EndArray();
         },
         "[]"},
        {"unmatched end",
         [](platform::JsonWriter& j) {
             j.BeginArray();
             j.EndObject();
         },
         "["},
        {"key without value",
         [](platform::JsonWriter& j) {
             j.BeginObject();
             j.Key("k");
             j.EndObject();
         },
         "{\"k\":"},
        {"two documents",
         [](platform::JsonWriter& j) {
             j.Int(1);
             j.Int(2);
         },
         "1"},
        {"nothing", [](platform::JsonWriter&) {}, ""},
    };
    for (const Case& c : cases) {
        platform::JsonWriter json;
        c.calls(json);
        EXPECT_FALSE(json.Complete()) << c.name;
        EXPECT_EQ(json.Str(), c.output) << c.name;
    }
    platform::JsonWriter scalar;
    scalar.String("only");
    EXPECT_TRUE(scalar.Complete());
}

}  // namespace
