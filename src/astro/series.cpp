// Reads the ten series data files into SeriesTables.
//
// A file is a bare sequence of decimal numbers separated by commas or line
// breaks; only the order of the values counts. The number of values comes from
// kSeriesLayouts, not from the file. The end of the file is tested only between
// blocks, so a file that stops inside a block is an error, and a second full
// block replaces the first.
#include "astro/series.h"

#include "astro/file_read.h"
#include "astro/series_check.h"

#include <cctype>
#include <charconv>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

namespace novastra {

// The message of a series file error: the file, what went wrong, the detail.
// Returns: e.g. "MARS.DAT: input past end of file", "PLUTO.DAT: value out of
//          range (...)"
std::string SeriesError::Message() const {
  const char* text = "";
  switch (kind) {
    case SeriesErrorKind::FileNotFound: text = "file not found"; break;
    case SeriesErrorKind::InputPastEndOfFile: text = "input past end of file"; break;
    case SeriesErrorKind::TypeMismatch: text = "type mismatch"; break;
    case SeriesErrorKind::Unreadable: text = "cannot read the file"; break;
    case SeriesErrorKind::OutOfRange: text = "value out of range"; break;
  }
  return file + ": " + text + (detail.empty() ? "" : " (" + detail + ")");
}

namespace {

// The blanks inside a line, and the line breaks, of a data file.
// Given:  c   a character; Returns: blank (space, tab) or CR, LF
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// A decimal number: optional sign, digits with an optional point, optional
// exponent "E" with optional sign and digits. No "inf", "nan" or hex.
// Given:  s   one field, trimmed
// Returns:    whether it is such a number
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

// One series set shaped from its layout (the number of terms of each series
// of L, B and R), every term zero.
// Given:  layout   the file's fixed layout
// Returns:         the set
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

// Reads the A, B, C of every term of a set, block after block until the end
// of the file; a later block overwrites an earlier one.
// Given:  reader   the file's values
//         set      shaped by EmptySet
// Returns:         nothing, or the error kind of the first value that is
//                  missing or not a number
std::optional<SeriesErrorKind> ReadSeriesFile(ValueReader& reader, SeriesSet& set) {
  SeriesErrorKind kind{};
  do {
    for (auto* coord : {&set.L, &set.B, &set.R})
      for (auto& series : *coord)
        for (SeriesTerm& term : series)
          if (!reader.Next(term.A, kind) || !reader.Next(term.B, kind) ||
              !reader.Next(term.C, kind))
            return kind;
  } while (!reader.AtEnd());
  return std::nullopt;
}

// Reads the 43 rows of PLUTO.DAT (multipliers J, S, P and six coefficients)
// block after block, as ReadSeriesFile does.
// Given:  reader   the file's values
// Returns:         rows filled, or the error kind of the first bad value
// Source: the layout of Meeus, Astronomical Algorithms 2nd ed., Table 37.A.
std::optional<SeriesErrorKind> ReadPlutoFile(ValueReader& reader,
                                             std::array<PlutoTerm, kPlutoRows>& rows) {
  SeriesErrorKind kind{};
  do {
    for (PlutoTerm& r : rows)
      for (double* v :
           {&r.j, &r.s, &r.p, &r.lonSin, &r.lonCos, &r.latSin, &r.latCos, &r.radSin, &r.radCos})
        if (!reader.Next(*v, kind)) return kind;
  } while (!reader.AtEnd());
  return std::nullopt;
}

}  // namespace

// The terms of one coordinate's series S0, S1, ... laid out for the vector
// kernels: A, B, C each in runs of four (a series' last run padded with zero
// terms) and, per run, the power of tau it is multiplied by.
// Given:  series   S0, S1, ... of one coordinate
// Returns:         the lanes; bookkeeping, no published source
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

// Reads the ten data files from a folder into tables
// (LoadSeriesTablesFromText).
// Given:  folder   the program's data folder
// Returns:         nothing, or the first file missing, unreadable or bad
//                  (tables unchanged)
std::optional<SeriesError> LoadSeriesTables(const std::filesystem::path& folder,
                                            SeriesTables& tables) {
  std::array<std::string, kSeriesBodyCount + 1> texts;
  for (int i = 0; i <= kSeriesBodyCount; ++i) {
    const char* name = i < kSeriesBodyCount ? kSeriesLayouts[i].file : kPlutoFile;
    FileRead file = ReadRegularFile(folder / name);
    if (file.status == FileRead::Missing) return SeriesError{name, SeriesErrorKind::FileNotFound};
    if (!file.ok()) return SeriesError{name, SeriesErrorKind::Unreadable, file.reason};
    texts[i] = std::move(file.bytes);
  }
  return LoadSeriesTablesFromText(std::move(texts), tables);
}

// The tables from the texts of the nine series files (kSeriesLayouts order)
// and PLUTO.DAT: read, checked (CheckSeriesTables) and laid out for the
// vector kernels, then handed over.
// Given:  texts    the ten files' texts
// Returns:         nothing with tables filled, or the first error (tables
//                  as they were)
std::optional<SeriesError> LoadSeriesTablesFromText(
    std::array<std::string, kSeriesBodyCount + 1> texts, SeriesTables& tables) {
  // Filled aside and handed over only when every file has been read and
  // checked, so a bad file leaves the caller's tables as they were.
  SeriesTables loaded;
  for (int i = 0; i < kSeriesBodyCount; ++i) {
    const SeriesFileLayout& layout = kSeriesLayouts[i];
    ValueReader reader(std::move(texts[i]));
    loaded.sets[i] = EmptySet(layout);
    if (auto kind = ReadSeriesFile(reader, loaded.sets[i])) return SeriesError{layout.file, *kind};
  }
  ValueReader reader(std::move(texts[kSeriesBodyCount]));
  if (auto kind = ReadPlutoFile(reader, loaded.pluto)) return SeriesError{kPlutoFile, *kind};
  if (auto bad = CheckSeriesTables(loaded))
    return SeriesError{bad->file, SeriesErrorKind::OutOfRange, bad->detail};
  for (SeriesSet& set : loaded.sets) {
    set.laneL = MakeSeriesLanes(set.L);
    set.laneB = MakeSeriesLanes(set.B);
    set.laneR = MakeSeriesLanes(set.R);
  }
  tables = std::move(loaded);
  return std::nullopt;
}

}  // namespace novastra
