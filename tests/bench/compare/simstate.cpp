// Prints a hash of the whole simulation state (every particle, bond and car
// record, the beams' stress and the first break) along a few runs that the
// benchmarks time. Built against two cores, the two outputs must be the
// same text: a speed change that alters one result bit shows as a line that
// differs, and the step it first differs at. Built by compare.sh, outside
// the project's own build, so that it can link a core of any commit.
#include <stdio.h>
#include <string.h>

#include "sim/bond.h"
#include "sim/object.h"
#include "sim/particle.h"
#include "sim/physics.h"
#include "sim/solver.h"
#include "sim/train.h"
#include "testrun/setup.h"
#include "world/level.h"
#include "../bench_bridge.h"
#include "geometry/hash.h"

// Field by field, in a fixed order: the record's layout may change between
// the builds compared, its values must not.
static unsigned long long hashbond(unsigned long long h, const bondinfo *r) {
#define FIELD(f) h = hashbytes(h, &r->f, sizeof(r->f))
  FIELD(type), FIELD(rigid), FIELD(road), FIELD(timetolive), FIELD(particle1), FIELD(particle2);
  FIELD(particle3), FIELD(weight1), FIELD(weight2), FIELD(normal), FIELD(passmask), FIELD(restlength);
  FIELD(stiffness), FIELD(damping), FIELD(tensionlimit), FIELD(compressionlimit), FIELD(stresstype);
  FIELD(stress), FIELD(peakstresstype), FIELD(peakstress), FIELD(friction), FIELD(invmass);
  FIELD(numofobjects), FIELD(objectlist), FIELD(beam);
#undef FIELD
  return h;
}

static unsigned long long hashstate() {
  unsigned long long h = HASHSTART;
  int counts[4] = {numofparticles, numofbonds, numofobjects, bridgebreak.count};
  h = hashbytes(h, counts, sizeof(counts));
  h = hashbytes(h, particle, sizeof(particleinfo) * (size_t)numofparticles);
  for (int i = 0; i < numofbonds; i++)
    h = hashbond(h, &bond[i]);
  h = hashbytes(h, object, sizeof(objectinfo) * (size_t)numofobjects);
  for (int i = 0; i < numofbeams; i++) {
    h = hashbytes(h, &beam[i].stresstype, sizeof(int));
    h = hashbytes(h, &beam[i].stress, sizeof(float));
  }
  if (bridgebreak.count > 0)
    h = hashbytes(h, &bridgebreak, sizeof(bridgebreak));
  return h;
}

// The whole state hashed every `every` steps, and the positions every step
// (cheap, and they carry any change of velocity a step later).
static void run(const char *name, int steps, int every) {
  unsigned long long positions = HASHSTART;
  int breaksteps = 0;
  for (int s = 1; s <= steps; s++) {
    int before = bridgebreak.count;
    physicssimulation();
    breaksteps += bridgebreak.count != before;
    for (int i = 0; i < numofparticles; i++)
      positions = hashbytes(positions, &particle[i].pos, sizeof(vector2d));
    if (s % every == 0 || s == steps)
      printf("%s step %d: %d particles %d bonds %d cars %d breaks, state %016llx positions %016llx\n", name, s,
             numofparticles, numofbonds, numofobjects, bridgebreak.count, hashstate(), positions);
  }
  printf("%s: breaks in %d of %d steps\n", name, breaksteps, steps);
}

static void addtrain(float x, float y) {
  vector2d pos = {x, y};
  createtrain(OBJECT_RIGHTLOCO, &pos, TRAINWAGONS, 4.0f);
}

int main() {
  memset(&bridgebreak, 0, sizeof(bridgebreak));
  buildtruss(0);
  setupsimulation();
  addtrain(976.0f, 32.0f);
  run("truss", 900, 50);

  buildtypicalbridge();
  setupsimulation();
  addtrain(1030.0f, 32.0f);
  run("typical", 900, 50);

  memset(&bridgebreak, 0, sizeof(bridgebreak));
  float top = buildfullgrid();
  setupsimulation();
  addtrain(1000.0f, top);
  run("lattice", 300, 20);

  memset(&bridgebreak, 0, sizeof(bridgebreak));
  buildcollapsinggrid(100);
  setupsimulation();
  run("collapse", 300, 20);

  memset(&bridgebreak, 0, sizeof(bridgebreak));
  top = buildlongdeck();
  setupsimulation();
  addtrain(100.0f, top);
  run("longdeck", 900, 50);
  return 0;
}
