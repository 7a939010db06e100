// Compression for the fuzz targets: the fuzzer mutates plain text, and a
// target that reads gzip input compresses that text itself, so that the
// text's grammar and the reader's handling of gzip members are both reached
// (a mutated compressed stream would almost never decompress).
#ifndef FUZZ_FUZZ_GZIP_H
#define FUZZ_FUZZ_GZIP_H

#include <zlib.h>

#include <cstdlib>
#include <string>

namespace fuzz {

// One gzip member holding `text`.
inline std::string gzipMember(const std::string &text) {
  z_stream z{};
  // 16 + 15: a gzip header and trailer around a 32 KB window.
  if (deflateInit2(&z, 1, Z_DEFLATED, 16 + 15, 8, Z_DEFAULT_STRATEGY) != Z_OK) std::abort();
  std::string packed(deflateBound(&z, text.size()), '\0');
  z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(text.data()));
  z.avail_in = static_cast<uInt>(text.size());
  z.next_out = reinterpret_cast<Bytef *>(packed.data());
  z.avail_out = static_cast<uInt>(packed.size());
  if (deflate(&z, Z_FINISH) != Z_STREAM_END) std::abort();
  packed.resize(z.total_out);
  deflateEnd(&z);
  return packed;
}

// `text` as concatenated gzip members of `memberSize` bytes of text each
// (0: one member), as bgzip writes a file; the cuts fall anywhere, also
// inside a line.
inline std::string gzipMembers(const std::string &text, size_t memberSize) {
  if (memberSize == 0 || text.empty()) return gzipMember(text);
  std::string packed;
  for (size_t at = 0; at < text.size(); at += memberSize)
    packed += gzipMember(text.substr(at, memberSize));
  return packed;
}

// The first byte of a target that reads plain or gzip input: bit 0 set
// reads the rest as it stands only (plain text, or gzip data as given,
// damaged or not); otherwise the rest is read as plain text and again
// compressed in members of 5 * (bits 1-7) bytes of text (0: one member).
// Text that is itself gzip data is read as it stands only, since it would
// be decompressed once more.
inline bool alsoCompressed(unsigned settings, const std::string &text) {
  return (settings & 1) == 0 && text.compare(0, 2, "\x1f\x8b") != 0;
}

inline std::string compressedAsChosen(unsigned settings, const std::string &text) {
  return gzipMembers(text, 5 * (settings >> 1));
}

}  // namespace fuzz

#endif
