#pragma once
// The reference host's output: one JSON object a line on standard output, in the order
// things happen. Texts are UTF-8; variants are written in the typed JSON of VariantJson.h.
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Variant.h"

namespace krp::host {

// Builds one event object member by member, in the order the members are added.
class EventLine {
 public:
  explicit EventLine(std::string_view event);
  EventLine& Text(std::string_view name, std::string_view utf8);
  EventLine& Integer(std::string_view name, long long value);
  EventLine& Boolean(std::string_view name, bool value);
  EventLine& Value(std::string_view name, const Variant& value);
  EventLine& Raw(std::string_view name, std::string_view json);  // already JSON
  EventLine& Texts(std::string_view name, const std::vector<std::string>& utf8);
  std::string Json() const { return body_ + "}"; }

 private:
  void Key(std::string_view name);
  std::string body_;
};

class EventWriter {
 public:
  explicit EventWriter(std::FILE* out = stdout) : out_(out) {}
  void Write(const EventLine& line);
  int FailedLines() const { return failedLines_; }
  void Error(int line, std::string_view message);

 private:
  std::FILE* out_;
  int failedLines_ = 0;
};

}  // namespace krp::host
