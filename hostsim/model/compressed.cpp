#include "compressed.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <stdexcept>

namespace hostsim {
namespace {

// zlib counts in unsigned int: feed it in pieces no larger.
constexpr std::size_t kPiece = std::size_t{1} << 20;

class Stream {
 public:
  explicit Stream(bool inflating) : inflating_(inflating) {
    // 16 + 15: a gzip wrapper around the largest window.
    const int status = inflating ? inflateInit2(&z, 16 + MAX_WBITS)
                                 : deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8,
                                                Z_DEFAULT_STRATEGY);
    if (status != Z_OK) throw std::runtime_error("zlib could not start");
  }
  ~Stream() { inflating_ ? inflateEnd(&z) : deflateEnd(&z); }
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;
  z_stream z{};

 private:
  bool inflating_;
};

void give(z_stream& z, std::string_view bytes, std::size_t& used) {
  const std::size_t piece = std::min(bytes.size() - used, kPiece);
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data() + used));
  z.avail_in = static_cast<uInt>(piece);
  used += piece;
}

}  // namespace

bool isGzip(std::string_view bytes) {
  return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0x1f &&
         static_cast<unsigned char>(bytes[1]) == 0x8b;
}

bool namesCompressedFile(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".svgz";
}

std::string gunzip(std::string_view bytes, std::size_t limit) {
  const std::runtime_error damaged("a damaged compressed document (gzip data corrupt or cut short)");
  std::string out;
  std::size_t used = 0;  // bytes handed to zlib
  // One member after another, as gzip itself reads concatenated files.
  while (true) {
    Stream stream(true);
    z_stream& z = stream.z;
    int status = Z_OK;
    while (status != Z_STREAM_END) {
      if (z.avail_in == 0) {
        if (used == bytes.size()) throw damaged;
        give(z, bytes, used);
      }
      if (out.size() == limit)
        throw std::runtime_error("a compressed document that expands beyond " + std::to_string(limit >> 20) +
                                 " MiB, the most a document may hold");
      const std::size_t before = out.size();
      const std::size_t room = std::min({kPiece, limit - before, std::max<std::size_t>(before, 64 << 10)});
      out.resize(before + room);
      z.next_out = reinterpret_cast<Bytef*>(out.data() + before);
      z.avail_out = static_cast<uInt>(room);
      status = inflate(&z, Z_NO_FLUSH);
      out.resize(before + room - z.avail_out);
      if (status != Z_OK && status != Z_STREAM_END && !(status == Z_BUF_ERROR && z.avail_in == 0)) throw damaged;
    }
    used -= z.avail_in;
    if (used == bytes.size()) return out;
    // Anything after a member must be another member.
    if (!isGzip(bytes.substr(used))) throw damaged;
  }
}

std::string gzip(std::string_view bytes) {
  Stream stream(false);
  z_stream& z = stream.z;
  std::string out;
  std::size_t used = 0;
  int status = Z_OK;
  while (status != Z_STREAM_END) {
    if (z.avail_in == 0 && used < bytes.size()) give(z, bytes, used);
    const std::size_t before = out.size();
    const std::size_t room = std::max<std::size_t>(bytes.size() / 4, 64 << 10);
    out.resize(before + std::min(room, kPiece));
    z.next_out = reinterpret_cast<Bytef*>(out.data() + before);
    z.avail_out = static_cast<uInt>(out.size() - before);
    status = deflate(&z, used == bytes.size() && z.avail_in == 0 ? Z_FINISH : Z_NO_FLUSH);
    out.resize(out.size() - z.avail_out);
    if (status == Z_STREAM_ERROR) throw std::runtime_error("zlib could not compress the document");
  }
  return out;
}

}  // namespace hostsim
