#include "host/ScriptReader.h"

#include <gtest/gtest.h>

namespace krp::host {
namespace {

std::vector<std::string> Texts(const ScriptCommand& command) {
  std::vector<std::string> out;
  for (const auto& w : command.Words) out.push_back(w.Text);
  return out;
}

TEST(ScriptReader, WordsQuotesAndComments) {
  auto commands = ReadScript("params KV SDTest \"SD Test\" 0 \"\"  # the login\n\n  # only a comment\nset sp01.edBegin \"A#1\"\n");
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0].Line, 1);
  EXPECT_EQ(Texts(commands[0]), (std::vector<std::string>{"params", "KV", "SDTest", "SD Test", "0", ""}));
  EXPECT_TRUE(commands[0].Words[3].Quoted);
  EXPECT_FALSE(commands[0].Words[4].Quoted);
  EXPECT_EQ(commands[1].Line, 4);
  EXPECT_EQ(Texts(commands[1]), (std::vector<std::string>{"set", "sp01.edBegin", "A#1"}));
}

TEST(ScriptReader, EscapesInQuotedWords) {
  auto commands = ReadScript(R"(type "\u8a31\"x\\")");
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].Words[1].Text, "許\"x\\");
}

TEST(ScriptReader, BlocksNestAndTailKeepsJson) {
  auto commands = ReadScript(
      "modal\n  ondialog frmUserDefOpt\n    type name\n  end\n  click btnOk\nend\nconditions [0, [true, []]]\n");
  ASSERT_EQ(commands.size(), 2u);
  ASSERT_EQ(commands[0].Block.size(), 2u);
  EXPECT_EQ(commands[0].Block[0].Words[1].Text, "frmUserDefOpt");
  ASSERT_EQ(commands[0].Block[0].Block.size(), 1u);
  EXPECT_EQ(commands[0].Block[1].Words[0].Text, "click");
  EXPECT_EQ(commands[1].TailFrom(1), "[0, [true, []]]");
}

TEST(ScriptReader, BadLinesCarryTheirError) {
  auto commands = ReadScript("type \"open\nend\nmodal\nshow\n");
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[0].Line, 1);
  EXPECT_NE(commands[0].Error.find("unterminated"), std::string::npos);
  EXPECT_NE(commands[1].Error.find("end"), std::string::npos);
  EXPECT_NE(commands[2].Error.find("not closed"), std::string::npos);
  EXPECT_EQ(commands[2].Block.size(), 1u);
}

}  // namespace
}  // namespace krp::host
