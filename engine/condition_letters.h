#ifndef ENGINE_CONDITION_LETTERS_H_
#define ENGINE_CONDITION_LETTERS_H_

// Bits of the condition letters of --over: and --comp:. One item of a condition formula is the
// bitwise OR of the bits of its letters; the two options have separate letter tables, so the same
// letter has different bits in each. "1st" and "2nd" name the first and the second input graph.

// --over: letters (edges found in both graphs).
constexpr int kOverOriented1st = 0x001;            // o: oriented in the first graph
constexpr int kOverOriented2nd = 0x002;            // O: oriented in the second graph
constexpr int kOverOppositeDirections = 0x004;     // x: directed in both, opposite directions
constexpr int kOverDifferentOrientations = 0x008;  // y: oriented in both, orientations differ
constexpr int kOverPeering1st = 0x010;             // p: peering in the first graph
constexpr int kOverPeering2nd = 0x020;             // P: peering in the second graph
constexpr int kOverDirected1st = 0x040;            // d: directed in the first graph
constexpr int kOverDirected2nd = 0x080;            // D: directed in the second graph
constexpr int kOverUnoriented1st = 0x100;          // u: unoriented in the first graph
constexpr int kOverUnoriented2nd = 0x200;          // U: unoriented in the second graph
constexpr int kOverWeightDiffers = 0x400;          // w: weight differs between the graphs
constexpr int kOverAnyway = 0x800;                 // a: every common edge

// --comp: letters (edges found in one graph only).
constexpr int kCompUnoriented1st = 0x001;  // u: unoriented edge of the first graph
constexpr int kCompPeering1st = 0x002;     // p: peering edge of the first graph
constexpr int kCompDirected1st = 0x004;    // d: directed edge of the first graph
constexpr int kCompOriented1st = 0x008;    // o: oriented edge of the first graph
constexpr int kCompOnlyIn1st = 0x010;      // a: any edge only in the first graph
constexpr int kCompUnoriented2nd = 0x020;  // U: unoriented edge of the second graph
constexpr int kCompPeering2nd = 0x040;     // P: peering edge of the second graph
constexpr int kCompDirected2nd = 0x080;    // D: directed edge of the second graph
constexpr int kCompOriented2nd = 0x100;    // O: oriented edge of the second graph
constexpr int kCompOnlyIn2nd = 0x200;      // A: any edge only in the second graph

// The bit of an --over: letter, or 0 when the character is not one (letters are case-sensitive).
constexpr int overLetterBit(char letter) {
  switch (letter) {
    case 'o':
      return kOverOriented1st;
    case 'O':
      return kOverOriented2nd;
    case 'x':
      return kOverOppositeDirections;
    case 'y':
      return kOverDifferentOrientations;
    case 'p':
      return kOverPeering1st;
    case 'P':
      return kOverPeering2nd;
    case 'd':
      return kOverDirected1st;
    case 'D':
      return kOverDirected2nd;
    case 'u':
      return kOverUnoriented1st;
    case 'U':
      return kOverUnoriented2nd;
    case 'w':
      return kOverWeightDiffers;
    case 'a':
      return kOverAnyway;
    default:
      return 0;
  }
}

// The bit of a --comp: letter, or 0 when the character is not one (letters are case-sensitive).
constexpr int compLetterBit(char letter) {
  switch (letter) {
    case 'u':
      return kCompUnoriented1st;
    case 'p':
      return kCompPeering1st;
    case 'd':
      return kCompDirected1st;
    case 'o':
      return kCompOriented1st;
    case 'a':
      return kCompOnlyIn1st;
    case 'U':
      return kCompUnoriented2nd;
    case 'P':
      return kCompPeering2nd;
    case 'D':
      return kCompDirected2nd;
    case 'O':
      return kCompOriented2nd;
    case 'A':
      return kCompOnlyIn2nd;
    default:
      return 0;
  }
}

#endif  // ENGINE_CONDITION_LETTERS_H_
