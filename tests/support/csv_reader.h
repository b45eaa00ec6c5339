#pragma once
// A small RFC 4180 reader for the tests: records end with CRLF (or LF),
// fields may be quoted, a doubled quote inside quotes is one quote.
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace novastra::testing_support {

using CsvRecord = std::vector<std::string>;

inline std::vector<CsvRecord> ReadCsv(std::string_view text) {
  std::vector<CsvRecord> records;
  CsvRecord record;
  std::string field;
  bool quoted = false, any = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
      continue;
    }
    if (c == '"') {
      quoted = true;
      any = true;
    } else if (c == ',') {
      record.push_back(std::move(field));
      field.clear();
      any = true;
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))
        throw std::runtime_error("lone CR");
      if (c == '\r') ++i;
      record.push_back(std::move(field));
      field.clear();
      records.push_back(std::move(record));
      record.clear();
      any = false;
    } else {
      field += c;
      any = true;
    }
  }
  if (quoted) throw std::runtime_error("unterminated quote");
  if (any) throw std::runtime_error("last record without line end");
  return records;
}

}  // namespace novastra::testing_support
