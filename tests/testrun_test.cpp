#include <gtest/gtest.h>

#include <limits.h>
#include <string.h>

#include "render/view.h"
#include "shell/config.h"
#include "shell/input.h"
#include "sim/bond.h"
#include "sim/object.h"
#include "sim/particle.h"
#include "sim/train.h"
#include "sim_bridge.h"
#include "testrun/game.h"
#include "testrun/setup.h"
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

TEST(TestRun, TrainStartTimings) {
  // Autorun with traintime 0: called at step 1, placed at step 60, traintime 1.
  startrun(0, 1);
  EXPECT_EQ(stepuntilchange(10), 1);
  EXPECT_EQ(game.state, STATE_CALLED);
  EXPECT_EQ(stepuntilchange(100), 60);
  EXPECT_EQ(game.state, STATE_RIGHTWARD);
  EXPECT_EQ(level.traintime, 1);
  EXPECT_EQ(numofobjects, 4);
  EXPECT_EQ(game.testweight, 40000);
  EXPECT_EQ(object[0].weight, 4.0f);
  // Placed 16 left of the left end, floor at the terrain there.
  EXPECT_EQ(particle[object[0].particlelist[3]].pos.x, 992.0f - 16.0f - 4.0f);

  // "Run Train" at step 130: placed at step 180, traintime 3.
  startrun(0, 0);
  for (int i = 0; i < 130; i++)
    simulationstep();
  EXPECT_EQ(game.state, STATE_BRIDGE);
  game.state = STATE_CALLED;
  EXPECT_EQ(stepuntilchange(100), 180);
  EXPECT_EQ(level.traintime, 3);

  // Autorun repeats the remembered second exactly: called and placed at step 180.
  startrun(0, 1);
  level.traintime = 3;
  EXPECT_EQ(stepuntilchange(300), 180);
  EXPECT_EQ(game.state, STATE_RIGHTWARD);
  EXPECT_EQ(level.traintime, 3);

  // Starting on the right: 1 -> 3 -> 4 within the placing step, train at rightend + 16.
  startrun(1, 1);
  stepuntilchange(10);
  EXPECT_EQ(stepuntilchange(100), 60);
  EXPECT_EQ(game.state, STATE_LEFTWARD);
  EXPECT_EQ(numofobjects, 4);
  EXPECT_EQ(object[0].type, OBJECT_LEFTLOCO);
  EXPECT_EQ(particle[object[0].particlelist[3]].pos.x, 1056.0f + 16.0f - 4.0f);
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

  // Both ways: the first train is removed and the return train placed in the next step.
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
  levelnum = -1;
}

TEST(TestRun, ProgressiveWeights) {
  // Crossings at 40000, 45000, ... each from the same start second; no list flag.
  startrun(0, 1);
  game.mode = 1;
  levelnum = 0;
  levelpassed[0] = 0;
  int weights[3];
  for (int crossing = 0; crossing < 3; crossing++) {
    while (game.state != STATE_RIGHTWARD)
      simulationstep();
    EXPECT_EQ(game.steps, 60) << crossing;
    weights[crossing] = game.testweight;
    EXPECT_EQ(object[0].weight, (float)game.testweight / 10000.0f);
    for (int i = 0; i < 3000 && game.state != STATE_PROGRESSIVE; i++)
      simulationstep();
    ASSERT_EQ(game.state, STATE_PROGRESSIVE) << crossing;
    EXPECT_EQ(game.steps, 0);
    EXPECT_EQ(numofobjects, 0);
  }
  EXPECT_EQ(weights[0], 40000);
  EXPECT_EQ(weights[1], 45000);
  EXPECT_EQ(weights[2], 50000);
  EXPECT_EQ(levelpassed[0], 0);
  levelnum = -1;

  // Whatever was typed into "Add", the next train weighs 1 to INT_MAX.
  const int adds[2] = {-50000, INT_MAX};
  const int expected[2] = {1, INT_MAX};
  for (int k = 0; k < 2; k++) {
    startrun(0, 1);
    game.mode = 1;
    game.add = adds[k];
    for (int i = 0; i < 3000 && game.state != STATE_PROGRESSIVE; i++)
      simulationstep();
    ASSERT_EQ(game.state, STATE_PROGRESSIVE);
    EXPECT_EQ(game.testweight, expected[k]);
  }
}

TEST(TestRun, TrainStartIsKeptOnTheTerrain) {
  // Ends near the map edges: the start height comes from the edge columns.
  startrun(0, 1);
  level.leftend = 4.0f;
  level.terrain[0] = 50.0f;
  for (int i = 0; i < 60; i++)
    simulationstep();
  ASSERT_EQ(game.state, STATE_RIGHTWARD);
  EXPECT_NEAR(particle[object[0].particlelist[3]].pos.y, 50.0f, 0.01f);
  startrun(1, 1);
  level.rightend = 2040.0f;
  level.terrain[511] = 60.0f;
  for (int i = 0; i < 60; i++)
    simulationstep();
  ASSERT_EQ(game.state, STATE_LEFTWARD);
  EXPECT_NEAR(particle[object[0].particlelist[3]].pos.y, 60.0f, 0.01f);
}

TEST(TestRun, BridgeTooLargeForTheTrain) {
  // Particle table one train short: the start is refused, the run waits with the bridge alone.
  startrun(0, 1);
  int bridge = numofparticles;
  vector2d far = {100.0f, 400.0f};
  while (numofparticles < MAXPARTICLES - 18)
    createparticle(PARTICLE_FIXED, &far, nullptr, 1.0f, -1);
  for (int i = 0; i < 200; i++)
    simulationstep();
  EXPECT_EQ(trainrefused, 1);
  EXPECT_EQ(game.state, STATE_BRIDGE);
  EXPECT_EQ(game.autorun, 0);
  EXPECT_EQ(numofobjects, 0);
  EXPECT_EQ(level.traintime, 0);
  // A restart clears the report.
  restarttestrun(1);
  EXPECT_EQ(trainrefused, 0);
  EXPECT_EQ(numofparticles, bridge);
}

TEST(TestRun, SpeedTogglesAndPacing) {
  startrun(0, 0);
  // The newly chosen speed wins over the one already on.
  game.slow = 1;
  setsteptime();
  game.fast = 1;
  setsteptime();
  EXPECT_EQ(game.slow, 0);
  EXPECT_EQ(game.steptime, 4);
  game.veryfast = 1;
  setsteptime();
  EXPECT_EQ(game.fast, 0);
  EXPECT_EQ(game.steptime, 1);

  // Normal speed, a 100 ms frame: 3 steps and the backlog dropped.
  startrun(0, 0);
  EXPECT_EQ(checksimulationpace(15), 0);
  EXPECT_EQ(checksimulationpace(100), 3);
  EXPECT_EQ(game.steps, 3);
  EXPECT_EQ(testrunclock.step, 100u);
  EXPECT_EQ(checksimulationpace(115), 0);
  EXPECT_EQ(checksimulationpace(116), 1);
  // Very fast, a 20 ms frame: 8 steps and 12 ms left for the next frame.
  startrun(0, 0);
  game.veryfast = 1;
  setsteptime();
  EXPECT_EQ(checksimulationpace(20), 8);
  EXPECT_EQ(testrunclock.step, 8u);
  EXPECT_EQ(checksimulationpace(20), 8);
  EXPECT_EQ(checksimulationpace(20), 4);
  EXPECT_EQ(game.steps, 20);
  // Pause: the clock runs on but no step is taken.
  game.pause = 1;
  EXPECT_EQ(checksimulationpace(30), 8);
  EXPECT_EQ(game.steps, 20);
  // The millisecond counter wrapping around does not stall the run.
  startrun(0, 0);
  testrunclock.step = 0xfffffff8u;
  EXPECT_EQ(checksimulationpace(8), 1);
}

TEST(TestRun, CameraMoveAndClamps) {
  startrun(0, 0);
  memset(keyboard, 0, sizeof(keyboard));
  memset(&mouse, 0, sizeof(mouse));
  mouse.x = 320;
  mouse.y = 240;
  windowinfo.fullscreen = 0;
  textinput.editing = 0;
  view.pos[0] = 1024.0f, view.pos[1] = 32.0f, view.pos[2] = 64.0f;
  // The run's own camera clock (the shared clock is covered with the editor).
  keyboard['d'] = 1;
  EXPECT_EQ(checkcamerapace(16), 1);
  EXPECT_EQ(view.pos[0], 1024.5f);
  // Shift doubles, Ctrl wins with 4.
  keyboard[KEY_LSHIFT] = 1;
  movecamera();
  EXPECT_EQ(view.pos[0], 1025.5f);
  keyboard[KEY_LCTRL] = 1;
  movecamera();
  EXPECT_EQ(view.pos[0], 1029.5f);
  // x stays between the ends, y in 0..512, z in 16..256.
  for (int i = 0; i < 20; i++)
    movecamera();
  EXPECT_EQ(view.pos[0], 1056.0f);
  keyboard['d'] = 0, keyboard['a'] = 1, keyboard['s'] = 1, keyboard['q'] = 1;
  for (int i = 0; i < 100; i++)
    movecamera();
  EXPECT_EQ(view.pos[0], 992.0f);
  EXPECT_EQ(view.pos[1], 0.0f);
  EXPECT_EQ(view.pos[2], 16.0f);
  // A text box being edited keeps the letters for itself.
  memset(keyboard, 0, sizeof(keyboard));
  keyboard['w'] = 1;
  textinput.editing = 1;
  movecamera();
  EXPECT_EQ(view.pos[1], 0.0f);
  textinput.editing = 0;
  keyboard['w'] = 0;
  // Wheel notches: 4 units each, all consumed in one move.
  mouse.wheeldown = 3;
  movecamera();
  EXPECT_EQ(view.pos[2], 28.0f);
  EXPECT_EQ(mouse.wheeldown, 0);
  mouse.wheelup = 10;
  movecamera();
  EXPECT_EQ(view.pos[2], 16.0f);
  // Edge scrolling only in full screen.
  mouse.x = 0;
  mouse.y = 479;
  view.pos[0] = 1024.0f, view.pos[1] = 32.0f;
  movecamera();
  EXPECT_EQ(view.pos[0], 1024.0f);
  windowinfo.fullscreen = 1;
  movecamera();
  EXPECT_EQ(view.pos[0], 1023.5f);
  EXPECT_EQ(view.pos[1], 31.5f);
  windowinfo.fullscreen = 0;
}
