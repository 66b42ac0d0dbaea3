#include "testrun/testrun.h"

#include <limits.h>

#include "render/view.h"
#include "shell/config.h"
#include "shell/input.h"
#include "sim/object.h"
#include "sim/particle.h"
#include "sim/physics.h"
#include "sim/train.h"
#include "testrun/game.h"
#include "testrun/outcome.h"
#include "testrun/replay.h"
#include "testrun/setup.h"
#include "ui/textbox.h"
#include "world/level.h"
#include "world/levellist.h"

testrunclockinfo testrunclock;
int trainrefused;

constexpr float TRAINOFFSET = 16.0f;  // start this far outside the end
constexpr float ACROSS = 8.0f;        // every car centre this far past the far end
constexpr float WEIGHTUNIT = 10000.0f;

void starttestrun(unsigned int now) {
  game.autorun = 0;
  restorereplayspeed();
  game.steptime = 16;
  setsteptime();  // so the first frame already shows the speed that runs
  game.testweight = game.weight;  // shown before the first step, e.g. when paused
  trainrefused = 0;
  setupsimulation();
  resetoutcome(1);
  cancelreplay();
  testrunclock.step = now;
  testrunclock.camera = now;
}

void restarttestrun(int autorun) {
  setupsimulation();
  resetoutcome(1);
  cancelreplay();
  trainrefused = 0;
  game.autorun = autorun;
}

// A level author may put an end so near the edge that 16 units beyond it
// lies off the map.
int startcolumn(float x) { return clampterraincolumn(x * 0.25f, 0, NUMTERRAIN - 1); }

static void deletecars() {
  for (int o = numofobjects - 1; o >= 0; o--)
    deleteobject(o);
}

int placetrain(int type) {
  float x = type == OBJECT_RIGHTLOCO ? level.leftend - TRAINOFFSET : level.rightend + TRAINOFFSET;
  vector2d pos = {x, level.terrain[startcolumn(x)]};
  if (createtrain(type, &pos, TRAINWAGONS, (float)game.testweight / WEIGHTUNIT))
    return 1;
  // No room: the run stops with the bridge alone rather than crossing with
  // part of a train, and waits for the player instead of retrying.
  trainrefused = 1;
  deletecars();
  game.state = STATE_BRIDGE;
  game.autorun = 0;
  return 0;
}

// Written as "every car is past" rather than "no car is short of it", so a
// car whose position is no longer a number never counts as across.
int istrainacross(int type) {
  for (int o = 0; o < numofobjects; o++) {
    if (type == OBJECT_RIGHTLOCO && !(object[o].center.x >= level.rightend + ACROSS))
      return 0;
    if (type == OBJECT_LEFTLOCO && !(object[o].center.x <= level.leftend - ACROSS))
      return 0;
  }
  return 1;
}

// The next progressive weight. The "Add" box takes any int, so the sum is
// kept within 1..INT_MAX: a weightless or negative train would divide by a
// zero mass, and an overflowing int is undefined.
static int addweight(int weight, int add) {
  long long next = (long long)weight + add;
  if (next < 1)
    return 1;
  if (next > INT_MAX)
    return INT_MAX;
  return (int)next;
}

void simulationstep() {
  int before = game.state;
  game.steps++;
  int second = game.steps / STEPSPERSECOND;
  if (game.state == STATE_BRIDGE)
    game.testweight = game.weight;
  if (game.state == STATE_BRIDGE && game.autorun == 1 && second == level.traintime)
    game.state = STATE_CALLED;
  if (game.state == STATE_PROGRESSIVE && second == level.traintime)
    game.state = STATE_CALLED;
  if (game.state == STATE_CALLED && game.steps % STEPSPERSECOND == 0) {
    level.traintime = second;
    if (level.trainstart == 0 || level.trainstart == 2) {
      if (placetrain(OBJECT_RIGHTLOCO))
        game.state = STATE_RIGHTWARD;
    } else if (level.trainstart == 1) {
      game.state = STATE_CROSSED;
    }
  }
  if (game.state == STATE_CROSSED) {
    if (level.trainstart == 1 || level.trainstart == 2) {
      deletecars();
      if (placetrain(OBJECT_LEFTLOCO))
        game.state = STATE_LEFTWARD;
    } else {
      game.state = STATE_PASSED;
    }
  }
  physicssimulation();
  if (game.state == STATE_RIGHTWARD && istrainacross(OBJECT_RIGHTLOCO))
    game.state = STATE_CROSSED;
  if (game.state == STATE_LEFTWARD && istrainacross(OBJECT_LEFTLOCO))
    game.state = STATE_PASSED;
  if (game.state == STATE_PASSED && levelnum >= 0 && levelnum < MAXPROGRESS && game.mode == 0)
    levelpassed[levelnum] = 1;
  updateoutcome(before);
  if (game.mode == 1 && game.state == STATE_PASSED) {
    if (game.testweight > outcome.held)
      outcome.held = game.testweight;
    game.testweight = addweight(game.testweight, game.add);
    setupsimulation();
    resetoutcome(0);
    game.state = STATE_PROGRESSIVE;
  }
  checkreplay();
}

int isprogressiveoffered() {
  return levelnum < 0 || levelnum >= MAXPROGRESS || levelpassed[levelnum];
}

void setsteptime() {
  if (game.slow + game.fast + game.veryfast > 1) {
    if (game.steptime == 1)
      game.veryfast = 0;
    else if (game.steptime == 4)
      game.fast = 0;
    else if (game.steptime == 64)
      game.slow = 0;
  }
  game.steptime = game.slow ? 64 : game.fast ? 4 : game.veryfast ? 1 : 16;
}

void (*teststephook)();

int checksimulationpace(unsigned int now) {
  int n = 0;
  unsigned int steptime = (unsigned int)game.steptime;
  while (now - testrunclock.step >= steptime && n < MAXSTEPSPERFRAME) {
    n++;
    // From the third step of a frame on, the backlog is dropped, except in
    // very fast mode, where it is what lets the test outrun the frame rate.
    if (n < 3 || steptime == 1)
      testrunclock.step += steptime;
    else
      testrunclock.step = now;
    if (!game.pause) {
      simulationstep();
      if (teststephook)
        teststephook();
    }
  }
  return n;
}

void movecamera() {
  stepcamera(textinput.editing, 0, windowinfo.fullscreen, 0.0f);
}

int checkcamerapace(unsigned int now) {
  int n = takecamerasteps(now, &testrunclock.camera);
  for (int i = 0; i < n; i++)
    movecamera();
  return n;
}
