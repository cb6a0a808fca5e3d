#include "common/json.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace siacci::json {
namespace {

TEST(Json, ReadsWhatItWritesAndKeepsTheOrderOfMembers)
{
    const Value doc = Value::object()
                          .set("zeta", 1)
                          .set("alfa", Value(Value::Array{Value(0.1), Value(-2.5e-7), Value(true), Value()}))
                          .set("testo", "Umidità \"50\" %\n\t\\ fine");
    for (int indent : {0, 4}) {
        const Reading back = parse(write(doc, indent));
        ASSERT_TRUE(back.value) << back.problem;
        EXPECT_EQ(write(*back.value), write(doc));
        EXPECT_EQ(back.value->members().front().first, "zeta");
    }
    EXPECT_EQ(write(doc), "{\"zeta\":1,\"alfa\":[0.1,-2.5e-07,true,null],"
                          "\"testo\":\"Umidità \\\"50\\\" %\\n\\t\\\\ fine\"}");
}

TEST(Json, NumbersAreShortestAndExact)
{
    const struct { double value; const char* text; } cases[] = {
        {0.4, "0.4"}, {1013.25, "1013.25"}, {800, "800"}, {-0.0, "0"}, {0.1 + 0.2, "0.30000000000000004"},
        {1e21, "1e+21"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(write(Value(c.value)), c.text);
    EXPECT_EQ(write(Value(std::nan(""))), "null");
}

TEST(Json, ReadsEscapesAndSurrogatePairs)
{
    const Reading r = parse(R"(["\u00e0\u20ac\ud83c\udfaf", "\/\b\f\r"])");
    ASSERT_TRUE(r.value) << r.problem;
    EXPECT_EQ(r.value->items()[0].string(), "à€\xF0\x9F\x8E\xAF");
    EXPECT_EQ(r.value->items()[1].string(), "/\b\f\r");
}

// Every malformed text is refused with a reason, never read as something else.
TEST(Json, RefusesWhatIsNotJson)
{
    const char* bad[] = {"", "{", "[1,]", "{\"a\":1,}", "{'a':1}", "01", "1.", "-", ".5", "1e", "tru",
                         "\"a", "\"\\x\"", "\"\\ud800\"", "\"\\udc00\"", "[1] x", "{\"a\" 1}", "nan", "1e999",
                         "\"tab\there\"", "// commento\n{}"};
    for (const char* text : bad) {
        const Reading r = parse(text);
        EXPECT_FALSE(r.value) << text;
        EXPECT_FALSE(r.problem.empty()) << text;
    }
    EXPECT_EQ(parse("1e-999").value->number(), 0);
}

// A hostile document nested thousands of levels deep must not overflow the stack.
TEST(Json, RefusesDeepNesting)
{
    EXPECT_FALSE(parse(std::string(100000, '[')).value);
    std::string deep = std::string(60, '[') + std::string(60, ']');
    EXPECT_TRUE(parse(deep).value);
}

TEST(Json, FindAndSetOnObjects)
{
    Value o = Value::object().set("a", 1).set("b", 2);
    o.set("a", 3);
    EXPECT_EQ(o.members().size(), 2u);
    EXPECT_EQ(o.find("a")->number(), 3);
    EXPECT_EQ(o.find("c"), nullptr);
    EXPECT_EQ(Value(5).find("a"), nullptr);
}

} // namespace
} // namespace siacci::json
