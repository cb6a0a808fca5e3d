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

// Texts are UTF-8 or the document is refused, at the first byte of the character that is not.
TEST(Json, TextsMustBeUtf8)
{
    const struct { std::string text; const char* problem; } bad[] = {
        {"\"\xFF\"", "testo non in UTF-8 al carattere 2"},             // no lead byte
        {"\"a\x80\"", "testo non in UTF-8 al carattere 3"},            // a stray continuation
        {"\"\xC0\xAF\"", "testo non in UTF-8 al carattere 2"},         // overlong '/'
        {"\"\xE0\x80\xAF\"", "testo non in UTF-8 al carattere 2"},     // overlong in three bytes
        {"\"\xF0\x80\x80\xAF\"", "testo non in UTF-8 al carattere 2"}, // overlong in four
        {"\"\xED\xA0\x80\"", "testo non in UTF-8 al carattere 2"},     // the surrogate U+D800
        {"\"\xED\xBF\xBF\"", "testo non in UTF-8 al carattere 2"},     // the surrogate U+DFFF
        {"\"\xC3\"", "testo non in UTF-8 al carattere 2"},             // cut before the quote
        {"\"\xE2\x82", "testo non in UTF-8 al carattere 2"},           // cut at the end
        {"[\"ok\",\"\xF0\x9F\x98\"]", "testo non in UTF-8 al carattere 8"},
        {"\"\xF4\x90\x80\x80\"", "testo non in UTF-8 al carattere 2"}, // past U+10FFFF
        {"\"\xF5\x80\x80\x80\"", "testo non in UTF-8 al carattere 2"}, // lead bytes above 0xF4
        {"\"\xF8\x88\x80\x80\x80\"", "testo non in UTF-8 al carattere 2"},
        {"{\"\xFE\":1}", "testo non in UTF-8 al carattere 3"},          // in a key too
    };
    for (const auto& c : bad) {
        const Reading r = parse(c.text);
        EXPECT_FALSE(r.value) << c.text;
        EXPECT_EQ(r.problem, c.problem) << c.text;
        EXPECT_FALSE(validUtf8(c.text)) << c.text;
    }
    // The ends of each length, and the last code point.
    const std::string good[] = {"\x7F", "\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xED\x9F\xBF", "\xEE\x80\x80",
                                "\xEF\xBF\xBF", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF", "Tikka \xC3\xA8"};
    for (const std::string& g : good) {
        const Reading r = parse("\"" + g + "\"");
        ASSERT_TRUE(r.value) << r.problem;
        EXPECT_EQ(r.value->string(), g);
        EXPECT_TRUE(validUtf8(g));
    }
}

// Where the reading stopped, and why, for the messages the armoury's file window shows.
TEST(Json, SaysWhereAndWhy)
{
    const struct { std::string text; const char* problem; } cases[] = {
        {"", "valore non valido al carattere 1"},
        {"{\"a\":", "valore non valido al carattere 6"},
        {"{} x", "testo in più dopo la fine del documento"},
        {"\"\\ud800\"", "sequenza \\u non valida al carattere 8"},
        {"1e400", "numero fuori misura al carattere 6"},
        {"0.000" + std::string(400, '0') + "1", ""},
        {std::string(100, '['), "documento annidato troppo in profondità al carattere 66"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parse(c.text).problem, c.problem) << c.text.substr(0, 20);
    // A repeated key: the last value, in the place of the first.
    const Reading r = parse(R"({"a":1,"b":2,"a":3})");
    ASSERT_TRUE(r.value);
    ASSERT_EQ(r.value->members().size(), 2u);
    EXPECT_EQ(r.value->members()[0].first, "a");
    EXPECT_EQ(r.value->members()[0].second.number(), 3);
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
