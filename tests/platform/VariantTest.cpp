#include "platform/Variant.h"

#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "platform/Exceptions.h"
#include "platform/FormatSettings.h"

namespace krp {
namespace {

TEST(VariantConversion, ToText) {
  struct Case {
    Variant value;
    const char* text;
  } cases[] = {
      {Variant(), ""},
      {Variant::Null(), ""},
      {Variant(true), "True"},
      {Variant(false), "False"},
      {Variant(42), "42"},
      {Variant::FromInteger(varSmallint, -7), "-7"},
      {Variant(1.5), "1.5"},
      {Variant(0.1), "0.1"},
      {Variant(1e20), "1E20"},
      {Variant(1.5e-7), "1.5E-7"},
      {Variant(123456789012345.0), "123456789012345"},
      {Variant("abc"), "abc"},
      {Variant(u"abc"), "abc"},
      {Variant::FromDate(EncodeDate(2004, 1, 2)), "2004/1/2"},
      {Variant::FromDate(EncodeDate(2004, 1, 2) + EncodeTime(8, 30, 5, 0)), "2004/1/2 8:30:05"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.value.AsString(), c.text) << Variant::TypeName(c.value.VType());
}

TEST(VariantConversion, WideTextGoesThroughTheAnsiCodePage) {
  Variant wide(u"細明體");
  EXPECT_EQ(wide.AsString(), Big5("細明體"));
  Variant ansi(Big5("細明體"));
  EXPECT_EQ(ansi.AsWideString(), u"細明體");
}

TEST(VariantConversion, ToInteger) {
  struct Case {
    Variant value;
    std::int32_t expected;
  } cases[] = {
      {Variant(), 0},           {Variant(true), -1},       {Variant(false), 0},     {Variant(7), 7},
      {Variant("12"), 12},      {Variant(" 12"), 12},      {Variant("-3"), -3},     {Variant(2.5), 2},
      {Variant(3.5), 4},        {Variant("2.5"), 2},       {Variant(u"99"), 99},    {Variant("true"), -1},
  };
  for (const auto& c : cases) EXPECT_EQ(c.value.AsInteger(), c.expected) << c.value.AsString();
}

TEST(VariantConversion, TextThatIsNoNumberRaises) {
  for (const char* text : {"", "abc", "12x", "$1F", "0x1F"}) {
    EXPECT_THROW(Variant(text).AsInteger(), EVariantTypeCastError) << text;
  }
  EXPECT_THROW(Variant::Null().AsInteger(), EVariantTypeCastError);
  EXPECT_THROW(Variant::Null().AsBoolean(), EVariantTypeCastError);
  try {
    Variant("abc").AsInteger();
  } catch (const Exception& error) {
    EXPECT_STREQ(error.what(), "Could not convert variant of type (String) into type (Integer)");
  }
}

TEST(VariantConversion, ToBooleanAndDate) {
  EXPECT_TRUE(Variant("TRUE").AsBoolean());
  EXPECT_FALSE(Variant("false").AsBoolean());
  EXPECT_TRUE(Variant(2).AsBoolean());
  EXPECT_FALSE(Variant(0.0).AsBoolean());
  EXPECT_THROW(Variant("maybe").AsBoolean(), EVariantTypeCastError);
  EXPECT_DOUBLE_EQ(Variant("2004/01/02").AsDateTime(), EncodeDate(2004, 1, 2));
  EXPECT_DOUBLE_EQ(Variant(38000).AsDateTime(), 38000.0);
  EXPECT_THROW(Variant("2004/02/30").AsDateTime(), EVariantTypeCastError);
}

TEST(VariantArray, OneDimensionBoundsAndCopyOnWrite) {
  Variant a = Variant::CreateArray(1, 3);
  EXPECT_TRUE(a.IsArray());
  EXPECT_EQ(a.VType(), varArray | varVariant);
  EXPECT_EQ(a.LowBound(), 1);
  EXPECT_EQ(a.HighBound(), 3);
  EXPECT_TRUE(a[2].IsEmpty());
  a[1] = "x";
  Variant copy = a;
  copy[1] = "y";
  EXPECT_EQ(a[1].AsString(), "x");
  EXPECT_EQ(copy[1].AsString(), "y");
  EXPECT_THROW(a[0], EVariantBadIndexError);
  EXPECT_THROW(a[4], EVariantBadIndexError);
  EXPECT_THROW(Variant(1)[0], EVariantError);
  a.Redim(4);
  EXPECT_EQ(a.HighBound(), 4);
  EXPECT_EQ(a[1].AsString(), "x");
}

TEST(VariantArray, TwoDimensions) {
  Variant grid = Variant::CreateArray({{0, 1}, {0, 2}});
  EXPECT_EQ(grid.DimCount(), 2);
  EXPECT_EQ(grid.HighBound(1), 1);
  EXPECT_EQ(grid.HighBound(2), 2);
  grid.At({1, 2}) = 211;
  grid.At({0, 2}) = "host";
  EXPECT_EQ(grid.At({1, 2}).AsInteger(), 211);
  EXPECT_EQ(grid.At({0, 2}).AsString(), "host");
  EXPECT_THROW(grid.At({2, 0}), EVariantBadIndexError);
  EXPECT_THROW(grid[0], EVariantBadIndexError);
  EXPECT_THROW(grid.HighBound(3), EVariantBadIndexError);
}

TEST(VariantByRef, ReadsAndWritesTheTarget) {
  Variant target = 5;
  Variant ref = Variant::ByRef(target);
  EXPECT_TRUE(ref.IsByRef());
  EXPECT_EQ(ref.AsInteger(), 5);
  ref.AssignOut(Variant::ArrayOf({"a", "b"}));
  EXPECT_TRUE(target.IsArray());
  EXPECT_EQ(ref[1].AsString(), "b");
}

}  // namespace
}  // namespace krp
