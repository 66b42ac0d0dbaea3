#include "sim/object.h"

#include <math.h>
#include <string.h>

#include "sim/bond.h"
#include "sim/solver.h"
#include "sim/particle.h"
#include "world/level.h"

objectinfo object[MAXOBJECTS];
int numofobjects;

constexpr int CARCORNERS = 4;
constexpr int CARFRAMEBONDS = 6;
constexpr float WHEELFRICTION = 0.2f;
constexpr float DRIVEPUSH = 0.04f;    // per step on a touching wheel, at rest
constexpr float DRIVEFADE = 0.06f;    // push gone at 0.04 / 0.06 = 2/3 unit per step
constexpr float DRIVERANGE = 64.0f;   // stop pushing this far past the goal end

// Corner offsets from the floor centre: top-left, top-right, bottom-right, bottom-left.
static const vector2d cornerofs[CARCORNERS] = {{-4, 4}, {4, 4}, {4, 0}, {-4, 0}};
// Frame: the four sides, then the two diagonals.
static const int framebond[CARFRAMEBONDS][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2}, {1, 3}};

static void setcarcolor(float *color, float w) {
  if (w < 4.0f) {
    color[0] = 0.1f, color[1] = 0.2f, color[2] = (4.0f - w) / 40.0f + 0.1f;
  } else if (w < 8.0f) {
    color[0] = 0.2f - (8.0f - w) / 40.0f, color[1] = 0.2f, color[2] = 0.1f;
  } else if (w < 12.0f) {
    float t = (12.0f - w) / 40.0f;
    color[0] = 0.2f, color[1] = 2.0f * t, color[2] = t;
  } else {
    float t = (16.0f - w) / 40.0f;
    if (t < 0.0f)
      t = 0.0f;
    color[0] = 2.0f * t, color[1] = 0.0f, color[2] = 0.0f;
  }
}

int createobject(int type, const vector2d *pos, float weight) {
  // Refused whole rather than half-built: a car missing corners would
  // store indices that belong to nothing.
  if (numofobjects >= MAXOBJECTS || numofparticles > MAXPARTICLES - CARCORNERS ||
      numofbonds > MAXBONDS - CARFRAMEBONDS)
    return -1;
  int o = numofobjects;
  objectinfo *car = &object[o];
  memset(car, 0, sizeof(*car));
  car->type = type;
  car->weight = weight;
  car->numofparticles = CARCORNERS;
  numofobjects++;
  for (int k = 0; k < CARCORNERS; k++) {
    vector2d corner;
    addvectors2d(&corner, pos, &cornerofs[k]);
    car->particlelist[k] = createparticle(PARTICLE_CORNER, &corner, nullptr, weight * 0.25f, o);
  }
  for (int k = 0; k < CARFRAMEBONDS; k++)
    createbond(1, car->particlelist[framebond[k][0]], car->particlelist[framebond[k][1]], o);
  car->numofedges = CARCORNERS;
  for (int k = 0; k < CARCORNERS; k++) {
    car->edge[k][0] = k;
    car->edge[k][1] = (k + 1) % CARCORNERS;
  }
  setcarcolor(car->color, weight);
  return o;
}

void deleteobject(int o) {
  if (o < 0 || o >= numofobjects)
    return;
  objectinfo *car = &object[o];
  for (int k = 0; k < car->numofparticles; k++) {
    particleinfo *p = &particle[car->particlelist[k]];
    int before = p->numofobjects;
    for (int m = 0; m < p->numofobjects; m++)
      if (p->objectlist[m] == o) {
        p->objectlist[m] = p->objectlist[--p->numofobjects];
        break;
      }
    if (p->numofobjects == before)
      continue; // listed twice in particlelist: already handled
    if (p->numofobjects == 0)
      p->timetolive = 0;
    else
      p->mass -= car->weight * 0.25f;
  }
  for (int k = 0; k < car->numofbonds; k++) {
    bondinfo *r = &bond[car->bondlist[k]];
    for (int m = 0; m < r->numofobjects; m++)
      if (r->objectlist[m] == o) {
        r->objectlist[m] = r->objectlist[--r->numofobjects];
        break;
      }
    if (r->numofobjects == 0)
      r->timetolive = 0;
  }

  int last = --numofobjects;
  if (o == last)
    return;
  object[o] = object[last];
  car = &object[o];
  for (int k = 0; k < car->numofparticles; k++) {
    particleinfo *p = &particle[car->particlelist[k]];
    for (int m = 0; m < p->numofobjects; m++)
      if (p->objectlist[m] == last)
        p->objectlist[m] = o;
  }
  for (int k = 0; k < car->numofbonds; k++) {
    bondinfo *r = &bond[car->bondlist[k]];
    for (int m = 0; m < r->numofobjects; m++)
      if (r->objectlist[m] == last)
        r->objectlist[m] = o;
  }
}

int lineintersectobject(int o, const vector2d *start, const vector2d *end) {
  const objectinfo *car = &object[o];
  collision.fraction = 1.0f;
  for (int k = 0; k < car->numofedges; k++) {
    int p1 = car->particlelist[car->edge[k][0]];
    int p2 = car->particlelist[car->edge[k][1]];
    const vector2d *c = &particle[p1].pos;
    const vector2d *d = &particle[p2].pos;
    vector2d hit, normal;
    float fraction;
    if (lineintersectline2d(&hit, &normal, &fraction, start, end, c, d) &&
        fraction < collision.fraction) {
      collision.point = hit;
      collision.normal = normal;
      collision.fraction = fraction;
      collision.particle1 = p1;
      collision.particle2 = p2;
      collision.weight1 = vectordistance2d(&hit, d) / vectordistance2d(c, d);
      collision.weight2 = 1.0f - collision.weight1;
    }
  }
  return collision.fraction < 1.0f ? 1 : 0;
}

static void updatecarframe(objectinfo *car) {
  vector2d center = {0, 0}, vel = {0, 0};
  for (int k = 0; k < car->numofparticles; k++) {
    const particleinfo *p = &particle[car->particlelist[k]];
    addvectors2d(&center, &center, &p->pos);
    addvectors2d(&vel, &vel, &p->vel);
  }
  float inv = 1.0f / (float)car->numofparticles;
  scalevector2d(&car->center, &center, inv);
  scalevector2d(&car->vel, &vel, inv);
  vector2d axis;
  subtractvectors2d(&axis, &particle[car->particlelist[2]].pos, &particle[car->particlelist[3]].pos);
  normalizevector2d(&car->axisx, &axis);
  subtractvectors2d(&axis, &particle[car->particlelist[0]].pos, &particle[car->particlelist[3]].pos);
  normalizevector2d(&car->axisy, &axis);
}

// The surface direction towards the car's goal; wagons do not drive.
static void setdrive(objectinfo *car, int wheel, const vector2d *n) {
  if (car->type == OBJECT_RIGHTLOCO)
    car->drive[wheel] = {n->y, -n->x};
  else if (car->type == OBJECT_LEFTLOCO)
    car->drive[wheel] = {-n->y, n->x};
}

static int appendcontact() {
  if (numofbonds >= MAXBONDS)
    return -1; // a full table drops the contact, never writes past it
  bondinfo *r = &bond[numofbonds];
  memset(r, 0, sizeof(*r));
  return numofbonds++;
}

// The deck test is every corner against every road bond. A crossing lies
// on both segments, so a road bond whose bounding box is clear of the car's
// (the centre and its corners) by more than any rounding can reach is never
// hit and is skipped; the rest are tested in bond order as before, so the
// contacts and their order are unchanged. Beyond SANECOORD (a simulation
// that has blown up, or a non-number) the segment test's arithmetic can
// overflow into a crossing anywhere, so such bonds and cars are never culled.
constexpr float CULLMARGIN = 1.0f;
static roadbox roadboxes[MAXBONDS];
static int numofroadboxes;
static int candidate[MAXBONDS];
static int numofcandidates;

// The road bonds' bounding boxes, once per car pass, in bond order.
static const roadbox *findroadboxes() {
  const roadbox *prepared;
  int n = findpreparedroadboxes(&prepared);
  if (n >= 0) {
    numofroadboxes = n;
    return prepared;
  }
  numofroadboxes = 0;
  for (int i = 0; i < numofstaticbonds; i++)
    if (bond[i].road)
      makeroadbox(&roadboxes[numofroadboxes++], i, &particle[bond[i].particle1].pos, &particle[bond[i].particle2].pos);
  return roadboxes;
}

static void findroadcandidates(const objectinfo *car, const roadbox *boxes) {
  float minx = car->center.x, maxx = minx, miny = car->center.y, maxy = miny;
  int sane = issanepoint(&car->center);
  for (int k = 0; k < car->numofparticles; k++) {
    const vector2d *p = &particle[car->particlelist[k]].pos;
    sane &= issanepoint(p);
    minx = p->x < minx ? p->x : minx;
    maxx = p->x > maxx ? p->x : maxx;
    miny = p->y < miny ? p->y : miny;
    maxy = p->y > maxy ? p->y : maxy;
  }
  minx -= CULLMARGIN, maxx += CULLMARGIN, miny -= CULLMARGIN, maxy += CULLMARGIN;
  numofcandidates = 0;
  for (int i = 0; i < numofroadboxes; i++) {
    const roadbox *box = &boxes[i];
    if (sane && (box->maxx < minx || box->minx > maxx || box->maxy < miny || box->miny > maxy))
      continue;
    candidate[numofcandidates++] = box->bond;
  }
}

// Deck contacts of corner q against the candidate road bonds; returns how
// many crossings were found.
static int makedeckcontacts(objectinfo *car, int k, int q) {
  int made = 0;
  const vector2d *qpos = &particle[q].pos;
  for (int m = 0; m < numofcandidates; m++) {
    const bondinfo *road = &bond[candidate[m]];
    const particleinfo *b = &particle[road->particle1];
    const particleinfo *e = &particle[road->particle2];
    vector2d h, n;
    float fraction;
    if (!lineintersectline2dtwosided(&h, &n, &fraction, &car->center, qpos, &b->pos, &e->pos))
      continue;
    made++;
    if (k >= 2)
      setdrive(car, k - 2, &n);
    int c = appendcontact();
    if (c < 0)
      continue;
    bondinfo *r = &bond[c];
    r->type = BOND_ROAD;
    r->particle1 = q;
    r->particle2 = road->particle1;
    r->particle3 = road->particle2;
    r->weight1 = vectordistance2d(&h, &e->pos) / vectordistance2d(&b->pos, &e->pos);
    r->weight2 = 1.0f - r->weight1;
    vector2d depth;
    subtractvectors2d(&depth, &h, qpos);
    r->restlength = dotproduct2d(&depth, &n);
    r->stiffness = CONTACTSTIFFNESS;
    r->damping = CONTACTDAMPING;
    r->passmask = 0;
    r->normal = n;
    r->friction = WHEELFRICTION;
    r->invmass = 1.0f / (particle[q].mass + r->weight1 * b->mass + r->weight2 * e->mass);
  }
  return made;
}

static void makevertexcontacts(int o) {
  const objectinfo *car = &object[o];
  int first = clampterraincolumn((car->center.x - 6.0f) * 0.25f, -1, NUMTERRAIN - 2);
  int last = clampterraincolumn((car->center.x + 6.0f) * 0.25f, 1, NUMTERRAIN - 2);
  for (int i = first; i <= last; i++) {
    vector2d p = {4.0f * (float)i, level.terrain[i] - 0.125f};
    vector2d below = {p.x, p.y - 16.0f};
    if (!lineintersectobject(o, &below, &p))
      continue;
    int c = appendcontact();
    if (c < 0)
      continue;
    bondinfo *r = &bond[c];
    r->type = BOND_VERTEX;
    r->particle1 = collision.particle1;
    r->particle2 = collision.particle2;
    r->weight1 = collision.weight1;
    r->weight2 = collision.weight2;
    negvector2d(&r->normal, &collision.normal);
    vector2d depth;
    subtractvectors2d(&depth, &p, &collision.point);
    r->restlength = dotproduct2d(&depth, &r->normal);
    r->stiffness = CONTACTSTIFFNESS;
    r->damping = CONTACTDAMPING;
    r->passmask = 0;
  }
}

static void simulatecar(int o, const roadbox *boxes) {
  objectinfo *car = &object[o];
  car->drive[0] = {0, 0};
  car->drive[1] = {0, 0};
  float speed = vectorlength2d(&car->vel);
  findroadcandidates(car, boxes);
  for (int k = 0; k < car->numofparticles; k++) {
    int q = car->particlelist[k];
    if (makedeckcontacts(car, k, q) == 0) {
      if (lineintersectlevel2d(&car->center, &particle[q].pos)) {
        vector2d point = collision.point, normal = collision.normal;
        createlevelbond(1, q, &point, &normal, WHEELFRICTION);
        if (k >= 2)
          setdrive(car, k - 2, &normal);
      }
    }
    if (k < 2)
      continue;
    float s = DRIVEPUSH - DRIVEFADE * speed;
    if (s < 0.0f)
      s = 0.0f;
    particleinfo *p = &particle[q];
    if (p->pos.y < level.waterlevel)
      continue;
    if ((car->type == OBJECT_RIGHTLOCO && p->pos.x < level.rightend + DRIVERANGE) ||
        (car->type == OBJECT_LEFTLOCO && p->pos.x > level.leftend - DRIVERANGE))
      scaleaddvectors2d(&p->vel, &p->vel, &car->drive[k - 2], s);
  }
  makevertexcontacts(o);
}

void objectsimulation() {
  for (int o = 0; o < numofobjects; o++)
    updatecarframe(&object[o]);
  const roadbox *boxes = numofobjects > 0 ? findroadboxes() : nullptr;
  for (int o = 0; o < numofobjects; o++)
    simulatecar(o, boxes);
}
