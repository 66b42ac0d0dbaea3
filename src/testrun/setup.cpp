#include "testrun/setup.h"

#include "sim/bond.h"
#include "sim/object.h"
#include "sim/particle.h"
#include "testrun/game.h"
#include "world/level.h"

void setupsimulation() {
  numofparticles = 0;
  numofbonds = 0;
  numofstaticbonds = 0;
  numofobjects = 0;
  bridgebreak.count = 0;
  for (int i = 0; i < numofjoints; i++)
    createparticle(joint[i].type, &joint[i].pos, nullptr, 1.0f, -1);
  for (int i = 0; i < numofbeams; i++) {
    const beaminfo *b = &beam[i];
    // Files may carry joint indices or types that fit no table entry:
    // such a beam is left out like an over-long one.
    if (b->joint1 < 0 || b->joint1 >= numofjoints || b->joint2 < 0 || b->joint2 >= numofjoints)
      continue;
    if (b->type < 0 || b->type >= 16)
      continue;
    if (vectordistance2d(&joint[b->joint1].pos, &joint[b->joint2].pos) > beamtype[b->type])
      continue;
    int r = createbond(0, b->joint1, b->joint2, -1);
    if (r < 0)
      continue;
    bond[r].beam = i;
    if (b->type == 1)
      bond[r].road = 1;
  }
  game.state = 0;
  game.steps = 0;
}
