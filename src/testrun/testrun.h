// The headless half of the test-run screen: one simulation step with the
// train's state machine, the pacing of steps and camera ticks against a
// millisecond clock handed in by the caller, and the camera move. The
// screen (gameloop_sdl.cpp) reads SDL_GetTicks once a frame and passes it
// down; the tests pass their own clock.
#pragma once

constexpr int STEPSPERSECOND = 60;
constexpr int MAXSTEPSPERFRAME = 8;

struct testrunclockinfo {
  unsigned int step;    // real time the next simulation step is due from
  unsigned int camera;  // likewise for camera ticks
};

extern testrunclockinfo testrunclock;
// 1 when the last attempt to place a train found no room for it in the
// particle, bond or car table; cleared by a restart.
extern int trainrefused;

// Entering the screen: autorun off, normal speed, a fresh simulation,
// both clocks at now.
void starttestrun(unsigned int now);
// F1 / F2: a fresh simulation with no train, autorun off or on.
void restarttestrun(int autorun);
// One step of test time: state machine, physics, pass rules, progressive.
void simulationstep();
// The terrain column under x, kept within the terrain table.
int startcolumn(float x);
// Build the train of the current crossing 16 units outside the left end
// (type 0, driving right) or the right end (type 2, driving left), its floor
// at the terrain height there. Returns 1 when placed, 0 when refused.
int placetrain(int type);
// "Normal" and "Progressive" are offered for a level that is not from the
// level list or is already passed.
int isprogressiveoffered();
// Speed toggles to game.steptime; the newly chosen toggle wins.
void setsteptime();
// Run the steps due by now (at most 8); returns how many were due, paused
// or not.
int checksimulationpace(unsigned int now);
// Called after every simulation step that checksimulationpace runs, for
// whoever listens to the run (the sound); NULL for nobody.
extern void (*teststephook)();
// One camera move from the keyboard, edge scrolling and the wheel.
void movecamera();
// Run the camera ticks due by now (at most 4); returns how many ran.
int checkcamerapace(unsigned int now);
// Has every car got past
// the far end of a crossing in the given direction?
int istrainacross(int type);
