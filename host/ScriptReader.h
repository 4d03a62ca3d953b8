#pragma once
// The reference host's script: one command a line; words are separated by blanks, a word
// may be a JSON string in double quotes; "#" outside a quoted word starts a comment.
// "modal" and "ondialog NAME" open a block that runs up to its "end".
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace krp::host {

struct ScriptWord {
  std::string Text;     // UTF-8, quotes and escapes resolved
  bool Quoted = false;  // written as a JSON string: never a number
};

struct ScriptCommand {
  int Line = 0;  // 1-based line of the script
  std::vector<ScriptWord> Words;
  std::vector<ScriptCommand> Block;  // the body of "modal" and "ondialog"
  std::string Error;                 // the line could not be read
  // The words from index on, as written (for commands whose last argument is JSON).
  std::string RawTail;
  std::vector<std::size_t> WordStarts;  // offset of each word in the line
  std::string Source;                   // the line as written
  std::string TailFrom(std::size_t index) const;
};

// Splits a script into commands. Never throws: a line that cannot be read carries Error.
std::vector<ScriptCommand> ReadScript(std::string_view text);

// One line into words (exposed for tests).
bool SplitWords(std::string_view line, std::vector<ScriptWord>& words, std::vector<std::size_t>& starts,
                std::string& error);

}  // namespace krp::host
