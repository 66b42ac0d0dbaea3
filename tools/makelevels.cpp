// Writes the shipped map packs and, beside the tests, a proven reference
// bridge for every level. Levels are described here rather than painted in
// the level editor so that their design can be reviewed and changed as
// source: each entry gives the crossing's shape, the bridge that solves it
// and the budget. Budgets follow the campaign's curve, set against the
// cheapest regular truss and the cheapest bridge a search found (both kept
// with the tests, tests/levels/CAMPAIGN.md): generous where the first pack
// teaches, tight where the last one tests experts.
//
//   makelevels <level directory> <reference directory>
//
// writes <level directory>/<pack>/<name>.qzl (terrain and anchors only) with
// its hint <name>.txt beside it, <reference directory>/<pack>/<name>.qzb (the
// same level plus the bridge) and <reference directory>/<pack>/regular/
// <name>.qzb, the level's cheapest regular truss that holds.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "authoring/regular.h"
#include "world/hint.h"
#include "world/level.h"
#include "world/levelfile.h"

constexpr float MAXBEAM = MAXBEAMLENGTH;  // longest beam the editor lets a player draw
constexpr int MAXSUPPORTS = 6;
constexpr size_t MAXNAMEBOX = 12; // the editor's File box shows and saves this many

// One crossing. Heights are absolute world y; the gap is centred on x = 1024,
// where the editor camera opens. Every x given here lies on the 2-unit grid
// the editor snaps to, so a player can rebuild each reference exactly.
struct supportplan {
  float x, y;   // anchor on a pier top
};

struct levelplan {
  const char *pack;
  const char *name;
  int span;           // rightend - leftend
  float deck;         // deck height; ground beyond both ends lies level with it
  float floor;        // valley floor
  float water;        // water surface; below floor for a dry gap
  int wall;           // horizontal run of each valley wall
  float ledge;        // >0: both walls have a ledge this far below the deck
  int trainstart;     // 0 left, 1 right, 2 both ways
  int manualdeck;
  int weight;
  int numofsupports;  // anchors on piers in the gap
  supportplan support[MAXSUPPORTS];
  // The reference bridge, a lattice truss (see addlattice).
  int panel;
  float rise;
  int below, above;
  int budget;         // 0 while a level is designed: four fifths used
  const char *drop;   // beams of the full truss left out, see leaveout
  int climb;          // the far bank lies this much higher than the near one
  int through;        // 1: the reference runs on over the piers as one truss
};

// Columns: pack, name, span, deck, floor, water, wall, ledge, trainstart,
// manualdeck, weight, supports, then the reference's panel, rise, rows below
// and above the deck, the budget, the reference's beams left out and how
// much higher the right bank is, and (where given) whether the reference runs
// on over its piers. Within a pack no two levels share their
// anchors, and levels whose ends lie the same distance apart differ in what
// holds the road (ledges, piers, room below it) or in the train, so that
// the answer to one level is never the answer to another.
static levelplan plan[] = {
  // Map pack 1: one new idea per level, taught by the shape of the gap; the
// first regular truss a player draws fits every budget.
  {"1 Riverside", "01 Ditch", 32, 64, 52, 0, 4, 0, 0, 0, 40000, 0, {}, 16, 16, 0, 1, 700, "", 0, 0},
  {"1 Riverside", "02 Gully", 48, 64, 40, 0, 8, 0, 0, 0, 40000, 0, {}, 16, 16, 1, 0, 1000, "5 6 9 10", 0, 0},
  {"1 Riverside", "03 Brook", 64, 64, 36, 48, 8, 0, 0, 0, 40000, 0, {}, 16, 16, 1, 0, 1500, "", 0, 0},
  {"1 Riverside", "04 Ledges", 80, 64, 24, 36, 4, 12, 0, 0, 40000, 0, {}, 16, 10, 1, 0, 3300, "5 6 10 13 14 21", 0, 0},
  {"1 Riverside", "05 Freight", 64, 80, 40, 52, 8, 0, 0, 0, 80000, 0, {}, 16, 16, 2, 0, 2600, "6 9", 0, 0},
  {"1 Riverside", "06 Stepping", 96, 64, 28, 44, 8, 0, 0, 0, 40000, 1, {{1024, 50}}, 16, 12, 1, 0, 2200, "5 6 16 17", 0, 0},
  {"1 Riverside", "07 Two Ways", 72, 56, 24, 36, 8, 0, 2, 0, 40000, 0, {}, 12, 16, 1, 0, 2300, "", 0, 0},
  {"1 Riverside", "08 Low Road", 60, 64, 56, 58, 4, 0, 0, 0, 40000, 0, {}, 12, 14, 0, 1, 1800, "4", 0, 0},
  {"1 Riverside", "09 Handmade", 96, 72, 30, 46, 8, 0, 0, 1, 40000, 0, {}, 16, 16, 2, 0, 4000, "7 10 12 14 18", 0, 0},
  {"1 Riverside", "10 Estuary", 128, 64, 20, 52, 8, 0, 2, 0, 40000, 1, {{1024, 52}}, 16, 14, 1, 0, 3200, "30 31", 0, 0},
  {"1 Riverside", "11 Gorge", 84, 96, 16, 30, 12, 0, 0, 0, 40000, 0, {}, 12, 16, 2, 0, 4500, "6 8 11 15 17 21 24", 0, 0},
  {"1 Riverside", "12 Westbound", 112, 72, 24, 46, 8, 0, 1, 0, 40000, 0, {}, 16, 16, 2, 0, 4700, "9 13 14 18 25", 0, 0},
  // Map pack 2: the same ideas combined, with wider gaps and less money; in
  // its first half a regular truss still fits, in the second it does not.
  {"2 Highlands", "01 By Hand", 80, 64, 24, 44, 8, 0, 1, 1, 40000, 0, {}, 16, 16, 2, 0, 2400, "6 9 10 13 15 18", 0, 0},
  {"2 Highlands", "02 Ore Train", 80, 64, 24, 40, 8, 0, 0, 0, 80000, 0, {}, 16, 16, 2, 1, 3700, "6 7 9 10 11 12 15", 0, 0},
  {"2 Highlands", "03 Hairpin", 128, 96, 40, 56, 8, 0, 2, 0, 50000, 1, {{1024, 84}}, 16, 10, 2, 0, 4400, "6 9 14 29 30", 0, 0},
  {"2 Highlands", "04 Heavy Two", 96, 80, 24, 48, 8, 0, 2, 0, 60000, 0, {}, 16, 16, 2, 0, 3700, "8 13 20 21", 0, 0},
  {"2 Highlands", "05 Flood", 112, 64, 54, 60, 4, 0, 0, 0, 40000, 0, {}, 16, 16, 0, 2, 4400, "9 13 14 22", 0, 0},
  {"2 Highlands", "06 Viaduct", 192, 80, 16, 36, 8, 0, 2, 0, 40000, 3, {{976, 66}, {1024, 66}, {1072, 66}}, 16, 14, 1, 0, 5900, "5 6 16 17 20 21 27 28 31 32 38 39", 0, 0},
  {"2 Highlands", "07 Overhang", 96, 96, 32, 48, 4, 16, 1, 0, 40000, 0, {}, 16, 14, 1, 0, 3000, "18 22", 0, 0},
  {"2 Highlands", "08 Chasm", 96, 128, 40, 0, 12, 0, 0, 0, 40000, 0, {}, 16, 16, 2, 0, 3200, "9 11 23 24 31 32 33 36", 0, 0},
  {"2 Highlands", "09 Two Piers", 144, 72, 16, 40, 8, 0, 0, 0, 40000, 2, {{976, 58}, {1072, 58}}, 16, 14, 1, 0, 3900, "2 3 6 25 29 32 33", 0, 0},
  {"2 Highlands", "10 Canyon", 128, 128, 24, 40, 12, 16, 0, 0, 40000, 0, {}, 16, 14, 2, 0, 4900, "14 24 29 31 34 37 38 39 40 41 42 44", 0, 0},
  {"2 Highlands", "11 Lowlands", 128, 64, 20, 62, 8, 0, 1, 0, 50000, 0, {}, 16, 16, 2, 2, 6000, "9 10 12 13 14 15 16 17 18 19 21 22 25 26 27 28 29 33 34 35 36 37 38 39 40 41 42 56 59 74 75 76 77 84 85 86 87 88 89 92 93", 0, 0},
  {"2 Highlands", "12 Summit", 160, 128, 24, 48, 12, 16, 2, 1, 50000, 1, {{1024, 114}}, 16, 10, 2, 0, 6400, "5 9 10 12 16 37 39 40 44 45", 0, 0},
  // Map pack 3: crossings the first two packs never asked for.
  {"3 Frontier", "01 Far Shore", 80, 48, 20, 44, 8, 0, 1, 0, 40000, 0, {}, 16, 16, 1, 0, 2000, "", 0, 0},
  {"3 Frontier", "02 Low Piers", 128, 64, 16, 30, 8, 0, 0, 0, 40000, 2, {{992, 36}, {1056, 36}}, 16, 14, 2, 0, 2700, "8 9 14 15 22 23 24 26 27 30 31 32 35 36 37 38 39 40 43 44 45 46 47 48 49 50", 0, 0},
  {"3 Frontier", "03 Ballast", 80, 72, 24, 40, 8, 0, 2, 0, 70000, 0, {}, 16, 16, 2, 0, 2900, "7 9", 0, 0},
  {"3 Frontier", "04 Shelf", 112, 80, 24, 40, 4, 28, 0, 0, 40000, 0, {}, 16, 14, 2, 0, 4100, "7 11 12 14 22 23 24 26 30 31", 0, 0},
  {"3 Frontier", "05 Uphill", 112, 64, 28, 44, 8, 0, 0, 1, 40000, 0, {}, 16, 14, 2, 0, 3700, "9 29 30 31 32 33 34 35 36", 16, 0},
  {"3 Frontier", "06 Ore West", 96, 56, 20, 36, 8, 0, 1, 0, 80000, 0, {}, 16, 16, 2, 1, 4200, "9 12 13 15 16 20 21 22 23 24 27 28 29 33 42", 0, 0},
  {"3 Frontier", "07 Shallows", 160, 64, 56, 60, 4, 0, 0, 0, 40000, 1, {{1024, 58}}, 16, 16, 0, 2, 6100, "6 9 10 36 38 41", 0, 0},
  {"3 Frontier", "08 Two Rocks", 192, 96, 24, 48, 8, 16, 1, 0, 50000, 2, {{992, 80}, {1056, 80}}, 16, 14, 2, 1, 5200, "6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 31 38 39 40 41 42 43 44 45 46 47 48 49 50 51 52 53 54 55 56 72 73 74 75 76 80 81 83 84 85 86 88 89 90 97 98 101 103 106 107 109 110", 0, 0},
  {"3 Frontier", "09 High Wire", 128, 160, 16, 0, 24, 0, 0, 0, 40000, 0, {}, 16, 16, 2, 1, 5700, "9 10 12 13 16 17 18 19 25 26 33 34 35 36 39 63 64 65 66 72 73", 0, 0},
  {"3 Frontier", "10 Crossing", 160, 80, 20, 44, 8, 0, 2, 0, 60000, 1, {{1024, 52}}, 16, 14, 2, 1, 5800, "10 11 12 13 14 15 17 22 23 24 25 27 28 30 31 32 35 36 37 39 40 41 42 43 44 50 51 52 53 54 57 58 59 73 74 75 76 88 89 90", 0, 0},
  {"3 Frontier", "11 Abyss", 144, 144, 24, 40, 12, 20, 0, 0, 40000, 0, {}, 16, 14, 2, 1, 6400, "13 15 16 17 18 30 31 33 41 42 43 44 58 59 60 61 70 71 72 73 74 75 76 77 81 82 83", 0, 0},
  {"3 Frontier", "12 Stilts", 224, 64, 16, 36, 8, 0, 0, 0, 40000, 3, {{960, 56}, {1024, 56}, {1088, 56}}, 16, 8, 0, 1, 6000, "19 20 27 28 35 36 43 51", 0, 1},
};
constexpr int NUMOFPLANS = (int)(sizeof(plan) / sizeof(plan[0]));

// Each level's hint in three steps (see world/hint.h). The first two are
// the author's words: what the level asks and one idea, then where the
// forces go and what shape helps. They name no figure of the level as a
// number, only as a placeholder the game fills, so reshaping a level never
// leaves its hint wrong. The third names a bridge that works, written here
// from the level's cheapest regular truss that holds: the table records
// which one it is (spanwright-verify --regular found it), this program
// builds it with the same code and writes it beside the reference, so the
// level tests prove exactly the truss the hint describes, and its cost
// against the budget is computed, not typed. Where no regular truss holds,
// the third step describes the reference instead.
struct hintplan {
  const char *name;  // the level, in the order of plan[]
  int kind;          // TRUSS_*; -1: no regular truss holds this level
  int side;
  int panels;
  int depth;
  const char *step1;
  const char *step2;
  const char *save;  // where the truss is over the budget: what to save on, one line
};

static const hintplan hints[] = {
  {"01 Ditch", TRUSS_PRATT, TRUSS_ABOVE, 2, 4,
   "The ditch is {span} wide, too wide for one beam: the road needs a joint\nin the middle, and a joint with nothing under it sags. A triangle over\nthe road can hold it up.",
   "Draw the road as two beams that meet at a joint in the middle. Put a\njoint a few units above that middle joint, then join it to the middle\njoint and to both anchors: the road hangs from the top of the triangle.",
   ""},
  {"02 Gully", TRUSS_PRATT, TRUSS_ABOVE, 3, 8,
   "Three road beams reach across the gully. Alone they fold under the\ntrain: add triangles, over or under the road, from anchor to anchor.",
   "Every road joint needs beams leaning to something that cannot sag. A row\nof triangles turns the train's weight into pulls and pushes along the\nbeams, and passes them on to the two anchors.",
   ""},
  {"03 Brook", TRUSS_WARREN, TRUSS_ABOVE, 4, 12,
   "A wider gap with water {depth} units under the road. A row of triangles\n(a truss) under or over the road spreads the train's weight to both\nanchors.",
   "A truss works by its depth: the further its top beams lie from its\nbottom beams, the less each of them is stretched or squeezed.",
   ""},
  {"04 Ledges", TRUSS_WARRENDOUBLE, TRUSS_ABOVE, 5, 20,
   "Two more anchors sit on the ledges below the ends. Struts from them\nto the road carry part of the span, so the truss between can be short.",
   "A strut from a ledge anchor up to a road joint works like a knee under a\nshelf: the road's weight pushes along it into the rock. The further out\nit meets the road, the less is left for the truss in the middle.",
   ""},
  {"05 Freight", TRUSS_WARRENDOUBLE, TRUSS_ABOVE, 4, 24,
   "This train weighs {weight}, twice the usual. There is plenty of room\nunder the road: the deeper a truss, the less each of its beams carries.",
   "Every beam breaks at the same stretch or squeeze, so a heavy train\nneeds its weight shared by more beams and a deeper truss. Two rows of\ntriangles, one on the other, give depth with short beams.",
   ""},
  {"06 Stepping", TRUSS_PRATT, TRUSS_ABOVE, 6, 8,
   "An anchor stands on the rock in the middle. Rest the bridge on it and\nyou have two short spans to build instead of one long one.",
   "Bring a road joint right over the rock and tie it down to the rock's\nanchor with one short beam. Then each half is a short truss of its own,\nfrom a bank to the rock.",
   ""},
  {"07 Two Ways", TRUSS_WARREN, TRUSS_ABOVE, 6, 16,
   "The train crosses and then comes back from the other side. A bridge\nwhose two halves are mirror images holds the same both ways: build one\nhalf, copy it with c and mirror it with x.",
   "A bridge that is not the same both ways may hold a train from one side\nand fail it from the other. Mirror the halves about the middle, and the\nbridge meets the train alike from both banks.",
   ""},
  {"08 Low Road", TRUSS_PRATT, TRUSS_ABOVE, 5, 12,
   "The water is only {depth} units under the road, so there is no room for\na truss below it. Build the triangles above the road instead.",
   "Over the road, the top beams are squeezed and the road is stretched.\nThe train rides on the road beams only, so beams above it are never in\nits way: a tall truss costs no room.",
   ""},
  {"09 Handmade", TRUSS_WARRENDOUBLE, TRUSS_ABOVE, 6, 24,
   "Here you choose the road yourself: with Build Deck (`) on, the beams\nyou draw are road, with it off they are structure. The train needs one\nunbroken road from end to end.",
   "Lay the whole road first, anchor to anchor, with Build Deck on. Then\nturn it off and build the truss on that road. A beam along the road\ndrawn with Build Deck off is not road: the train falls through it.",
   ""},
  {"10 Estuary", TRUSS_WARREN, TRUSS_ABOVE, 8, 12,
   "Long, and the train comes back. The rock in the middle carries an\nanchor: two spans that rest on it are far easier than one of {span}.",
   "Join the road joint right over the rock to the rock's anchor below it:\neach half is then a span of its own. Make each half the mirror of the\nother, as the train crosses both ways.",
   ""},
  {"11 Gorge", TRUSS_WARRENDOUBLE, TRUSS_ABOVE, 7, 24,
   "Nothing to stand on, and a wide gorge: the bridge must carry its own\nweight before the train comes. Every joint weighs the same and beams\nweigh nothing, so long beams between few joints keep it light.",
   "The force in a truss's top and bottom beams falls as it gets deeper,\nbut no beam can be longer than the editor allows. Stack two rows of\ntriangles, one on the other, for a deep truss of short beams.",
   ""},
  {"12 Westbound", TRUSS_WARRENDOUBLE, TRUSS_ABOVE, 7, 28,
   "The train comes from the right, over {span} units with no support in\nbetween. Test with no train first (t, then wait): a truss that sags\nunder itself wants more depth, not more joints.",
   "On a long span the top beams in the middle are squeezed the hardest.\nGive the truss its depth there: two rows of triangles, one on the\nother, from anchor to anchor.",
   ""},
  {"01 By Hand", TRUSS_WARREN, TRUSS_ABOVE, 5, 16,
   "You choose the road again, and the train comes from the right. Draw\nthe road first with Build Deck (`) on, then turn it off and build\nthe truss around it.",
   "Only the road beams carry the train; every other beam holds the road\nup. Keep the road one straight line from anchor to anchor, then add one\nrow of triangles over it or under it.",
   ""},
  {"02 Ore Train", TRUSS_WARREN, TRUSS_BOTH, 5, 16,
   "An ore train of {weight}, twice the usual weight. The force in a truss's\ntop and bottom beams falls as the truss gets deeper: use the depth.",
   "There is room both over and under the road. A truss that reaches both\nways is twice as deep as either half alone, so its top and bottom beams\ncarry about half as much.",
   ""},
  {"03 Hairpin", TRUSS_WARREN, TRUSS_ABOVE, 8, 14,
   "A heavier train there and back, and a rock in the middle whose anchor\nlies a little below the road.",
   "Tie the road to the rock's anchor with one short beam: two spans of\nhalf the length need far less. Make the halves mirror images, as the\ntrain comes back.",
   ""},
  {"04 Heavy Two", TRUSS_WARRENDOUBLE, TRUSS_ABOVE, 6, 28,
   "A heavier train of {weight}, there and back, over {span} units with\nnothing between the banks. A deep truss spreads a heavy load.",
   "A bridge that breaks as the train comes on is weak near the banks: the\ndiagonals next to each anchor work as hard as any beam. Two rows of\ntriangles, with the halves mirror images, hold both ways.",
   ""},
  {"05 Flood", TRUSS_WARRENDOUBLE, TRUSS_ABOVE, 7, 28,
   "High water over a shallow valley: little room under a long road. Build\nthe truss above it, and the road becomes the bottom of the truss.",
   "A deep truss over the road is strong but dear. Count your joints:\nwider panels need fewer of them, and every joint you leave out saves\nthe beams that would meet there.",
   ""},
  {"06 Viaduct", TRUSS_PRATT, TRUSS_ABOVE, 12, 8,
   "A long viaduct on three piers, there and back. The anchor on each pier\nlies one short beam below the road.",
   "Tie a road joint to each pier's anchor right below it, and the long\ncrossing becomes four short spans. A shallow truss over each is\nenough; make the two halves mirror images.",
   ""},
  {"07 Overhang", TRUSS_WARRENDOUBLE, TRUSS_ABOVE, 6, 24,
   "The train comes from the right. Anchors on the ledges below both ends\ncan brace the road from beneath, like a pair of shoulders.",
   "Beams from the ledge anchors up to the road are props: the road pushes\ndown along them into the rock. Every prop shortens the part of the road\nthe truss must carry on its own.",
   "Prop the road from the ledges, and the truss between can be shallower."},
  {"08 Chasm", TRUSS_WARRENDOUBLE, TRUSS_ABOVE, 6, 24,
   "A deep chasm with nothing to build from but the two anchors. A deep\ntruss, over or under the road, carries the train to them.",
   "The span is long for its anchors: one row of triangles is too shallow\nhowever you draw it. Two rows, one on the other, reach the depth this\nspan needs without a beam that is too long.",
   "Cheaper bridges hold: drop beams the stress view (r) shows barely used."},
  {"09 Two Piers", TRUSS_WARRENDOUBLE, TRUSS_ABOVE, 12, 32,
   "A long crossing on two piers whose anchors lie a little below the\nroad. The budget is tight for one truss from bank to bank.",
   "Tie the road to both pier anchors and the {span} units become three\nspans, the middle one far longer than the two beside it. Give the\nmiddle span the deepest truss.",
   "Beside the piers the spans are short: keep the depth for the middle."},
  {"10 Canyon", TRUSS_WARRENDOUBLE, TRUSS_BOTH, 8, 24,
   "A wide canyon, with an anchor on a ledge below each end and nothing\nelse to build from.",
   "Props from the ledge anchors out under the road shorten the span the\ntruss must carry. Between them, hang a truss under the road, two rows\nof triangles deep.",
   "Prop it from the ledges, and the truss between can be shallower."},
  {"11 Lowlands", -1, 0, 0, 0,
   "Water just under a long road, and a heavier train from the right.",
   "In a truss over the road, the road is stretched along its length and\nthe top beams are squeezed. Make it deep, with every top joint held by\ntriangles so the top cannot fold.",
   ""},
  {"12 Summit", -1, 0, 0, 0,
   "Everything at once: ledges, a rock in the middle, the road by hand\nand a heavier train there and back.",
   "Three things can hold the road up: the banks, the ledges and the\nrock. Use them all: tie the road to the rock, prop it from the ledges\nand lay the road yourself in one line.",
   ""},
  {"01 Far Shore", TRUSS_WARREN, TRUSS_ABOVE, 5, 16,
   "A low road just over the water, and the train from the right.",
   "For this span one row of triangles is enough if it is deep, over the\nroad or under it.",
   ""},
  {"02 Low Piers", TRUSS_WARRENDOUBLE, TRUSS_BELOW, 8, 12,
   "Two piers, but their anchors lie far below the road.",
   "One beam cannot reach down to a pier anchor. Hang triangles under the\nroad until they meet each anchor: the truss then rests on both piers.",
   "Cheaper bridges hold: drop beams the stress view (r) shows barely used."},
  {"03 Ballast", TRUSS_WARRENDOUBLE, TRUSS_ABOVE, 5, 28,
   "A heavy train of {weight}, there and back, over {span} units.",
   "Deep and the same both ways: two rows of triangles, the halves mirror\nimages. Every beam counts at this budget.",
   "Cheaper bridges hold: drop beams the stress view (r) shows barely used."},
  {"04 Shelf", TRUSS_WARRENDOUBLE, TRUSS_ABOVE, 7, 28,
   "Deep ledges at both ends: their anchors lie far below the road.",
   "From a ledge anchor, two beams in a triangle reach further up and out\nthan one. Carry the ends of the road down to the ledges, and bridge\nthe middle with a truss.",
   "Prop the ends from the ledges, and the middle truss can be shallower."},
  {"05 Uphill", -1, 0, 0, 0,
   "The far bank is higher, and you lay the road by hand: it must climb.",
   "Lay the road as one straight slope from anchor to anchor with Build\nDeck on, then build the truss on it as on level ground.",
   ""},
  {"06 Ore West", TRUSS_WARRENDOUBLE, TRUSS_BOTH, 6, 20,
   "An ore train of {weight} from the right, over {span} units.",
   "Use the room above and below: a truss on both sides of the road is\nthe deepest you can build, so its top and bottom beams carry least.",
   "Cheaper bridges hold: drop beams the stress view (r) shows barely used."},
  {"07 Shallows", -1, 0, 0, 0,
   "A long, low crossing over shallows, with one anchor in the middle on a\nrock just under the water.",
   "Tie the road to the rock's anchor: two spans, each half as long.\nEverything else goes over the road.",
   ""},
  {"08 Two Rocks", TRUSS_WARREN, TRUSS_ABOVE, 12, 12,
   "Two rocks in the middle and ledges at the ends, with a heavier train\nfrom the right.",
   "Each rock's anchor lies one beam below the road. Tie the road to both,\nprop it from the ledges, and the long crossing becomes short spans.",
   ""},
  {"09 High Wire", TRUSS_WARRENDOUBLE, TRUSS_BOTH, 8, 24,
   "A very deep, dry gap with nothing to build from but its two ends.",
   "All the strength must come from depth: a truss that reaches above and\nbelow the road is the deepest you can build.",
   "Cheaper bridges hold: drop beams the stress view (r) shows barely used."},
  {"10 Crossing", -1, 0, 0, 0,
   "A heavy train there and back over one rock, whose anchor lies deep\nbelow the road.",
   "Reach down to the rock with triangles under the road, and make the\ntwo halves mirror images.",
   ""},
  {"11 Abyss", TRUSS_WARRENDOUBLE, TRUSS_BOTH, 9, 32,
   "A deep abyss, with ledges well below both ends.",
   "Prop the road from the ledges to shorten the span, and go deep where\nthe span is longest: in the middle.",
   "Propped from the ledges, the truss between can be shallower."},
  {"12 Stilts", TRUSS_WARREN, TRUSS_ABOVE, 14, 8,
   "The longest crossing: {span} units, on three piers just below the road.",
   "Tie the road to each pier's anchor: the crossing becomes four short\nspans, and a shallow truss over each, joined into one, is enough.",
   ""},
};
static_assert(sizeof(hints) / sizeof(hints[0]) == sizeof(plan) / sizeof(plan[0]), "a hint for every level");

// --- terrain --------------------------------------------------------------

static float interpolate(float x, float x0, float y0, float x1, float y1) {
  if (x <= x0) return y0;
  if (x >= x1) return y1;
  return y0 + (y1 - y0) * (x - x0) / (x1 - x0);
}

// Gentle hills well away from the gap, so the approaches look like country
// rather than a table top; the last 120 units before each end stay level
// with the deck, because the train starts 16 units out and a locomotive
// pushes until it is 64 units past the far end.
static float hills(float x, float left, float right) {
  float away = x < left ? left - 120.0f - x : x - right - 120.0f;
  if (away <= 0.0f) return 0.0f;
  float rise = away < 80.0f ? away / 80.0f : 1.0f;
  return rise * (10.0f + 8.0f * sinf(x * 0.013f) + 5.0f * sinf(x * 0.041f + 1.0f));
}

// A pier is a column of rock 16 units wide whose top carries its anchor.
static float pierheight(const levelplan *p, float x, float ground) {
  for (int i = 0; i < p->numofsupports; i++) {
    const supportplan *s = &p->support[i];
    float d = fabsf(x - s->x);
    if (d <= 4.0f) ground = fmaxf(ground, s->y);
    else if (d <= 12.0f) ground = fmaxf(ground, s->y - (d - 4.0f) * 2.5f);
  }
  return ground;
}

static void shapelevel(const levelplan *p) {
  float left = 1024.0f - p->span / 2;
  float right = 1024.0f + p->span / 2;
  for (int i = 0; i < NUMTERRAIN; i++) {
    float x = 4.0f * i, y;
    float deck = x > 1024.0f ? p->deck + p->climb : p->deck;
    if (x <= left || x >= right) {
      y = deck + hills(x, left, right);
    } else {
      // Distance into the gap from the nearer end, and a rocky bed.
      float in = fminf(x - left, right - x);
      float bed = p->floor + 1.5f * sinf(x * 0.11f) + sinf(x * 0.37f);
      // A ledge is a shelf one column wide; its anchor sits where the shelf
      // meets the wall above it.
      if (p->ledge > 0.0f)
        y = in <= 8.0f ? interpolate(in, 0, deck, 4, deck - p->ledge)
                       : interpolate(in, 8, deck - p->ledge, 8 + p->wall, bed);
      else
        y = interpolate(in, 0, deck, p->wall, bed);
      y = pierheight(p, x, y);
    }
    // Sixteenths of a unit: the heights come out the same whatever libm
    // rounds the sines to, so regenerating never changes a shipped file.
    level.terrain[i] = roundf(y * 16.0f) / 16.0f;
  }
  level.deckheight = p->deck;
  level.waterlevel = p->water;
  level.leftend = left;
  level.rightend = right;
  level.weight = p->weight;
  level.trainstart = p->trainstart;
  level.manualdeck = p->manualdeck;
  level.traintime = 0;
}

// --- bridge building ------------------------------------------------------

// Set when a reference asks for something a player could not build.
static int buildfailed = 0;

// The road runs straight from bank to bank, climbing where the far bank is
// higher; joints off it stay on the 2-unit grid the editor snaps to.
static float climbing = 0.0f;
static float roadheight(float x) {
  return level.deckheight + roundf(climbing * (x - level.leftend) / 2.0f) * 2.0f;
}

static int addjoint(int type, float x, float y) {
  for (int i = 0; i < numofjoints; i++)
    if (fabsf(joint[i].pos.x - x) < 0.5f && fabsf(joint[i].pos.y - y) < 0.5f) return i;
  if (numofjoints >= MAXJOINTS) {
    fprintf(stderr, "makelevels: joint table full\n");
    exit(1);
  }
  joint[numofjoints].type = type;
  joint[numofjoints].pos.x = x;
  joint[numofjoints].pos.y = y;
  return numofjoints++;
}

// The same rule the editor applies: a beam whose joints both lie within one
// unit of the deck line is road, unless the level wants the deck by hand, in
// which case the builder says so.
static void addbeam(int a, int b, int deck) {
  if (a == b) return;
  for (int i = 0; i < numofbeams; i++)
    if ((beam[i].joint1 == a && beam[i].joint2 == b) || (beam[i].joint1 == b && beam[i].joint2 == a)) return;
  float dx = joint[a].pos.x - joint[b].pos.x, dy = joint[a].pos.y - joint[b].pos.y;
  if (sqrtf(dx * dx + dy * dy) > MAXBEAM || (joint[a].type == 0 && joint[b].type == 0)) {
    fprintf(stderr, "makelevels: beam (%g,%g)-(%g,%g) cannot be built\n", joint[a].pos.x,
            joint[a].pos.y, joint[b].pos.x, joint[b].pos.y);
    buildfailed = 1;
    return;
  }
  if (!level.manualdeck)
    deck = fabsf(joint[a].pos.y - level.deckheight) < 1.0f && fabsf(joint[b].pos.y - level.deckheight) < 1.0f;
  beaminfo *n = &beam[numofbeams++];
  memset(n, 0, sizeof *n);
  n->type = deck;
  n->joint1 = a;
  n->joint2 = b;
}

// A lattice truss between two deck points: deck joints every panel (at most
// 16 units, the longest level beam on the grid), then `below` rows of joints
// under the deck and `above` rows over it, `rise` apart, each row staggered
// half a panel against the one before so that every joint sits on a
// triangle. Rows above the deck make a through truss the train runs inside;
// only deck beams carry the train, so they are no obstacle.
static void addlattice(float xa, float xb, int panel, float rise, int below, int above) {
  int panels = (int)ceilf((xb - xa) / (float)panel);
  // Half a panel must stay on the 2-unit grid.
  while ((xb - xa) / panels != floorf((xb - xa) / panels / 4.0f) * 4.0f) panels++;
  float w = (xb - xa) / panels;
  int prev[64], row[64], numofprev = 0, numofrow;
  for (int side = -1; side <= 1; side += 2) {
    int rows = side < 0 ? below : above;
    numofprev = 0;
    for (int k = 0; k <= panels; k++) prev[numofprev++] = addjoint(1, xa + w * k, roadheight(xa + w * k));
    for (int k = 0; k + 1 < numofprev; k++) addbeam(prev[k], prev[k + 1], 1);
    for (int r = 1; r <= rows; r++) {
      float y = side * rise * r;
      // Odd rows sit under the middle of each panel; even rows under the
      // panel points, without the two at the ends, which would sit in the
      // valley walls.
      numofrow = 0;
      if (r % 2) {
        for (int k = 0; k < panels; k++) row[numofrow++] = addjoint(1, xa + w * (k + 0.5f), roadheight(xa + w * (k + 0.5f)) + y);
        for (int k = 0; k < numofrow; k++) {
          addbeam(prev[k], row[k], 0);
          addbeam(row[k], prev[k + 1], 0);
        }
      } else {
        for (int k = 1; k < panels; k++) row[numofrow++] = addjoint(1, xa + w * k, roadheight(xa + w * k) + y);
        for (int k = 0; k < numofrow; k++) {
          addbeam(prev[k], row[k], 0);
          addbeam(row[k], prev[k + 1], 0);
        }
      }
      for (int k = 0; k + 1 < numofrow; k++) addbeam(row[k], row[k + 1], 0);
      for (int k = 0; k < numofrow; k++) prev[k] = row[k];
      numofprev = numofrow;
      if (numofrow < 2) break;
    }
  }
}

// An anchor below the deck (a ledge or a pier top) carries the truss through
// beams to the nearest few joints it can reach.
static void tieanchor(int a, int count) {
  for (int n = 0; n < count; n++) {
    int best = -1;
    float bestd = MAXBEAM;
    for (int i = 0; i < numofjoints; i++) {
      if (joint[i].type == 0) continue;
      float dx = joint[i].pos.x - joint[a].pos.x, dy = joint[i].pos.y - joint[a].pos.y;
      float d = sqrtf(dx * dx + dy * dy);
      int joined = 0;
      for (int j = 0; j < numofbeams; j++)
        if ((beam[j].joint1 == a && beam[j].joint2 == i) || (beam[j].joint1 == i && beam[j].joint2 == a)) joined = 1;
      if (!joined && d <= bestd) {
        best = i;
        bestd = d;
      }
    }
    if (best >= 0) addbeam(a, best, 0);
  }
}

// Deck-level anchors at both ends; the truss is split at every pier, and
// ledge and pier anchors are tied into it.
static void buildreference(const levelplan *p) {
  numofjoints = 0;
  numofbeams = 0;
  float left = level.leftend, right = level.rightend, y = level.deckheight;
  climbing = (float)p->climb / (right - left);
  addjoint(0, left, y);
  addjoint(0, right, y + p->climb);
  int tied[2 + MAXSUPPORTS], numoftied = 0;
  if (p->ledge > 0.0f) {
    tied[numoftied++] = addjoint(0, left + 4, y - p->ledge);
    tied[numoftied++] = addjoint(0, right - 4, y + p->climb - p->ledge);
  }
  for (int i = 0; i < p->numofsupports; i++)
    tied[numoftied++] = addjoint(0, p->support[i].x, p->support[i].y);
  // A pier deep below the deck meets the lowest chord of one continuous
  // truss; splitting there would leave two trusses hinged on a long tie.
  float from = left;
  for (int i = 0; i <= p->numofsupports; i++) {
    if (i < p->numofsupports && (p->through || level.deckheight - p->support[i].y >= 2 * p->rise)) continue;
    float to = i < p->numofsupports ? p->support[i].x : right;
    addlattice(from, to, p->panel, p->rise, p->below, p->above);
    from = to;
  }
  for (int i = 0; i < numoftied; i++) tieanchor(tied[i], 3);
}

// The full truss carries far more than a level needs, and a budget set from
// it would not bite. The author's reference leaves out these beams, counted
// in the order the truss is built, and every free joint no beam holds; what
// is left still carries the train whenever the player calls it, not only
// when it sets off at once.
static void leaveout(const char *drop) {
  static char gone[MAXBEAMS], held[MAXJOINTS];
  static int moved[MAXJOINTS];
  memset(gone, 0, sizeof gone);
  memset(held, 0, sizeof held);
  for (const char *s = drop; s && *s;) {
    char *end;
    long b = strtol(s, &end, 10);
    if (end == s) break;
    if (b < 0 || b >= numofbeams) buildfailed = 1;
    else gone[b] = 1;
    s = end;
  }
  int n = 0;
  for (int i = 0; i < numofbeams; i++)
    if (!gone[i]) beam[n++] = beam[i];
  numofbeams = n;
  for (int i = 0; i < numofbeams; i++) held[beam[i].joint1] = held[beam[i].joint2] = 1;
  n = 0;
  for (int i = 0; i < numofjoints; i++)
    if (joint[i].type == 0 || held[i]) {
      moved[i] = n;
      joint[n++] = joint[i];
    }
  numofjoints = n;
  for (int i = 0; i < numofbeams; i++) {
    beam[i].joint1 = moved[beam[i].joint1];
    beam[i].joint2 = moved[beam[i].joint2];
  }
}

// Only the anchors stay in the level file: the player starts from them.
static void stripfreejoints() {
  int n = 0;
  for (int i = 0; i < numofjoints; i++)
    if (joint[i].type == 0) joint[n++] = joint[i];
  numofjoints = n;
  numofbeams = 0;
}

// A player can only put a joint where it is clear of the ground; a reference
// that needs anything else would prove nothing about the level.
static int isbuildable() {
  for (int i = 0; i < numofjoints; i++) {
    if (joint[i].type == 0) continue;
    float x = joint[i].pos.x * 0.25f;
    int c = (int)x;
    if (c < 0 || c + 1 >= NUMTERRAIN) return 0;
    float ground = level.terrain[c] + (level.terrain[c + 1] - level.terrain[c]) * (x - c);
    if (joint[i].pos.y < ground + 1.0f) return 0;
  }
  return !buildfailed;
}

// --- hints ----------------------------------------------------------------

// What the reference is made of once its beams were left out, as the third
// hint step tells it where no regular truss holds: how many rows of joints
// lie under and over the road, and which anchors off the road it still uses.
struct referenceshape {
  int below, above;
  int ledges;  // 1: tied to the ledge anchors
  int rocks;   // pier anchors it is tied to
};

static referenceshape measurereference(const levelplan *p) {
  referenceshape r = {0, 0, 0, 0};
  for (int i = 0; i < numofjoints; i++) {
    if (joint[i].type == 0)
      continue;
    int row = (int)lroundf((joint[i].pos.y - roadheight(joint[i].pos.x)) / p->rise);
    if (row < 0 && -row > r.below)
      r.below = -row;
    if (row > r.above)
      r.above = row;
  }
  for (int i = 0; i < numofjoints; i++) {
    if (joint[i].type != 0 || fabsf(joint[i].pos.y - roadheight(joint[i].pos.x)) < 1.0f)
      continue;
    int used = 0;
    for (int b = 0; b < numofbeams && !used; b++)
      used = beam[b].joint1 == i || beam[b].joint2 == i;
    int ledge = p->ledge > 0.0f && (joint[i].pos.x < 1024.0f - p->span / 2 + 8 || joint[i].pos.x > 1024.0f + p->span / 2 - 8);
    if (used && ledge)
      r.ledges = 1;
    else if (used)
      r.rocks++;
  }
  return r;
}

constexpr int HINTTEXT = 1024;

static void cannotship(const levelplan *p, const char *why) {
  fprintf(stderr, "makelevels: %s/%s: %s\n", p->pack, p->name, why);
  exit(1);
}

// An author's step: at most MAXHINTLINES lines that fit the page, every
// placeholder one the game fills, and no digit outside them (a figure typed
// as a number goes stale when the level is reshaped).
static void checkstep(const levelplan *p, const char *step) {
  char line[HINTTEXT], filled[HINTLINELENGTH + 1];
  int lines = 0;
  for (const char *s = step; *s; lines++) {
    size_t length = strcspn(s, "\n");
    if (length > (size_t)HINTLINELENGTH || lines >= MAXHINTLINES)
      cannotship(p, "a hint step runs past the help page");
    memcpy(line, s, length);
    line[length] = 0;
    if (fillhintline(filled, line) != 0)
      cannotship(p, "a hint names a figure the game does not know");
    int inside = 0;
    for (const char *c = line; *c; c++) {
      inside = *c == '{' ? 1 : *c == '}' ? 0 : inside;
      if (!inside && *c >= '0' && *c <= '9')
        cannotship(p, "a hint writes a number where a placeholder belongs");
    }
    s += length + (s[length] == '\n');
  }
  if (lines == 0)
    cannotship(p, "a hint step is empty");
}

// Breaks `words` at spaces into lines of the page's width, appended to
// `out`; returns the number of lines.
static int wrapwords(char *out, const char *words) {
  int lines = 0;
  for (const char *s = words; *s;) {
    size_t length = strlen(s);
    if (length > (size_t)HINTLINELENGTH) {
      length = HINTLINELENGTH;
      while (length > 0 && s[length] != ' ')
        length--;
      if (length == 0)  // one word longer than a line: cut it
        length = HINTLINELENGTH;
    }
    strncat(out, s, length);
    strcat(out, "\n");
    lines++;
    s += length;
    while (*s == ' ')
      s++;
  }
  return lines;
}

static const char *trussname(int kind) {
  static const char *const names[NUMTRUSSKINDS] = {
      "A Warren truss", "A Warren truss with verticals", "A Pratt truss", "A Howe truss",
      "A square-ended Pratt truss", "A square-ended Howe truss", "A double Warren truss"};
  return names[kind];
}

static const char *trussshape(int kind) {
  static const char *const shapes[NUMTRUSSKINDS] = {
      "a zigzag of diagonals", "a zigzag with a post from each point to the road",
      "posts, and diagonals leaning in towards the middle", "posts, and diagonals leaning out towards the ends",
      "posts, diagonals leaning in, and a post at each end", "posts, diagonals leaning out, and a post at each end",
      "one zigzag row on another"};
  return shapes[kind];
}

static const char *sidename(int side) {
  return side == TRUSS_ABOVE ? "over the road" : side == TRUSS_BELOW ? "under the road" : "over and under the road";
}

static const char *rows(int n) {
  static const char *const names[] = {"no row", "one row", "two rows", "three rows", "four rows"};
  return names[n >= 0 && n <= 4 ? n : 4];
}

// The third step: the regular truss and its cost against the budget, or,
// where none holds, what the reference is made of. What is said of the
// truss shrinks until the step fits its lines: first the posts go, then
// the words on its shape.
static int writestepthree(char *out, const levelplan *p, const hintplan *h, int regularcost, int posts, int referencecost,
                          const referenceshape *shape) {
  char words[HINTTEXT];
  int lines = 0;
  for (int say = 2; say >= 0; say--) {
    int n = 0;
    out[0] = 0;
    if (h->kind >= 0) {
      char looks[96] = "";
      if (say >= 1)
        snprintf(looks, sizeof looks, ": %s", trussshape(h->kind));
      n += snprintf(words + n, sizeof words - n, "%s %s%s. %d panels of %g, %d deep%s%s; it costs %d", trussname(h->kind),
                    sidename(h->side), looks, h->panels, (double)p->span / h->panels, h->depth,
                    h->side == TRUSS_BOTH ? " each way" : "",
                    say >= 2 && posts > 0 ? ", with posts down to the anchors under it" : "", regularcost);
      if (regularcost <= level.budget)
        snprintf(words + n, sizeof words - n, " and fits the budget.");
      else
        snprintf(words + n, sizeof words - n, ", %d over the budget.", regularcost - level.budget);
    } else {
      char ties[64] = "", where[64];
      const char *rock = shape->rocks == 1 ? "a rock" : shape->rocks == 2 ? "two rocks" : "the rocks";
      if (shape->ledges && shape->rocks > 0)
        snprintf(ties, sizeof ties, ", tied to the ledges and %s", rock);
      else if (shape->ledges)
        snprintf(ties, sizeof ties, ", tied to the ledges");
      else if (shape->rocks > 0)
        snprintf(ties, sizeof ties, ", tied to %s", rock);
      if (shape->below > 0 && shape->above > 0)
        snprintf(where, sizeof where, "%s under the road and %s over it", rows(shape->below), rows(shape->above));
      else
        snprintf(where, sizeof where, "%s %s the road", rows(shape->below + shape->above), shape->below > 0 ? "under" : "over");
      snprintf(words + n, sizeof words - n,
               "No regular truss holds here. One bridge that does: triangles in %s, %g apart, "
               "panels of up to %d%s, some beams left out; it costs %d.",
               where, (double)p->rise, p->panel, ties, referencecost);
    }
    lines = wrapwords(out, words);
    if (h->save[0] != 0) {
      if (h->kind < 0 || regularcost <= level.budget)
        cannotship(p, "advice on saving where nothing is over the budget");
      if (strlen(h->save) > (size_t)HINTLINELENGTH || strchr(h->save, '\n') != NULL)
        cannotship(p, "the advice on saving is more than a line");
      strcat(out, h->save);
      strcat(out, "\n");
      lines++;
    } else if (h->kind >= 0 && regularcost > level.budget) {
      cannotship(p, "the regular truss is over the budget, and the hint says not what to save on");
    }
    if (lines <= MAXHINTLINES)
      break;
  }
  return lines;
}

static void writehint(const char *root, const levelplan *p, const hintplan *h, int regularcost, int posts,
                      int referencecost, const referenceshape *shape) {
  checkstep(p, h->step1);
  checkstep(p, h->step2);
  char three[HINTTEXT] = "";
  if (writestepthree(three, p, h, regularcost, posts, referencecost, shape) > MAXHINTLINES)
    cannotship(p, "the third hint step runs past three lines");
  char path[4096];
  snprintf(path, sizeof path, "%s/%s/%s.txt", root, p->pack, p->name);
  FILE *file = fopen(path, "w");
  if (!file || fprintf(file, "%s\n" HINTSTEPMARK "\n%s\n" HINTSTEPMARK "\n%s", h->step1, h->step2, three) < 0 ||
      fclose(file) != 0)
    cannotship(p, "cannot write the hint");
  // What the game will make of it: every step, whole.
  static unsigned char bytes[MAXHINTBYTES + 1];
  static hintinfo back;
  file = fopen(path, "rb");
  int size = file ? (int)fread(bytes, 1, sizeof bytes, file) : 0;
  if (file)
    fclose(file);
  if (parsehint(&back, bytes, size) != MAXHINTSTEPS)
    cannotship(p, "the hint does not read back in three steps");
}

// --- files ----------------------------------------------------------------

static void savein(const char *root, const char *pack, const char *sub, const char *name, int isbridge) {
  char here[4096];
  if (!getcwd(here, sizeof here) || chdir(root) != 0) {
    fprintf(stderr, "makelevels: cannot enter %s\n", root);
    exit(1);
  }
  mkdir(pack, 0777);
  if (chdir(pack) != 0 || (sub && (mkdir(sub, 0777), chdir(sub) != 0)) || !savelevel(name, isbridge)) {
    fprintf(stderr, "makelevels: cannot write %s/%s/%s\n", root, pack, name);
    exit(1);
  }
  if (chdir(here) != 0) exit(1);
}

int main(int argc, char **argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: makelevels <level directory> <reference directory>\n");
    return 2;
  }
  for (int i = 0; i < NUMOFPLANS; i++) {
    const levelplan *p = &plan[i];
    createlevel();
    shapelevel(p);
    buildreference(p);
    leaveout(p->drop);
    if (strlen(p->name) > MAXNAMEBOX || strlen(p->pack) + 4 > MAXFILENAME || !isbuildable()) {
      fprintf(stderr, "makelevels: %s/%s cannot be shipped\n", p->pack, p->name);
      return 1;
    }
    int cost = numofbeams * (int)BEAMCOST;
    int budget = p->budget ? p->budget : (int)(cost / 0.8f / BEAMCOST) * (int)BEAMCOST;
    if (cost > budget) {
      fprintf(stderr, "makelevels: %s/%s: the reference costs %d of %d\n", p->pack, p->name, cost, budget);
      return 1;
    }
    level.budget = budget;
    savein(argv[2], p->pack, nullptr, p->name, 1);
    referenceshape shape = measurereference(p);
    stripfreejoints();
    savein(argv[1], p->pack, nullptr, p->name, 0);
    const hintplan *h = &hints[i];
    if (strcmp(h->name, p->name) != 0)
      cannotship(p, "the hint table is out of step with the levels");
    int regularcost = 0, posts = 0;
    if (h->kind >= 0) {
      static bridgetables bare;
      static unsigned char members[MAXBEAMS];
      savebridgetables(&bare);
      trussinfo truss = {h->kind, h->side, h->panels, (float)h->depth};
      if (!buildregulartruss(&bare, &truss, members))
        cannotship(p, "its regular truss cannot be built");
      regularcost = numofbeams * (int)BEAMCOST;
      for (int b = 0; b < numofbeams; b++)
        posts += members[b] == MEMBER_POST;
      savein(argv[2], p->pack, "regular", p->name, 1);
    }
    writehint(argv[1], p, h, regularcost, posts, cost, &shape);
    printf("%-12s %-14s cost %5d budget %5d regular %5d\n", p->pack, p->name, cost, budget, regularcost);
  }
  return 0;
}
