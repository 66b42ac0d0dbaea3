#include "sim/bond.h"

#include <math.h>
#include <string.h>

#include "sim/object.h"
#include "sim/particle.h"

bondinfo bond[MAXBONDS];
int numofbonds;
int numofstaticbonds;
bondbreakinfo bridgebreak;

constexpr float SPRINGSTIFFNESS = 0.25f;
constexpr float BRIDGELIMIT = 0.12f;  // world units of stretch or squeeze, whatever the length
constexpr float TRAINLIMIT = 1.0f;
constexpr int MAXLISTED = PARTICLEBONDS - 1;   // 15
constexpr int MAXOBJECTLISTED = OBJECTBONDS - 1; // 63

static int findlistentry(const int *list, int count, int value) {
  for (int k = 0; k < count; k++)
    if (list[k] == value)
      return k;
  return -1;
}

// Removing an entry moves the list's last entry into the gap.
static void removelistentry(int *list, int *count, int value) {
  int k = findlistentry(list, *count, value);
  if (k < 0)
    return;
  list[k] = list[--*count];
}

static void replacelistentry(int *list, int count, int from, int to) {
  for (int k = 0; k < count; k++)
    if (list[k] == from)
      list[k] = to;
}

static int isjoined(int a, int b) {
  const particleinfo *p = &particle[a];
  for (int k = 0; k < p->numofbonds; k++) {
    const bondinfo *r = &bond[p->bondlist[k]];
    if ((r->particle1 == a && r->particle2 == b) || (r->particle1 == b && r->particle2 == a))
      return 1;
  }
  return 0;
}

int createbond(int rigid, int a, int b, int object) {
  if (numofbonds >= MAXBONDS || a == b)
    return -1;
  if (a < 0 || a >= numofparticles || b < 0 || b >= numofparticles)
    return -1;
  if (particle[a].numofbonds >= MAXLISTED || particle[b].numofbonds >= MAXLISTED)
    return -1;
  if (object != -1 && (object < 0 || object >= MAXOBJECTS || ::object[object].numofbonds >= MAXOBJECTLISTED))
    return -1;
  if (isjoined(a, b) || isjoined(b, a))
    return -1;

  int i = numofbonds;
  bondinfo *r = &bond[i];
  memset(r, 0, sizeof(*r));
  r->type = BOND_SPRING;
  r->rigid = rigid;
  r->timetolive = PERMANENT;
  r->particle1 = a;
  r->particle2 = b;
  r->passmask = rigid == 1 ? 0 : BRIDGEPASSMASK;
  r->restlength = vectordistance2d(&particle[a].pos, &particle[b].pos);
  r->stiffness = SPRINGSTIFFNESS;
  r->damping = SPRINGDAMPING;
  float limit = rigid == 1 ? TRAINLIMIT : BRIDGELIMIT;
  r->tensionlimit = -limit;
  r->compressionlimit = limit;
  particle[a].bondlist[particle[a].numofbonds++] = i;
  particle[b].bondlist[particle[b].numofbonds++] = i;
  if (object != -1) {
    r->objectlist[r->numofobjects++] = object;
    objectinfo *o = &::object[object];
    o->bondlist[o->numofbonds++] = i;
  }
  numofbonds++;
  return i;
}

int createlevelbond(int side, int a, const vector2d *point, const vector2d *normal, float friction) {
  if (numofbonds > MAXBONDS - 1 || a < 0 || a >= numofparticles)
    return -1;
  int i = numofbonds;
  bondinfo *r = &bond[i];
  memset(r, 0, sizeof(*r));
  r->type = BOND_SURFACE;
  r->particle1 = a;
  r->passmask = 0;
  vector2d depth;
  if (side == 2)
    subtractvectors2d(&depth, &particle[a].pos, point);
  else
    subtractvectors2d(&depth, point, &particle[a].pos);
  r->restlength = dotproduct2d(&depth, normal);
  r->stiffness = CONTACTSTIFFNESS;
  r->damping = CONTACTDAMPING;
  r->friction = friction;
  r->normal = *normal;
  numofbonds++;
  return i;
}

void deletebond(int i) {
  if (i < 0 || i >= numofbonds)
    return;
  bondinfo *r = &bond[i];
  // Contacts are never listed, so only springs have list entries to drop.
  if (r->particle1 >= 0 && r->particle1 < numofparticles)
    removelistentry(particle[r->particle1].bondlist, &particle[r->particle1].numofbonds, i);
  if (r->particle2 >= 0 && r->particle2 < numofparticles)
    removelistentry(particle[r->particle2].bondlist, &particle[r->particle2].numofbonds, i);
  for (int k = 0; k < r->numofobjects; k++) {
    objectinfo *o = &object[r->objectlist[k]];
    removelistentry(o->bondlist, &o->numofbonds, i);
  }

  int last = --numofbonds;
  if (i == last)
    return;
  bond[i] = bond[last];
  r = &bond[i];
  if (r->particle1 >= 0 && r->particle1 < numofparticles)
    replacelistentry(particle[r->particle1].bondlist, particle[r->particle1].numofbonds, last, i);
  if (r->particle2 >= 0 && r->particle2 < numofparticles && r->particle2 != r->particle1)
    replacelistentry(particle[r->particle2].bondlist, particle[r->particle2].numofbonds, last, i);
  for (int k = 0; k < r->numofobjects; k++) {
    objectinfo *o = &object[r->objectlist[k]];
    replacelistentry(o->bondlist, o->numofbonds, last, i);
  }
}

void bondtimetolive() {
  int i = 0;
  while (i < numofbonds) {
    if (bond[i].timetolive <= PERMANENT - 1) {
      bond[i].timetolive--;
      if (bond[i].timetolive <= 0) {
        deletebond(i);
        continue; // slot i now holds the former last bond
      }
    }
    i++;
  }
}
