#include "authoring/regular.h"

#include <math.h>
#include <stdint.h>
#include <string.h>

#include <algorithm>

#include "editor/editor.h"
#include "geometry/hash.h"
#include "world/level.h"

regularinfo regular[MAXREGULAR];
int numofregular;
int regularbest = -1;

const char *trusskindname(int kind) {
  static const char *const names[NUMTRUSSKINDS] = {"warren",       "warren-verticals", "pratt",        "howe",
                                                   "pratt-square", "howe-square",      "warren-double"};
  return kind >= 0 && kind < NUMTRUSSKINDS ? names[kind] : "?";
}

const char *trusssidename(int side) {
  return side == TRUSS_ABOVE ? "above" : side == TRUSS_BELOW ? "below" : side == TRUSS_BOTH ? "both" : "?";
}

const char *membername(int member) {
  static const char *const names[] = {"deck", "chord", "diagonal", "vertical", "post"};
  return member >= 0 && member <= MEMBER_POST ? names[member] : "?";
}

int findendanchors(const bridgetables *bare, vector2d *left, vector2d *right) {
  int found[2] = {-1, -1};
  const float ends[2] = {bare->level.leftend, bare->level.rightend};
  for (int e = 0; e < 2; e++)
    for (int i = 0; i < bare->numofjoints; i++) {
      const jointinfo &j = bare->joint[i];
      if (j.type != 0 || j.pos.x != ends[e])
        continue;
      if (found[e] < 0 || fabsf(j.pos.y - bare->level.deckheight) <
                              fabsf(bare->joint[found[e]].pos.y - bare->level.deckheight))
        found[e] = i;
    }
  if (found[0] < 0 || found[1] < 0)
    return 0;
  *left = bare->joint[found[0]].pos;
  *right = bare->joint[found[1]].pos;
  return 1;
}

// ---- Building one truss.

constexpr int MAXPANELS = 256;

static unsigned char *buildmembers;  // where the truss being built notes its members, or null
static int buildfailed;

static int ongrid(double v) { return v == EDITORGRID * floor(v / EDITORGRID); }

// A joint of the truss at `p` (deck frame units, exact), the level's anchor
// or a joint already made there included.
static int addjoint(double x, double y) {
  if (buildfailed || !ongrid(x) || !ongrid(y)) {
    buildfailed = 1;
    return -1;
  }
  vector2d p = {(float)x, (float)y};
  int j = findjoint(p);
  if (j >= 0)
    return j;
  // Nobody builds under the water; the ground the editor refuses itself.
  if (p.y < level.waterlevel || (j = createjoint(1, p)) < 0)
    buildfailed = 1;
  return j;
}

// Through the ground somewhere between its ends (which may stand on it).
static int crossesground(vector2d a, vector2d b) {
  vector2d d = {b.x - a.x, b.y - a.y};
  vector2d p = {a.x + d.x * 0.02f, a.y + d.y * 0.02f}, q = {a.x + d.x * 0.98f, a.y + d.y * 0.98f};
  return lineintersectlevel2d(&p, &q) || lineintersectlevel2d(&q, &p) || !pointabovelevel(p) ||
         !pointabovelevel(q);
}

static void addbeam(int j1, int j2, int member) {
  if (buildfailed || j1 < 0 || j2 < 0)
    return;
  // Between two anchors nothing moves: no beam needed, none allowed.
  if (joint[j1].type == 0 && joint[j2].type == 0)
    return;
  if (crossesground(joint[j1].pos, joint[j2].pos)) {
    buildfailed = 1;
    return;
  }
  int type = level.manualdeck != 0 && member == MEMBER_DECK ? 1 : 0;
  int before = numofbeams;
  int b = createbeam(type, j1, j2);
  if (b < 0)
    buildfailed = 1;
  else if (buildmembers && numofbeams > before)
    buildmembers[b] = (unsigned char)member;
}

// Panel diagonals between the top and bottom chords' joints of panel i of
// n: Pratt's fall towards mid-span, Howe's rise towards it, and the middle
// panel of an odd count takes both.
static void addpanel(int kind, int i, int n, const int *top, const int *bottom) {
  int pratt = kind == TRUSS_PRATT || kind == TRUSS_PRATTSQUARE;
  int where = 2 * i + 1 - n;  // <0 left half, >0 right half, 0 middle
  if (where <= 0)
    addbeam(pratt ? top[i] : bottom[i], pratt ? bottom[i + 1] : top[i + 1], MEMBER_DIAGONAL);
  if (where >= 0)
    addbeam(pratt ? top[i + 1] : bottom[i + 1], pratt ? bottom[i] : top[i], MEMBER_DIAGONAL);
}

static void addside(const trussinfo *t, int sign, const double *x, const double *y, const int *deck,
                    const int *mid) {
  static int other[MAXPANELS + 1];
  const int n = t->panels;
  const int tiers = t->kind == TRUSS_WARRENDOUBLE ? 2 : 1;
  const double dy = sign * (double)t->depth / tiers;
  if (t->kind == TRUSS_WARREN || t->kind == TRUSS_WARRENVERTICALS || t->kind == TRUSS_WARRENDOUBLE) {
    for (int k = 0; k < n; k++)
      other[k] = addjoint((x[k] + x[k + 1]) * 0.5, (y[k] + y[k + 1]) * 0.5 + dy);
    for (int k = 0; k < n; k++) {
      addbeam(deck[k], other[k], MEMBER_DIAGONAL);
      addbeam(other[k], deck[k + 1], MEMBER_DIAGONAL);
      if (k + 1 < n)
        addbeam(other[k], other[k + 1], MEMBER_CHORD);
      if (t->kind == TRUSS_WARRENVERTICALS)
        addbeam(mid[k], other[k], MEMBER_VERTICAL);
    }
    // The second tier's joints over the inner panel points, zigzag on the first's.
    static int outer[MAXPANELS + 1];
    for (int k = 1; k < n && tiers == 2; k++) {
      outer[k] = addjoint(x[k], y[k] + 2.0 * dy);
      addbeam(other[k - 1], outer[k], MEMBER_DIAGONAL);
      addbeam(outer[k], other[k], MEMBER_DIAGONAL);
      if (k > 1)
        addbeam(outer[k - 1], outer[k], MEMBER_CHORD);
    }
    if (tiers == 2 && n < 2)
      buildfailed = 1;
    return;
  }
  int square = t->kind == TRUSS_PRATTSQUARE || t->kind == TRUSS_HOWESQUARE;
  int first = square ? 0 : 1, last = square ? n : n - 1;
  if (last < first) {
    buildfailed = 1;
    return;
  }
  for (int k = first; k <= last; k++)
    other[k] = addjoint(x[k], y[k] + dy);
  for (int k = first; k <= last; k++) {
    addbeam(deck[k], other[k], MEMBER_VERTICAL);
    if (k < last)
      addbeam(other[k], other[k + 1], MEMBER_CHORD);
  }
  if (!square) {
    addbeam(deck[0], other[1], MEMBER_DIAGONAL);
    addbeam(deck[n], other[n - 1], MEMBER_DIAGONAL);
  }
  const int *top = sign > 0 ? other : deck, *bottom = sign > 0 ? deck : other;
  for (int i = first; i < last; i++)
    addpanel(t->kind, i, n, top, bottom);
}

// An anchor the truss does not reach that stands under one of its joints
// within a beam's length: a person props the truss on it.
static void addposts(const bridgetables *bare) {
  for (int a = 0; a < bare->numofjoints && !buildfailed; a++) {
    if (bare->joint[a].type != 0)
      continue;
    int j = findjoint(bare->joint[a].pos), used = 0;
    for (int b = 0; b < numofbeams && !used; b++)
      used = beam[b].joint1 == j || beam[b].joint2 == j;
    if (used)
      continue;
    int lowest = -1;
    for (int k = 0; k < numofjoints; k++)
      if (k != j && joint[k].pos.x == joint[j].pos.x && joint[k].pos.y > joint[j].pos.y &&
          (lowest < 0 || joint[k].pos.y < joint[lowest].pos.y))
        lowest = k;
    if (lowest >= 0 && joint[lowest].pos.y - joint[j].pos.y <= MAXBEAMLENGTH &&
        !crossesground(joint[lowest].pos, joint[j].pos))
      addbeam(lowest, j, MEMBER_POST);
  }
}

int buildregulartruss(const bridgetables *bare, const trussinfo *t, unsigned char *members) {
  loadbridgetables(bare);
  numofbeams = 0;
  for (int i = numofjoints - 1; i >= 0; i--)
    if (joint[i].type != 0)
      deletejoint(i);
  beamtype[0] = beamtype[1] = MAXBEAMLENGTH;
  vector2d left, right;
  const int n = t->panels;
  if (!findendanchors(bare, &left, &right) || n < 1 || n > MAXPANELS)
    return 0;
  buildmembers = members;
  buildfailed = 0;
  static double x[MAXPANELS + 1], y[MAXPANELS + 1];
  static int deck[MAXPANELS + 1], mid[MAXPANELS];
  for (int k = 0; k <= n; k++) {
    x[k] = left.x + ((double)right.x - left.x) * k / n;
    y[k] = left.y + ((double)right.y - left.y) * k / n;
    deck[k] = addjoint(x[k], y[k]);
  }
  int split = t->kind == TRUSS_WARRENVERTICALS;
  for (int k = 0; k < n; k++) {
    if (split) {
      mid[k] = addjoint((x[k] + x[k + 1]) * 0.5, (y[k] + y[k + 1]) * 0.5);
      addbeam(deck[k], mid[k], MEMBER_DECK);
      addbeam(mid[k], deck[k + 1], MEMBER_DECK);
    } else {
      addbeam(deck[k], deck[k + 1], MEMBER_DECK);
    }
  }
  if (t->side & TRUSS_ABOVE)
    addside(t, 1, x, y, deck, mid);
  if (t->side & TRUSS_BELOW)
    addside(t, -1, x, y, deck, mid);
  addposts(bare);
  buildmembers = nullptr;
  if (buildfailed)
    return 0;
  if (level.manualdeck == 0)
    setdecktypes();
  return 1;
}

// ---- The list.

// The bridge as a set of beams between points, whatever the order of the
// tables: two kinds that draw the same bridge are one candidate.
static uint64_t hashbridge() {
  static uint64_t keys[MAXBEAMS];
  for (int b = 0; b < numofbeams; b++) {
    vector2d p = joint[beam[b].joint1].pos, q = joint[beam[b].joint2].pos;
    if (p.x > q.x || (p.x == q.x && p.y > q.y))
      std::swap(p, q);
    const int32_t v[5] = {(int32_t)p.x, (int32_t)p.y, (int32_t)q.x, (int32_t)q.y, beam[b].type};
    keys[b] = hashbytes(HASHSTART, v, sizeof v);
  }
  std::sort(keys, keys + (numofbeams > 0 ? numofbeams : 0));
  return hashbytes(HASHSTART, keys, sizeof(keys[0]) * (size_t)(numofbeams > 0 ? numofbeams : 0));
}

int listregulartrusses(const bridgetables *bare) {
  static uint64_t hashes[MAXREGULAR];
  numofregular = 0;
  regularbest = -1;
  vector2d left, right;
  if (!findendanchors(bare, &left, &right))
    return 0;
  const int maxpanels = std::min(MAXPANELS, (int)(fabsf(right.x - left.x) / EDITORGRID));
  // The two-tier Warren last, so that among equal costs the simpler truss comes first.
  for (int round = 0; round < 2; round++)
    for (int side = TRUSS_ABOVE; side <= TRUSS_BOTH; side++)
      for (int kind = round ? TRUSS_WARRENDOUBLE : 0; kind < (round ? NUMTRUSSKINDS : TRUSS_WARRENDOUBLE); kind++)
        for (int n = 1; n <= maxpanels; n++) {
          double dx = ((double)right.x - left.x) / n, dy = ((double)right.y - left.y) / n;
          if (sqrt(dx * dx + dy * dy) > MAXBEAMLENGTH || !ongrid(dx) || !ongrid(dy))
            continue;
          const float step = round ? 2.0f * EDITORGRID : EDITORGRID;
          const float most = round ? 2.0f * MAXBEAMLENGTH : MAXBEAMLENGTH;
          for (float depth = step; depth <= most && numofregular < MAXREGULAR; depth += step) {
            trussinfo t = {kind, side, n, depth};
            if (!buildregulartruss(bare, &t, nullptr))
              continue;
            uint64_t h = hashbridge();
            int seen = 0;
            for (int i = 0; i < numofregular && !seen; i++)
              seen = hashes[i] == h;
            if (seen)
              continue;
            hashes[numofregular] = h;
            regularinfo &r = regular[numofregular++];
            memset(&r, 0, sizeof r);
            r.truss = t;
            r.cost = numofbeams * BEAMCOST;
            r.proved = -1;
          }
        }
  std::stable_sort(regular, regular + numofregular,
                   [](const regularinfo &a, const regularinfo &b) { return a.cost < b.cost; });
  return numofregular;
}

// ---- Testing the list.

static const bridgetables *testbare;
static int testbase, testseconds;
static int proving[MAXREGULAR];  // indices into `regular` of the trusses being proved

static verdictinfo testjob(int i) {
  if (!buildregulartruss(testbare, &regular[testbase + i].truss, nullptr)) {
    verdictinfo v = makeverdict(FAILURE_UNBUILT);
    return v;
  }
  return runverdict(testseconds, 2.0f);
}

static int provingbase;

static int loadproving(int k) {
  return buildregulartruss(testbare, &regular[proving[provingbase + k]].truss, nullptr);
}

// Jobs go to the pool in batches of at least this many, whole cost levels
// each, so both workers have work; the batch is fixed by the list alone.
constexpr int MINBATCH = 8;
constexpr int PROOFBATCH = 2;  // 14 runs

int testregulartrusses(const bridgetables *bare, int seconds, int workers, int allowbreaks) {
  static verdictinfo results[MAXREGULAR];
  static verdictinfo proofs[PROOFBATCH * PROOFSECONDS];
  testbare = bare;
  testseconds = seconds;
  regularbest = -1;
  for (int start = 0; start < numofregular && regularbest < 0;) {
    int end = start;
    while (end < numofregular && (end - start < MINBATCH || regular[end].cost == regular[end - 1].cost))
      end++;
    testbase = start;
    if (!runjobs(testjob, end - start, workers, results))
      return 0;
    for (int i = start; i < end; i++) {
      regular[i].tested = 1;
      regular[i].verdict = results[i - start];
    }
    // Cost level by cost level: the cheapest that holds wins, the first of
    // its cost in list order.
    for (int level0 = start; level0 < end && regularbest < 0;) {
      int level1 = level0, numofproving = 0;
      while (level1 < end && regular[level1].cost == regular[level0].cost)
        level1++;
      for (int i = level0; i < level1; i++) {
        const verdictinfo &v = regular[i].verdict;
        if (allowbreaks ? v.passed : passedintact(v))
          proving[numofproving++] = i;
      }
      if (allowbreaks && numofproving > 0)
        regularbest = proving[0];
      // Proved a few at a time in list order, up to the first that holds.
      for (int k0 = 0; !allowbreaks && k0 < numofproving && regularbest < 0; k0 += PROOFBATCH) {
        int count = std::min(PROOFBATCH, numofproving - k0);
        provingbase = k0;
        if (!runproofs(loadproving, count, seconds, workers, proofs))
          return 0;
        for (int k = 0; k < count; k++) {
          regularinfo &r = regular[proving[k0 + k]];
          memcpy(r.proof, proofs + k * PROOFSECONDS, sizeof r.proof);
          r.proved = proofholds(r.proof);
          if (r.proved && regularbest < 0)
            regularbest = proving[k0 + k];
        }
      }
      level0 = level1;
    }
    start = end;
  }
  return 1;
}
