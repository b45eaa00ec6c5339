#include "app/options.h"

#include "app/input_check.h"
#include "app/settings.h"
#include "app/text_file.h"
#include "app/ui.h"

namespace novastra {

namespace {

constexpr const char* kOptionsFile = "OPTIONS.OPT";
constexpr const char* kMasterFile = "OPTIONS.MAS";
constexpr int kOptionCount = 13;
constexpr size_t kNumberWidth = 7;  // the number lives in a line's first seven characters
constexpr const char* kOperationError = "Error in operation. Cannot do what is requested.";

}  // namespace

AyanamsaOption RunOptions::Ayanamsa() const {
  AyanamsaOption a;
  a.useUserValue = value[1] == 1;
  a.degrees = static_cast<double>(value[2]) + static_cast<double>(value[3]) / 60 +
              static_cast<double>(value[4]) / 3600;
  return a;
}

AyanamsaOption RunOptions::Ayanamsa(Zodiac zodiac, NamedAyanamsa named) const {
  AyanamsaOption a = Ayanamsa();
  if (zodiac == Zodiac::Sidereal) a.named = named;
  return a;
}

bool ReadOptions(const std::filesystem::path& folder, RunOptions& options) {
  const auto bytes = ReadFileBytes(folder / kOptionsFile);
  if (!bytes) return false;
  int k = 0;
  for (const std::string& line : SplitTextLines(*bytes)) {
    // The first empty line ends the list; text after it is description.
    if (line.empty() || k == kOptionCount) break;
    ++k;
    options[k] = static_cast<float>(LeadingNumber(line.substr(0, kNumberWidth)));
  }
  return true;
}

std::optional<std::string> LoadOptionsText(const std::filesystem::path& folder) {
  const auto bytes = ReadFileBytes(folder / kOptionsFile);
  if (!bytes) return std::nullopt;
  std::string text;
  for (const std::string& line : SplitTextLines(*bytes)) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::optional<std::string> OpenOptionsEditor(const std::filesystem::path& folder,
                                             UserInterface& ui) {
  auto text = LoadOptionsText(folder);
  if (!text) ui.ShowMessage(MessageIcon::Information, kWarningTitle, "File Not Found");
  return text;
}

bool SaveOptionsText(const std::filesystem::path& folder, const std::string& text,
                     RunOptions& options, UserInterface& ui) {
  // Every line break (CR LF, LF or CR, whichever the editor produced) becomes
  // CR LF; the final one, if any, is replaced by exactly one.
  std::string body = text;
  if (body.size() >= 2 && body.compare(body.size() - 2, 2, "\r\n") == 0)
    body.resize(body.size() - 2);
  else if (!body.empty() && (body.back() == '\n' || body.back() == '\r'))
    body.pop_back();
  std::string out;
  out.reserve(body.size() + 16);
  for (size_t i = 0; i < body.size(); ++i) {
    const char c = body[i];
    if (c == '\r' || c == '\n') {
      out += "\r\n";
      if (c == '\r' && i + 1 < body.size() && body[i + 1] == '\n') ++i;
    } else {
      out.push_back(c);
    }
  }
  out += "\r\n";
  if (!WriteFileSafely(folder / kOptionsFile, out).empty()) {
    ui.ShowMessage(MessageIcon::Information, kWarningTitle, kOperationError);
    return false;
  }
  ReadOptions(folder, options);
  return true;
}

bool RestoreDefaultOptions(const std::filesystem::path& folder, UserInterface& ui,
                           const std::filesystem::path& masterFolder) {
  const auto master = ReadFileBytes((masterFolder.empty() ? folder : masterFolder) / kMasterFile);
  if (!master || !WriteFileSafely(folder / kOptionsFile, *master).empty()) {
    ui.ShowMessage(MessageIcon::Information, kWarningTitle, kOperationError);
    return false;
  }
  return true;
}

}  // namespace novastra
