#include "platform/VariantJson.h"

#include <gtest/gtest.h>

#include "platform/Automation.h"
#include "platform/CodePage.h"
#include "platform/Exceptions.h"

namespace krp {
namespace {

Variant TwoByThree() {
  Variant grid = Variant::CreateArray({{0, 1}, {1, 3}});
  for (int i = 0; i <= 1; ++i)
    for (int j = 1; j <= 3; ++j) grid.At({i, j}) = i * 10 + j;
  return grid;
}

TEST(VariantJson, RendersEveryKind) {
  struct Case {
    Variant value;
    const char* json;
  } cases[] = {
      {Variant(), R"({"empty":true})"},
      {Variant::Null(), "null"},
      {Variant(true), "true"},
      {Variant(-5), "-5"},
      {Variant::FromInteger(varByte, 200), "200"},
      {Variant(1.5), R"({"double":1.5})"},
      {Variant::FromDate(EncodeDateTime({2004, 1, 2, 8, 30, 0, 0})), R"({"date":"2004-01-02 08:30:00.000"})"},
      {Variant(u"a\u0003\"b"), R"("a\u0003\"b")"},
      {Variant(u"細明體"), "\"細明體\""},
      {Variant(Big5("細明體")), R"({"ansi":"細明體"})"},
      {Variant::ArrayOf({1, "x"}, 1), R"({"lo":1,"items":[1,{"ansi":"x"}]})"},
      {Variant::CreateArray(0, -1), R"({"lo":0,"items":[]})"},
      {TwoByThree(), R"({"bounds":[[0,1],[1,3]],"items":[[1,2,3],[11,12,13]]})"},
  };
  for (const auto& c : cases) EXPECT_EQ(VariantToJson(c.value), c.json);
}

TEST(VariantJson, RoundTripKeepsKindsAndBounds) {
  Variant nested = Variant::ArrayOf({Variant(u"a"), Variant::ArrayOf({Variant(2.25), Variant::Null()}, 5), Variant()}, 1);
  for (const Variant& v : {nested, TwoByThree(), Variant(Big5("許功蓋")), Variant(u"許功蓋"),
                           Variant::FromDate(EncodeDateTime({1999, 12, 31, 23, 59, 59, 999})), Variant(false)}) {
    std::string json = VariantToJson(v);
    EXPECT_EQ(VariantFromJson(json), v) << json;
  }
}

TEST(VariantJson, PlainArraysAndStrings) {
  Variant v = VariantFromJson(R"(["SYSTEM", "TAV002", 3, [1]])");
  ASSERT_TRUE(v.IsArray());
  EXPECT_EQ(v.LowBound(), 0);
  EXPECT_EQ(v.HighBound(), 3);
  EXPECT_TRUE(v[0].IsWideString());
  EXPECT_EQ(v[1].AsString(), "TAV002");
  EXPECT_EQ(v[2].VType(), varInteger);
  EXPECT_EQ(v[3][0].AsInteger(), 1);
  EXPECT_EQ(VariantFromJson("\"\\u8a31\"").AsWideString(), u"許");
  EXPECT_EQ(VariantFromJson("12345678901").VType(), varInt64);
}

TEST(VariantJson, ErrorsNameThePosition) {
  struct Case {
    const char* json;
    std::size_t position;
  } cases[] = {
      {"", 0}, {"[1,", 3}, {"{\"lo\":0}", 0}, {"[1] x", 4}, {"\"abc", 4}, {"{\"date\":\"2004-13-01\"}", 8},
      {"{\"bounds\":[[0,1]],\"items\":[1]}", 26}, {"{\"what\":1}", 0}, {"tru", 0},
  };
  for (const auto& c : cases) {
    try {
      VariantFromJson(c.json);
      ADD_FAILURE() << "parsed: " << c.json;
    } catch (const EJsonError& error) {
      EXPECT_EQ(error.Position, c.position) << c.json << ": " << error.what();
      EXPECT_NE(std::string(error.what()).find("offset"), std::string::npos);
    }
  }
}

TEST(VariantJson, ObjectsRenderTheirName) {
  class Named : public DispatchObject {
   public:
    Named() : DispatchObject("Report.Server") {}
  };
  EXPECT_EQ(VariantToJson(Variant(std::make_shared<Named>())), R"({"object":"Report.Server"})");
  EXPECT_THROW(VariantFromJson(R"({"object":"Report.Server"})"), EJsonError);
}

}  // namespace
}  // namespace krp
