#include "sound/soundevent.h"

#include <math.h>

#include "render/view.h"
#include "sim/bond.h"
#include "sim/object.h"
#include "sim/particle.h"
#include "testrun/game.h"
#include "world/level.h"

soundeventinfo soundevent[MAXSOUNDEVENTS];
int numofsoundevents;
soundwatchinfo soundwatch = {-1, 0, 0, 0.0f, 0.0f, 0, 0, {}, {}, {}, {}};

// Bridge joints already under water, so each splashes once.
static unsigned char jointwet[MAXPARTICLES];

// A relaxed bridge never creaks: the creak grows in between these stresses.
constexpr float CREAKFROM = 0.35f;
constexpr float CREAKFULL = 0.95f;
// Creaks come from stress that changes, gathered with a leak of a tenth a
// step: a bridge standing still under a steady load goes quiet instead of
// droning. A train rolling over a loaded span changes the stress by about a
// hundredth a step, which gives a creak every few tenths of a second.
constexpr float CREAKLEAK = 0.9f;
constexpr float CREAKTHRESHOLD = 0.03f;
constexpr int CREAKGAP = 12;           // steps between two creaks at least
// A car that was falling at least this fast (units per step, about a drop
// of 2 units) and lost most of that speed within WATCHVELS steps landed on
// something: contacts are soft, so a landing takes a few steps.
constexpr float BUMPSPEED = 0.1f;
constexpr float BUMPSTOP = 0.6f;
constexpr int BUMPGAP = 20;
constexpr float RUMBLESPEED = 0.5f;    // units per step at full rumble
constexpr float RUMBLEFROM = 0.01f;    // slower than this is standing

void addsoundevent(int type, int step, int count, float strength, float pitch, float pan) {
  if (numofsoundevents >= MAXSOUNDEVENTS)
    return;
  soundevent[numofsoundevents++] = {type, step, count, strength, pitch, pan};
}

void clearsoundevents() { numofsoundevents = 0; }

void resetsoundwatch() {
  soundwatch = {};
  soundwatch.steps = -1;
}

static float clampunit(float v) { return v < 0.0f ? 0.0f : v > 1.0f ? 1.0f : v; }

static float smoothstep(float from, float to, float v) {
  float t = clampunit((v - from) / (to - from));
  return t * t * (3.0f - 2.0f * t);
}

float getsoundpan(float x) {
  float half = view.pos[2] > 1.0f ? view.pos[2] : 1.0f;
  float pan = (x - view.pos[0]) / half;
  if (!(pan == pan))
    return 0.0f;
  return 0.8f * (pan < -1.0f ? -1.0f : pan > 1.0f ? 1.0f : pan);
}

float getbridgestress() {
  float top[3] = {0.0f, 0.0f, 0.0f};
  int n = 0;
  for (int i = 0; i < numofbonds; i++) {
    const bondinfo *r = &bond[i];
    if (r->type != BOND_SPRING || r->rigid != 0 || r->timetolive <= 0)
      continue;
    float s = clampunit(r->stress);
    n++;
    if (s > top[2]) {
      top[2] = s;
      if (top[2] > top[1]) { float t = top[1]; top[1] = top[2]; top[2] = t; }
      if (top[1] > top[0]) { float t = top[0]; top[0] = top[1]; top[1] = t; }
    }
  }
  if (n == 0)
    return 0.0f;
  return (top[0] + top[1] + top[2]) / (float)(n < 3 ? n : 3);
}

static int isrunning(int state) { return state >= STATE_CALLED && state <= STATE_LEFTWARD; }

static void checkcreak(int fresh) {
  float m = getbridgestress();
  if (!fresh) {
    soundwatch.creak = soundwatch.creak * CREAKLEAK +
                       fabsf(m - soundwatch.stress) * smoothstep(CREAKFROM, CREAKFULL, m);
    if (soundwatch.creak > CREAKTHRESHOLD && game.steps - soundwatch.lastcreak >= CREAKGAP) {
      float load = smoothstep(CREAKFROM, 1.0f, m);
      addsoundevent(SOUND_CREAK, game.steps, 1, 0.25f + 0.75f * load, 0.75f + 0.75f * m,
                    getsoundpan(view.pos[0]));
      soundwatch.creak = 0.0f;
      soundwatch.lastcreak = game.steps;
    }
  } else {
    soundwatch.creak = 0.0f;
  }
  soundwatch.stress = m;
}

static void checkbreaks(int fresh) {
  int count = bridgebreak.count;
  int broken = game.steps == 1 ? count : fresh ? 0 : count - soundwatch.breaks;
  if (broken > 0) {
    // The first break of a run is the one the player must not miss; many
    // in one step are one bigger, deeper snap rather than a burst.
    int first = count == broken;
    float size = log2f((float)broken);
    addsoundevent(SOUND_SNAP, game.steps, broken, clampunit((first ? 0.85f : 0.6f) + 0.1f * size),
                  1.0f / (1.0f + 0.2f * size), getsoundpan(bridgebreak.pos.x));
  }
  soundwatch.breaks = count;
}

static void checkrumble() {
  for (int o = 0; o < numofobjects; o++) {
    const objectinfo *car = &object[o];
    if (car->type == OBJECT_WAGON)
      continue;
    int touching = car->drive[0].x != 0.0f || car->drive[0].y != 0.0f ||
                   car->drive[1].x != 0.0f || car->drive[1].y != 0.0f;
    float speed = sqrtf(car->vel.x * car->vel.x + car->vel.y * car->vel.y);
    if (touching && car->center.y >= level.waterlevel && speed > RUMBLEFROM && speed == speed)
      addsoundevent(SOUND_RUMBLE, game.steps, 1, clampunit(speed / RUMBLESPEED),
                    0.7f + 0.6f * clampunit(speed / RUMBLESPEED), getsoundpan(car->center.x));
    return;
  }
}

// Cars landing hard and cars and bridge joints first under the water.
static void checkfalls(int fresh) {
  int cars = 0, joints = 0;
  float bump = 0.0f, bumpx = 0.0f, splashx = 0.0f;
  int n = numofobjects < WATCHCARS ? numofobjects : WATCHCARS;
  for (int o = 0; o < n; o++) {
    const objectinfo *car = &object[o];
    int wet = car->center.y < level.waterlevel;
    if (fresh || o >= soundwatch.numofcars || soundwatch.carparticle[o] != car->particlelist[0]) {
      soundwatch.carparticle[o] = car->particlelist[0];
      for (int k = 0; k < WATCHVELS; k++)
        soundwatch.carvely[o][k] = car->vel.y;
      soundwatch.carlastbump[o] = game.steps - BUMPGAP;
      soundwatch.carwet[o] = wet;
      continue;
    }
    float fall = 0.0f;
    for (int k = 0; k < WATCHVELS; k++)
      fall = fminf(fall, soundwatch.carvely[o][k]);
    if (fall < -BUMPSPEED && car->vel.y - fall > -BUMPSTOP * fall &&
        game.steps - soundwatch.carlastbump[o] >= BUMPGAP) {
      soundwatch.carlastbump[o] = game.steps;
      if (-fall > bump)
        bump = -fall, bumpx = car->center.x;
    }
    if (wet && !soundwatch.carwet[o]) {
      cars++;
      splashx = car->center.x;
    }
    soundwatch.carwet[o] = wet;
    soundwatch.carvely[o][game.steps % WATCHVELS] = car->vel.y;
  }
  soundwatch.numofcars = n;
  int bridge = numofjoints < numofparticles ? numofjoints : numofparticles;
  for (int i = 0; i < bridge; i++) {
    int wet = particle[i].type == PARTICLE_FREE && particle[i].pos.y < level.waterlevel;
    if (wet && !jointwet[i] && !fresh) {
      if (joints++ == 0 && cars == 0)
        splashx = particle[i].pos.x;
    }
    jointwet[i] = (unsigned char)(wet || (jointwet[i] && !fresh));
  }
  if (bump > 0.0f)
    addsoundevent(SOUND_BUMP, game.steps, 1, clampunit(bump * 3.0f), 1.0f, getsoundpan(bumpx));
  if (cars + joints > 0)
    addsoundevent(SOUND_SPLASH, game.steps, cars + joints,
                  clampunit(0.35f * (float)cars + 0.12f * (float)joints + 0.2f),
                  cars ? 0.8f : 1.3f, getsoundpan(splashx));
}

void checksoundstep() {
  // Step 1 follows a fresh bridge, and a gap in the count means the run was
  // rebuilt while nobody looked: either way nothing that was already so
  // (joints set under water, stresses at rest) is news.
  int fresh = game.steps <= 1 || game.steps != soundwatch.steps + 1;
  checkcreak(fresh);
  checkbreaks(fresh);
  checkrumble();
  checkfalls(fresh);
  // A progressive crossing rebuilds the bridge within its last step, so the
  // pass shows as the state it leaves for the next crossing.
  if ((game.state == STATE_PASSED || game.state == STATE_PROGRESSIVE) && isrunning(soundwatch.state))
    addsoundevent(SOUND_CHIME, game.steps, 1, 0.8f, 1.0f, 0.0f);
  soundwatch.steps = game.steps;
  soundwatch.state = game.state;
}
