#include "sim/solver.h"

#include <math.h>
#include <string.h>
// The loops written with vector instructions give the same bits as the
// plain ones beside them, which processors without SSE2 run; built with
// SPANWRIGHT_PLAIN_LOOPS the plain ones run here too, so a test can hold
// the two to the same results.
#if defined(__SSE2__) && !defined(SPANWRIGHT_PLAIN_LOOPS)
#define VECTORLOOPS 1
#include <emmintrin.h>
#else
#define VECTORLOOPS 0
#endif

#include "sim/bond.h"
#include "sim/object.h"
#include "sim/particle.h"
#include "world/level.h"

const int solvervectorloops = VECTORLOOPS;

constexpr int SOLVERPASSES = 16;

// unit(t): t / |t|, or (0, 0) when t is too short to have a direction.
static void unitvector(vector2d *out, const vector2d *t, float length) {
  if (length > BONDEPSILON) {
    out->x = t->x / length;
    out->y = t->y / length;
  } else {
    out->x = 0.0f;
    out->y = 0.0f;
  }
}

// Inlined into the contact solvers, which run it 16 times a step.
static inline void friction2d(vector2d *v, const vector2d *normal, float friction) {
  vector2d vn, vt;
  scalevector2d(&vn, normal, dotproduct2d(v, normal));
  subtractvectors2d(&vt, v, &vn);
  float lt = vectorlength2d(&vt);
  if (lt > BONDEPSILON) {
    float ln = vectorlength2d(&vn) * friction;
    float keep = lt < ln ? lt : ln;
    vector2d ut;
    unitvector(&ut, &vt, lt);
    scaleaddvectors2d(v, &vn, &ut, keep);
  } else {
    *v = vn;
  }
}

void calculatefriction2d(vector2d *v, const vector2d *normal, float friction) { friction2d(v, normal, friction); }

// The solver works on a compact copy of what it reads and writes: the
// particles' velocities and masses, each in an array of its own, and per
// bond the values that stay the same through all 16 passes. Positions do
// not move during the solver, so a spring's direction and its stretch term
// are worked out once per step, by the same operations in the same order as
// a pass would, giving the same bits; only the damping term follows the
// velocities. Bridge bonds (passmask 3) sit out 12 of the 16 passes; in
// those passes only the passmask-0 bonds (train bonds and this step's
// contacts) act, so only their particles need a fresh prevvel: a particle
// no solved bond touches keeps its velocity, and its prevvel catches up at
// the next full pass or at the end.
// A particle's velocity and its copy from the start of the pass side by
// side: a spring reads the one and writes the other, and in arrays of
// their own, a power of two apart, every such load would seem to wait on
// the store before it.
struct solverparticle {
  vector2d vel;
  vector2d prevvel;
};
static solverparticle solverp[MAXPARTICLES];
static vector2d solverpos[MAXPARTICLES];  // read by the stress check after the solver
static float solvermass[MAXPARTICLES];
static float solverdamping[MAXPARTICLES];

// How a pass solves a bond. A plain spring is one with the damping of
// every spring and two particles of mass 1, as every beam of a bridge is:
// its x / (1 + 1) and x * 1 are the same bits as x * 0.5 and x, which
// spares a division and two loads.
enum : unsigned {
  SOLVE_PLAIN = 0,
  SOLVE_SPRING = 1,   // any other spring: damping and masses read per pass
  SOLVE_CONTACT = 2,  // read from the full record, by its type
};
// A particle index held to the table, as the solver keeps it in 16 bits.
constexpr unsigned PARTICLEMASK = MAXPARTICLES - 1;
static_assert((MAXPARTICLES & PARTICLEMASK) == 0 && MAXPARTICLES <= 65536, "a particle index fits 16 bits");

// 16 bytes, four to a cache line; the solve kind of each is in solverkind.
struct solverbond {
  unsigned short a, b;  // particle1, particle2
  vector2d n;     // springs: unit(pos(b) - pos(a))
  float term;     // springs: stiffness * (length - restlength)
};

static solverbond solverb[MAXBONDS];
static unsigned char solverkind[MAXBONDS];
static int alwaysbond[MAXBONDS];   // bonds with passmask 0, in bond order
// Runs of consecutive plain springs, [first, end), in bond order: a full
// pass solves them four at a time without asking each bond its kind.
struct plainrun {
  int first, end;
};
static plainrun plainruns[MAXBONDS / 2 + 1];
static int numofplainruns;

static int numofalwaysbonds;
static roadbox preparedroadbox[MAXBONDS];  // permanent bonds with road set, in bond order
static int numofroadbonds;
static int touchedparticle[MAXPARTICLES];
static int numoftouchedparticles;
static unsigned char istouched[MAXPARTICLES];

static void touchparticle(int p) {
  if (!istouched[p]) {
    istouched[p] = 1;
    touchedparticle[numoftouchedparticles++] = p;
  }
}

// x == value for a value that is a number other than zero: only one bit
// pattern equals it, so the bits are compared, without the unordered case
// a floating-point comparison must test for.
static inline int isexactly(float x, float value) {
  unsigned a, b;
  memcpy(&a, &x, sizeof(a));
  memcpy(&b, &value, sizeof(b));
  return a == b;
}

// unit(posb - posa) into n; returns |posb - posa|.
static inline float springdirection(vector2d *n, const vector2d *posa, const vector2d *posb) {
#if VECTORLOOPS
  // x and y side by side, the same operations as unitvector on the same
  // values; a direction too short to have one is (0, 0).
  const __m128 zero = _mm_setzero_ps();
  __m128 d = _mm_sub_ps(_mm_loadl_pi(zero, (const __m64 *)posb), _mm_loadl_pi(zero, (const __m64 *)posa));
  __m128 squares = _mm_mul_ps(d, d);
  __m128 length = _mm_sqrt_ss(_mm_add_ss(squares, _mm_shuffle_ps(squares, squares, _MM_SHUFFLE(1, 1, 1, 1))));
  float l = _mm_cvtss_f32(length);
  __m128 u = l > BONDEPSILON ? _mm_div_ps(d, _mm_shuffle_ps(length, length, 0)) : zero;
  _mm_storel_pi((__m64 *)n, u);
  return l;
#else
  vector2d d;
  subtractvectors2d(&d, posb, posa);
  float length = vectorlength2d(&d);
  unitvector(n, &d, length);
  return length;
#endif
}

// What a step needs of bonds from..to-1 before the solver: the solver's
// form of each, the bonds every pass solves, and the road bonds when asked
// for. Returns 0 when a passmask other than 0 or 3 is met (no short passes).
static int preparebonds(int from, int to, roadbox *road) {
  int regular = 1;
  // Counts kept in locals: through the tables every bond would wait on
  // the store the one before made.
  int runs = numofplainruns, runfirst = -1, runend = -1;
  int roads = numofroadbonds, always = numofalwaysbonds;
  if (runs > 0) {
    runs--;
    runfirst = plainruns[runs].first, runend = plainruns[runs].end;
  }
  for (int i = from; i < to; i++) {
    const bondinfo *r = &bond[i];
    solverbond *s = &solverb[i];
    unsigned a = (unsigned)r->particle1 & PARTICLEMASK, b = (unsigned)r->particle2 & PARTICLEMASK;
    unsigned kind = SOLVE_CONTACT;
    if (r->type == BOND_SPRING) {
      float length = springdirection(&s->n, &solverpos[a], &solverpos[b]);
      s->term = r->stiffness * (length - r->restlength);
      int plain = isexactly(r->damping, SPRINGDAMPING) & isexactly(solvermass[a], 1.0f) & isexactly(solvermass[b], 1.0f);
      kind = plain ? SOLVE_PLAIN : SOLVE_SPRING;
      if (plain) {
        if (runend != i) {
          if (runend >= 0)
            plainruns[runs++] = {runfirst, runend};
          runfirst = i;
        }
        runend = i + 1;
      }
    }
    s->a = (unsigned short)a, s->b = (unsigned short)b;
    solverkind[i] = (unsigned char)kind;
    if (road && r->road)
      makeroadbox(&road[roads++], i, &solverpos[a], &solverpos[b]);
    if (r->passmask == BRIDGEPASSMASK)
      continue;
    if (r->passmask != 0) {
      regular = 0;
      continue;
    }
    alwaysbond[always++] = i;
    touchparticle(r->particle1);
    if (r->type != BOND_SURFACE)
      touchparticle(r->particle2);
    if (r->type == BOND_ROAD)
      touchparticle(r->particle3);
  }
  if (runend >= 0)
    plainruns[runs++] = {runfirst, runend};
  numofplainruns = runs;
  numofroadbonds = roads;
  numofalwaysbonds = always;
  return regular;
}

// A step sweeps its permanent bonds once, as soon as the particles have
// moved: the bond records fill more than the cache, and the car pass and
// the solver each swept them before. Positions and masses do not change
// between here and the solver (the car pass only pushes wheels and adds
// contacts after the permanent bonds), so the solver's form of a permanent
// bond is the same worked out here. Valid until the step ends.
static int preparedbonds = -1;  // permanent bonds prepared this step; -1 none
static int preparedregular;

static void copysolverparticles() {
  for (int i = 0; i < numofparticles; i++) {
    const particleinfo *p = &particle[i];
    solverp[i].vel = p->vel;
    solverpos[i] = p->pos;
    solvermass[i] = p->mass;
    solverdamping[i] = p->damping;
  }
}

// The compact particles afresh and the bond lists empty, before
// preparebonds from the first bond.
static void startpreparation() {
  copysolverparticles();
  numofalwaysbonds = 0;
  numofplainruns = 0;
  numoftouchedparticles = 0;
  numofroadbonds = 0;
}

void preparestep() {
  startpreparation();
  preparedregular = preparebonds(0, numofstaticbonds, preparedroadbox);
  preparedbonds = numofstaticbonds;
}

void endstep() { preparedbonds = -1; }

int findpreparedroadboxes(const roadbox **list) {
  if (preparedbonds < 0)
    return -1;
  *list = preparedroadbox;
  return numofroadbonds;
}

constexpr float EVERYWHERE = 3.0e38f;  // a box this wide meets every car

void makeroadbox(roadbox *box, int bond, const vector2d *b, const vector2d *e) {
  box->bond = bond;
  if (!issanepoint(b) || !issanepoint(e)) {
    box->minx = box->miny = -EVERYWHERE;
    box->maxx = box->maxy = EVERYWHERE;
    return;
  }
  box->minx = b->x < e->x ? b->x : e->x;
  box->maxx = b->x < e->x ? e->x : b->x;
  box->miny = b->y < e->y ? b->y : e->y;
  box->maxy = b->y < e->y ? e->y : b->y;
}

// Returns 1 when every passmask is 0 or 3, so that the short passes apply.
static int preparesolver() {
  if (preparedbonds >= 0 && preparedbonds <= numofbonds) {
    // Since preparestep only the car pass has changed velocities, and only
    // those of the cars' own corners.
    for (int o = 0; o < numofobjects; o++)
      for (int k = 0; k < object[o].numofparticles; k++) {
        int q = object[o].particlelist[k];
        if (q >= 0 && q < numofparticles)
          solverp[q].vel = particle[q].vel;
      }
    return preparebonds(preparedbonds, numofbonds, nullptr) && preparedregular;
  }
  startpreparation();
  return preparebonds(0, numofbonds, nullptr);
}

static inline void solveplainspring(const solverbond *s) {
  unsigned a = s->a, b = s->b;
  vector2d dv;
  subtractvectors2d(&dv, &solverp[b].prevvel, &solverp[a].prevvel);
  float x = (s->term + SPRINGDAMPING * dotproduct2d(&dv, &s->n)) * 0.5f;
  scaleaddvectors2d(&solverp[a].vel, &solverp[a].vel, &s->n, x);
  scaleaddvectors2d(&solverp[b].vel, &solverp[b].vel, &s->n, -x);
}

static inline void solvespring(const solverbond *s, const bondinfo *r) {
  unsigned a = s->a, b = s->b;
  vector2d dv;
  subtractvectors2d(&dv, &solverp[b].prevvel, &solverp[a].prevvel);
  float x = s->term + r->damping * dotproduct2d(&dv, &s->n);
  x = x / (solvermass[a] + solvermass[b]);
  scaleaddvectors2d(&solverp[a].vel, &solverp[a].vel, &s->n, x * solvermass[b]);
  scaleaddvectors2d(&solverp[b].vel, &solverp[b].vel, &s->n, -(x * solvermass[a]));
}

static inline void solvesurface(const bondinfo *r) {
  int a = r->particle1;
  vector2d t;
  scalevector2d(&t, &r->normal, r->restlength * r->stiffness);
  scaleaddvectors2d(&t, &t, &solverp[a].prevvel, -r->damping);
  if (!(dotproduct2d(&t, &r->normal) > 0.0f))
    return;
  float length = vectorlength2d(&t);
  vector2d u;
  unitvector(&u, &t, length);
  friction2d(&u, &r->normal, r->friction);
  if (solverdamping[a] > 0.0f)
    scaleaddvectors2d(&solverp[a].vel, &solverp[a].vel, &u, length);
}

static inline void solveroad(const bondinfo *r) {
  int a = r->particle1, b = r->particle2, e = r->particle3;
  vector2d t;
  scalevector2d(&t, &r->normal, r->restlength * r->stiffness);
  scaleaddvectors2d(&t, &t, &solverp[a].prevvel, -r->damping);
  scaleaddvectors2d(&t, &t, &solverp[b].prevvel, r->weight1 * r->damping);
  scaleaddvectors2d(&t, &t, &solverp[e].prevvel, r->weight2 * r->damping);
  if (!(dotproduct2d(&t, &r->normal) > 0.0f))
    return;
  float tl = vectorlength2d(&t);
  float length = tl * r->invmass;
  vector2d u;
  unitvector(&u, &t, tl);
  float m = solvermass[b] * r->weight1 + solvermass[e] * r->weight2;
  friction2d(&u, &r->normal, r->friction);
  scaleaddvectors2d(&solverp[a].vel, &solverp[a].vel, &u, length * m);
  scaleaddvectors2d(&solverp[b].vel, &solverp[b].vel, &u, -(length * solvermass[a] * r->weight1));
  scaleaddvectors2d(&solverp[e].vel, &solverp[e].vel, &u, -(length * solvermass[a] * r->weight2));
}

static inline void solvevertex(const bondinfo *r) {
  int a = r->particle1, b = r->particle2;
  vector2d t;
  scalevector2d(&t, &r->normal, r->restlength * r->stiffness);
  scaleaddvectors2d(&t, &t, &solverp[a].prevvel, -(r->weight1 * r->damping));
  scaleaddvectors2d(&t, &t, &solverp[b].prevvel, -(r->weight2 * r->damping));
  if (!(dotproduct2d(&t, &r->normal) > 0.0f))
    return;
  friction2d(&t, &r->normal, r->friction);
  scaleaddvectors2d(&solverp[a].vel, &solverp[a].vel, &t, r->weight1);
  scaleaddvectors2d(&solverp[b].vel, &solverp[b].vel, &t, r->weight2);
}

#if VECTORLOOPS
static inline __m128 loadvectors(const vector2d *a, const vector2d *b) {
  return _mm_loadh_pi(_mm_loadl_pi(_mm_setzero_ps(), (const __m64 *)a), (const __m64 *)b);
}

static inline void addtovelocity(int p, __m128 add) {
  __m128 v = _mm_loadl_pi(_mm_setzero_ps(), (const __m64 *)&solverp[p].vel);
  _mm_storel_pi((__m64 *)&solverp[p].vel, _mm_add_ps(v, add));
}
#endif

// Four plain springs in one go: lane for lane the operations of
// solveplainspring on the same values, and the eight velocities changed in
// the order four calls would change them.
static inline void solveplainspringquad(const solverbond *s) {
#if VECTORLOOPS
  unsigned a[4], b[4];
  for (int k = 0; k < 4; k++)
    a[k] = s[k].a, b[k] = s[k].b;
  __m128 a01 = loadvectors(&solverp[a[0]].prevvel, &solverp[a[1]].prevvel);
  __m128 a23 = loadvectors(&solverp[a[2]].prevvel, &solverp[a[3]].prevvel);
  __m128 b01 = loadvectors(&solverp[b[0]].prevvel, &solverp[b[1]].prevvel);
  __m128 b23 = loadvectors(&solverp[b[2]].prevvel, &solverp[b[3]].prevvel);
  __m128 n01 = loadvectors(&s[0].n, &s[1].n), n23 = loadvectors(&s[2].n, &s[3].n);
  __m128 nx = _mm_shuffle_ps(n01, n23, _MM_SHUFFLE(2, 0, 2, 0));
  __m128 ny = _mm_shuffle_ps(n01, n23, _MM_SHUFFLE(3, 1, 3, 1));
  __m128 dvx = _mm_sub_ps(_mm_shuffle_ps(b01, b23, _MM_SHUFFLE(2, 0, 2, 0)), _mm_shuffle_ps(a01, a23, _MM_SHUFFLE(2, 0, 2, 0)));
  __m128 dvy = _mm_sub_ps(_mm_shuffle_ps(b01, b23, _MM_SHUFFLE(3, 1, 3, 1)), _mm_shuffle_ps(a01, a23, _MM_SHUFFLE(3, 1, 3, 1)));
  __m128 dot = _mm_add_ps(_mm_mul_ps(dvx, nx), _mm_mul_ps(dvy, ny));
  __m128 term = _mm_set_ps(s[3].term, s[2].term, s[1].term, s[0].term);
  __m128 x = _mm_mul_ps(_mm_add_ps(term, _mm_mul_ps(_mm_set1_ps(SPRINGDAMPING), dot)), _mm_set1_ps(0.5f));
  __m128 negx = _mm_xor_ps(x, _mm_set1_ps(-0.0f));
  __m128 pushx = _mm_mul_ps(nx, x), pushy = _mm_mul_ps(ny, x);
  __m128 pullx = _mm_mul_ps(nx, negx), pully = _mm_mul_ps(ny, negx);
  __m128 push01 = _mm_unpacklo_ps(pushx, pushy), push23 = _mm_unpackhi_ps(pushx, pushy);
  __m128 pull01 = _mm_unpacklo_ps(pullx, pully), pull23 = _mm_unpackhi_ps(pullx, pully);
  addtovelocity(a[0], push01);
  addtovelocity(b[0], pull01);
  addtovelocity(a[1], _mm_movehl_ps(push01, push01));
  addtovelocity(b[1], _mm_movehl_ps(pull01, pull01));
  addtovelocity(a[2], push23);
  addtovelocity(b[2], pull23);
  addtovelocity(a[3], _mm_movehl_ps(push23, push23));
  addtovelocity(b[3], _mm_movehl_ps(pull23, pull23));
#else
  for (int k = 0; k < 4; k++)
    solveplainspring(&s[k]);
#endif
}

static inline void solvebond(int i) {
  const solverbond *s = &solverb[i];
  switch (solverkind[i]) {
  case SOLVE_PLAIN: solveplainspring(s); return;
  case SOLVE_SPRING: solvespring(s, &bond[i]); return;
  }
  switch (bond[i].type) {
  case BOND_SURFACE: solvesurface(&bond[i]); break;
  case BOND_ROAD: solveroad(&bond[i]); break;
  case BOND_VERTEX: solvevertex(&bond[i]); break;
  }
}

void bondsimulation() {
  int regular = preparesolver();
  for (int pass = 0; pass < SOLVERPASSES; pass++) {
    if (!regular || (pass & BRIDGEPASSMASK) == 0) {
      for (int i = 0; i < numofparticles; i++)
        solverp[i].prevvel = solverp[i].vel;
      if (regular) {
        // Every bond acts in a full pass.
        int i = 0;
        for (int run = 0; run < numofplainruns; run++) {
          for (; i < plainruns[run].first; i++)
            solvebond(i);
          int end = plainruns[run].end;
          for (; i + 3 < end; i += 4)
            solveplainspringquad(&solverb[i]);
          for (; i < end; i++)
            solveplainspring(&solverb[i]);
        }
        for (; i < numofbonds; i++)
          solvebond(i);
      } else {
        for (int i = 0; i < numofbonds; i++)
          if ((bond[i].passmask & pass) == 0)
            solvebond(i);
      }
    } else {
      for (int k = 0; k < numoftouchedparticles; k++) {
        int p = touchedparticle[k];
        solverp[p].prevvel = solverp[p].vel;
      }
      for (int k = 0; k < numofalwaysbonds; k++)
        solvebond(alwaysbond[k]);
    }
  }
  // Hand back what a plain sweep would leave: prevvel as copied at the
  // start of the last pass, which for an untouched particle is its velocity.
  for (int i = 0; i < numofparticles; i++) {
    particle[i].vel = solverp[i].vel;
    particle[i].prevvel = regular && !istouched[i] ? solverp[i].vel : solverp[i].prevvel;
  }
  for (int k = 0; k < numoftouchedparticles; k++)
    istouched[touchedparticle[k]] = 0;
}

// A living bond's stress from c, its drawn length less its length now,
// and its peak. Which side a bond is on, and whether it beats its peak,
// change from bond to bond with no pattern a branch could learn: chosen by
// value.
static inline void notestress(bondinfo *r, float c) {
  int side = c < 0.0f ? 0 : 1;
  float stress = c / (side ? r->compressionlimit : r->tensionlimit);
  int peak = stress > r->peakstress;
  r->stresstype = side;
  r->stress = stress;
  r->peakstresstype = peak ? side : r->peakstresstype;
  r->peakstress = peak ? stress : r->peakstress;
}

// A bridge bond's peak, shown on its beam; beams is numofbeams, or 0.
static inline void showpeak(const bondinfo *r, unsigned beams) {
  if (r->rigid == 0 && (unsigned)r->beam < beams) {
    beam[r->beam].stresstype = r->peakstresstype;
    beam[r->beam].stress = r->peakstress;
  }
}

// The stress and break rule of one permanent bond, from where its two
// particles are and how they move. Returns 1 when bondtimetolive would
// count it down.
static inline int checkbond(bondinfo *r, const vector2d *posa, const vector2d *vela, const vector2d *posb,
                            const vector2d *velb) {
  vector2d pa, pb, d;
  addvectors2d(&pa, posa, vela);
  addvectors2d(&pb, posb, velb);
  subtractvectors2d(&d, &pb, &pa);
  float c = r->restlength - vectorlength2d(&d);
  int broke = 0;
  if (c < r->tensionlimit) {
    r->timetolive = 0;
    r->peakstresstype = 0;
    r->peakstress = 1.0f;
    broke = 1;
  }
  if (c > r->compressionlimit) {
    r->timetolive = 0;
    r->peakstresstype = 1;
    r->peakstress = 1.0f;
    broke = 1;
  }
  if (broke && r->rigid == 0 && bridgebreak.count++ == 0) {
    bridgebreak.beam = r->beam;
    bridgebreak.side = r->peakstresstype;
    bridgebreak.pos.x = (posa->x + posb->x) * 0.5f;
    bridgebreak.pos.y = (posa->y + posb->y) * 0.5f;
  }
  if (r->timetolive > 0)
    notestress(r, c);
  showpeak(r, numofbeams > 0 ? (unsigned)numofbeams : 0);
  return r->timetolive <= PERMANENT - 1;
}

int checkbonds() {
  int mortal = 0;
  for (int i = 0; i < numofbonds; i++) {
    bondinfo *r = &bond[i];
    const particleinfo *a = &particle[r->particle1];
    const particleinfo *b = &particle[r->particle2];
    mortal += checkbond(r, &a->pos, &a->vel, &b->pos, &b->vel);
  }
  return mortal;
}

// |(posb + velb) - (posa + vela)|, as checkbond works it out.
static inline float lengthafter(const vector2d *posa, const vector2d *vela, const vector2d *posb,
                                const vector2d *velb) {
#if VECTORLOOPS
  // x and y side by side: the same additions, subtractions and products,
  // then x² + y² in that order.
  const __m128 zero = _mm_setzero_ps();
  __m128 pa = _mm_add_ps(_mm_loadl_pi(zero, (const __m64 *)posa), _mm_loadl_pi(zero, (const __m64 *)vela));
  __m128 pb = _mm_add_ps(_mm_loadl_pi(zero, (const __m64 *)posb), _mm_loadl_pi(zero, (const __m64 *)velb));
  __m128 d = _mm_sub_ps(pb, pa);
  __m128 squares = _mm_mul_ps(d, d);
  return _mm_cvtss_f32(_mm_sqrt_ss(_mm_add_ss(squares, _mm_shuffle_ps(squares, squares, _MM_SHUFFLE(1, 1, 1, 1)))));
#else
  vector2d pa, pb, d;
  addvectors2d(&pa, posa, vela);
  addvectors2d(&pb, posb, velb);
  subtractvectors2d(&d, &pb, &pa);
  return vectorlength2d(&d);
#endif
}

int checksolvedbonds() {
  int mortal = 0;
  const unsigned beams = numofbeams > 0 ? (unsigned)numofbeams : 0;
  for (int i = 0; i < numofbonds; i++) {
    bondinfo *r = &bond[i];
    unsigned a = solverb[i].a, b = solverb[i].b;
    const vector2d *posa = &solverpos[a], *posb = &solverpos[b];
    float c = r->restlength - lengthafter(posa, &solverp[a].vel, posb, &solverp[b].vel);
    if (c < r->tensionlimit || c > r->compressionlimit || r->timetolive <= 0) {
      mortal += checkbond(r, posa, &solverp[a].vel, posb, &solverp[b].vel);
      continue;
    }
    // What checkbond does to a bond that neither breaks nor is broken.
    notestress(r, c);
    showpeak(r, beams);
    mortal += r->timetolive <= PERMANENT - 1;
  }
  return mortal;
}
