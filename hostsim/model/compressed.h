// Gzip-compressed documents (.svgz), as SVG editors save them.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace hostsim {

// A compressed document may expand to at most this many bytes: a small file that would
// expand beyond it (a decompression bomb) is refused before it fills memory.
inline constexpr std::size_t kMaxExpandedBytes = std::size_t{256} << 20;  // 256 MiB

// True when the bytes begin as a gzip stream does, whatever the file is called.
bool isGzip(std::string_view bytes);
// True when the file's name ends in ".svgz" (in any case): it is written compressed.
bool namesCompressedFile(const std::filesystem::path& file);

// The expanded bytes of every gzip member in `bytes`. Throws std::runtime_error saying what
// is wrong: a damaged or truncated stream, or one expanding beyond `limit` bytes.
std::string gunzip(std::string_view bytes, std::size_t limit = kMaxExpandedBytes);
std::string gzip(std::string_view bytes);

}  // namespace hostsim
