#include "sim/particle.h"

#include <string.h>

#include "sim/bond.h"
#include "sim/solver.h"
#include "sim/object.h"
#include "world/level.h"

particleinfo particle[MAXPARTICLES];
int numofparticles;

constexpr float GRAVITY = 0.0027222224f;   // 9.8 / 3600: units per step per step
constexpr float FREEDAMPING = 0.9975f;
constexpr float WATERDRAG = 0.925f;        // on top of the damping, below the surface
constexpr float PROBEHEIGHT = 4.0f;        // terrain probe reaches this far above the particle
// A probe whose lower end is this far above every terrain point the test
// would visit cannot cross: the crossing would lie on a terrain segment's
// line beyond its end, and rounding within SANECOORD stays far below this.
constexpr float PROBECLEARANCE = 1.0f;

int numofmortalparticles;

int createparticle(int type, const vector2d *pos, const vector2d *vel, float mass, int object) {
  if (numofparticles >= MAXPARTICLES)
    return -1;
  int i = numofparticles;
  particleinfo *p = &particle[i];
  memset(p, 0, sizeof(*p));
  p->type = type;
  p->pos = *pos;
  if (vel)
    p->vel = *vel;
  p->mass = mass;
  p->timetolive = PERMANENT;
  p->damping = type == PARTICLE_FIXED ? 0.0f : FREEDAMPING;
  if (object != -1)
    p->objectlist[p->numofobjects++] = object;
  numofparticles++;
  return i;
}

void deleteparticle(int i) {
  if (i < 0 || i >= numofparticles)
    return;
  // deletebond takes the bond out of this list, so always delete the last.
  while (particle[i].numofbonds > 0)
    deletebond(particle[i].bondlist[particle[i].numofbonds - 1]);

  int last = --numofparticles;
  if (i == last)
    return;
  particle[i] = particle[last];
  const particleinfo *p = &particle[i];
  for (int k = 0; k < p->numofbonds; k++) {
    bondinfo *b = &bond[p->bondlist[k]];
    if (b->particle1 == last)
      b->particle1 = i;
    if (b->particle2 == last)
      b->particle2 = i;
  }
  for (int k = 0; k < p->numofobjects; k++) {
    objectinfo *o = &object[p->objectlist[k]];
    for (int m = 0; m < o->numofparticles; m++)
      if (o->particlelist[m] == last)
        o->particlelist[m] = i;
  }
}

void particletimetolive() {
  int i = 0;
  while (i < numofparticles) {
    if (particle[i].timetolive < PERMANENT) {
      particle[i].timetolive--;
      if (particle[i].timetolive < 1) {
        deleteparticle(i);
        continue; // slot i now holds the former last particle
      }
    }
    i++;
  }
}

// findlevelceiling(x, x) depends only on the column trunc(x / 4), held
// to -2..1024, and on the terrain, which a test never changes: so it is
// looked up, worked out again for every column only when the terrain
// differs from the one the table was made for.
constexpr int FIRSTCOLUMN = -2, LASTCOLUMN = 1024;
static float columnceiling[LASTCOLUMN - FIRSTCOLUMN + 1];
static float ceilingterrain[NUMTERRAIN];
static int hasceilings;

static void updateceilings() {
  if (hasceilings && memcmp(ceilingterrain, level.terrain, sizeof(ceilingterrain)) == 0)
    return;
  memcpy(ceilingterrain, level.terrain, sizeof(ceilingterrain));
  for (int k = FIRSTCOLUMN; k <= LASTCOLUMN; k++)
    columnceiling[k - FIRSTCOLUMN] = findlevelceiling(4.0f * (float)k, 4.0f * (float)k);
  hasceilings = 1;
}

static int isclearofterrain(const vector2d *pos) {
  if (!(pos->y < SANECOORD && pos->x > -SANECOORD && pos->x < SANECOORD))
    return 0;
  float column = pos->x * 0.25f;
  int k = column < (float)FIRSTCOLUMN ? FIRSTCOLUMN : column > (float)LASTCOLUMN ? LASTCOLUMN : (int)column;
  return pos->y > columnceiling[k - FIRSTCOLUMN] + PROBECLEARANCE;
}

void particlesimulation() {
  const float water = level.waterlevel;
  int mortal = 0;
  updateceilings();
  for (int i = 0; i < numofparticles; i++) {
    particleinfo *p = &particle[i];
    mortal += p->timetolive < PERMANENT;
    vector2d vel = p->vel;
    vel.y -= GRAVITY;
    vel.x *= p->damping;
    vel.y *= p->damping;
    // Drag is judged on where the particle was before this move.
    if (p->pos.y < water) {
      vel.x *= WATERDRAG;
      vel.y *= WATERDRAG;
    }
    p->vel = vel;
    p->pos.x += vel.x;
    p->pos.y += vel.y;
    if (p->type != PARTICLE_FREE || isclearofterrain(&p->pos))
      continue;
    vector2d top = {p->pos.x, p->pos.y + PROBEHEIGHT};
    if (lineintersectlevel2d(&top, &p->pos)) {
      vector2d point = collision.point, normal = collision.normal;
      createlevelbond(1, i, &point, &normal, 0.0f);
    }
  }
  numofmortalparticles = mortal;
}
