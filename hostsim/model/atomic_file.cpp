#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
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

}  // namespace

std::string readFile(const std::filesystem::path& file) {
  // A folder opens fine as a stream on Linux and then reads as nothing.
  std::error_code ec;
  if (std::filesystem::is_directory(file, ec)) throw failure("cannot read", file, EISDIR);
  std::ifstream in(file, std::ios::binary);
  if (!in) throw failure("cannot open", file, errno);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) throw failure("cannot read", file, errno);
  return std::move(bytes).str();
}

void writeFileAtomically(const std::filesystem::path& file, std::string_view bytes,
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

  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(temporary.fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      throw failure("cannot write", file, errno);
    }
    data += written;
    left -= static_cast<std::size_t>(written);
  }
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
