// What the player should hear, decided from the simulation's tables after
// each step and from the menus, as a list of events. Nothing here plays a
// sample or talks to a device: the list is handed to the mixer once a
// frame (shell/sound_sdl.cpp), and the tests read it directly.
//
// The watch only reads the particle, bond, car, level and game tables; the
// simulation never reads anything from here, so a run is bit for bit the
// same with sound on, off or absent.
#pragma once

enum : int {
  SOUND_CREAK = 0,   // the bridge groaning under changing load
  SOUND_SNAP = 1,    // bridge beams breaking; `count` beams in one step
  SOUND_RUMBLE = 2,  // the locomotive rolling on road or bridge, every step it does
  SOUND_BUMP = 3,    // a car landing hard after a drop
  SOUND_CHIME = 4,   // a crossing passed
  SOUND_SPLASH = 5,  // cars or bridge joints first going under the water
  SOUND_CLICK = 6,   // a menu item fired
  NUMSOUNDTYPES = 7,
};

struct soundeventinfo {
  int type;        // SOUND_*
  int step;        // game.steps of the step it came from; 0 for menu clicks
  int count;       // snap: beams broken; splash: things gone under; else 1
  float strength;  // loudness, 0..1
  float pitch;     // 1 = the sound's own pitch; higher is higher
  float pan;       // -1 left .. 1 right, from where it happened on screen
};

// Events since the mixer last took them. When full, later events are
// dropped: a frame never needs more than a few.
constexpr int MAXSOUNDEVENTS = 256;
extern soundeventinfo soundevent[MAXSOUNDEVENTS];
extern int numofsoundevents;

// What the watch remembers between steps to tell what changed.
constexpr int WATCHCARS = 8;
constexpr int WATCHVELS = 4;
struct soundwatchinfo {
  int steps;             // game.steps at the last look; -1 none
  int state;             // game.state at the last look
  int breaks;            // bridgebreak.count at the last look
  float stress;          // the stress measure at the last look
  float creak;           // stress change gathered towards the next creak
  int lastcreak;         // game.steps of the last creak
  int numofcars;
  int carparticle[WATCHCARS];  // a car's first corner: a different one is a different car
  float carvely[WATCHCARS][WATCHVELS];  // vertical speed at the last looks, newest at step % WATCHVELS
  int carlastbump[WATCHCARS];
  int carwet[WATCHCARS];
};
extern soundwatchinfo soundwatch;

// Appends an event unless the list is full.
void addsoundevent(int type, int step, int count, float strength, float pitch, float pan);
void clearsoundevents();
// Forget the last look: the next step is judged against a fresh baseline.
void resetsoundwatch();
// Called after every simulation step the test-run screen runs: appends the
// step's events.
void checksoundstep();
// How close the most stressed bridge bonds are to breaking, 0..1: the mean
// stress of the three most stressed.
float getbridgestress();
// -1..1 across the screen for a world x, from the camera.
float getsoundpan(float x);
