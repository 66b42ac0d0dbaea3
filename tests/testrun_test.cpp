#include <gtest/gtest.h>

#include <limits.h>
#include <math.h>
#include <string.h>

#include "render/view.h"
#include "shell/config.h"
#include "shell/input.h"
#include "sim/object.h"
#include "sim/particle.h"
#include "sim_bridge.h"
#include "testrun/game.h"
#include "testrun/testrun.h"
#include "ui/textbox.h"
#include "world/levellist.h"

// A test run as the screen starts it, on the pier truss.
static void startrun(int trainstart, int autorun) {
  buildpiertruss();
  level.trainstart = trainstart;
  memset(&game, 0, sizeof(game));
  game.weight = level.weight;
  game.add = 5000;
  levelnum = -1;
  starttestrun(0);
  game.autorun = autorun;
}

// Step until the state changes or `limit` steps went by; returns the step.
static int stepuntilchange(int limit) {
  int state = game.state;
  for (int i = 0; i < limit && game.state == state; i++)
    simulationstep();
  return game.steps;
}

static float trainx() { return particle[object[0].particlelist[3]].pos.x; }

TEST(TestRun, TrainStartTimings) {
  struct {
    int trainstart, traintime, runtrain;  // "Run Train" pressed after this many steps, or 0
    int called, placed, state, type;
    float x;                              // the locomotive's rear corner
    int remembered;
  } rows[] = {
      {0, 0, 0, 1, 60, STATE_RIGHTWARD, OBJECT_RIGHTLOCO, 992.0f - 16.0f - 4.0f, 1},
      {0, 0, 130, 131, 180, STATE_RIGHTWARD, OBJECT_RIGHTLOCO, 972.0f, 3},
      {0, 3, 0, 180, 180, STATE_RIGHTWARD, OBJECT_RIGHTLOCO, 972.0f, 3},  // autorun repeats the second
      {1, 0, 0, 1, 60, STATE_LEFTWARD, OBJECT_LEFTLOCO, 1056.0f + 16.0f - 4.0f, 1},
  };
  for (const auto &r : rows) {
    SCOPED_TRACE(testing::Message() << "row " << (&r - rows));
    startrun(r.trainstart, r.runtrain == 0);
    level.traintime = r.traintime;
    if (r.runtrain) {
      for (int i = 0; i < r.runtrain; i++)
        simulationstep();
      EXPECT_EQ(game.state, STATE_BRIDGE);
      game.state = STATE_CALLED;
    } else {
      EXPECT_EQ(stepuntilchange(300), r.called);
    }
    if (r.called != r.placed) {
      EXPECT_EQ(game.state, STATE_CALLED);
      EXPECT_EQ(stepuntilchange(300), r.placed);
    }
    EXPECT_EQ(game.state, r.state);
    EXPECT_EQ(level.traintime, r.remembered);
    ASSERT_EQ(numofobjects, 4);
    EXPECT_EQ(object[0].type, r.type);
    EXPECT_EQ(trainx(), r.x);
    EXPECT_EQ(object[0].weight, 4.0f);
  }
}

TEST(TestRun, CrossingsAndPassRules) {
  // One way: across, then passed in the next step; the list flag is set.
  startrun(0, 1);
  levelnum = 2;
  levelpassed[2] = 0;
  EXPECT_FALSE(isprogressiveoffered());
  stepuntilchange(10);
  stepuntilchange(100);
  int across = stepuntilchange(2000);
  EXPECT_EQ(game.state, STATE_CROSSED);
  for (int o = 0; o < numofobjects; o++)
    EXPECT_GE(object[o].center.x, level.rightend + 8.0f);
  EXPECT_EQ(stepuntilchange(10), across + 1);
  EXPECT_EQ(game.state, STATE_PASSED);
  EXPECT_EQ(levelpassed[2], 1);
  EXPECT_TRUE(isprogressiveoffered());

  // Both ways: the return train replaces the first in the next step.
  startrun(2, 1);
  stepuntilchange(10);
  stepuntilchange(100);
  across = stepuntilchange(2000);
  ASSERT_EQ(game.state, STATE_CROSSED);
  EXPECT_EQ(stepuntilchange(10), across + 1);
  EXPECT_EQ(game.state, STATE_LEFTWARD);
  EXPECT_EQ(numofobjects, 4);
  EXPECT_EQ(object[0].type, OBJECT_LEFTLOCO);
  // The old cars' particles die at the end of that step; couplers stay as loose particles.
  EXPECT_EQ(numofparticles, 20 + 3 + 19);
  stepuntilchange(3000);
  EXPECT_EQ(game.state, STATE_PASSED);
  for (int o = 0; o < numofobjects; o++)
    EXPECT_LE(object[o].center.x, level.leftend - 8.0f);

  // A car that is no longer a number is never across; an empty list is.
  object[0].center.x = NAN;
  EXPECT_FALSE(istrainacross(OBJECT_LEFTLOCO));
  EXPECT_FALSE(istrainacross(OBJECT_RIGHTLOCO));
  numofobjects = 0;
  EXPECT_TRUE(istrainacross(OBJECT_RIGHTLOCO));
  // Levels past the progress table, or not from the list, offer the modes.
  for (int n : {-1, MAXPROGRESS}) {
    levelnum = n;
    EXPECT_TRUE(isprogressiveoffered()) << n;
  }
  levelnum = -1;
}

TEST(TestRun, ProgressiveWeights) {
  // Crossings at 40000, 45000, ... each from the same start second; no list flag.
  startrun(0, 1);
  game.mode = 1;
  levelnum = 0;
  levelpassed[0] = 0;
  for (int crossing = 0; crossing < 3; crossing++) {
    while (game.state != STATE_RIGHTWARD)
      simulationstep();
    EXPECT_EQ(game.steps, 60) << crossing;
    EXPECT_EQ(game.testweight, 40000 + 5000 * crossing);
    EXPECT_EQ(object[0].weight, (float)game.testweight / 10000.0f);
    for (int i = 0; i < 3000 && game.state != STATE_PROGRESSIVE; i++)
      simulationstep();
    ASSERT_EQ(game.state, STATE_PROGRESSIVE) << crossing;
    EXPECT_EQ(game.steps, 0);
    EXPECT_EQ(numofobjects, 0);
  }
  EXPECT_EQ(levelpassed[0], 0);
  levelnum = -1;

  // Whatever was typed into "Add", the next train weighs 1 to INT_MAX.
  const int rows[][2] = {{-50000, 1}, {-39999, 1}, {-39998, 2}, {INT_MAX, INT_MAX}};
  for (const auto &r : rows) {
    startrun(0, 1);
    game.mode = 1;
    game.add = r[0];
    for (int i = 0; i < 3000 && game.state != STATE_PROGRESSIVE; i++)
      simulationstep();
    ASSERT_EQ(game.state, STATE_PROGRESSIVE);
    EXPECT_EQ(game.testweight, r[1]) << r[0];
  }
}

TEST(TestRun, TrainStartIsKeptOnTheTerrain) {
  // Ends near or past the map edges: the start height comes from the edge columns.
  struct {
    int start;
    float end, height, expect;
    int column;
  } rows[] = {{0, 4.0f, 50.0f, 50.0f, 0}, {0, -100.0f, 55.0f, 55.0f, 0}, {1, 2034.0f, 60.0f, 60.0f, 511},
              {1, 3000.0f, 65.0f, 65.0f, 511}, {0, 40.0f, 70.0f, 70.0f, 6}};
  for (const auto &r : rows) {
    startrun(r.start, 1);
    (r.start ? level.rightend : level.leftend) = r.end;
    level.terrain[r.column] = r.height;
    for (int i = 0; i < 60; i++)
      simulationstep();
    ASSERT_NE(game.state, STATE_BRIDGE) << r.end;
    EXPECT_NEAR(particle[object[0].particlelist[3]].pos.y, r.expect, 0.01f) << r.end;
  }
}

TEST(TestRun, BridgeTooLargeForTheTrain) {
  // Particle table one train short: the start is refused, the run waits with the bridge alone.
  for (int start : {0, 2}) {
    startrun(start, 1);
    int bridge = numofparticles;
    vector2d far = {100.0f, 400.0f};
    int room = start ? 0 : 18;
    while (numofparticles < MAXPARTICLES - room)
      createparticle(PARTICLE_FIXED, &far, nullptr, 1.0f, -1);
    if (start)
      game.state = STATE_CROSSED;  // the return train finds no room
    for (int i = 0; i < 200; i++)
      simulationstep();
    EXPECT_EQ(trainrefused, 1) << start;
    EXPECT_EQ(game.state, STATE_BRIDGE) << start;
    EXPECT_EQ(game.autorun, 0);
    EXPECT_EQ(numofobjects, 0);
    EXPECT_EQ(level.traintime, start ? 0 : 1); // a called train's second is kept
    restarttestrun(1);
    EXPECT_EQ(trainrefused, 0);
    EXPECT_EQ(game.autorun, 1);
    EXPECT_EQ(numofparticles, bridge);
  }
}

TEST(TestRun, SpeedTogglesAndPacing) {
  // The newly chosen speed wins over the one already on.
  startrun(0, 0);
  struct {
    int *toggle;
    int steptime;
  } toggles[] = {{&game.slow, 64}, {&game.fast, 4}, {&game.veryfast, 1}, {&game.slow, 64}, {&game.fast, 4}};
  for (const auto &t : toggles) {
    *t.toggle = 1;
    setsteptime();
    EXPECT_EQ(game.steptime, t.steptime);
    EXPECT_EQ(game.slow + game.fast + game.veryfast, 1);
  }
  game.slow = game.fast = game.veryfast = 0;
  setsteptime();
  EXPECT_EQ(game.steptime, 16);

  struct {
    int veryfast, pause;
    unsigned int start, now;
    int due, steps;
    unsigned int next;
  } frames[] = {
      {0, 0, 0, 15, 0, 0, 0},
      {0, 0, 0, 16, 1, 1, 16},
      {0, 0, 0, 100, 3, 3, 100},    // the backlog is dropped after two steps
      {1, 0, 0, 20, 8, 8, 8},       // very fast keeps it for the next frame
      {1, 0, 0, 5, 5, 5, 5},
      {1, 1, 0, 20, 8, 0, 8},       // paused: the clock runs on, no step
      {0, 0, 0xfffffff8u, 8, 1, 1, 8},  // the millisecond counter wraps
  };
  for (const auto &f : frames) {
    startrun(0, 0);
    game.veryfast = f.veryfast;
    setsteptime();
    game.pause = f.pause;
    testrunclock.step = f.start;
    EXPECT_EQ(checksimulationpace(f.now), f.due) << f.now;
    EXPECT_EQ(game.steps, f.steps) << f.now;
    EXPECT_EQ(testrunclock.step, f.next) << f.now;
  }
}

TEST(TestRun, CameraMoveAndClamps) {
  startrun(0, 0);
  windowinfo.fullscreen = 0;
  struct {
    int keys[4];
    int mx, my, fullscreen, editing, wheelup, wheeldown, repeat;
    float x, y, z;
  } rows[] = {
      {{'d'}, 320, 240, 0, 0, 0, 0, 1, 1024.5f, 32.0f, 64.0f},
      {{'d', KEY_LSHIFT}, 320, 240, 0, 0, 0, 0, 1, 1025.0f, 32.0f, 64.0f},
      {{'d', KEY_LSHIFT, KEY_LCTRL}, 320, 240, 0, 0, 0, 0, 1, 1028.0f, 32.0f, 64.0f},
      {{'a', 's', 'q'}, 320, 240, 0, 0, 0, 0, 1, 1023.5f, 31.5f, 63.5f},
      {{'w', 'z'}, 320, 240, 0, 0, 0, 0, 1, 1024.0f, 32.5f, 64.5f},
      {{'d', 'w', 'z'}, 320, 240, 0, 0, 0, 0, 200, 1056.0f, 132.0f, 164.0f},  // x stops at the right end
      {{'d', 'w', 'z', KEY_LCTRL}, 320, 240, 0, 0, 0, 0, 200, 1056.0f, 512.0f, 256.0f},
      {{'a', 's', 'q', KEY_LCTRL}, 320, 240, 0, 0, 0, 0, 200, 992.0f, 0.0f, 16.0f},
      {{'w'}, 320, 240, 0, 1, 0, 0, 1, 1024.0f, 32.0f, 64.0f},  // a text box keeps the letters
      {{}, 320, 240, 0, 0, 0, 3, 1, 1024.0f, 32.0f, 76.0f},     // wheel notches: 4 units each
      {{}, 320, 240, 0, 0, 20, 0, 1, 1024.0f, 32.0f, 16.0f},
      {{}, 0, 479, 0, 0, 0, 0, 1, 1024.0f, 32.0f, 64.0f},       // edge scrolling only in full screen
      {{}, 0, 479, 1, 0, 0, 0, 1, 1023.5f, 31.5f, 64.0f},
      {{}, 1, 478, 1, 0, 0, 0, 1, 1023.5f, 31.5f, 64.0f},
      {{}, 320, 1, 1, 0, 0, 0, 1, 1024.0f, 32.5f, 64.0f},
      {{}, 639, 0, 1, 0, 0, 0, 1, 1024.5f, 32.5f, 64.0f},
      {{}, 2, 477, 1, 0, 0, 0, 1, 1024.0f, 32.0f, 64.0f},
      {{}, 637, 2, 1, 0, 0, 0, 1, 1024.0f, 32.0f, 64.0f},
  };
  for (const auto &r : rows) {
    SCOPED_TRACE(testing::Message() << "row " << (&r - rows));
    memset(keyboard, 0, sizeof(keyboard));
    for (int k : r.keys)
      keyboard[k] = k != 0;
    mouse.x = r.mx, mouse.y = r.my, mouse.wheelup = r.wheelup, mouse.wheeldown = r.wheeldown;
    windowinfo.fullscreen = r.fullscreen;
    textinput.editing = r.editing;
    view.pos[0] = 1024.0f, view.pos[1] = 32.0f, view.pos[2] = 64.0f;
    for (int i = 0; i < r.repeat; i++)
      movecamera();
    EXPECT_EQ(view.pos[0], r.x);
    EXPECT_EQ(view.pos[1], r.y);
    EXPECT_EQ(view.pos[2], r.z);
    EXPECT_EQ(mouse.wheelup + mouse.wheeldown, 0);
  }
  // The run's own camera clock: one tick per 16 ms, the backlog dropped after two.
  memset(keyboard, 0, sizeof(keyboard));
  textinput.editing = windowinfo.fullscreen = 0;
  testrunclock.camera = 0;
  EXPECT_EQ(checkcamerapace(15), 0);
  EXPECT_EQ(checkcamerapace(16), 1);
  EXPECT_EQ(checkcamerapace(1000), 3);
  EXPECT_EQ(testrunclock.camera, 1000u);
}
