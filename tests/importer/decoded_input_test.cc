#include "importer/decoded_input.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "tests/e2e/temp_dir.h"
#include "tests/importer/compressed_bytes.h"

namespace {

using importer_test::bzipped;
using importer_test::gzipped;

// Lines long and varied enough to span several raw and decoded buffers.
std::string sampleText(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) {
    text += std::to_string(i * 7919 % 65536) + "|" + std::to_string(i) + "|" +
            std::to_string(i % 3 - 1) + "|bgp\n";
  }
  return text;
}

// Everything the input decodes to, read in pieces of at most capacity bytes.
struct Decoded {
  bool ok;
  std::string bytes;
  std::string reason;
  DecodedInput::Compression compression;
};

Decoded decode(const e2e::TempDir& dir, const std::string& content, std::size_t capacity = 4096) {
  dir.write("input", content);
  DecodedInput input;
  if (!input.open(dir.file("input").c_str())) {
    return {false, "", "open failed", DecodedInput::Compression::kNone};
  }
  std::string bytes;
  std::string buffer(capacity, '\0');
  for (;;) {
    std::size_t count = 0;
    if (!input.read(&buffer[0], capacity, count)) {
      EXPECT_EQ(count, 0u);
      return {false, bytes, input.reason(), input.compression()};
    }
    if (count == 0) {
      return {true, bytes, "", input.compression()};
    }
    bytes.append(buffer, 0, count);
  }
}

TEST(DecodedInputTest, PlainGzipAndBzip2GiveTheSameBytes) {
  e2e::TempDir dir;
  const std::string text = sampleText(40000);  // about 700 KB
  for (std::size_t capacity : {std::size_t{1} << 18, std::size_t{4096}, std::size_t{7}}) {
    SCOPED_TRACE(capacity);
    const Decoded plain = decode(dir, text, capacity);
    EXPECT_TRUE(plain.ok);
    EXPECT_EQ(plain.compression, DecodedInput::Compression::kNone);
    EXPECT_TRUE(plain.bytes == text);
    const Decoded gzip = decode(dir, gzipped(text), capacity);
    EXPECT_TRUE(gzip.ok) << gzip.reason;
    EXPECT_EQ(gzip.compression, DecodedInput::Compression::kGzip);
    EXPECT_TRUE(gzip.bytes == text);
    const Decoded bzip2 = decode(dir, bzipped(text), capacity);
    EXPECT_TRUE(bzip2.ok) << bzip2.reason;
    EXPECT_EQ(bzip2.compression, DecodedInput::Compression::kBzip2);
    EXPECT_TRUE(bzip2.bytes == text);
  }
}

TEST(DecodedInputTest, ShortAndMagicLikeInputsArePlainText) {
  e2e::TempDir dir;
  for (const std::string& text : {std::string(), std::string("\x1f"), std::string("BZ"),
                                  std::string("BZh"), std::string("BZhx|1|0\n")}) {
    SCOPED_TRACE(text);
    const Decoded result = decode(dir, text);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.bytes, text);
    EXPECT_EQ(result.compression, DecodedInput::Compression::kNone);
  }
}

TEST(DecodedInputTest, ConcatenatedStreamsAreReadInTurn) {
  e2e::TempDir dir;
  const std::string first = sampleText(300);
  const std::string second = sampleText(20);
  const Decoded gzip = decode(dir, gzipped(first) + gzipped(second));
  EXPECT_TRUE(gzip.ok) << gzip.reason;
  EXPECT_TRUE(gzip.bytes == first + second);
  const Decoded bzip2 = decode(dir, bzipped(first) + bzipped(second));
  EXPECT_TRUE(bzip2.ok) << bzip2.reason;
  EXPECT_TRUE(bzip2.bytes == first + second);
}

// Cutting a compressed file anywhere past its magic bytes must give a clean
// failure that says the data is truncated, never a short success.
TEST(DecodedInputTest, EveryCutOfACompressedFileIsTruncated) {
  e2e::TempDir dir;
  const std::string text = sampleText(60);
  struct Kind {
    std::string bytes;
    std::size_t magic;
    const char* reason;
  };
  const Kind kinds[] = {
      {gzipped(text), 2, "truncated gzip data (the input ends inside the compressed stream)"},
      {bzipped(text), 4, "truncated bzip2 data (the input ends inside the compressed stream)"},
  };
  for (const Kind& kind : kinds) {
    for (std::size_t cut = kind.magic; cut < kind.bytes.size(); ++cut) {
      SCOPED_TRACE(cut);
      const Decoded result = decode(dir, kind.bytes.substr(0, cut), 512);
      ASSERT_FALSE(result.ok);
      ASSERT_EQ(result.reason, kind.reason);
      ASSERT_TRUE(text.compare(0, result.bytes.size(), result.bytes) == 0);
    }
  }
}

TEST(DecodedInputTest, DataAfterTheStreamOrInsideItIsAnError) {
  e2e::TempDir dir;
  const std::string text = sampleText(200);
  EXPECT_EQ(decode(dir, gzipped(text) + "\n").reason,
            "unexpected data after the end of the gzip data");
  EXPECT_EQ(decode(dir, bzipped(text) + "x").reason,
            "unexpected data after the end of the bzip2 data");

  std::string gzip = gzipped(text);
  gzip[gzip.size() - 5] ^= 0x55;  // in the trailer's checksum
  EXPECT_EQ(decode(dir, gzip).reason, "corrupt gzip data (incorrect data check)");
  // What was decoded before the damage is handed out first, so that the
  // reader can tell the line where it stopped.
  EXPECT_EQ(decode(dir, gzip).bytes, text);
  EXPECT_EQ(decode(dir, gzip, 7).bytes, text);
  std::string bzip2 = bzipped(text);
  bzip2[bzip2.size() / 2] ^= 0x55;
  EXPECT_EQ(decode(dir, bzip2).reason, "corrupt bzip2 data");
}

// gzip(1) takes zero bytes after the last member (a tape's padded block) as
// no data, and anything else there as garbage.
TEST(DecodedInputTest, ZeroPaddingAfterGzipDataIsNoData) {
  e2e::TempDir dir;
  const std::string text = sampleText(300);
  struct Case {
    std::string after;
    bool ok;
  };
  const Case cases[] = {
      {std::string(1, '\0'), true},
      {std::string(512, '\0'), true},
      {std::string(200000, '\0'), true},
      {std::string(100000, '\0') + "x", false},
      {std::string(3, '\0') + gzipped(text), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.after.size());
    const Decoded decoded = decode(dir, gzipped(text) + c.after);
    EXPECT_EQ(decoded.ok, c.ok) << decoded.reason;
    EXPECT_EQ(decoded.bytes, text);
    if (!c.ok) {
      EXPECT_EQ(decoded.reason, "unexpected data after the end of the gzip data");
    }
  }
  EXPECT_EQ(decode(dir, bzipped(text) + std::string(512, '\0')).reason,
            "unexpected data after the end of the bzip2 data");
}

TEST(DecodedInputTest, OpenFailsForMissingFilesAndDirectories) {
  e2e::TempDir dir;
  DecodedInput missing;
  EXPECT_FALSE(missing.open(dir.file("missing").c_str()));
  EXPECT_EQ(errno, ENOENT);
  DecodedInput directory;
  EXPECT_FALSE(directory.open(dir.path().c_str()));
  EXPECT_EQ(errno, EISDIR);
}

}  // namespace
