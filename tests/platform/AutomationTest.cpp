#include "platform/Automation.h"

#include <gtest/gtest.h>

#include "platform/Exceptions.h"

namespace krp {
namespace {

class Counter : public DispatchObject {
 public:
  Counter() : DispatchObject("Test.Counter") {
    Method("Add", [this](std::span<Variant> args) {
      total_ += Arg(args, 0).AsInteger();
      return Variant(total_);
    });
    // Fills its second argument, as validators fill their result row.
    Method("Query", [](std::span<Variant> args) {
      if (args.size() > 1) args[1].AssignOut(Variant::ArrayOf({"row", Arg(args, 0)}));
      return Variant(true);
    });
    Property("Total", [this] { return Variant(total_); }, [this](const Variant& v) { total_ = v.AsInteger(); });
    Property("Name", [] { return Variant("counter"); });
  }

 private:
  int total_ = 0;
};

class AutomationTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterAutomationClass("Test.Counter", [] { return std::make_shared<Counter>(); }); }
  void TearDown() override { UnregisterAutomationClass("Test.Counter"); }
};

TEST_F(AutomationTest, LateBoundCallsByNameIgnoreCase) {
  Variant counter = CreateOleObject("test.COUNTER");
  EXPECT_EQ(counter.Call("Add", 2).AsInteger(), 2);
  EXPECT_EQ(counter.Call("aDD", 3).AsInteger(), 5);
  EXPECT_EQ(counter.Get("total").AsInteger(), 5);
  counter.Put("Total", 40);
  EXPECT_EQ(counter.Get("Total").AsInteger(), 40);
  EXPECT_EQ(counter.Get("Name").AsString(), "counter");
}

TEST_F(AutomationTest, ByReferenceArgumentsComeBackFilled) {
  Variant counter = CreateOleObject("Test.Counter");
  Variant result;
  EXPECT_TRUE(counter.Call("Query", "k1", Variant::ByRef(result)).AsBoolean());
  ASSERT_TRUE(result.IsArray());
  EXPECT_EQ(result[1].AsString(), "k1");
}

TEST_F(AutomationTest, FailuresRaiseAsComWould) {
  try {
    CreateOleObject("Nobody.Registered");
    FAIL();
  } catch (const EOleSysError& error) {
    EXPECT_EQ(error.ErrorCode, CO_E_CLASSSTRING);
    EXPECT_STREQ(error.what(), "Invalid class string");
  }
  Variant counter = CreateOleObject("Test.Counter");
  try {
    counter.Call("Subtract", 1);
    FAIL();
  } catch (const EOleSysError& error) {
    EXPECT_EQ(error.ErrorCode, DISP_E_UNKNOWNNAME);
  }
  EXPECT_THROW(counter.Put("Name", "x"), EOleSysError);  // read-only property
  EXPECT_THROW(Variant().Call("Add", 1), EOleError);
  EXPECT_THROW(Variant(5).Get("Total"), EOleError);
  EXPECT_THROW(Variant(DispatchPtr()).Call("Add"), EOleError);
}

TEST_F(AutomationTest, ObserversSeeCallsWithOutValuesAndErrors) {
  std::vector<std::string> seen;
  int id = AddInvokeObserver([&](const InvokeRecord& record) {
    std::string line = record.Object->ClassName() + "." + std::string(record.Name);
    if (record.Reply) line += "=" + record.Reply->AsString();
    if (record.Error) line += "!";
    if (record.Args.size() > 1 && record.Args[1].IsArray()) line += " out=" + record.Args[1][0].AsString();
    seen.push_back(line);
  });
  Variant counter = CreateOleObject("Test.Counter");
  Variant result;
  counter.Call("Add", 7);
  counter.Call("Query", "x", Variant::ByRef(result));
  EXPECT_THROW(counter.Call("Nope"), EOleError);
  RemoveInvokeObserver(id);
  counter.Call("Add", 1);
  EXPECT_EQ(seen, (std::vector<std::string>{"Test.Counter.Add=7", "Test.Counter.Query=True out=row", "Test.Counter.Nope!"}));
}

}  // namespace
}  // namespace krp
