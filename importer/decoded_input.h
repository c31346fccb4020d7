#ifndef IMPORTER_DECODED_INPUT_H_
#define IMPORTER_DECODED_INPUT_H_

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// The bytes of one input file, or of standard input, decompressed when they
// are gzip or bzip2 data. The compression is told from the first bytes, not
// from the name, so that a pipe works as well as a file. Concatenated
// compressed streams (as made by `cat a.gz b.gz` or parallel compressors) are
// read one after the other; a compressed input that ends before its stream
// does, or that is followed by anything but another stream (or, after gzip
// data, zero bytes to the end), is an error.
class DecodedInput {
 public:
  enum class Compression { kNone, kGzip, kBzip2 };

  DecodedInput();
  ~DecodedInput();
  DecodedInput(const DecodedInput&) = delete;
  DecodedInput& operator=(const DecodedInput&) = delete;

  // Opens the named file, or standard input for "-" (which is not closed
  // later). false: errno tells why, as fopen left it.
  bool open(const char* name);

  // Fills buffer with up to capacity decoded bytes; count is 0 only at the end
  // of the input. false: reason() tells why (a read error, corrupt or
  // truncated compressed data); count is then 0.
  bool read(char* buffer, std::size_t capacity, std::size_t& count);

  // Decodes up to wanted bytes ahead without consuming them: the next read()
  // returns them first. count is less than wanted only at the end of the
  // input. false: as read().
  bool peek(std::size_t wanted, const unsigned char*& bytes, std::size_t& count);

  // What the first bytes said; valid after the first read().
  Compression compression() const { return kind; }
  // Why the last read() failed.
  const std::string& reason() const { return failure; }

 private:
  struct Decoders;

  bool fail(const std::string& text);
  // read() without the bytes peeked.
  bool decodeMore(char* buffer, std::size_t capacity, std::size_t& count);
  // A failure after decoded bytes of this read: they are returned (true), the
  // failure with the next read.
  bool failAfter(std::size_t decoded, const std::string& text);
  // Tops up the raw buffer; false on a read error. rawEnd tells whether the
  // underlying stream has ended.
  bool refill();
  bool detect();
  bool readGzip(char* buffer, std::size_t capacity, std::size_t& count);
  bool readBzip2(char* buffer, std::size_t capacity, std::size_t& count);
  // After one compressed stream ended: true when another follows (restart
  // the decoder), false at the clean end of the input or on an error.
  bool anotherStreamFollows(const unsigned char* magic, std::size_t magicLength);

  FILE* stream = nullptr;
  bool ownsStream = false;
  Compression kind = Compression::kNone;
  bool detected = false;
  bool finished = false;
  bool rawEnd = false;
  std::vector<unsigned char> raw;
  std::size_t rawBegin = 0;  // first unconsumed byte of raw
  std::size_t rawCount = 0;  // bytes of raw in use, consumed ones included
  Decoders* decoders;
  std::string failure;
  std::string pendingFailure;
  std::vector<char> lookahead;  // decoded by peek(), not yet read
  std::size_t lookaheadBegin = 0;
};

#endif  // IMPORTER_DECODED_INPUT_H_
