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
// writes <level directory>/<pack>/<name>.qzl (terrain and anchors only) and
// <reference directory>/<pack>/<name>.qzb (the same level plus the bridge).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

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
  // Map pack 2: the same ideas combined, with wider gaps and less money.
  {"2 Highlands", "01 Overhang", 96, 96, 32, 48, 4, 16, 1, 0, 40000, 0, {}, 16, 14, 1, 0, 3000, "18 22", 0, 0},
  {"2 Highlands", "02 By Hand", 80, 64, 24, 44, 8, 0, 1, 1, 40000, 0, {}, 16, 16, 2, 0, 2400, "6 9 10 13 15 18", 0, 0},
  {"2 Highlands", "03 Ore Train", 80, 64, 24, 40, 8, 0, 0, 0, 80000, 0, {}, 16, 16, 2, 1, 3700, "6 7 9 10 11 12 15", 0, 0},
  {"2 Highlands", "04 Chasm", 96, 128, 40, 0, 12, 0, 0, 0, 40000, 0, {}, 16, 16, 2, 0, 3200, "9 11 23 24 31 32 33 36", 0, 0},
  {"2 Highlands", "05 Two Piers", 144, 72, 16, 40, 8, 0, 0, 0, 40000, 2, {{976, 58}, {1072, 58}}, 16, 14, 1, 0, 3900, "2 3 6 25 29 32 33", 0, 0},
  {"2 Highlands", "06 Heavy Two", 96, 80, 24, 48, 8, 0, 2, 0, 60000, 0, {}, 16, 16, 2, 0, 3600, "8 13 20 21", 0, 0},
  {"2 Highlands", "07 Flood", 112, 64, 54, 60, 4, 0, 0, 0, 40000, 0, {}, 16, 16, 0, 2, 4300, "9 13 14 22", 0, 0},
  {"2 Highlands", "08 Viaduct", 192, 80, 16, 36, 8, 0, 2, 0, 40000, 3, {{976, 66}, {1024, 66}, {1072, 66}}, 16, 14, 1, 0, 5900, "5 6 16 17 20 21 27 28 31 32 38 39", 0, 0},
  {"2 Highlands", "09 Hairpin", 128, 96, 40, 56, 8, 0, 2, 0, 50000, 1, {{1024, 84}}, 16, 10, 2, 0, 4400, "6 9 14 29 30", 0, 0},
  {"2 Highlands", "10 Canyon", 128, 128, 24, 40, 12, 16, 0, 0, 40000, 0, {}, 16, 14, 2, 0, 4900, "14 24 29 31 34 37 38 39 40 41 42 44", 0, 0},
  {"2 Highlands", "11 Summit", 160, 128, 24, 48, 12, 16, 2, 1, 50000, 1, {{1024, 114}}, 16, 10, 2, 0, 6400, "5 9 10 12 16 37 39 40 44 45", 0, 0},
  {"2 Highlands", "12 Lowlands", 128, 64, 20, 62, 8, 0, 1, 0, 50000, 0, {}, 16, 16, 2, 2, 6000, "9 10 12 13 14 15 16 17 18 19 21 22 25 26 27 28 29 33 34 35 36 37 38 39 40 41 42 56 59 74 75 76 77 84 85 86 87 88 89 92 93", 0, 0},
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

// --- files ----------------------------------------------------------------

static void savein(const char *root, const char *pack, const char *name, int isbridge) {
  char here[4096];
  if (!getcwd(here, sizeof here) || chdir(root) != 0) {
    fprintf(stderr, "makelevels: cannot enter %s\n", root);
    exit(1);
  }
  mkdir(pack, 0777);
  if (chdir(pack) != 0 || !savelevel(name, isbridge)) {
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
    savein(argv[2], p->pack, p->name, 1);
    printf("%-12s %-14s cost %5d budget %5d\n", p->pack, p->name, cost, budget);
    stripfreejoints();
    savein(argv[1], p->pack, p->name, 0);
  }
  return 0;
}
