// Whole-file reads and crash-safe writes.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace hostsim {

// The file's bytes; throws std::runtime_error naming the file and the reason.
std::string readFile(const std::filesystem::path& file);

// Writes a temporary file beside `file`, flushes it to disk and renames it
// over `file`, so a reader sees the old or the new content, never a mix. An
// existing file keeps its permissions. Throws std::runtime_error naming the
// file; the temporary file is removed on failure.
void writeFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                         bool createParentDirectories = false);

}  // namespace hostsim
