#include "cli/session.h"

#include <langinfo.h>
#include <unistd.h>

#include <clocale>
#include <cstring>
#include <cwchar>
#include <iostream>

#include "app/app_folder.h"
#include "app/data_buffer.h"
#include "app/options.h"
#include "app/safe_write.h"
#include "app/supplied_dir.h"
#include "app/text_file.h"
#include "astro/ayanamsas.h"

namespace novastra::cli {

namespace {

int TerminalCells(char32_t c) { return ::wcwidth(static_cast<wchar_t>(c)); }

bool LocaleIsUtf8() {
  const char* codeset = nl_langinfo(CODESET);
  return codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
}

}  // namespace

TextStyle OutputStyle(const GlobalOptions& global) {
  TextStyle style;
  const bool utf8 = global.encoding == "utf8" || (global.encoding.empty() && LocaleIsUtf8());
  style.encoding = utf8 ? Encoding::Utf8 : Encoding::Cp1252;
  style.symbols = global.symbols == "ascii" ? Symbols::Ascii : Symbols::Unicode;
  if (utf8) {
    // Character widths need a UTF-8 character type; C.UTF-8 serves when the
    // user's locale is another one.
    if (!LocaleIsUtf8()) std::setlocale(LC_CTYPE, "C.UTF-8");
    style.cells = &TerminalCells;
  }
  return style;
}

// Control characters the user typed (an escape sequence, a line break) are
// shown as \xHH, so that a message never moves the terminal's cursor or
// changes its colours; other bytes, UTF-8 letters included, stay as they are.
std::string EscapeControls(const std::string& text) {
  std::string out;
  for (const unsigned char c : text) {
    if (c < 0x20 || c == 0x7f) {
      static constexpr char kHex[] = "0123456789abcdef";
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

void PrintError(const std::string& message) {
  std::cerr << "novastra-cli: " << EscapeControls(message) << '\n';
}

bool OpenSession(const GlobalOptions& global, Session& session) {
  session.style = OutputStyle(global);
  session.messageStyle = session.style;
  std::optional<std::filesystem::path> home;
  if (!global.home.empty()) home = global.home;
  std::string error;
  auto folders = ResolveProgramFolders(home, ExecutableDir(), &error);
  if (!folders) {
    PrintError(error.empty() ? "no application folder" : error);
    return false;
  }
  session.app = std::make_unique<Application>(session.ui, folders->app, folders->supplied);
  Application& app = *session.app;
  if (!app.ReadOptionsFile()) {
    std::string reason;
    ReadFileBytes(app.folder() / "OPTIONS.OPT", &reason);
    PrintError("OPTIONS.OPT in " + app.folder().string() + ": " +
               (reason.empty() ? std::string("cannot be read") : reason) +
               "; using the built-in options");
  }
  if (const auto err = app.LoadSeries()) {
    PrintError(err->Message() + " (in " + app.supplied().string() + ")");
    return false;
  }
  return true;
}

bool LockFolderForSave(Session& session) {
  constexpr int kWaitMillis = 10000;
  session.lock = std::make_unique<InstanceLock>(session.app->folder(), kWaitMillis);
  switch (session.lock->state()) {
    case InstanceLock::State::Acquired: RemoveStaleTempFiles(session.app->folder()); return true;
    case InstanceLock::State::Unavailable: return true;
    case InstanceLock::State::HeldByOther: break;
  }
  PrintError("another copy of NOVASTRA is using " + session.app->folder().string() +
             "; nothing was saved. Try again when it has finished.");
  return false;
}

void PrintMessages(Session& session) {
  for (const HeadlessUi::Event& e : session.ui.Messages()) {
    if (e.text == kNearlyFullMessage) continue;  // about the Data Window only
    std::string text = e.title + ": " + e.text;
    for (char& c : text)
      if (c == '\r') c = ' ';
    std::cerr << EncodeText(text, session.messageStyle) << '\n';
  }
  session.ui.events.clear();
}

bool FinishOutput(OutputSink& sink) {
  const std::string reason = sink.Finish();
  if (reason.empty()) return true;
  PrintError("cannot write " + sink.Name() + ": " + reason);
  return false;
}

ProgressBar::ProgressBar() : shown_(isatty(STDERR_FILENO) != 0) {}

ProgressBar::~ProgressBar() {
  if (shown_ && last_ >= 0) std::cerr << '\r' << std::string(40, ' ') << '\r' << std::flush;
}

void ProgressBar::Update(int done, int total) {
  if (!shown_ || total <= 0) return;
  const int percent = static_cast<int>(100LL * done / total);
  if (percent == last_) return;
  last_ = percent;
  const int filled = percent * 25 / 100;
  std::cerr << "\r[" << std::string(filled, '#') << std::string(25 - filled, '.') << "] " << percent
            << "%" << std::flush;
}

std::string AyanamsaNamesText() {
  std::string text;
  for (const NamedAyanamsaInfo& a : NamedAyanamsas()) {
    if (!text.empty()) text += ", ";
    text += a.key;
  }
  return text;
}

AyanamsaChoice ChooseAyanamsa(const std::string& word, const std::string& zodiac) {
  AyanamsaChoice c;
  if (word.empty()) return c;
  if (zodiac != "sidereal") {
    c.error = "a named ayanamsa needs --zodiac sidereal";
    return c;
  }
  if (const auto named = FindNamedAyanamsa(word)) {
    c.named = *named;
    return c;
  }
  c.error = "not a known ayanamsa; the choices are " + AyanamsaNamesText();
  return c;
}

}  // namespace novastra::cli
