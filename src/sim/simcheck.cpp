#include "sim/simcheck.h"

#include "sim/bond.h"
#include "sim/object.h"
#include "sim/particle.h"

static int countentries(const int *list, int count, int value) {
  int n = 0;
  for (int k = 0; k < count; k++)
    n += list[k] == value;
  return n;
}

static int isinside(int i, int count) { return i >= 0 && i < count; }

int checksimulationtables() {
  if (!isinside(numofparticles, MAXPARTICLES + 1) || !isinside(numofbonds, MAXBONDS + 1) ||
      !isinside(numofobjects, MAXOBJECTS + 1))
    return 0;
  for (int p = 0; p < numofparticles; p++) {
    const particleinfo *q = &particle[p];
    if (!isinside(q->numofbonds, PARTICLEBONDS + 1) || !isinside(q->numofobjects, PARTICLEOBJECTS + 1))
      return 0;
    for (int k = 0; k < q->numofbonds; k++) {
      int b = q->bondlist[k];
      if (!isinside(b, numofbonds) || (bond[b].particle1 != p && bond[b].particle2 != p))
        return 0;
    }
    for (int k = 0; k < q->numofobjects; k++) {
      int o = q->objectlist[k];
      if (!isinside(o, numofobjects) || countentries(object[o].particlelist, object[o].numofparticles, p) != 1)
        return 0;
    }
  }
  for (int b = 0; b < numofbonds; b++) {
    const bondinfo *r = &bond[b];
    if (r->type != BOND_SPRING || r->particle1 == r->particle2 || !isinside(r->numofobjects, BONDOBJECTS + 1))
      return 0;
    const int ends[2] = {r->particle1, r->particle2};
    for (int q : ends)
      if (!isinside(q, numofparticles) || countentries(particle[q].bondlist, particle[q].numofbonds, b) != 1)
        return 0;
    for (int k = 0; k < r->numofobjects; k++) {
      int o = r->objectlist[k];
      if (!isinside(o, numofobjects) || countentries(object[o].bondlist, object[o].numofbonds, b) != 1)
        return 0;
    }
  }
  for (int o = 0; o < numofobjects; o++) {
    const objectinfo *c = &object[o];
    if (!isinside(c->numofparticles, OBJECTPARTICLES + 1) || !isinside(c->numofbonds, OBJECTBONDS + 1))
      return 0;
    for (int k = 0; k < c->numofparticles; k++) {
      int p = c->particlelist[k];
      if (!isinside(p, numofparticles) || countentries(particle[p].objectlist, particle[p].numofobjects, o) != 1)
        return 0;
    }
    for (int k = 0; k < c->numofbonds; k++) {
      int b = c->bondlist[k];
      if (!isinside(b, numofbonds) || countentries(bond[b].objectlist, bond[b].numofobjects, o) != 1)
        return 0;
    }
  }
  return 1;
}
