#include <gtest/gtest.h>

#include <math.h>
#include <string.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <set>
#include <vector>

#include "authoring/cheapest.h"
#include "authoring/files.h"
#include "authoring/proof.h"
#include "authoring/regular.h"
#include "authoring/runlog.h"
#include "editor/editor.h"
#include "sim_bridge.h"
#include "tempdir.h"
#include "authoring/verifyrun.h"

static bridgetables bare, saved;

// The default crossing (ground at 32, a dip to 16 from 996 to 1052, water
// at 24) with its two end anchors.
static void makebare(float left, float right) {
  createlevel();
  level.leftend = left;
  level.rightend = right;
  numofjoints = numofbeams = 0;
  joint[numofjoints++] = {0, {left, 32.0f}};
  joint[numofjoints++] = {0, {right, 32.0f}};
  savebridgetables(&bare);
}

static int ongrid(float v) { return v == 2.0f * floorf(v / 2.0f); }

// What any regular truss must be, checked on the live tables: joints on the
// grid, free ones above ground and water, beams of a drawable length none
// through the ground, every joint reached from the left end anchor, the
// anchors kept, and a deck joint at every panel point from the left end.
static void checktruss(const trussinfo &t, float left, float right) {
  SCOPED_TRACE(std::string(trusskindname(t.kind)) + " " + trusssidename(t.side) + " panels " +
               std::to_string(t.panels) + " depth " + std::to_string(t.depth));
  for (int i = 0; i < numofjoints; i++) {
    EXPECT_TRUE(ongrid(joint[i].pos.x) && ongrid(joint[i].pos.y)) << joint[i].pos.x << ", " << joint[i].pos.y;
    EXPECT_TRUE(joint[i].type == 0 || (pointabovelevel(joint[i].pos) && joint[i].pos.y >= level.waterlevel)) << i;
  }
  for (int i = 0; i < bare.numofjoints; i++)
    EXPECT_TRUE(joint[i].type == 0 && joint[i].pos.x == bare.joint[i].pos.x && joint[i].pos.y == bare.joint[i].pos.y);
  std::vector<int> reached(numofjoints, 0);
  reached[0] = 1;
  for (int changed = 1; changed;) {
    changed = 0;
    for (int b = 0; b < numofbeams; b++)
      if (reached[beam[b].joint1] != reached[beam[b].joint2])
        reached[beam[b].joint1] = reached[beam[b].joint2] = changed = 1;
  }
  // the end anchors and every free joint; another anchor may stand alone
  for (int i = 0; i < numofjoints; i++)
    EXPECT_TRUE(reached[i] || (i >= 2 && joint[i].type == 0)) << "joint " << i << " not connected";
  for (int b = 0; b < numofbeams; b++) {
    vector2d p = joint[beam[b].joint1].pos, q = joint[beam[b].joint2].pos;
    EXPECT_LE(vectordistance2d(&p, &q), MAXBEAMLENGTH);
    vector2d a = {p.x + (q.x - p.x) * 0.5f, p.y + (q.y - p.y) * 0.5f};
    EXPECT_TRUE(pointabovelevel(a));
    EXPECT_EQ(beam[b].type, fabsf(p.y - level.deckheight) < 1.0f && fabsf(q.y - level.deckheight) < 1.0f);
  }
  float width = (right - left) / (float)t.panels;
  for (int k = 0; k <= t.panels; k++)
    EXPECT_GE(findjoint({left + width * (float)k, 32.0f}), 0) << "no deck joint at panel point " << k;
}

// Every truss of a span whose ends are off the 4-unit grid (994 to 1054,
// panels of 2, 4, 6 and 10 fit but not 8), and of one of two panels of 16
// (1008 to 1040), is a sound drawing; the list is in cost order and holds
// no bridge twice: over two panels of 16 the Pratt and the Howe are one.
// (The trusses of the shipped levels, posts down to their piers among them,
// are pinned byte for byte by the generated levels' test.)
TEST(Regular, EveryTrussIsDrawable) {
  std::vector<int> panelsseen(40, 0), kindsseen(NUMTRUSSKINDS, 0), sidesseen(4, 0);
  int kingposts = 0;
  for (float left : {994.0f, 1008.0f}) {
    const float right = left == 994.0f ? 1054.0f : 1040.0f;
    makebare(left, right);
    int n = listregulartrusses(&bare);
    ASSERT_GT(n, 20);
    for (int i = 0; i < n; i++) {
      const trussinfo &t = regular[i].truss;
      ASSERT_EQ(buildregulartruss(&bare, &t, nullptr), 1);
      EXPECT_EQ(regular[i].cost, numofbeams * 100);
      EXPECT_TRUE(i == 0 || regular[i - 1].cost <= regular[i].cost) << i;
      checktruss(t, left, right);
      panelsseen[std::min(39, t.panels)] = 1;
      kindsseen[t.kind] = sidesseen[t.side] = 1;
      kingposts += t.panels == 2 && t.side == TRUSS_ABOVE && t.depth == 8.0f &&
                   (t.kind == TRUSS_PRATT || t.kind == TRUSS_HOWE);
    }
  }
  EXPECT_TRUE(panelsseen[30] && panelsseen[15] && panelsseen[10] && panelsseen[6] && !panelsseen[7]);
  EXPECT_EQ(kindsseen, std::vector<int>(NUMTRUSSKINDS, 1));
  EXPECT_TRUE(sidesseen[TRUSS_ABOVE] && sidesseen[TRUSS_BELOW] && sidesseen[TRUSS_BOTH]);
  EXPECT_EQ(kingposts, 1);
}

// A deck that climbs from one end anchor to the other takes only panels
// whose joints stay on the grid along it; a level without an anchor at an
// end has no regular truss; a truss whose lower chord would stand in the
// water or the ground is refused.
TEST(Regular, RefusedWhereItCannotBeDrawn) {
  makebare(992.0f, 1048.0f);
  bare.joint[1].pos.y = 46.0f;  // rises 14 over 56: only 7 panels of 8 by 2 fit
  bare.level.manualdeck = 1;
  int n = listregulartrusses(&bare);
  EXPECT_TRUE(n > 0 && std::all_of(regular, regular + n, [](const regularinfo &r) { return r.truss.panels == 7; }));
  makebare(992.0f, 1056.0f);
  trussinfo deep = {TRUSS_PRATT, TRUSS_BELOW, 4, 10.0f}, shallow = {TRUSS_PRATT, TRUSS_BELOW, 4, 8.0f};
  EXPECT_EQ(buildregulartruss(&bare, &deep, nullptr), 0);      // its chord at 22, in the water
  EXPECT_EQ(buildregulartruss(&bare, &shallow, nullptr), 1);   // at 24, on it
  trussinfo square = {TRUSS_PRATTSQUARE, TRUSS_BELOW, 4, 8.0f};
  EXPECT_EQ(buildregulartruss(&bare, &square, nullptr), 0);    // its end verticals in the cliffs
  bare.joint[1].pos.x = 1058.0f;  // not at the right end
  EXPECT_EQ(listregulartrusses(&bare), 0);
}

// The answer is the cheapest truss that holds: everything cheaper tested
// and failing, and the same results from one worker as from two. (That the
// answer, written out, holds its proof, and that with breaks allowed it is
// no dearer, are the command-line test's.)
TEST(Regular, CheapestThatHolds) {
  makebare(992.0f, 1056.0f);
  int n = listregulartrusses(&bare);
  ASSERT_EQ(testregulartrusses(&bare, 60, 2, 0), 1);
  ASSERT_GE(regularbest, 0);
  std::vector<regularinfo> two(regular, regular + n);
  int besttwo = regularbest;
  const regularinfo &best = regular[regularbest];
  for (int i = 0; i < n; i++) {
    EXPECT_TRUE(regular[i].cost >= best.cost ||
                (regular[i].tested && (!passedintact(regular[i].verdict) || regular[i].proved == 0))) << i;
    EXPECT_TRUE(regular[i].tested || regular[i].cost > best.cost) << i;
  }
  listregulartrusses(&bare);
  ASSERT_EQ(testregulartrusses(&bare, 60, 1, 0), 1);
  EXPECT_EQ(regularbest, besttwo);
  for (int i = 0; i < n; i++)
    EXPECT_EQ(memcmp(&two[i], &regular[i], sizeof(regularinfo)), 0) << "truss " << i;
}

static int loadtruss(int weak) {
  weak ? buildtruss(1) : buildpiertruss();
  return 1;
}

// The proof: the truss on its piers holds at every train second, the train
// called a second later each time; the one without its web does not, and a
// bridge that cannot be built fails every second.
TEST(Proof, HoldsOnlyIntactAtEverySecond) {
  verdictinfo r[3 * PROOFSECONDS];
  ASSERT_EQ(runproofs(loadtruss, 2, 60, 2, r), 1);
  EXPECT_EQ(proofholds(r), 1);
  EXPECT_EQ(proofholds(r + PROOFSECONDS), 0);
  for (int s = 0; s < PROOFSECONDS; s++)
    EXPECT_EQ(r[s].passedstep, r[0].passedstep + (s == 0 ? 0 : (s - 1) * 60)) << "train at " << s << " s";
  ASSERT_EQ(runproofs([](int) { return 0; }, 1, 60, 2, r), 1);
  EXPECT_TRUE(r[0].failure == FAILURE_UNBUILT && !proofholds(r));
}

static std::vector<int> dumped;
static void notedump(int step) { dumped.push_back(step); }

// The record of a collapsing bridge: each broken beam once, in step order,
// the first the one the simulation reported first. Steps asked for after
// the verdict are still dumped, and the record, stresses and weights stay
// those of the verdict.
TEST(RunRecord, BreaksAndDumpsAfterTheVerdict) {
  buildtruss(1);
  savebridgetables(&saved);
  verdictinfo v = runverdict(120, 2.0f);
  loadbridgetables(&saved);
  runsettings s = {};
  s.seconds = 120;
  ASSERT_EQ(recordrun(&s, nullptr), 0);
  ASSERT_GT(runlog.numofbroken, 1);
  EXPECT_TRUE(runlog.steps == v.steps && runlog.failure == v.failure);
  EXPECT_TRUE(runlog.broken[0][0] == v.firstbreak && runlog.broken[0][2] == v.breakside);
  std::vector<int> seen(numofbeams, 0);
  for (int k = 0; k < runlog.numofbroken; k++) {
    EXPECT_EQ(seen[runlog.broken[k][0]]++, 0) << "beam " << runlog.broken[k][0] << " listed twice";
    EXPECT_TRUE(k == 0 || runlog.broken[k][1] >= runlog.broken[k - 1][1]);
    EXPECT_LE(runlog.broken[k][1], runlog.steps);
  }
  static runrecord first;
  first = runlog;
  static bridgetables after;
  savebridgetables(&after);
  loadbridgetables(&saved);
  const int asked[] = {runlog.steps + 100, 5, runlog.steps};
  s.numofdumps = 3;
  memcpy(s.dumpstep, asked, sizeof asked);
  ASSERT_EQ(recordrun(&s, notedump), 0);
  EXPECT_EQ(dumped, (std::vector<int>{5, first.steps, first.steps + 100}));
  EXPECT_EQ(memcmp(&first, &runlog, sizeof first), 0);
  EXPECT_EQ(memcmp(after.beam, beam, sizeof(beaminfo) * (size_t)numofbeams), 0);
}

// The search from a sound bridge ends on the same one with one worker as
// with two; from a bridge that fails it refuses and leaves it as it was.
// (That the one found is cheaper and holds its proof is the command-line
// test's.)
TEST(Cheapest, NeverDearerNeverFailing) {
  buildpiertruss();
  savebridgetables(&saved);
  cheapestsearch s;
  ASSERT_EQ(findcheapestbridge(120, 0, 2, &s), 1);
  ASSERT_EQ(s.outcome, CHEAPEST_FINISHED);
  static bridgetables found;
  savebridgetables(&found);
  loadbridgetables(&saved);
  ASSERT_EQ(findcheapestbridge(120, 0, 1, &s), 1);
  EXPECT_TRUE(numofbeams == found.numofbeams && numofjoints == found.numofjoints &&
              memcmp(joint, found.joint, sizeof(jointinfo) * (size_t)numofjoints) == 0);
  buildtruss(1);
  savebridgetables(&saved);
  ASSERT_EQ(findcheapestbridge(120, 0, 2, &s), 1);
  EXPECT_TRUE(s.outcome == CHEAPEST_STARTFAILS && numofbeams == saved.numofbeams);
}

class AuthoringFiles : public tempdirtest {};

// The save refuses a name the game cannot take, and one beside a "bridge"
// directory, where the game's own save would write instead. (What a pack
// check finds, and a name without the bridge extension, are the
// command-line test's.)
TEST_F(AuthoringFiles, SaveRefusalsAndNames) {
  ASSERT_EQ(system("mkdir -p c out/bridge"), 0);
  buildtruss(1);
  const char *why = "";
  ASSERT_EQ(savegamebridge("c/01 A.qzb", &why), 1) << why;
  EXPECT_EQ(savegamebridge("c/a name much too long for the game.qzb", &why), 0);
  EXPECT_EQ(savegamebridge("out/x.qzb", &why), 0);
  EXPECT_TRUE(strstr(why, "subdirectory") && !exists("out/x.qzb") && !exists("out/bridge/x.qzb"));
  // a dot in a directory's name is no extension ("t.qzb" to "t min.qzb" is the command-line test's)
  char name[64];
  EXPECT_TRUE(makeminname("c.d/01 A", name, sizeof name) && !strcmp(name, "c.d/01 A min.qzb"));
}

static bridgetables truss, crossing;

// A bridge goes onto another crossing only where all its anchors are; it
// then takes that level's record and deck line, and a refusal changes nothing.
TEST(VerifyRun, TransplantOntoAnotherCrossing) {
  buildtruss(0);
  savebridgetables(&truss);
  crossing = truss;
  crossing.numofbeams = 0;
  crossing.level.deckheight = 40.0f;  // the top chord's row
  crossing.level.budget = 1234;
  ASSERT_EQ(transplantbridge(&truss, &crossing), 1);
  EXPECT_TRUE(std::count_if(beam, beam + numofbeams, [](const beaminfo &b) { return b.type == 1; }) == 7 &&
              level.budget == 1234);
  crossing.joint[8].pos.y += 2.0f;  // an end anchor moved
  EXPECT_TRUE(transplantbridge(&truss, &crossing) == 0 && level.budget == 1234 && numofbeams == truss.numofbeams);
  // The whole crossing 4 higher: the same truss is built there, moved with it.
  for (int i = 0; i < crossing.numofjoints; i++)
    crossing.joint[i].pos.y += i == 8 ? 2.0f : 4.0f;
  crossing.joint[crossing.numofjoints] = crossing.joint[0];  // a stale entry past the count
  vector2d shifts[4];
  ASSERT_EQ(findbridgeshifts(&truss, &crossing, shifts, 4), 1);
  EXPECT_TRUE(shifts[0].x == 0.0f && shifts[0].y == 4.0f);
  ASSERT_EQ(transplantbridge(&truss, &crossing, shifts[0]), 1);
  EXPECT_EQ(joint[8].pos.y, truss.joint[8].pos.y + 4.0f);
}

// Passed step: the process that ran it.
static verdictinfo pidjob(int) {
  verdictinfo v = makeverdict(0);
  v.passedstep = (int)getpid();
  return v;
}
static verdictinfo dyingjob(int i) {
  if (i == 5)
    _exit(3);
  return pidjob(i);
}

// Jobs run in two worker processes; a dead worker is reported, and so is a
// pool that could start none. (That results land by job index, one worker
// against two, is the regular trusses' and the proof's.)
TEST(VerifyRun, WorkerPool) {
  verdictinfo results[50];
  ASSERT_EQ(runjobs(pidjob, 50, 2, results), 1);
  std::set<int> workers;
  for (int i = 0; i < 50; i++)
    workers.insert(results[i].passedstep);
  EXPECT_TRUE(workers.size() == 2 && !workers.count((int)getpid()));
  EXPECT_EQ(runjobs(dyingjob, 50, 2, results), 0);
  rlimit saved;
  getrlimit(RLIMIT_NOFILE, &saved);
  rlimit nofiles = {0, saved.rlim_max};
  setrlimit(RLIMIT_NOFILE, &nofiles);
  int ran = runjobs(pidjob, 50, 2, results);
  setrlimit(RLIMIT_NOFILE, &saved);
  EXPECT_EQ(ran, 0);
}
