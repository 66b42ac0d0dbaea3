#include <gtest/gtest.h>

#include <algorithm>
#include <limits.h>
#include <math.h>
#include <string.h>
#include <vector>

#include "render/view.h"
#include "shell/config.h"
#include "shell/input.h"
#include "sim/object.h"
#include "sim/bond.h"
#include "sim/particle.h"
#include "sim_bridge.h"
#include "testrun/game.h"
#include "testrun/outcome.h"
#include "testrun/replay.h"
#include "testrun/runrecord.h"
#include "testrun/testrun.h"
#include "testrun/verdict.h"
#include "ui/textbox.h"
#include "world/levellist.h"

// A test run as the screen starts it, on the pier truss.
static void startrun(int trainstart, int autorun, int mode = 0) {
  buildpiertruss();
  level.trainstart = trainstart;
  startplainrun(mode, autorun);
}

// Step until the run reaches `state` or `limit` steps went by; returns the step.
static int stepuntil(int state, int limit = 3000) {
  for (int i = 0; i < limit && game.state != state; i++)
    simulationstep();
  return game.steps;
}

TEST(TestRun, CrossingsPassRulesAndProgressiveWeights) {
  // One way: across, then passed in the next step; the list flag is set.
  startrun(0, 1);
  levelnum = 0, levelpassed[0] = 0;
  EXPECT_FALSE(isprogressiveoffered());
  int across = stepuntil(STATE_CROSSED), flagged = levelpassed[0];
  EXPECT_TRUE(stepuntil(STATE_PASSED, 10) == across + 1 && flagged == 0 && levelpassed[0] == 1 && isprogressiveoffered());
  // Both ways: passed once the return train is past the left end, every
  // bit of the run as recorded before any speed work.
  startrun(2, 1);
  ASSERT_EQ((stepuntil(STATE_PASSED), game.state), STATE_PASSED);
  for (int o = 0; o < numofobjects; o++)
    EXPECT_LE(object[o].center.x, level.leftend - 8.0f);
  stepuntil(-1, 1200 - game.steps);
  EXPECT_EQ(hashpositions(), 0x124a02c6f495a11bull);
  // A car that is no longer a number is never across.
  object[0].center.x = NAN;
  EXPECT_FALSE(istrainacross(OBJECT_LEFTLOCO) || istrainacross(OBJECT_RIGHTLOCO));
  // Levels past the progress table, or not from the list, offer the modes.
  for (int n : {-1, MAXPROGRESS})
    EXPECT_TRUE((levelnum = n, isprogressiveoffered())) << n;
  // Crossings at 40000, 45000, ... each from the same start second, noted
  // for the records and held once across; no list flag.
  startrun(0, 1, 1);
  levelnum = 0, levelpassed[0] = 0;
  for (int crossing = 0, weight = 40000; crossing < 3; crossing++, weight += 5000) {
    EXPECT_EQ(stepuntil(STATE_RIGHTWARD), 60) << crossing;
    checkrunrecord();
    EXPECT_TRUE(object[0].weight * 10000.0f == (float)weight && runrecord.crossing == weight) << crossing;
    ASSERT_TRUE(stepuntil(STATE_PROGRESSIVE) + numofobjects == 0 && outcome.held == weight) << crossing;
  }
  EXPECT_EQ(levelpassed[0], 0);
  // The train called at 114 s: each crossing has its 120 s from its own
  // start, so no failure shows until one really fails, and none passes after.
  startrun(0, 0, 1);
  stepuntil(-1, 114 * STEPSPERSECOND);
  game.state = STATE_CALLED;
  for (int i = 0; i < 1000 * STEPSPERSECOND && outcome.held < 50000 && outcome.failure == FAILURE_NONE; i++)
    simulationstep();
  EXPECT_TRUE(outcome.held == 50000 && outcome.failure == FAILURE_NONE) << outcome.held;
  // Whatever was typed into "Add", the next train weighs 1 to INT_MAX.
  const int rows[][2] = {{-50000, 1}, {-40000, 1}, {-39998, 2}, {INT_MAX, INT_MAX}};
  for (const auto &r : rows) {
    startrun(0, 1, 1);
    game.add = r[0];
    stepuntil(STATE_PROGRESSIVE);
    EXPECT_EQ(game.testweight, r[1]) << r[0];
  }
}

TEST(TestRun, TrainStartAndRefusal) {
  // "Run Train" pressed after `runtrain` steps, or autorun: the crossing's
  // time starts when the train is placed. The locomotive's rear corner
  // lands at (x, y), 16 outside the end on the terrain there; for ends near
  // or past the map edges the edge columns give the height.
  struct { int trainstart, traintime, runtrain, placed; float end; int column; float x, y; int remembered; } rows[] = {
      {0, 0, 0, 60, 992, 0, 972, 32, 1},        {0, 0, 130, 180, 992, 0, 972, 32, 3},
      {0, 3, 0, 180, 992, 0, 972, 32, 3},  /* autorun repeats the second */  {1, 0, 0, 60, 1056, 0, 1068, 32, 1},
      {0, 0, 0, 60, 4, 0, -16, 50, 1},          {0, 0, 0, 60, -100, 0, -120, 55, 1},
      {0, 0, 0, 60, 40, 6, 20, 70, 1},          {1, 0, 0, 60, 2026, 510, 2038, 62, 1},
      {1, 0, 0, 60, 2034, 511, 2046, 60, 1},    {1, 0, 0, 60, 3000, 511, 3012, 65, 1}};
  for (const auto &r : rows) {
    SCOPED_TRACE(testing::Message() << "row " << (&r - rows));
    startrun(r.trainstart, r.runtrain == 0);
    level.traintime = r.traintime;
    (r.trainstart ? level.rightend : level.leftend) = r.end;
    level.terrain[r.column] = r.y;
    stepuntil(-1, r.runtrain);
    game.state = !r.runtrain ? game.state : game.state == STATE_BRIDGE ? STATE_CALLED : -1;  // no call before the press
    EXPECT_EQ(stepuntil(r.trainstart ? STATE_LEFTWARD : STATE_RIGHTWARD, 300), r.placed);
    ASSERT_TRUE(numofobjects == 4 && object[0].type == (r.trainstart ? OBJECT_LEFTLOCO : OBJECT_RIGHTLOCO));
    const vector2d &rear = particle[object[0].particlelist[3]].pos;
    EXPECT_TRUE(level.traintime == r.remembered && outcome.clock == 1 && rear.x == r.x &&
                fabsf(rear.y - r.y) < 0.01f) << rear.x << ", " << rear.y;
  }
  // Particle table one train short: the start is refused, the run waits
  // with the bridge alone; a called train's second is kept.
  for (int start : {0, 2}) {
    startrun(start, 1);
    int bridge = numofparticles;
    vector2d far = {100.0f, 400.0f};
    while (numofparticles < MAXPARTICLES - (start ? 0 : 18))
      createparticle(PARTICLE_FIXED, &far, nullptr, 1.0f, -1);
    game.state = start ? STATE_CROSSED : game.state;  // the return train finds no room
    stepuntil(-1, 200);
    EXPECT_EQ(std::vector<int>({trainrefused, game.state, game.autorun, numofobjects, level.traintime}),
              std::vector<int>({1, STATE_BRIDGE, 0, 0, start ? 0 : 1})) << start;
    restarttestrun(1);
    EXPECT_TRUE(trainrefused == 0 && game.autorun == 1 && numofparticles == bridge) << start;
  }
}

TEST(TestRun, SpeedCameraAndPacing) {
  // The newly chosen speed wins over the one already on.
  startrun(0, 0);
  // The speed line names the one that runs, Normal too.
  EXPECT_STREQ(getspeedtext(), "Speed: Normal");
  struct { int *toggle; int steptime; const char *shown; } toggles[] = {
      {&game.slow, 64, "Speed: Slow"}, {&game.fast, 4, "Speed: Fast"}, {&game.veryfast, 1, "Speed: Very Fast"},
      {&game.slow, 64, "Speed: Slow"}};
  for (const auto &t : toggles) {
    *t.toggle = 1;
    setsteptime();
    EXPECT_TRUE(game.steptime == t.steptime && game.slow + game.fast + game.veryfast == 1 &&
                strcmp(getspeedtext(), t.shown) == 0) << t.shown;
  }
  struct { int veryfast, pause; unsigned int start, now; int due, steps; unsigned int next; } frames[] = {
      {0, 0, 0, 15, 0, 0, 0},         {0, 0, 0, 16, 1, 1, 16},
      {0, 0, 0, 100, 3, 3, 100},      // the backlog is dropped after two steps
      {1, 0, 0, 20, 8, 8, 8},         // very fast keeps it for the next frame
      {1, 0, 0, 5, 5, 5, 5},          {1, 1, 0, 20, 8, 0, 8},  // paused: the clock runs on, no step
      {0, 0, 0xfffffff8u, 8, 1, 1, 8}};  // the millisecond counter wraps
  for (const auto &f : frames) {
    startrun(0, 0);
    game.veryfast = f.veryfast;
    setsteptime();
    game.pause = f.pause, testrunclock.step = f.start;
    EXPECT_TRUE(checksimulationpace(f.now) == f.due && game.steps == f.steps && testrunclock.step == f.next) << f.now;
  }
  // From (1024, 32, 64), keys held (S shift, C control) for `repeat` moves;
  // the mouse at (mx, my), wheel notches up and down.
  struct { const char *keys; float x, y, z;
    int repeat = 1, mx = 320, my = 240, fullscreen = 0, editing = 0, wheelup = 0, wheeldown = 0; } rows[] = {
      {"dS", 1025, 32, 64},  {"dSC", 1028, 32, 64},  {"asq", 1023.5f, 31.5f, 63.5f},
      {"dwzC", 1056, 512, 256, 200},  {"asqC", 992, 0, 16, 200},
      {"w", 1024, 32, 64, 1, 320, 240, 0, 1},  // a text box keeps the letters
      {"", 1024, 32, 76, 1, 320, 240, 0, 0, 0, 3},  {"", 1024, 32, 16, 1, 320, 240, 0, 0, 20},  // 4 units a notch
      {"", 1024, 32, 64, 1, 0, 479},  // edge scrolling only in full screen, within 2 pixels of the edge
      {"", 1023.5f, 32.5f, 64, 1, 1, 1, 1},  {"", 1024.5f, 31.5f, 64, 1, 638, 478, 1},  {"", 1024, 32, 64, 1, 2, 477, 1},
      {"", 1024, 32, 64, 1, 637, 2, 1},  {"d", 1024.5f, 32, 64}};  // "d" held on below
  for (const auto &r : rows) {
    memset(keyboard, 0, sizeof(keyboard));
    for (const char *k = r.keys; *k; k++)
      keyboard[*k == 'S' ? (int)KEY_LSHIFT : *k == 'C' ? (int)KEY_LCTRL : *k] = 1;
    mouse.x = r.mx, mouse.y = r.my, mouse.wheelup = r.wheelup, mouse.wheeldown = r.wheeldown;
    windowinfo.fullscreen = r.fullscreen, textinput.editing = r.editing;
    view.pos[0] = 1024.0f, view.pos[1] = 32.0f, view.pos[2] = 64.0f;
    for (int i = 0; i < r.repeat; i++)
      movecamera();
    EXPECT_EQ(std::vector<float>(view.pos, view.pos + 3), std::vector<float>({r.x, r.y, r.z})) << "row " << (&r - rows);
    EXPECT_EQ(mouse.wheelup + mouse.wheeldown, 0) << "row " << (&r - rows);
  }
  // The run's own camera clock moves the camera (its pace is the editor's, tested there).
  testrunclock.camera = 0;
  EXPECT_TRUE(checkcamerapace(1000) == 3 && testrunclock.camera == 1000u && view.pos[0] == 1026.0f);
  keyboard['d'] = 0;
}

// The replay of a break: the pier truss under a train too heavy for it, the
// weak truss breaking under its own weight with no train called, and a
// progressive crossing at a weight the pier truss cannot carry. Each replay stops in "Slow" a second
// before the break, or at once for an early one, with the beam ringed where
// it is; run on, it breaks the same beam at the same step.
TEST(TestRun, ReplayBreaksTheSameBeamAtTheSameStep) {
  struct { int weak, autorun, mode, weight, add; } rows[] = {{0, 1, 0, 900000, 0}, {1, 0, 0, 40000, 0}, {0, 1, 1, 40000, 900000}};
  for (const auto &r : rows) {
    SCOPED_TRACE(testing::Message() << "row " << (&r - rows));
    startrun(0, r.autorun, r.mode);
    if (r.weak)
      buildtruss(1), starttestrun(0), game.autorun = r.autorun;
    game.add = r.add;
    game.weight = r.weight;
    for (int i = 0; i < 200 * STEPSPERSECOND && outcome.firstbreak < 0; i++)
      simulationstep();
    ASSERT_GE(outcome.firstbreak, 0);
    int beam = outcome.firstbreak, step = outcome.firstbreakstep, weight = game.testweight;
    vector2d where = outcome.firstbreakpos;
    game.fast = 1;
    startreplay();
    for (int i = 0; i < 200 * STEPSPERSECOND && !game.pause; i++)
      simulationstep();
    vector2d mark;
    ASSERT_TRUE(game.pause && game.slow && !game.fast && findreplaymark(&mark));
    EXPECT_TRUE(game.steps == std::max(step - STEPSPERSECOND, 0) && outcome.firstbreak < 0) << game.steps;
    game.pause = 0;
    stepuntil(-1, step - 1 - game.steps);  // the step before the break
    EXPECT_TRUE(findreplaymark(&mark) && vectordistance2d(&mark, &where) < 1.0f);
    stepuntil(-1, step - game.steps);
    EXPECT_TRUE(outcome.firstbreak == beam && outcome.firstbreakstep == step && game.testweight == weight &&
                game.mode == r.mode && !findreplaymark(&mark))
        << outcome.firstbreak << " " << outcome.firstbreakstep;
  }
  // A restart forgets the replay; with nothing broken there is none.
  restarttestrun(0);
  vector2d mark;
  startreplay();
  EXPECT_TRUE(!canreplay() && !findreplaymark(&mark) && game.steps == 0 && !game.pause);
}

// The lines under the verdict, from the run's own state.
TEST(TestRun, VerdictAndMarginLines) {
  using texts = std::vector<std::string>;
  verdictline lines[MAXVERDICTLINES];
  auto rows16 = [&]() {  // the texts on the rows at y 0, 16, 32 and 48
    texts t(4);
    for (int i = 0, n = getverdictlines(lines); i < n; i++)
      t.at((size_t)lines[i].y / 16) = lines[i].text;
    return t;
  };
  // A pass with the bridge whole: how near its most stressed beam came.
  startrun(0, 1);
  stepuntil(STATE_PASSED);
  const std::string want = "Weakest beam: 12 % of breaking, compressed";
  EXPECT_EQ(rows16(), texts({"Test Passed", "Bridge intact", want, ""}));
  // Each failure with its own reason; a progressive one says what it held,
  // and the margin moves down a row. A bridge still standing untested says
  // nothing.
  struct { int failure, mode; const char *reason, *held; } rows[] = {
      {FAILURE_FELL, 0, "The train fell", ""}, {FAILURE_STOPPED, 0, "The train stopped", ""},
      {FAILURE_TIME, 1, "Time ran out", "Held 45000"}};
  for (const auto &r : rows) {
    game.state = STATE_RIGHTWARD, game.mode = r.mode;
    outcome.failure = r.failure, outcome.held = r.mode ? 45000 : 0;
    EXPECT_EQ(rows16(), texts({"Test Failed", r.reason, r.mode ? r.held : want, r.mode ? want : ""}));
  }
  startrun(0, 0);
  EXPECT_EQ(getverdictlines(lines), 0);
  // The record line: none outside the level list or under the notice line.
  levelnum = 0, runrecord.cost = 700, runrecord.best = 600, runrecord.beaten = 0, level.budget = 1000;
  EXPECT_TRUE(getrecordline(lines, 0) && std::string(lines[0].text) == "Cost 700  Best 600" && lines[0].y == 64);
  EXPECT_FALSE(getrecordline(lines, 1));
  levelnum = -1;
  EXPECT_FALSE(getrecordline(lines, 0));
}
