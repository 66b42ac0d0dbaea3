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

// Does entry `i` of the other table link back to `owner`, exactly once?
static int bondjoins(int b, int p) { return bond[b].particle1 == p || bond[b].particle2 == p; }
static int particlelistsbond(int p, int b) { return countentries(particle[p].bondlist, particle[p].numofbonds, b) == 1; }
static int particlelistscar(int p, int o) { return countentries(particle[p].objectlist, particle[p].numofobjects, o) == 1; }
static int carlistsparticle(int o, int p) { return countentries(object[o].particlelist, object[o].numofparticles, p) == 1; }
static int carlistsbond(int o, int b) { return countentries(object[o].bondlist, object[o].numofbonds, b) == 1; }
static int bondlistscar(int b, int o) { return countentries(bond[b].objectlist, bond[b].numofobjects, o) == 1; }

// An owner's list: its count within the list's capacity, every entry an
// index below `limit` whose entry links back to the owner.
static int checklist(int owner, const int *list, int count, int capacity, int limit, int (*linksback)(int, int)) {
  if (count < 0 || count > capacity)
    return 0;
  for (int k = 0; k < count; k++)
    if (list[k] < 0 || list[k] >= limit || !linksback(list[k], owner))
      return 0;
  return 1;
}

int checksimulationtables() {
  if (numofparticles < 0 || numofparticles > MAXPARTICLES || numofbonds < 0 || numofbonds > MAXBONDS ||
      numofobjects < 0 || numofobjects > MAXOBJECTS)
    return 0;
  for (int p = 0; p < numofparticles; p++) {
    const particleinfo *q = &particle[p];
    if (!checklist(p, q->bondlist, q->numofbonds, PARTICLEBONDS, numofbonds, bondjoins) ||
        !checklist(p, q->objectlist, q->numofobjects, PARTICLEOBJECTS, numofobjects, carlistsparticle))
      return 0;
  }
  for (int b = 0; b < numofbonds; b++) {
    const bondinfo *r = &bond[b];
    const int ends[2] = {r->particle1, r->particle2};
    if (r->type != BOND_SPRING || ends[0] == ends[1] ||
        !checklist(b, ends, 2, 2, numofparticles, particlelistsbond) ||
        !checklist(b, r->objectlist, r->numofobjects, BONDOBJECTS, numofobjects, carlistsbond))
      return 0;
  }
  for (int o = 0; o < numofobjects; o++) {
    const objectinfo *c = &object[o];
    if (!checklist(o, c->particlelist, c->numofparticles, OBJECTPARTICLES, numofparticles, particlelistscar) ||
        !checklist(o, c->bondlist, c->numofbonds, OBJECTBONDS, numofbonds, bondlistscar))
      return 0;
  }
  return 1;
}
