#include "engine/edge_conditions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/condition_letters.h"
#include "tests/engine/test_graphs.h"

namespace {

// An unoriented edge still carries whatever direction its file gave it.
constexpr EdgeState kUnorientedForward{false, dir_forward};
constexpr EdgeState kUnorientedBackward{false, dir_backward};

const EdgeState kAllStates[] = {kUnoriented, kUnorientedForward, kUnorientedBackward,
                                kPeering,    kForward,           kBackward};

std::string name(EdgeState s) {
  std::string text = s.oriented ? "oriented" : "unoriented";
  return text + "/" + std::to_string(static_cast<int>(s.dir));
}

// Evaluates an --over: formula on the adjacency 1-2 in the states given for each graph.
bool over(EdgeState state1, EdgeState state2, const std::string& text,
          ASEdgeWeight record1 = ASEdgeWeight(), ASEdgeWeight record2 = ASEdgeWeight()) {
  ASGraph graph1, graph2, built;
  addAdjacency(graph1, 1, 2, state1, record1);
  addAdjacency(graph2, 1, 2, state2, record2);
  EdgeViewPtr e1 = viewOf(graph1, 1, 2);
  EdgeViewPtr e2 = viewOf(graph2, 1, 2);
  List<int> items = formula(text, overLetterBit);
  return isDiffGraphEdge(e1.get(), e2.get(), built, items);
}

bool comp(EdgeState state, bool first, const std::string& text) {
  ASGraph graph, built;
  addAdjacency(graph, 1, 2, state);
  EdgeViewPtr e = viewOf(graph, 1, 2);
  List<int> items = formula(text, compLetterBit);
  return isCmpGraphEdge(e.get(), built, items, first);
}

TEST(EngineConditionsTest, OverLetters) {
  struct Row {
    EdgeState state1, state2;
    const char* formula;
    bool expected;
  };
  const Row rows[] = {
      {kPeering, kPeering, "x", false},  // reverse(dir_none) is dir_none, but e1 has no direction
      {kForward, kBackward, "x", true},
      {kBackward, kForward, "x", true},
      {kForward, kForward, "x", false},
      {kPeering, kForward, "x", false},
      {kUnorientedForward, kBackward, "x", false},
      {kForward, kUnorientedBackward, "x", false},
      {kPeering, kPeering, "y", false},
      {kPeering, kForward, "y", true},
      {kBackward, kPeering, "y", true},
      {kForward, kBackward, "y", true},
      {kBackward, kBackward, "y", false},
      {kUnoriented, kForward, "y", false},
      {kUnorientedForward, kPeering, "y", false},
      {kPeering, kUnoriented, "p", true},
      {kUnoriented, kPeering, "p", false},
      {kUnoriented, kPeering, "P", true},
      {kPeering, kForward, "P", false},
      {kForward, kPeering, "d", true},
      {kUnorientedForward, kPeering, "d", false},
      {kPeering, kBackward, "D", true},
      {kPeering, kUnorientedBackward, "D", false},
      {kUnorientedForward, kPeering, "u", true},
      {kPeering, kUnoriented, "u", false},
      {kPeering, kUnorientedBackward, "U", true},
      {kUnoriented, kForward, "U", false},
      {kPeering, kUnoriented, "o", true},
      {kUnorientedForward, kForward, "o", false},
      {kUnoriented, kBackward, "O", true},
      {kForward, kUnoriented, "O", false},
      {kPeering, kPeering, "pP", true},
      {kPeering, kForward, "pP", false},
      {kForward, kPeering, "pP", false},
      {kPeering, kForward, "p,P", true},
      {kForward, kPeering, "p,P", true},
      {kForward, kForward, "p,P", false},
      {kPeering, kPeering, "pP,x", true},
      {kForward, kBackward, "pP,x", true},
      {kForward, kForward, "pP,x", false},
      {kForward, kForward, "dD", true},
      {kForward, kForward, "dDy", false},
      {kForward, kForward, "aaa", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(name(row.state1) + " vs " + name(row.state2) + " --over:" + row.formula);
    EXPECT_EQ(over(row.state1, row.state2, row.formula), row.expected);
  }
}

TEST(EngineConditionsTest, OverFormulasOnEveryStatePair) {
  for (EdgeState s1 : kAllStates) {
    for (EdgeState s2 : kAllStates) {
      SCOPED_TRACE(name(s1) + " vs " + name(s2));
      EXPECT_TRUE(over(s1, s2, "a"));
      EXPECT_FALSE(over(s1, s2, "uo"));
      EXPECT_FALSE(over(s1, s2, "UO"));
      if (over(s1, s2, "x")) {
        EXPECT_TRUE(over(s1, s2, "y"));
      }
      // Exactly one class per graph.
      EXPECT_TRUE(over(s1, s2, "u,p,d"));
      EXPECT_FALSE(over(s1, s2, "up,ud,pd"));
      EXPECT_TRUE(over(s1, s2, "U,P,D"));
    }
  }
}

TEST(EngineConditionsTest, WeightLetterLooksOnlyAtCovering) {
  ASEdgeWeight base;
  base.pathCovering[0] = 5;
  base.pathCovering[1] = 6;
  base.ipCovering[0] = 7;
  base.ipCovering[1] = 8;

  ASEdgeWeight otherFields = base;
  otherFields.comparedGraphs = 9;
  otherFields.srcDirection[1] = dir_forward;
  otherFields.orientationStability = 2.5f;
  EXPECT_FALSE(over(kPeering, kForward, "w", base, otherFields));

  struct Row {
    const char* label;
    void (*change)(ASEdgeWeight&);
  };
  const Row rows[] = {
      {"pathCovering[0]", [](ASEdgeWeight& w) { w.pathCovering[0] = 50; }},
      {"pathCovering[1]", [](ASEdgeWeight& w) { w.pathCovering[1] = 60; }},
      {"ipCovering[0]", [](ASEdgeWeight& w) { w.ipCovering[0] = 1ull << 40; }},
      {"ipCovering[1]", [](ASEdgeWeight& w) { w.ipCovering[1] = 0; }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    ASEdgeWeight changed = base;
    row.change(changed);
    EXPECT_TRUE(over(kPeering, kPeering, "w", base, changed));
    EXPECT_TRUE(over(kPeering, kPeering, "w", changed, base));
    EXPECT_FALSE(over(kPeering, kPeering, "wu", changed, base));
  }
}

TEST(EngineConditionsTest, CompLetters) {
  struct Row {
    EdgeState state;
    bool first;
    const char* formula;
    bool expected;
  };
  const Row rows[] = {
      {kPeering, true, "a", true},           {kPeering, false, "a", false},
      {kPeering, false, "A", true},          {kPeering, true, "A", false},
      {kUnorientedForward, true, "u", true}, {kUnoriented, false, "u", false},
      {kUnoriented, false, "U", true},       {kPeering, true, "p", true},
      {kForward, true, "p", false},          {kPeering, false, "P", true},
      {kBackward, true, "d", true},          {kUnorientedBackward, true, "d", false},
      {kForward, false, "D", true},          {kForward, true, "D", false},
      {kPeering, true, "o", true},           {kUnoriented, true, "o", false},
      {kBackward, false, "O", true},         {kUnorientedForward, false, "O", false},
      {kForward, true, "d,D", true},         {kForward, false, "d,D", true},
      {kPeering, false, "d,D", false},       {kForward, true, "dA", false},
      {kForward, false, "dA", false},        {kForward, true, "aA,D", false},
      {kForward, false, "aA,D", true},       {kPeering, true, "po", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(name(row.state) + (row.first ? " first" : " second") + " --comp:" + row.formula);
    EXPECT_EQ(comp(row.state, row.first, row.formula), row.expected);
  }
  for (EdgeState state : kAllStates) {
    for (bool first : {true, false}) {
      SCOPED_TRACE(name(state) + (first ? " first" : " second"));
      EXPECT_FALSE(comp(state, first, "aA"));
      EXPECT_TRUE(comp(state, first, "a,A"));
    }
  }
}

TEST(EngineConditionsTest, EmptyFormulaAndStrayBits) {
  ASGraph graph, built;
  addAdjacency(graph, 1, 2, kForward);
  EdgeViewPtr e = viewOf(graph, 1, 2);

  List<int> none;
  EXPECT_FALSE(isCmpGraphEdge(e.get(), built, none, true));
  EXPECT_FALSE(isDiffGraphEdge(e.get(), e.get(), built, none));

  // Bits that name no letter of the option's table test nothing.
  List<int> stray;
  stray.enqueue(0x800);
  EXPECT_TRUE(isCmpGraphEdge(e.get(), built, stray, false));
  List<int> strayWithLetter;
  strayWithLetter.enqueue(0x1000 | kOverPeering1st);
  EXPECT_FALSE(isDiffGraphEdge(e.get(), e.get(), built, strayWithLetter));
  strayWithLetter.enqueue(0x1000 | kOverDirected2nd);
  EXPECT_TRUE(isDiffGraphEdge(e.get(), e.get(), built, strayWithLetter));

  // The items themselves stay as they were.
  strayWithLetter.goToFirst();
  EXPECT_EQ(strayWithLetter.current(), 0x1000 | kOverPeering1st);
  EXPECT_EQ(strayWithLetter.len(), 2u);
  EXPECT_EQ(built.nodes(), 0u);
}

}  // namespace
