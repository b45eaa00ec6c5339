#pragma once
// Reading and writing the program's single-byte text files.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace novastra {

class UserInterface;
struct SetWriteResult;

// Splits file bytes into lines; CR LF, LF and a lone CR each end a line, and a
// final line without a line end still counts.
std::vector<std::string> SplitTextLines(std::string_view bytes);

// Whole contents of a regular file, or nullopt (with the reason in *reason
// when given) when it cannot be opened or read. Only a regular file of sane
// size is read, opened without blocking (see astro/file_read.h); *missing
// tells a missing file from one that exists but cannot be read.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& file,
                                         std::string* reason = nullptr, bool* missing = nullptr);

// Writes bytes to a temporary file beside `target`, then renames it over the
// target, so the target is either the old file or the complete new one (the
// rules for read-only targets, modes, links: app/safe_write.h).
// Returns "" on success, else the reason (the target is untouched).
std::string WriteFileSafely(const std::filesystem::path& target, std::string_view bytes);

// Shows the failed-write message (critical icon, title "Warning!") naming the
// file and the reason.
void ReportWriteFailure(UserInterface& ui, const std::filesystem::path& file,
                        const std::string& reason);

// The one path by which the program's saved files are written: WriteFileSafely,
// then ReportWriteFailure when it fails. True when the file was written.
bool WriteFileOrReport(UserInterface& ui, const std::filesystem::path& file,
                       std::string_view bytes);

// The same for a set of `total` files written together, worded for what
// happened: nothing written, or some files already replaced.
void ReportSetWriteFailure(UserInterface& ui, const SetWriteResult& result, int total);

// The message for a file that could not be read: "File Not Found: NAME"
// when it is missing, else "Cannot read NAME: REASON." (a file that exists
// but cannot be read is told as such, not as missing).
std::string ReadFailureMessage(const std::string& name, const std::string& reason, bool missing);

}  // namespace novastra
