#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

namespace hostsim {
namespace {

std::runtime_error failure(std::string_view what, const std::filesystem::path& file, int error) {
  return std::runtime_error(std::string(what) + " '" + file.string() + "': " + std::strerror(error));
}

// Closes the descriptor and removes the temporary file unless released.
struct TemporaryFile {
  int fd = -1;
  std::string path;
  ~TemporaryFile() {
    if (fd >= 0) ::close(fd);
    if (!path.empty()) ::unlink(path.c_str());
  }
};

// Writes everything, through interruptions.
void writeAll(int fd, std::string_view bytes, const std::filesystem::path& file) {
  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      throw failure("cannot write", file, errno);
    }
    data += written;
    left -= static_cast<std::size_t>(written);
  }
}

class FileSink final : public ByteSink {
 public:
  FileSink(int fd, const std::filesystem::path& file) : fd_(fd), file_(file) {}
  void write(std::string_view bytes) override { writeAll(fd_, bytes, file_); }

 private:
  int fd_;
  const std::filesystem::path& file_;
};

}  // namespace

// Read at the size the file says, so that its bytes are held once, not grown by doubling.
std::string readFile(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw failure("cannot open", file, errno);
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat status {};
  if (::fstat(fd, &status) != 0) throw failure("cannot read", file, errno);
  // A folder opens fine on Linux and then reads as nothing.
  if (S_ISDIR(status.st_mode)) throw failure("cannot read", file, EISDIR);
  std::string bytes;
  bytes.resize(S_ISREG(status.st_mode) ? static_cast<std::size_t>(status.st_size) + 1 : 64 * 1024);
  std::size_t size = 0;
  for (;;) {
    if (size == bytes.size()) bytes.resize(bytes.size() * 2);
    const ssize_t got = ::read(fd, bytes.data() + size, bytes.size() - size);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw failure("cannot read", file, errno);
    }
    if (got == 0) break;
    size += static_cast<std::size_t>(got);
  }
  bytes.resize(size);
  return bytes;
}

void writeFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                         bool createParentDirectories) {
  writeFileAtomically(file, [bytes](ByteSink& sink) { sink.write(bytes); }, createParentDirectories);
}

void writeFileAtomically(const std::filesystem::path& file, const std::function<void(ByteSink&)>& produce,
                         bool createParentDirectories) {
  const std::filesystem::path folder =
      file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
  if (createParentDirectories) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) throw failure("cannot create the folder of", file, ec.value());
  }

  // The temporary name is the file's own, cut so that it stays within the 255 bytes a
  // name may have (at a character boundary), as a 255-byte name is a valid target.
  constexpr std::size_t kMaxStem = 200;
  std::string stem = file.filename().string();
  if (stem.size() > kMaxStem) {
    std::size_t cut = kMaxStem;
    while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) --cut;
    stem.resize(cut);
  }
  TemporaryFile temporary;
  temporary.path = (folder / ("." + stem + ".XXXXXX")).string();
  temporary.fd = ::mkstemp(temporary.path.data());
  if (temporary.fd < 0) {
    const int error = errno;
    temporary.path.clear();
    throw failure("cannot write", file, error);
  }

  struct stat existing {};
  mode_t mode = 0;
  if (::stat(file.c_str(), &existing) == 0) {
    mode = existing.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  if (::fchmod(temporary.fd, mode) != 0) throw failure("cannot write", file, errno);

  FileSink sink(temporary.fd, file);
  produce(sink);
  if (::fsync(temporary.fd) != 0) throw failure("cannot write", file, errno);
  const int fd = temporary.fd;
  temporary.fd = -1;
  if (::close(fd) != 0) throw failure("cannot write", file, errno);
  if (::rename(temporary.path.c_str(), file.c_str()) != 0) throw failure("cannot write", file, errno);
  temporary.path.clear();

  // Make the rename itself durable; a failure here loses nothing.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

}  // namespace hostsim
