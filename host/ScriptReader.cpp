#include "host/ScriptReader.h"

#include "platform/Exceptions.h"
#include "platform/SysUtils.h"
#include "platform/Variant.h"
#include "platform/VariantJson.h"
#include "platform/CodePage.h"

namespace krp::host {
namespace {

// The end of the JSON string that starts at line[start] (the opening quote), or npos.
std::size_t EndOfQuoted(std::string_view line, std::size_t start) {
  for (std::size_t i = start + 1; i < line.size(); ++i) {
    if (line[i] == '\\') {
      ++i;
    } else if (line[i] == '"') {
      return i;
    }
  }
  return std::string_view::npos;
}

bool OpensBlock(const ScriptCommand& command) {
  if (command.Words.empty()) return false;
  const std::string& verb = command.Words[0].Text;
  return verb == "modal" || verb == "ondialog";
}

}  // namespace

std::string ScriptCommand::TailFrom(std::size_t index) const {
  if (index >= WordStarts.size()) return {};
  return Trim(std::string_view(Source).substr(WordStarts[index]));
}

bool SplitWords(std::string_view line, std::vector<ScriptWord>& words, std::vector<std::size_t>& starts,
                std::string& error) {
  std::size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    if (c == '#') break;
    starts.push_back(i);
    if (c == '"') {
      std::size_t end = EndOfQuoted(line, i);
      if (end == std::string_view::npos) {
        error = "unterminated quoted word";
        return false;
      }
      try {
        Variant text = VariantFromJson(line.substr(i, end - i + 1));
        words.push_back({Utf16ToUtf8(text.AsWideString()), true});
      } catch (const Exception& e) {
        error = std::string("bad quoted word: ") + e.what();
        return false;
      }
      i = end + 1;
      continue;
    }
    // A bare word runs to the next blank; JSON arrays and objects keep their inner
    // blanks when a command takes the rest of the line (see TailFrom).
    std::size_t end = i;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r') ++end;
    words.push_back({std::string(line.substr(i, end - i)), false});
    i = end;
  }
  return true;
}

std::vector<ScriptCommand> ReadScript(std::string_view text) {
  std::vector<ScriptCommand> top;
  std::vector<ScriptCommand*> open;  // the blocks being filled, innermost last
  int lineNumber = 0;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    ++lineNumber;
    pos = end + 1;

    ScriptCommand command;
    command.Line = lineNumber;
    command.Source = std::string(line);
    if (!SplitWords(line, command.Words, command.WordStarts, command.Error) && command.Words.empty()) {
      // keep the error; the command has no verb
    }
    if (command.Words.empty() && command.Error.empty()) {
      if (end == text.size()) break;
      continue;
    }
    bool isEnd = command.Error.empty() && command.Words.size() == 1 && command.Words[0].Text == "end" &&
                 !command.Words[0].Quoted;
    std::vector<ScriptCommand>& target = open.empty() ? top : open.back()->Block;
    if (isEnd) {
      if (open.empty()) {
        command.Error = "\"end\" without \"modal\" or \"ondialog\"";
        top.push_back(std::move(command));
      } else {
        open.pop_back();
      }
    } else {
      bool block = command.Error.empty() && OpensBlock(command);
      target.push_back(std::move(command));
      if (block) open.push_back(&target.back());
    }
    if (end == text.size()) break;
  }
  for (ScriptCommand* unclosed : open) {
    if (unclosed->Error.empty()) unclosed->Error = "block not closed by \"end\"";
  }
  return top;
}

}  // namespace krp::host
