// Regular trusses: the bridges a person draws first on a level, before
// any search. Each is a deck chord from one end anchor to the other cut
// into equal panels, a second chord a fixed depth above or below it (or
// both), and the web of one textbook pattern, built by the editor's own
// joint and beam functions on the level's anchors. Trying them all in cost
// order with the level's train gives the cheapest one that holds, a
// measure of how hard the level is for someone who does not search.
#pragma once

#include "authoring/proof.h"
#include "authoring/verifyrun.h"

enum : int {
  TRUSS_WARREN = 0,           // zigzag, the second chord's joints above mid-panel
  TRUSS_WARRENVERTICALS = 1,  // the same with a vertical under each of them to a deck joint
  TRUSS_PRATT = 2,            // verticals, diagonals falling towards mid-span, inclined end posts
  TRUSS_HOWE = 3,             // verticals, diagonals rising towards mid-span, inclined end posts
  TRUSS_PRATTSQUARE = 4,      // Pratt with the second chord over the end anchors and end verticals
  TRUSS_HOWESQUARE = 5,
  TRUSS_WARRENDOUBLE = 6,     // a Warren on a Warren, each half the depth: deeper than a beam is long
  NUMTRUSSKINDS = 7,
};

enum : int { TRUSS_ABOVE = 1, TRUSS_BELOW = 2, TRUSS_BOTH = 3 };  // where the second chord is

// What a member of a built truss is, by beam index, for saying where it broke.
enum : int { MEMBER_DECK = 0, MEMBER_CHORD = 1, MEMBER_DIAGONAL = 2, MEMBER_VERTICAL = 3, MEMBER_POST = 4 };

struct trussinfo {
  int kind;    // TRUSS_*
  int side;    // TRUSS_ABOVE, _BELOW or _BOTH
  int panels;  // equal panels from the left end anchor to the right one
  float depth; // between the deck chord and the outer chord, vertically
};

struct regularinfo {
  trussinfo truss;
  int cost;                           // as built, BEAMCOST a beam
  int tested;                         // 0: dearer than the cheapest that held, never run
  verdictinfo verdict;                // at the level's own train second
  int proved;                         // -1 not asked, 0 failed, 1 held
  verdictinfo proof[PROOFSECONDS];
};

constexpr int MAXREGULAR = 4096;

// The last list made, in cost order (ties in the order of making), and the
// one that holds (-1: none).
extern regularinfo regular[MAXREGULAR];
extern int numofregular;
extern int regularbest;

const char *trusskindname(int kind);  // "warren", "warren-verticals", "pratt", ...
const char *trusssidename(int side);  // "above", "below", "both"
const char *membername(int member);   // "deck", "chord", "diagonal", "vertical", "post"

// The anchors at the deck's two ends (x of the level's ends, the nearest
// to the deck height of those there). Returns 0 when an end has none.
int findendanchors(const bridgetables *bare, vector2d *left, vector2d *right);

// The truss built on the bare level in the live tables, beams of a deck
// already chosen; members[b] says what beam b is when not null. Returns 0
// when the level has no room for it: a joint off the grid, in the ground or
// below the water, a beam too long or through the ground; the live tables
// then hold a partial truss.
int buildregulartruss(const bridgetables *bare, const trussinfo *truss, unsigned char *members);

// Every regular truss the level has room for, each different bridge once,
// into `regular` in cost order. Returns how many.
int listregulartrusses(const bridgetables *bare);

// Tests the list cost level by cost level, cheapest first, each truss once
// at the level's own train second for `seconds` of test time; those of the
// first cost level where any passes intact (any pass with `allowbreaks`)
// are then proved at every train second, in list order, and the first that
// holds ends the search (those after it stay unproved) (`allowbreaks`: the first that passed, unproved). The results
// depend only on the level, never on the worker count. Returns 0 when a
// worker failed.
int testregulartrusses(const bridgetables *bare, int seconds, int workers, int allowbreaks);
