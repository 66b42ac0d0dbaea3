#include "sim/train.h"

#include "sim/bond.h"
#include "sim/object.h"
#include "sim/particle.h"

constexpr float CARSPACING = 12.0f;   // floor centre to floor centre: 8 wide, 4 apart
constexpr float COUPLERX = 6.0f;      // middle of the gap
constexpr float COUPLERY = 0.5f;      // above the floor

int trainparticles(int count) { return 4 * (count + 1) + count; }
int trainbonds(int count) { return 6 * (count + 1) + 4 * count; }

int createtrain(int type, const vector2d *pos, int count, float weight) {
  if (type != OBJECT_RIGHTLOCO && type != OBJECT_LEFTLOCO)
    count = 0;
  if (count < 0)
    count = 0;
  // All or nothing: a half-built train would drive with missing cars or
  // couplers and could pass a crossing it never really made.
  if (numofobjects > MAXOBJECTS - (count + 1) || numofparticles > MAXPARTICLES - trainparticles(count) ||
      numofbonds > MAXBONDS - trainbonds(count))
    return 0;

  vector2d p = *pos;
  int previous = createobject(type, &p, weight);
  // Right-driving trains trail to the left and couple the previous car's
  // left corners (0, 3) to the new wagon's right corners (1, 2); the mirror
  // for left-driving trains.
  float dir = type == OBJECT_RIGHTLOCO ? -1.0f : 1.0f;
  const int prevtop = type == OBJECT_RIGHTLOCO ? 0 : 1, prevbottom = type == OBJECT_RIGHTLOCO ? 3 : 2;
  const int newtop = type == OBJECT_RIGHTLOCO ? 1 : 0, newbottom = type == OBJECT_RIGHTLOCO ? 2 : 3;
  for (int n = 0; n < count; n++) {
    p.x += dir * CARSPACING;
    int wagon = createobject(OBJECT_WAGON, &p, weight);
    vector2d at = {p.x - dir * COUPLERX, p.y + COUPLERY};
    int coupler = createparticle(PARTICLE_FREE, &at, nullptr, weight * 0.25f * 0.125f, -1);
    createbond(1, coupler, object[previous].particlelist[prevtop], -1);
    createbond(1, coupler, object[previous].particlelist[prevbottom], -1);
    createbond(1, coupler, object[wagon].particlelist[newtop], -1);
    createbond(1, coupler, object[wagon].particlelist[newbottom], -1);
    previous = wagon;
  }
  return 1;
}
