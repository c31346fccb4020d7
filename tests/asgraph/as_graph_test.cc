#include "asgraph/as_graph.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string nameAt(List<char*> names, int index) {
  names.goToFirst();
  for (int i = 0; i < index; ++i) {
    names.next();
  }
  return names.current();
}

TEST(ASGraphTest, NewGraphIsEmpty) {
  ASGraph g;
  EXPECT_STREQ(g.errReason(), "");
  EXPECT_STREQ(g.getComment(), "");
  EXPECT_FALSE(g.isDifferential());
  EXPECT_EQ(g.getSourceFiles().len(), 0u);
  EXPECT_EQ(g.nodes(), 0u);
  EXPECT_EQ(g.edges(), 0u);
}

TEST(ASGraphTest, CommentKeepsItsFirst512Characters) {
  ASGraph g;
  std::string text = std::string(512, 'a') + std::string(88, 'b');
  g.setComment(text.c_str());
  EXPECT_EQ(std::string(g.getComment()), std::string(512, 'a'));
}

TEST(ASGraphTest, SetSourceFilesAppendsOrReplaces) {
  char a[] = "a.zng";
  char b[] = "b.zng";
  List<char*> names;
  names.enqueue(a);
  names.enqueue(b);
  struct Case {
    bool replace;
    std::uint64_t expected;
  };
  for (Case c : {Case{false, 4}, Case{true, 2}}) {
    SCOPED_TRACE(c.replace);
    ASGraph g;
    g.setSourceFiles(names, false);
    g.setSourceFiles(names, c.replace);
    EXPECT_EQ(g.getSourceFiles().len(), c.expected);
    EXPECT_EQ(nameAt(g.getSourceFiles(), 0), "a.zng");
    EXPECT_EQ(nameAt(g.getSourceFiles(), 1), "b.zng");
    // The graph holds copies; the caller's cursor ends on its last name.
    EXPECT_NE(g.getSourceFiles().first(), a);
    EXPECT_EQ(names.current(), b);
  }
}

TEST(ASGraphTest, AssignedGraphOwnsItsOwnNames) {
  char a[] = "first";
  List<char*> names;
  names.enqueue(a);
  ASGraph target;
  {
    ASGraph source;
    source.setSourceFiles(names, false);
    source.setComment("note");
    source.isDifferential() = true;
    source.addNode(1, 1);
    target = source;
  }
  EXPECT_EQ(nameAt(target.getSourceFiles(), 0), "first");
  EXPECT_STREQ(target.getComment(), "note");
  EXPECT_TRUE(target.isDifferential());
  EXPECT_EQ(target.nodes(), 1u);
  ASGraph copy(target);
  target = ASGraph();
  EXPECT_EQ(target.getSourceFiles().len(), 0u);
  EXPECT_EQ(nameAt(copy.getSourceFiles(), 0), "first");
}

TEST(ASGraphTest, DirectionValues) {
  ASGraph g;
  for (int v : {-1, 0, 1}) {
    SCOPED_TRACE(v);
    EXPECT_EQ(g.dirToVal(g.valToDir(v)), v);
  }
  EXPECT_EQ(g.valToDir(-1), dir_backward);
  EXPECT_EQ(g.valToDir(1), dir_forward);
  EXPECT_EQ(g.valToDir(5), dir_none);
  EXPECT_EQ(g.valToDir(-2), dir_none);
  EXPECT_EQ(g.dirToVal(static_cast<edge_dir>(3)), 0);
  EXPECT_EQ(g.dirToVal(static_cast<edge_dir>(255)), 0);
}

}  // namespace
