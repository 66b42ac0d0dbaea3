// Writes the shipped map packs and, beside the tests, a proven reference
// bridge for every level. Levels are described here rather than painted in
// the level editor so that their design can be reviewed and changed as
// source: each entry gives the crossing's shape and the bridge that solves
// it, and the budget follows from that bridge's cost.
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

constexpr float MAXBEAM = 17.9f;  // longest beam the editor lets a player draw
constexpr float MINSHARE = 0.70f; // a reference never uses less of its budget
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
  float share;        // part of the budget the reference uses
};

// Columns: pack, name, span, deck, floor, water, wall, ledge, trainstart,
// manualdeck, weight, supports, then the reference's panel, rise, rows below
// and above the deck, and the share of the budget it uses.
static levelplan plan[] = {
  // Map pack 1: one new idea per level, taught by the shape of the gap.
  {"1 Riverside", "01 Ditch", 32, 64, 52, 0, 4, 0, 0, 0, 40000, 0, {}, 16, 16, 0, 1, 0.80f},
  {"1 Riverside", "02 Gully", 48, 64, 40, 0, 8, 0, 0, 0, 40000, 0, {}, 16, 16, 1, 0, 0.80f},
  {"1 Riverside", "03 Brook", 64, 64, 36, 48, 8, 0, 0, 0, 40000, 0, {}, 16, 16, 1, 0, 0.80f},
  {"1 Riverside", "04 Ledges", 64, 64, 24, 36, 4, 10, 0, 0, 40000, 0, {}, 16, 16, 0, 1, 0.80f},
  {"1 Riverside", "05 Two Ways", 64, 64, 32, 44, 8, 0, 2, 0, 40000, 0, {}, 16, 16, 1, 0, 0.80f},
  {"1 Riverside", "06 Low Road", 64, 64, 20, 60, 4, 0, 0, 0, 40000, 0, {}, 16, 16, 1, 0, 0.80f},
  {"1 Riverside", "07 Handmade", 64, 64, 32, 44, 8, 0, 0, 1, 40000, 0, {}, 16, 16, 1, 0, 0.80f},
  {"1 Riverside", "08 Stepping", 96, 64, 28, 44, 8, 0, 0, 0, 40000, 1, {{1024, 50}}, 16, 12, 0, 1, 0.80f},
  {"1 Riverside", "09 Freight", 64, 64, 32, 44, 8, 0, 0, 0, 60000, 0, {}, 16, 16, 0, 2, 0.80f},
  {"1 Riverside", "10 Westbound", 80, 64, 30, 46, 8, 0, 1, 0, 40000, 0, {}, 16, 16, 2, 0, 0.80f},
  {"1 Riverside", "11 Gorge", 80, 96, 16, 30, 12, 0, 0, 0, 40000, 0, {}, 16, 16, 2, 0, 0.80f},
  {"1 Riverside", "12 Estuary", 128, 64, 20, 52, 8, 0, 2, 0, 40000, 1, {{1024, 52}}, 16, 16, 0, 1, 0.80f},
  // Map pack 2: the same ideas combined, with wider gaps and less money.
  {"2 Highlands", "01 Overhang", 96, 96, 32, 48, 4, 16, 1, 0, 40000, 0, {}, 16, 14, 1, 0, 0.85f},
  {"2 Highlands", "02 Chasm", 96, 128, 40, 0, 12, 0, 0, 0, 40000, 0, {}, 16, 16, 2, 0, 0.85f},
  {"2 Highlands", "03 Flood", 96, 64, 24, 62, 8, 0, 0, 0, 40000, 0, {}, 16, 16, 2, 0, 0.85f},
  {"2 Highlands", "04 By Hand", 96, 64, 24, 44, 8, 0, 1, 1, 40000, 0, {}, 16, 16, 2, 0, 0.85f},
  {"2 Highlands", "05 Ore Train", 80, 64, 24, 40, 8, 0, 0, 0, 80000, 0, {}, 16, 16, 2, 1, 0.85f},
  {"2 Highlands", "06 Viaduct", 192, 80, 16, 36, 8, 0, 2, 0, 40000, 3, {{976, 66}, {1024, 66}, {1072, 66}}, 16, 14, 0, 1, 0.88f},
  {"2 Highlands", "07 Heavy Two", 96, 80, 24, 48, 8, 0, 2, 0, 60000, 0, {}, 16, 16, 2, 1, 0.90f},
  {"2 Highlands", "08 Hairpin", 112, 96, 40, 56, 8, 0, 2, 0, 50000, 1, {{1024, 84}}, 16, 16, 0, 1, 0.85f},
  {"2 Highlands", "09 Summit", 160, 128, 24, 48, 12, 16, 2, 1, 50000, 1, {{1024, 114}}, 16, 10, 2, 0, 0.90f},
  {"2 Highlands", "10 Two Piers", 144, 64, 16, 40, 8, 0, 0, 0, 40000, 2, {{976, 50}, {1072, 50}}, 16, 16, 1, 1, 0.85f},
  {"2 Highlands", "11 Canyon", 128, 128, 24, 40, 12, 16, 0, 0, 40000, 0, {}, 16, 14, 1, 2, 0.85f},
  {"2 Highlands", "12 Lowlands", 128, 64, 20, 62, 8, 0, 1, 0, 50000, 0, {}, 16, 16, 2, 2, 0.88f},
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
    if (x <= left || x >= right) {
      y = p->deck + hills(x, left, right);
    } else {
      // Distance into the gap from the nearer end, and a rocky bed.
      float in = fminf(x - left, right - x);
      float bed = p->floor + 1.5f * sinf(x * 0.11f) + sinf(x * 0.37f);
      // A ledge is a shelf one column wide; its anchor sits where the shelf
      // meets the wall above it.
      if (p->ledge > 0.0f)
        y = in <= 8.0f ? interpolate(in, 0, p->deck, 4, p->deck - p->ledge)
                       : interpolate(in, 8, p->deck - p->ledge, 8 + p->wall, bed);
      else
        y = interpolate(in, 0, p->deck, p->wall, bed);
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
    for (int k = 0; k <= panels; k++) prev[numofprev++] = addjoint(1, xa + w * k, level.deckheight);
    for (int k = 0; k + 1 < numofprev; k++) addbeam(prev[k], prev[k + 1], 1);
    for (int r = 1; r <= rows; r++) {
      float y = level.deckheight + side * rise * r;
      // Odd rows sit under the middle of each panel; even rows under the
      // panel points, without the two at the ends, which would sit in the
      // valley walls.
      numofrow = 0;
      if (r % 2) {
        for (int k = 0; k < panels; k++) row[numofrow++] = addjoint(1, xa + w * (k + 0.5f), y);
        for (int k = 0; k < numofrow; k++) {
          addbeam(prev[k], row[k], 0);
          addbeam(row[k], prev[k + 1], 0);
        }
      } else {
        for (int k = 1; k < panels; k++) row[numofrow++] = addjoint(1, xa + w * k, y);
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
  addjoint(0, left, y);
  addjoint(0, right, y);
  int tied[2 + MAXSUPPORTS], numoftied = 0;
  if (p->ledge > 0.0f) {
    tied[numoftied++] = addjoint(0, left + 4, y - p->ledge);
    tied[numoftied++] = addjoint(0, right - 4, y - p->ledge);
  }
  for (int i = 0; i < p->numofsupports; i++)
    tied[numoftied++] = addjoint(0, p->support[i].x, p->support[i].y);
  float from = left;
  for (int i = 0; i <= p->numofsupports; i++) {
    float to = i < p->numofsupports ? p->support[i].x : right;
    addlattice(from, to, p->panel, p->rise, p->below, p->above);
    from = to;
  }
  for (int i = 0; i < numoftied; i++) tieanchor(tied[i], 3);
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
    if (strlen(p->name) > MAXNAMEBOX || strlen(p->pack) + 4 > MAXFILENAME || !isbuildable()) {
      fprintf(stderr, "makelevels: %s/%s cannot be shipped\n", p->pack, p->name);
      return 1;
    }
    int cost = numofbeams * (int)BEAMCOST;
    // Round the budget down to whole beams: never below the reference's cost,
    // never so loose that the reference uses less than MINSHARE of it.
    int budget = (int)(cost / p->share / BEAMCOST) * (int)BEAMCOST;
    if (budget < cost) budget = cost;
    if (cost < MINSHARE * budget) budget = (int)(cost / MINSHARE / BEAMCOST) * (int)BEAMCOST;
    level.budget = budget;
    savein(argv[2], p->pack, p->name, 1);
    printf("%-12s %-14s cost %5d budget %5d\n", p->pack, p->name, cost, budget);
    stripfreejoints();
    savein(argv[1], p->pack, p->name, 0);
  }
  return 0;
}
