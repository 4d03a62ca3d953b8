#include "host/EventWriter.h"

#include "platform/VariantJson.h"

namespace krp::host {

EventLine::EventLine(std::string_view event) : body_("{\"event\":" + JsonQuote(event)) {}

void EventLine::Key(std::string_view name) { body_ += "," + JsonQuote(name) + ":"; }

EventLine& EventLine::Text(std::string_view name, std::string_view utf8) {
  Key(name);
  body_ += JsonQuote(utf8);
  return *this;
}

EventLine& EventLine::Integer(std::string_view name, long long value) {
  Key(name);
  body_ += std::to_string(value);
  return *this;
}

EventLine& EventLine::Boolean(std::string_view name, bool value) {
  Key(name);
  body_ += value ? "true" : "false";
  return *this;
}

EventLine& EventLine::Value(std::string_view name, const Variant& value) {
  Key(name);
  body_ += VariantToJson(value);
  return *this;
}

EventLine& EventLine::Raw(std::string_view name, std::string_view json) {
  Key(name);
  body_ += json;
  return *this;
}

EventLine& EventLine::Texts(std::string_view name, const std::vector<std::string>& utf8) {
  Key(name);
  body_ += "[";
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (i) body_ += ",";
    body_ += JsonQuote(utf8[i]);
  }
  body_ += "]";
  return *this;
}

void EventWriter::Write(const EventLine& line) {
  std::string text = line.Json();
  text.push_back('\n');
  std::fwrite(text.data(), 1, text.size(), out_);
  std::fflush(out_);
}

void EventWriter::Error(int line, std::string_view message) {
  ++failedLines_;
  Write(EventLine("error").Integer("line", line).Text("message", message));
}

}  // namespace krp::host
