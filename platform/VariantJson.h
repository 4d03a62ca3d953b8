#pragma once
// Typed JSON for variants: how the host, the partners' stored records and the tests write
// a variant down and read it back. The format is stable; integrators read it.
//
//   Empty            {"empty":true}
//   Null             null
//   Boolean          true / false
//   integer kinds    a JSON integer (read back as Integer, or Int64 when it does not fit)
//   Single, Double   {"double":1.5}          (non-finite values as "NaN", "Infinity", "-Infinity")
//   Currency         {"currency":1.5}
//   date-time        {"date":"2004-01-02 08:30:00.000"}
//   wide string      "text" (UTF-8; control characters escaped as \u0003)
//   byte string      {"ansi":"text"}         (the bytes decoded with the process ANSI code page)
//   automation obj.  {"object":"<programmatic or class name>"}   (written only; cannot be read back)
//   1-dim array      {"lo":L,"items":[...]}  (high bound = L + count - 1)
//   N-dim array      {"bounds":[[lo1,hi1],[lo2,hi2]],"items":[[...],[...]]}  first dimension outermost
//
// Reading also accepts a plain JSON array as a 0-based one-dimensional array and a plain
// JSON string as a wide string. A text that does not parse raises EJsonError naming the offset.
#include <string>
#include <string_view>

#include "platform/Variant.h"

namespace krp {

std::string VariantToJson(const Variant& value);
Variant VariantFromJson(std::string_view json);

// A UTF-8 text as a JSON string literal, quotes included.
std::string JsonQuote(std::string_view utf8);

}  // namespace krp
