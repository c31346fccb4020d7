#include "importer/decoded_input.h"

#include <bzlib.h>
#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "fileio/failure_errno.h"

namespace {

constexpr std::size_t kRawBufferSize = 1 << 16;
const unsigned char kGzipMagic[] = {0x1f, 0x8b};
const unsigned char kBzip2Magic[] = {'B', 'Z', 'h'};

bool startsWith(const unsigned char* bytes, std::size_t length, const unsigned char* magic,
                std::size_t magicLength) {
  return length >= magicLength && std::memcmp(bytes, magic, magicLength) == 0;
}

// "BZh" and the block size digit: three letters alone are too common in text.
bool startsBzip2(const unsigned char* bytes, std::size_t length) {
  return startsWith(bytes, length, kBzip2Magic, sizeof kBzip2Magic) && length >= 4 &&
         bytes[3] >= '1' && bytes[3] <= '9';
}

}  // namespace

struct DecodedInput::Decoders {
  z_stream gzip{};
  bool gzipReady = false;
  bz_stream bzip2{};
  bool bzip2Ready = false;
  bool streamEnded = false;
};

DecodedInput::DecodedInput() : raw(kRawBufferSize), decoders(new Decoders) {}

DecodedInput::~DecodedInput() {
  if (decoders->gzipReady) {
    inflateEnd(&decoders->gzip);
  }
  if (decoders->bzip2Ready) {
    BZ2_bzDecompressEnd(&decoders->bzip2);
  }
  delete decoders;
  if (ownsStream) {
    std::fclose(stream);
  }
}

bool DecodedInput::open(const char* name) {
  if (std::strcmp(name, "-") == 0) {
    stream = stdin;
    ownsStream = false;
    return true;
  }
  FILE* file = std::fopen(name, "rb");
  if (file == nullptr) {
    return false;
  }
  // A directory opens for reading on Linux and fails only on the first read; say so at once.
  struct stat info;
  if (fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode)) {
    std::fclose(file);
    errno = EISDIR;
    return false;
  }
  stream = file;
  ownsStream = true;
  return true;
}

bool DecodedInput::fail(const std::string& text) {
  failure = text;
  return false;
}

bool DecodedInput::failAfter(std::size_t decoded, const std::string& text) {
  if (decoded == 0) {
    return fail(text);
  }
  // The bytes decoded before the damage are handed out first, so that the
  // lines they hold are read and the failure is told at the line it cut.
  pendingFailure = text;
  return true;
}

bool DecodedInput::refill() {
  if (rawBegin > 0) {
    std::memmove(raw.data(), raw.data() + rawBegin, rawCount - rawBegin);
    rawCount -= rawBegin;
    rawBegin = 0;
  }
  if (rawEnd || rawCount == raw.size()) {
    return true;
  }
  const std::size_t got = std::fread(raw.data() + rawCount, 1, raw.size() - rawCount, stream);
  rawCount += got;
  if (got == 0 || rawCount < raw.size()) {
    if (std::ferror(stream)) {
      return fail(std::string("read error (") + std::strerror(failureErrno()) + ")");
    }
    if (std::feof(stream)) {
      rawEnd = true;
    }
  }
  return true;
}

bool DecodedInput::detect() {
  detected = true;
  while (rawCount - rawBegin < 4 && !rawEnd) {
    if (!refill()) {
      return false;
    }
  }
  const unsigned char* first = raw.data() + rawBegin;
  const std::size_t available = rawCount - rawBegin;
  if (startsWith(first, available, kGzipMagic, sizeof kGzipMagic)) {
    kind = Compression::kGzip;
    // 16 + window bits: a gzip header and trailer, checked.
    if (inflateInit2(&decoders->gzip, 16 + MAX_WBITS) != Z_OK) {
      return fail("out of memory");
    }
    decoders->gzipReady = true;
  } else if (startsBzip2(first, available)) {
    kind = Compression::kBzip2;
    if (BZ2_bzDecompressInit(&decoders->bzip2, 0, 0) != BZ_OK) {
      return fail("out of memory");
    }
    decoders->bzip2Ready = true;
  }
  return true;
}

bool DecodedInput::peek(std::size_t wanted, const unsigned char*& bytes, std::size_t& count) {
  if (lookaheadBegin > 0) {
    lookahead.erase(lookahead.begin(),
                    lookahead.begin() + static_cast<std::ptrdiff_t>(lookaheadBegin));
    lookaheadBegin = 0;
  }
  while (lookahead.size() < wanted) {
    const std::size_t held = lookahead.size();
    lookahead.resize(wanted);
    std::size_t got = 0;
    // Read past the bytes held, which read() would hand out first.
    const bool ok = decodeMore(lookahead.data() + held, wanted - held, got);
    lookahead.resize(held + got);
    if (!ok) {
      return false;
    }
    if (got == 0) {
      break;
    }
  }
  bytes = reinterpret_cast<const unsigned char*>(lookahead.data());
  count = lookahead.size();
  return true;
}

bool DecodedInput::read(char* buffer, std::size_t capacity, std::size_t& count) {
  count = 0;
  if (lookaheadBegin < lookahead.size() && capacity > 0) {
    count = std::min(capacity, lookahead.size() - lookaheadBegin);
    std::memcpy(buffer, lookahead.data() + lookaheadBegin, count);
    lookaheadBegin += count;
    if (lookaheadBegin == lookahead.size()) {
      lookahead.clear();
      lookaheadBegin = 0;
    }
    return true;
  }
  return decodeMore(buffer, capacity, count);
}

bool DecodedInput::decodeMore(char* buffer, std::size_t capacity, std::size_t& count) {
  count = 0;
  if (!pendingFailure.empty()) {
    failure.swap(pendingFailure);
  }
  if (!failure.empty()) {
    return false;
  }
  if (!detected && !detect()) {
    return false;
  }
  if (finished || capacity == 0) {
    return true;
  }
  switch (kind) {
    case Compression::kGzip:
      return readGzip(buffer, capacity, count);
    case Compression::kBzip2:
      return readBzip2(buffer, capacity, count);
    case Compression::kNone:
      break;
  }
  if (rawBegin < rawCount) {
    count = std::min(capacity, rawCount - rawBegin);
    std::memcpy(buffer, raw.data() + rawBegin, count);
    rawBegin += count;
    return true;
  }
  if (rawEnd) {
    finished = true;
    return true;
  }
  count = std::fread(buffer, 1, capacity, stream);
  if (count < capacity && std::ferror(stream)) {
    count = 0;
    return fail(std::string("read error (") + std::strerror(failureErrno()) + ")");
  }
  if (count == 0) {
    rawEnd = true;
    finished = true;
  }
  return true;
}

bool DecodedInput::anotherStreamFollows(const unsigned char* magic, std::size_t magicLength) {
  while (rawCount - rawBegin < magicLength + 1 && !rawEnd) {
    if (!refill()) {
      return false;
    }
  }
  const std::size_t available = rawCount - rawBegin;
  if (available == 0) {
    finished = true;
    return false;
  }
  if (startsWith(raw.data() + rawBegin, available, magic, magicLength)) {
    return true;
  }
  // Zero bytes to the end (a tape or block device pads the last block) are
  // no data: gzip(1) ignores them too.
  while (kind == Compression::kGzip) {
    const unsigned char* begin = raw.data() + rawBegin;
    const unsigned char* end = raw.data() + rawCount;
    if (std::find_if(begin, end, [](unsigned char byte) { return byte != 0; }) != end) {
      break;
    }
    rawBegin = rawCount;
    if (rawEnd) {
      finished = true;
      return false;
    }
    if (!refill()) {
      return false;
    }
  }
  return fail(kind == Compression::kGzip ? "unexpected data after the end of the gzip data"
                                         : "unexpected data after the end of the bzip2 data");
}

bool DecodedInput::readGzip(char* buffer, std::size_t capacity, std::size_t& count) {
  z_stream& z = decoders->gzip;
  z.next_out = reinterpret_cast<Bytef*>(buffer);
  z.avail_out = static_cast<uInt>(capacity);
  while (z.avail_out == capacity) {
    if (decoders->streamEnded) {
      if (!anotherStreamFollows(kGzipMagic, sizeof kGzipMagic)) {
        return failure.empty();
      }
      inflateReset(&z);
      decoders->streamEnded = false;
    }
    if (rawBegin == rawCount && !rawEnd && !refill()) {
      return false;
    }
    z.next_in = raw.data() + rawBegin;
    z.avail_in = static_cast<uInt>(rawCount - rawBegin);
    const int result = inflate(&z, Z_NO_FLUSH);
    rawBegin = rawCount - z.avail_in;
    count = capacity - z.avail_out;
    if (result == Z_STREAM_END) {
      decoders->streamEnded = true;
    } else if (result == Z_BUF_ERROR || (result == Z_OK && count == 0)) {
      // No progress: only more input can help, and there is none.
      if (rawBegin == rawCount && rawEnd) {
        count = 0;
        return fail("truncated gzip data (the input ends inside the compressed stream)");
      }
    } else if (result != Z_OK) {
      return failAfter(count, result == Z_MEM_ERROR
                                  ? std::string("out of memory")
                                  : std::string("corrupt gzip data (") +
                                        (z.msg != nullptr ? z.msg : "unreadable") + ")");
    }
  }
  count = capacity - z.avail_out;
  return true;
}

bool DecodedInput::readBzip2(char* buffer, std::size_t capacity, std::size_t& count) {
  bz_stream& b = decoders->bzip2;
  b.next_out = buffer;
  b.avail_out = static_cast<unsigned>(capacity);
  while (b.avail_out == capacity) {
    if (decoders->streamEnded) {
      if (!anotherStreamFollows(kBzip2Magic, sizeof kBzip2Magic)) {
        return failure.empty();
      }
      BZ2_bzDecompressEnd(&b);
      decoders->bzip2Ready = false;
      b = bz_stream{};
      if (BZ2_bzDecompressInit(&b, 0, 0) != BZ_OK) {
        return fail("out of memory");
      }
      decoders->bzip2Ready = true;
      b.next_out = buffer;
      b.avail_out = static_cast<unsigned>(capacity);
      decoders->streamEnded = false;
    }
    if (rawBegin == rawCount && !rawEnd && !refill()) {
      return false;
    }
    const std::size_t offered = rawCount - rawBegin;
    b.next_in = reinterpret_cast<char*>(raw.data() + rawBegin);
    b.avail_in = static_cast<unsigned>(offered);
    const int result = BZ2_bzDecompress(&b);
    rawBegin = rawCount - b.avail_in;
    count = capacity - b.avail_out;
    if (result == BZ_STREAM_END) {
      decoders->streamEnded = true;
    } else if (result == BZ_OK) {
      if (count == 0 && offered == 0 && rawEnd) {
        return fail("truncated bzip2 data (the input ends inside the compressed stream)");
      }
    } else {
      return failAfter(count, result == BZ_MEM_ERROR ? "out of memory" : "corrupt bzip2 data");
    }
  }
  count = capacity - b.avail_out;
  return true;
}
