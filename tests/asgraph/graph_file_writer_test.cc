#include "asgraph/graph_file_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "asgraph/as_graph.h"
#include "asgraph/edge_line_columns.h"
#include "tests/asgraph/graph_text.h"

namespace {

// A differential graph that uses every column, with a 512-character comment
// and a 600-character source name.
void buildDifferentialGraph(ASGraph& g, std::string& longName) {
  longName.assign(600, 's');
  List<char*> names;
  names.enqueue(&longName[0]);
  char blanks[] = "name with blanks";
  names.enqueue(blanks);
  g.setSourceFiles(names, false);
  g.setComment(std::string(512, 'c').c_str());
  g.isDifferential() = true;
  for (unsigned short as : {65535, 1, 300, 7}) {
    g.addNode(as, as);
  }
  ASEdgeWeight f;
  ASEdgeWeight r;
  f.oriented = r.oriented = true;
  f.pathCovering[0] = 4294967295u;
  f.ipCovering[0] = 18446744073709551615ull;
  r.pathCovering[0] = 3;
  r.ipCovering[1] = 640;
  f.srcOriented[1] = r.srcOriented[1] = true;
  f.srcDirection[0] = dir_forward;
  r.srcDirection[0] = dir_backward;
  f.comparedGraphs = r.comparedGraphs = 65535;
  f.incomingEdges = r.outgoingEdges = 4;
  f.outgoingEdges = r.incomingEdges = 5;
  f.undirectedEdges = r.undirectedEdges = 6;
  f.unorientedEdges = r.unorientedEdges = 7;
  f.orientationChanges = r.orientationChanges = 8;
  f.orientationStability = r.orientationStability = 1.5f;
  g.addEdge(300, 7, dir_forward, f, r);
  g.addEdge(1, 65535, dir_none, r, f);
  g.addEdge(7, 7, dir_backward, f, f);
}

TEST(GraphFileWriterTest, WriteReadWriteGivesTheSameFile) {
  std::string longName;
  ASGraph g;
  buildDifferentialGraph(g, longName);
  const std::string first = writeText(g);
  EXPECT_NE(first.find("\n7 300 1 -1 3 0 4294967295 18446744073709551615 0 1 -1 0 0 640 0 0 "
                       "65535 5 4 6 7 8 1.500000\n"),
            std::string::npos);

  ASGraph read;
  ASSERT_TRUE(readText(read, first)) << read.errReason();
  EXPECT_EQ(read.nodes(), 4u);
  EXPECT_EQ(read.edges(), 3u);
  EXPECT_EQ(std::string(read.getSourceFiles().first()), longName);
  EXPECT_EQ(std::string(read.getComment()), std::string(512, 'c'));
  expectGraphAsRead(read);
  EXPECT_EQ(writeText(read), first);

  // The same graph written as a plain graph round-trips as well.
  read.isDifferential() = false;
  const std::string plain = writeText(read);
  ASGraph again;
  ASSERT_TRUE(readText(again, plain)) << again.errReason();
  EXPECT_EQ(writeText(again), plain);
}

TEST(GraphFileWriterTest, GraphWithoutSourcesIsWrittenButDoesNotReadBack) {
  ASGraph g;
  g.addNode(5, 5);
  const std::string text = writeText(g);
  EXPECT_EQ(text, "ZNG\n0\n\n1\n0\n5\n");
  ASGraph read;
  EXPECT_FALSE(readText(read, text));
  EXPECT_STREQ(read.errReason(), "Invalid number of source files: `0'");
}

// A stream that takes the first limit bytes and fails every write after
// them.
struct FailingSink {
  std::size_t limit;
  std::size_t taken = 0;
  int failedWrites = 0;
};

ssize_t sinkWrite(void* cookie, const char*, size_t size) {
  auto* sink = static_cast<FailingSink*>(cookie);
  if (sink->taken + size > sink->limit) {
    ++sink->failedWrites;
    return -1;
  }
  sink->taken += size;
  return static_cast<ssize_t>(size);
}

TEST(GraphFileWriterTest, EachFailedWriteStopsWithItsReason) {
  std::string longName;
  ASGraph g;
  buildDifferentialGraph(g, longName);
  const std::string full = writeText(g);
  const char* lineReasons[] = {
      "Could not write file type string",
      "Could not write number of source files",
      "Unable to write source file names",
      "Unable to write source file names",
      "Could not write comment",
      "Could not write number of nodes",
      "Could not write number of edges",
      "Could not write node 1",
      "Could not write node 7",
      "Could not write node 300",
      "Could not write node 65535",
      "Could not write edge 1 65535",
      "Could not write edge 7 7",
      "Could not write edge 7 300",
  };
  // Fail at the start of every line, and in the middle of every edge line,
  // where the differential columns are written separately.
  std::size_t lineStart = 0;
  for (const char* reason : lineReasons) {
    std::size_t lineEnd = full.find('\n', lineStart);
    ASSERT_NE(lineEnd, std::string::npos);
    std::vector<std::size_t> limits = {lineStart};
    if (std::string(reason).find("edge ") != std::string::npos) {
      limits.push_back(lineStart + 20);
      limits.push_back(lineEnd);
    }
    for (std::size_t limit : limits) {
      SCOPED_TRACE(testing::Message() << reason << " at byte " << limit);
      FailingSink sink{limit};
      FILE* stream = fopencookie(&sink, "w", {nullptr, sinkWrite, nullptr, nullptr});
      ASSERT_NE(stream, nullptr);
      setvbuf(stream, nullptr, _IONBF, 0);
      EXPECT_FALSE(g.writeToFile(stream));
      // A later failed step would have left its own reason.
      EXPECT_STREQ(g.errReason(), reason);
      EXPECT_GE(sink.failedWrites, 1);
      std::fclose(stream);
    }
    lineStart = lineEnd + 1;
  }
  EXPECT_EQ(lineStart, full.size());
}

TEST(GraphFileWriterTest, UnwritableStreams) {
  ASGraph g;
  g.addNode(1, 1);
  FILE* readOnly = std::fopen("/dev/null", "r");
  ASSERT_NE(readOnly, nullptr);
  EXPECT_FALSE(g.writeToFile(readOnly));
  EXPECT_STREQ(g.errReason(), "Could not write file type string");
  std::fclose(readOnly);

  // A full device: unbuffered, the first write fails; buffered, the failure
  // shows when the full buffer is flushed, here somewhere in the node lines.
  for (unsigned short as = 2; as <= 3000; ++as) {
    g.addNode(as, as);
  }
  FILE* full = std::fopen("/dev/full", "w");
  ASSERT_NE(full, nullptr);
  setvbuf(full, nullptr, _IONBF, 0);
  EXPECT_FALSE(g.writeToFile(full));
  EXPECT_STREQ(g.errReason(), "Could not write file type string");
  std::fclose(full);

  full = std::fopen("/dev/full", "w");
  ASSERT_NE(full, nullptr);
  EXPECT_FALSE(g.writeToFile(full));
  EXPECT_EQ(std::string(g.errReason()).rfind("Could not write node ", 0), 0u) << g.errReason();
  std::fclose(full);
}

// The edge line as the column table describes it, column by column, each value printed the
// plain way: the model the writer's own number and stability formatting is held to.
std::string lineFromColumnTable(unsigned short first, unsigned short second, edge_dir dir,
                                const ASEdgeWeight& forward, const ASEdgeWeight& backward,
                                bool differential) {
  const WrittenEdgeLine line{first, second, dir, &forward, &backward};
  std::string text;
  const int columns = differential ? kDifferentialEdgeColumns : kPlainEdgeColumns;
  for (int i = 0; i < columns; ++i) {
    const ColumnValue value = kEdgeColumns[i].load(line);
    text += i > 0 ? " " : "";
    switch (kEdgeColumns[i].conversion) {
      case ColumnConversion::kDirection:
        text += value.direction == dir_backward ? "-1" : value.direction == dir_forward ? "1" : "0";
        break;
      case ColumnConversion::kStability: {
        char printed[64];
        std::snprintf(printed, sizeof printed, "%f", static_cast<double>(value.real));
        text += printed;
        break;
      }
      default:
        text += std::to_string(value.number);
    }
  }
  return text + "\n";
}

TEST(GraphFileWriterTest, EdgeLinesFollowTheColumnTable) {
  std::mt19937_64 rng(5);
  // Runs of equal stabilities and changes between them, zeros of both signs and values that print
  // the longest text.
  const float stabilities[] = {0.0f,
                               -0.0f,
                               1.5f,
                               1.0f / 3.0f,
                               -2.25f,
                               std::numeric_limits<float>::max(),
                               -std::numeric_limits<float>::max(),
                               std::numeric_limits<float>::denorm_min(),
                               std::numeric_limits<float>::infinity(),
                               -std::numeric_limits<float>::infinity(),
                               std::numeric_limits<float>::quiet_NaN()};
  const edge_dir directions[] = {dir_none, dir_backward, dir_forward, static_cast<edge_dir>(7)};
  auto number = [&rng](std::uint64_t largest) {
    switch (rng() % 3) {
      case 0:
        return largest;
      case 1:
        return std::uint64_t{0};
      default:
        return rng() % (largest + (largest < ~std::uint64_t{0} ? 1 : 0));
    }
  };
  for (bool differential : {false, true}) {
    char* written = nullptr;
    std::size_t size = 0;
    FILE* stream = open_memstream(&written, &size);
    ASSERT_NE(stream, nullptr);
    GraphFileWriter writer(stream);
    ASSERT_TRUE(writer.writeHeader(differential, List<char*>(), "", 0, 0));
    std::fflush(stream);
    std::size_t lineStart = size;
    for (int i = 0; i < 3000; ++i) {
      ASEdgeWeight f, r;
      for (ASEdgeWeight* w : {&f, &r}) {
        for (int j = 0; j < 2; ++j) {
          w->pathCovering[j] = static_cast<std::uint32_t>(number(0xffffffffu));
          w->ipCovering[j] = number(~std::uint64_t{0});
          w->srcOriented[j] = rng() % 2 == 0;
          w->srcDirection[j] = directions[rng() % 4];
        }
        w->oriented = rng() % 2 == 0;
        w->comparedGraphs = static_cast<std::uint16_t>(number(65535));
        w->incomingEdges = static_cast<std::uint16_t>(number(65535));
        w->outgoingEdges = static_cast<std::uint16_t>(number(65535));
        w->undirectedEdges = static_cast<std::uint16_t>(number(65535));
        w->unorientedEdges = static_cast<std::uint16_t>(number(65535));
        w->orientationChanges = static_cast<std::uint16_t>(number(65535));
        w->orientationStability = stabilities[(i / 3) % 11 == 10 ? rng() % 11 : (i / 3) % 11];
      }
      const auto first = static_cast<unsigned short>(number(65535));
      const auto second = static_cast<unsigned short>(number(65535));
      const edge_dir dir = directions[rng() % 4];
      ASSERT_TRUE(writer.writeEdge(first, second, dir, f, r));
      std::fflush(stream);
      const std::string line(written + lineStart, size - lineStart);
      lineStart = size;
      ASSERT_LE(line.size(), GraphFileWriter::kMaxEdgeLineLength);
      ASSERT_EQ(line, lineFromColumnTable(first, second, dir, f, r, differential)) << "line " << i;
    }
    std::fclose(stream);
    std::free(written);
  }
}

}  // namespace
