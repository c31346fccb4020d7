#ifndef TESTS_IMPORTER_COMPRESSED_BYTES_H_
#define TESTS_IMPORTER_COMPRESSED_BYTES_H_

// Test inputs compressed in memory, as gzip and bzip2 files would hold them.

#include <bzlib.h>
#include <zlib.h>

#include <string>

namespace importer_test {

inline std::string gzipped(const std::string& text) {
  z_stream z{};
  // 16 + window bits: a gzip header and trailer rather than zlib's.
  deflateInit2(&z, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, text.size()) + 64, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  z.avail_in = static_cast<uInt>(text.size());
  z.next_out = reinterpret_cast<Bytef*>(&out[0]);
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

inline std::string bzipped(const std::string& text) {
  unsigned length = static_cast<unsigned>(text.size() + text.size() / 100 + 700);
  std::string out(length, '\0');
  BZ2_bzBuffToBuffCompress(&out[0], &length, const_cast<char*>(text.data()),
                           static_cast<unsigned>(text.size()), 9, 0, 0);
  out.resize(length);
  return out;
}

}  // namespace importer_test

#endif  // TESTS_IMPORTER_COMPRESSED_BYTES_H_
