// Reads the ten series data files into SeriesTables.
//
// A file is a bare sequence of decimal numbers separated by commas or line
// breaks; only the order of the values counts. The number of values comes from
// kSeriesLayouts, not from the file. The end of the file is tested only between
// blocks, so a file that stops inside a block is an error, and a second full
// block replaces the first.
#include "astro/series.h"

#include <cctype>
#include <charconv>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

namespace novastra {

std::string SeriesError::Message() const {
  const char* text = "";
  switch (kind) {
    case SeriesErrorKind::FileNotFound: text = "file not found"; break;
    case SeriesErrorKind::InputPastEndOfFile: text = "input past end of file"; break;
    case SeriesErrorKind::TypeMismatch: text = "type mismatch"; break;
  }
  return file + ": " + text;
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// A decimal number: optional sign, digits with an optional point, optional
// exponent "E" with optional sign and digits. No "inf", "nan" or hex.
bool IsDecimalNumber(std::string_view s) {
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t mantissaDigits = 0;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++mantissaDigits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++mantissaDigits;
  }
  if (mantissaDigits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t expDigits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  return i == s.size();
}

// Sequential reader of one file's values.
class ValueReader {
 public:
  explicit ValueReader(std::string text) : text_(std::move(text)) {}

  // True when only blanks and line breaks remain. An empty file is not at its
  // end before its first block: it has to hold one.
  bool AtEnd() {
    SkipSpace();
    return pos_ >= text_.size();
  }

  // Reads the next value; sets `kind` and returns false on failure.
  bool Next(double& value, SeriesErrorKind& kind) {
    SkipSpace();
    if (pos_ >= text_.size()) {
      kind = SeriesErrorKind::InputPastEndOfFile;
      return false;
    }
    size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != ',' && !IsLineBreak(text_[pos_])) ++pos_;
    std::string_view field(text_.data() + start, pos_ - start);
    while (!field.empty() && IsBlank(field.back())) field.remove_suffix(1);
    if (pos_ < text_.size() && text_[pos_] == ',') ++pos_;  // the separator after the value
    if (!IsDecimalNumber(field)) {
      kind = SeriesErrorKind::TypeMismatch;
      return false;
    }
    if (field.front() == '+') field.remove_prefix(1);  // from_chars takes no plus sign
    auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value,
                                     std::chars_format::general);
    if (ec != std::errc() || end != field.data() + field.size()) {
      kind = SeriesErrorKind::TypeMismatch;
      return false;
    }
    return true;
  }

 private:
  // Blanks and line breaks before a value carry no meaning.
  void SkipSpace() {
    while (pos_ < text_.size() && (IsBlank(text_[pos_]) || IsLineBreak(text_[pos_]))) ++pos_;
  }

  std::string text_;
  size_t pos_ = 0;
};

// Reads a whole file; nullopt when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream buf;
  buf << in.rdbuf();
  return buf.str();
}

// Shapes one series set from its layout, every term zero.
SeriesSet EmptySet(const SeriesFileLayout& layout) {
  SeriesSet set;
  auto shape = [](std::vector<std::vector<SeriesTerm>>& coord, const auto& counts) {
    for (int n : counts)
      if (n > 0) coord.emplace_back(static_cast<size_t>(n));
  };
  shape(set.L, layout.L);
  shape(set.B, layout.B);
  shape(set.R, layout.R);
  return set;
}

// Reads blocks until the end of the file; a later block overwrites an earlier one.
std::optional<SeriesErrorKind> ReadSeriesFile(ValueReader& reader, SeriesSet& set) {
  SeriesErrorKind kind{};
  do {
    for (auto* coord : {&set.L, &set.B, &set.R})
      for (auto& series : *coord)
        for (SeriesTerm& term : series)
          if (!reader.Next(term.A, kind) || !reader.Next(term.B, kind) || !reader.Next(term.C, kind))
            return kind;
  } while (!reader.AtEnd());
  return std::nullopt;
}

std::optional<SeriesErrorKind> ReadPlutoFile(ValueReader& reader,
                                             std::array<PlutoTerm, kPlutoRows>& rows) {
  SeriesErrorKind kind{};
  do {
    for (PlutoTerm& r : rows)
      for (double* v : {&r.j, &r.s, &r.p, &r.lonSin, &r.lonCos, &r.latSin, &r.latCos, &r.radSin, &r.radCos})
        if (!reader.Next(*v, kind)) return kind;
  } while (!reader.AtEnd());
  return std::nullopt;
}

}  // namespace

SeriesLanes MakeSeriesLanes(const std::vector<std::vector<SeriesTerm>>& series) {
  SeriesLanes lanes;
  for (std::size_t k = 0; k < series.size(); ++k) {
    for (std::size_t i = 0; i < series[k].size(); i += 4) {
      for (std::size_t j = i; j < i + 4; ++j) {
        const SeriesTerm t = j < series[k].size() ? series[k][j] : SeriesTerm{};
        lanes.A.push_back(t.A);
        lanes.B.push_back(t.B);
        lanes.C.push_back(t.C);
      }
      lanes.power.push_back(static_cast<int>(k));
    }
  }
  return lanes;
}

std::optional<SeriesError> LoadSeriesTables(const std::filesystem::path& folder, SeriesTables& tables) {
  // Filled aside and handed over only when every file has been read, so a bad
  // file leaves the caller's tables as they were.
  SeriesTables loaded;
  for (int i = 0; i < kSeriesBodyCount; ++i) {
    const SeriesFileLayout& layout = kSeriesLayouts[i];
    std::optional<std::string> text = ReadWholeFile(folder / layout.file);
    if (!text) return SeriesError{layout.file, SeriesErrorKind::FileNotFound};
    ValueReader reader(std::move(*text));
    loaded.sets[i] = EmptySet(layout);
    if (auto kind = ReadSeriesFile(reader, loaded.sets[i])) return SeriesError{layout.file, *kind};
  }
  std::optional<std::string> text = ReadWholeFile(folder / kPlutoFile);
  if (!text) return SeriesError{kPlutoFile, SeriesErrorKind::FileNotFound};
  ValueReader reader(std::move(*text));
  if (auto kind = ReadPlutoFile(reader, loaded.pluto)) return SeriesError{kPlutoFile, *kind};
  for (SeriesSet& set : loaded.sets) {
    set.laneL = MakeSeriesLanes(set.L);
    set.laneB = MakeSeriesLanes(set.B);
    set.laneR = MakeSeriesLanes(set.R);
  }
  tables = std::move(loaded);
  return std::nullopt;
}

}  // namespace novastra
