// Whole-file reads and crash-safe writes.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace hostsim {

// Where a writer hands its bytes as it produces them, so that a large result need never be
// whole in memory. Throws std::runtime_error when the bytes cannot go where they should.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void write(std::string_view bytes) = 0;
};

class StringSink final : public ByteSink {
 public:
  explicit StringSink(std::string& out) : out_(out) {}
  void write(std::string_view bytes) override { out_.append(bytes); }

 private:
  std::string& out_;
};

// The file's bytes; throws std::runtime_error naming the file and the reason.
std::string readFile(const std::filesystem::path& file);

// Writes a temporary file beside `file`, flushes it to disk and renames it
// over `file`, so a reader sees the old or the new content, never a mix. An
// existing file keeps its permissions. Throws std::runtime_error naming the
// file; the temporary file is removed on failure.
void writeFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                         bool createParentDirectories = false);
// The same, with the bytes that `produce` hands to its sink: whatever it throws leaves the
// file as it was.
void writeFileAtomically(const std::filesystem::path& file, const std::function<void(ByteSink&)>& produce,
                         bool createParentDirectories = false);

}  // namespace hostsim
