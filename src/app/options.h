#pragma once
// The thirteen numeric options of OPTIONS.OPT.
#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include "astro/engine.h"

namespace novastra {

struct RunOptions {
  std::array<float, 14> value{};  // value[1]..value[13]; value[0] unused
  float operator[](int k) const { return value[k]; }
  float& operator[](int k) { return value[k]; }
  AyanamsaOption Ayanamsa() const;  // options 1 to 4
  // Options 1 to 4 and, for the sidereal zodiac, the ayanamsa chosen by name.
  AyanamsaOption Ayanamsa(Zodiac zodiac, NamedAyanamsa named) const;
};

// Reads "OPTIONS.OPT" from the folder into options; options past the last line
// read keep their values. Returns false when the file cannot be opened.
bool ReadOptions(const std::filesystem::path& folder, RunOptions& options);

class UserInterface;

// The options editor ("Edit: OPTIONS.OPT").
inline constexpr const char* kOptionsEditorCaption = "Edit: OPTIONS.OPT";

// The editor's text: every line of OPTIONS.OPT followed by CR LF. nullopt when
// the file cannot be opened.
std::optional<std::string> LoadOptionsText(const std::filesystem::path& folder);

// The Options menu: the editor's text, or, when OPTIONS.OPT cannot be opened,
// the "File Not Found" message and nullopt (the editor is then not opened).
std::optional<std::string> OpenOptionsEditor(const std::filesystem::path& folder,
                                             UserInterface& ui);

// Save: writes the text without its final line break (when it ends with one),
// then one CR LF, every line break as CR LF, safely; then reads the options
// again. On a write failure shows a message, leaves file and options alone and
// returns false.
bool SaveOptionsText(const std::filesystem::path& folder, const std::string& text,
                     RunOptions& options, UserInterface& ui);

// Restore Default Settings: copies OPTIONS.MAS over OPTIONS.OPT. The options in
// use are not read again. On failure shows "Error in operation. Cannot do what
// is requested." and returns false; the file stays as it was. OPTIONS.MAS is
// read from `masterFolder` (the supplied folder) when given, else from `folder`.
bool RestoreDefaultOptions(const std::filesystem::path& folder, UserInterface& ui,
                           const std::filesystem::path& masterFolder = {});

}  // namespace novastra
