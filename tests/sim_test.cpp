#include <gtest/gtest.h>

#include <algorithm>
#include <math.h>
#include <string.h>

#include "sim/bond.h"
#include "sim/object.h"
#include "sim/particle.h"
#include "sim/train.h"
#include "sim_bridge.h"
#include "testrun/game.h"
#include "testrun/setup.h"
#include "testrun/testrun.h"
#include "world/levellist.h"

static void clearsimulation() { numofparticles = numofbonds = numofstaticbonds = numofobjects = 0; }

static int listed(const int *list, int count, int value) { return (int)std::count(list, list + count, value); }

// Every cross-reference between particles, permanent bonds and cars, both ways.
static void validatetables() {
  for (int i = 0; i < numofparticles; i++) {
    const particleinfo &p = particle[i];
    ASSERT_LE(p.numofbonds, 15) << i;
    for (int k = 0; k < p.numofbonds; k++) {
      int b = p.bondlist[k];
      ASSERT_TRUE(b >= 0 && b < numofbonds && (bond[b].particle1 == i || bond[b].particle2 == i)) << i;
    }
    for (int k = 0; k < p.numofobjects; k++) {
      int o = p.objectlist[k];
      ASSERT_TRUE(o >= 0 && o < numofobjects) << i;
      ASSERT_EQ(listed(object[o].particlelist, object[o].numofparticles, i), 1) << i;
    }
  }
  for (int b = 0; b < numofbonds; b++) {
    for (int q : {bond[b].particle1, bond[b].particle2}) {
      ASSERT_TRUE(q >= 0 && q < numofparticles) << b;
      ASSERT_EQ(listed(particle[q].bondlist, particle[q].numofbonds, b), 1) << b;
    }
    for (int k = 0; k < bond[b].numofobjects; k++) {
      int o = bond[b].objectlist[k];
      ASSERT_TRUE(o >= 0 && o < numofobjects) << b;
      ASSERT_EQ(listed(object[o].bondlist, object[o].numofbonds, b), 1) << b;
    }
  }
  for (int o = 0; o < numofobjects; o++) {
    for (int m = 0; m < object[o].numofparticles; m++)
      ASSERT_TRUE(object[o].particlelist[m] >= 0 && object[o].particlelist[m] < numofparticles) << o;
    for (int m = 0; m < object[o].numofbonds; m++) {
      int b = object[o].bondlist[m];
      ASSERT_TRUE(b >= 0 && b < numofbonds && listed(bond[b].objectlist, bond[b].numofobjects, o) == 1) << o;
    }
  }
}

// A deck bond between two fixed particles at height y: the road a car drives on.
static void addroad(float x1, float x2, float y) {
  vector2d l = {x1, y}, r = {x2, y};
  int a = createparticle(PARTICLE_FIXED, &l, nullptr, 1.0f, -1);
  int b = createparticle(PARTICLE_FIXED, &r, nullptr, 1.0f, -1);
  bond[createbond(0, a, b, -1)].road = 1;
}

static int addparticle(int type, float x, float y, float mass = 1.0f) {
  vector2d at = {x, y};
  return createparticle(type, &at, nullptr, mass, -1);
}

static unsigned long long hashpositions() {
  unsigned long long h = 1469598103934665603ull;
  for (int i = 0; i < numofparticles; i++) {
    unsigned int bits[2];
    memcpy(bits, &particle[i].pos, 8);
    for (int k = 0; k < 2; k++)
      h = (h ^ bits[k]) * 1099511628211ull;
  }
  return h;
}

TEST(Particles, MotionContactsAndFullTable) {
  clearsimulation();
  createlevel();
  int air = addparticle(PARTICLE_FREE, 100.0f, 200.0f);
  int wet = addparticle(PARTICLE_CORNER, 1020.0f, 20.0f);
  int fixed = addparticle(PARTICLE_FIXED, 100.0f, 200.0f);
  particle[fixed].vel = {5.0f, 5.0f};
  int ground = addparticle(PARTICLE_FREE, 100.0f, 31.9f);  // just under the surface
  addparticle(PARTICLE_FREE, 200.0f, 20.0f);               // deeper than 4: no contact
  addparticle(PARTICLE_CORNER, 300.0f, 31.9f);             // car corners: the car pass
  particlesimulation();
  EXPECT_LT(particle[air].pos.y, 200.0f);
  // Below the water the drag slows the fall.
  EXPECT_NEAR(particle[wet].vel.y, particle[air].vel.y * 0.925f, 1e-7);
  EXPECT_EQ(particle[fixed].pos.x, 100.0f);
  EXPECT_EQ(particle[fixed].pos.y, 200.0f);
  ASSERT_EQ(numofbonds, 1);
  EXPECT_EQ(bond[0].type, BOND_SURFACE);
  EXPECT_EQ(bond[0].particle1, ground);
  // The frictionless ground pushes up and keeps all sideways motion.
  particle[ground].vel = {0.3f, 0.0f};
  bondsimulation();
  EXPECT_GT(particle[ground].vel.y, 0.0f);
  EXPECT_EQ(particle[ground].vel.x, 0.3f);
  numofparticles = MAXPARTICLES;
  EXPECT_EQ(addparticle(PARTICLE_FREE, 0.0f, 0.0f), -1);
  EXPECT_EQ(numofparticles, MAXPARTICLES);
  clearsimulation();
}

TEST(Bonds, CreateRefusals) {
  clearsimulation();
  for (int i = 0; i < 20; i++)
    addparticle(PARTICLE_FREE, (float)i, 100.0f);
  ASSERT_EQ(createbond(0, 0, 1, -1), 0);
  for (int i = 2; i < 16; i++)
    ASSERT_GE(createbond(0, 0, i, -1), 0);
  struct {
    int a, b;
    const char *why;
  } refused[] = {{0, 1, "same pair"}, {1, 0, "same pair reversed"}, {2, 2, "itself"},
                 {-1, 2, "bad index"}, {2, 20, "past the table"}, {0, 17, "sixteenth bond"}};
  for (const auto &r : refused) {
    EXPECT_EQ(createbond(0, r.a, r.b, -1), -1) << r.why;
    EXPECT_EQ(numofbonds, 15) << r.why;
  }
  EXPECT_EQ(particle[17].numofbonds, 0);
  // A car with 63 bonds takes no more.
  object[0].numofbonds = 63;
  numofobjects = 1;
  EXPECT_EQ(createbond(1, 3, 4, 0), -1);
  vector2d at = {0.0f, 100.0f}, up = {0.0f, 1.0f};
  EXPECT_EQ(createlevelbond(1, 20, &at, &up, 0.0f), -1);
  numofbonds = MAXBONDS - 1;
  EXPECT_EQ(createlevelbond(1, 3, &at, &up, 0.0f), MAXBONDS - 1);
  EXPECT_EQ(createlevelbond(1, 3, &at, &up, 0.0f), -1);
  EXPECT_EQ(createbond(0, 3, 4, -1), -1);
  clearsimulation();
}

TEST(Bonds, BreakLimitsAndStressSides) {
  createlevel();
  numofbeams = 1;
  struct {
    float x;  // second particle's x; the bond was made at 0.12
    int rigid, broken, side;
    float stress;
  } cases[] = {
      {0.24f, 0, 0, 0, 1.0f},                   // stretched by exactly the limit: holds
      {nextafterf(0.24f, 1.0f), 0, 1, 0, 1.0f},  // a hair more: breaks on the stretched side
      {0.0f, 0, 0, 1, 1.0f},                     // squeezed by exactly the limit: holds
      {0.12f, 0, 0, 1, 0.0f},                    // at rest length
      {0.24f, 1, 0, 0, 0.12f},                   // train bonds take 1.0 either way
      {1.2f, 1, 1, 0, 1.0f},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << "x " << c.x << " rigid " << c.rigid);
    clearsimulation();
    beam[0] = {0, 0, 1, 0, 0, 0.0f};
    addparticle(PARTICLE_FREE, 0.0f, 100.0f);
    addparticle(PARTICLE_FREE, 0.12f, 100.0f);
    createbond(c.rigid, 0, 1, -1);
    bond[0].beam = 0;
    particle[1].pos.x = c.x;
    checkbonds();
    EXPECT_EQ(bond[0].timetolive == 0, c.broken == 1);
    EXPECT_EQ(c.broken ? bond[0].peakstresstype : bond[0].stresstype, c.side);
    EXPECT_NEAR(c.broken ? bond[0].peakstress : bond[0].stress, c.stress, 1e-6);
    // Bridge bonds hand their peak to the beam for the editor's stress view.
    EXPECT_EQ(beam[0].stress, c.rigid ? 0.0f : bond[0].peakstress);
    EXPECT_EQ(beam[0].stresstype, c.rigid ? 0 : bond[0].peakstresstype);
    // A broken bond is gone after the ageing pass, from its particles' lists too.
    bondtimetolive();
    EXPECT_EQ(numofbonds, 1 - c.broken);
    EXPECT_EQ(particle[0].numofbonds, 1 - c.broken);
  }
  clearsimulation();
}

TEST(Cars, WholeOrNothing) {
  vector2d pos = {1072.0f, 32.0f};
  struct {
    int particles, bonds, objects;  // already taken
    int type, count, made, cars;
  } rows[] = {
      {0, 0, 0, OBJECT_RIGHTLOCO, 3, 1, 4},
      {0, 0, 0, OBJECT_LEFTLOCO, 3, 1, 4},
      {0, 0, 0, OBJECT_RIGHTLOCO, 0, 1, 1},
      {0, 0, 0, OBJECT_WAGON, 3, 1, 1},          // a wagon type: the single car
      {0, 0, 0, OBJECT_RIGHTLOCO, -2, 1, 1},
      {MAXPARTICLES - 19, 0, 0, OBJECT_RIGHTLOCO, 3, 1, 4},
      {MAXPARTICLES - 18, 0, 0, OBJECT_RIGHTLOCO, 3, 0, 0},
      {0, MAXBONDS - 36, 0, OBJECT_LEFTLOCO, 3, 1, 4},
      {0, MAXBONDS - 35, 0, OBJECT_LEFTLOCO, 3, 0, 0},
      {0, 0, MAXOBJECTS - 4, OBJECT_RIGHTLOCO, 3, 1, 4},
      {0, 0, MAXOBJECTS - 3, OBJECT_RIGHTLOCO, 3, 0, 0},
  };
  for (const auto &r : rows) {
    SCOPED_TRACE(testing::Message() << "row " << (&r - rows));
    clearsimulation();
    numofparticles = r.particles, numofbonds = r.bonds, numofobjects = r.objects;
    EXPECT_EQ(createtrain(r.type, &pos, r.count, 4.0f), r.made);
    EXPECT_EQ(numofobjects - r.objects, r.cars);
    int wagons = r.cars > 1 ? r.cars - 1 : 0;
    EXPECT_EQ(numofparticles - r.particles, r.made ? trainparticles(wagons) : 0);
    EXPECT_EQ(numofbonds - r.bonds, r.made ? trainbonds(wagons) : 0);
    if (r.made && r.cars == 4) {
      // Wagons trail the locomotive, 12 apart.
      float dir = r.type == OBJECT_RIGHTLOCO ? -12.0f : 12.0f;
      for (int o = 0; o < 4; o++)
        EXPECT_EQ(particle[object[r.objects + o].particlelist[3]].pos.x, 1068.0f + dir * (float)o) << o;
    }
  }
  // A single car refuses a particle table without room for its 4 corners.
  clearsimulation();
  numofparticles = MAXPARTICLES - 3;
  EXPECT_EQ(createobject(OBJECT_WAGON, &pos, 4.0f), -1);
  EXPECT_EQ(numofobjects, 0);
  EXPECT_EQ(numofparticles, MAXPARTICLES - 3);
  numofparticles = MAXPARTICLES - 4;  // exactly room for one
  EXPECT_EQ(createobject(OBJECT_WAGON, &pos, 4.0f), 0);
  clearsimulation();
  EXPECT_EQ(trainparticles(3), 19);
  EXPECT_EQ(trainbonds(3), 36);
}

TEST(Cars, DeckDriveAndWater) {
  // A locomotive's wheels on a deck are pushed towards its goal, unless it
  // already moves at 2/3 unit per step or the wheel is under water; wagons
  // are never pushed.
  struct {
    int type;
    float waterlevel, speed, expect;
  } rows[] = {{OBJECT_RIGHTLOCO, 0, 0, 0.04f}, {OBJECT_LEFTLOCO, 0, 0, -0.04f}, {OBJECT_WAGON, 0, 0, 0},
              {OBJECT_RIGHTLOCO, 0, 0.6f, 0.604f}, {OBJECT_RIGHTLOCO, 0, 0.7f, 0.7f}, {OBJECT_RIGHTLOCO, 200, 0, 0}};
  for (const auto &r : rows) {
    clearsimulation();
    createlevel();
    level.waterlevel = r.waterlevel;
    addroad(980.0f, 1020.0f, 100.0f);
    vector2d pos = {1000.0f, 99.9f};
    createobject(r.type, &pos, 4.0f);
    for (int k = 0; k < 4; k++)
      particle[object[0].particlelist[k]].vel.x = r.speed;
    numofstaticbonds = numofbonds;
    objectsimulation();
    EXPECT_EQ(numofbonds - numofstaticbonds, 2) << "one road contact per wheel";
    EXPECT_NEAR(particle[object[0].particlelist[2]].vel.x, r.expect, 1e-6) << r.type << " " << r.speed;
  }
  clearsimulation();
}

TEST(Cars, TerrainContacts) {
  clearsimulation();
  createlevel();
  // A car sunk 0.2 into flat ground: corner contacts with friction, then
  // contacts from the terrain points now inside its floor.
  vector2d pos = {102.0f, 31.8f};
  createobject(OBJECT_RIGHTLOCO, &pos, 4.0f);
  numofstaticbonds = numofbonds;
  objectsimulation();
  int count[4] = {};
  for (int i = numofstaticbonds; i < numofbonds; i++) {
    count[bond[i].type]++;
    EXPECT_FALSE(bond[i].type == BOND_SURFACE && count[BOND_VERTEX] > 0) << "corner contacts come first";
  }
  EXPECT_EQ(count[BOND_SURFACE], 2);
  EXPECT_EQ(count[BOND_VERTEX], 2);  // the columns at 100 and 104, not 96 or 108
  EXPECT_EQ(object[0].drive[0].x, 1.0f);
  // One record left in the bond table: taken, nothing written past it.
  numofbonds = numofstaticbonds = MAXBONDS - 1;
  bond[MAXBONDS - 1].type = -1;
  objectsimulation();
  EXPECT_EQ(numofbonds, MAXBONDS);
  EXPECT_NE(bond[MAXBONDS - 1].type, -1);
  // A wheel touching the deck and the ground gets only the deck contact.
  clearsimulation();
  addroad(80.0f, 120.0f, 31.95f);
  createobject(OBJECT_RIGHTLOCO, &pos, 4.0f);
  numofstaticbonds = numofbonds;
  objectsimulation();
  for (int i = numofstaticbonds; i < numofbonds; i++)
    EXPECT_NE(bond[i].type, BOND_SURFACE) << i;
  clearsimulation();
}

TEST(Tables, DeletionPatchesReferences) {
  clearsimulation();
  buildtruss(0);
  setupsimulation();
  vector2d pos = {976.0f, 32.0f};
  createtrain(OBJECT_RIGHTLOCO, &pos, 3, 4.0f);
  validatetables();
  // From the middle: the last particle (a coupler) moves into the hole.
  int bonds = numofbonds, last = numofparticles - 1;
  vector2d moved = particle[last].pos;
  deleteparticle(10);
  EXPECT_EQ(numofbonds, bonds - 4);
  EXPECT_EQ(particle[10].pos.x, moved.x);
  validatetables();
  deletebond(3);
  deletebond(object[1].bondlist[2]);  // a car's frame bond: the car's list too
  deletebond(numofbonds - 1);
  deletebond(-1);
  deletebond(numofbonds);
  EXPECT_EQ(numofbonds, bonds - 7);
  validatetables();
  int count = numofparticles;
  deleteparticle(-1);
  deleteparticle(numofparticles);
  EXPECT_EQ(numofparticles, count);

  // Deleting the only car marks its corners and frame for the next step.
  clearsimulation();
  createobject(OBJECT_WAGON, &pos, 4.0f);
  deleteobject(0);
  EXPECT_EQ(numofobjects, 0);
  particletimetolive();
  EXPECT_EQ(numofparticles, 0);
  EXPECT_EQ(numofbonds, 0);

  // Removing the first car of a train moves the last car into its slot.
  clearsimulation();
  createtrain(OBJECT_RIGHTLOCO, &pos, 3, 4.0f);
  deleteobject(0);
  EXPECT_EQ(numofobjects, 3);
  EXPECT_EQ(object[0].type, OBJECT_WAGON);
  physicssimulation();
  validatetables();
  EXPECT_EQ(numofparticles, 15);
  EXPECT_EQ(numofbonds, 6 * 3 + 4 * 2 + 2);  // the first coupler keeps its wagon-side bonds
  clearsimulation();
}

TEST(Tables, SetupFromTheBridge) {
  // One particle per joint; a bond for every beam that fits its type's
  // length and names real joints and types; deck beams are roads.
  buildtruss(1);
  beam[numofbeams++] = {1, 0, 99, 0, 0, 0.0f};
  beam[numofbeams++] = {16, 0, 2, 0, 0, 0.0f};
  beam[numofbeams++] = {0, -1, 2, 0, 0, 0.0f};
  beam[numofbeams++] = {0, 0, 8, 0, 0, 0.0f};  // longer than 17.9
  beam[numofbeams++] = {0, 0, 9, 0, 0, 0.0f};
  setupsimulation();
  EXPECT_EQ(numofparticles, numofjoints);
  ASSERT_EQ(numofbonds, 9);
  for (int b = 0; b < 9; b++) {
    EXPECT_EQ(bond[b].road, b < 8) << b;
    EXPECT_EQ(bond[b].beam, b < 8 ? b : numofbeams - 1) << b;
  }
  EXPECT_EQ(particle[0].type, PARTICLE_FIXED);
  EXPECT_EQ(particle[9].type, PARTICLE_FREE);
  clearsimulation();
}

static void runtruss(int steps) {
  buildtruss(0);
  setupsimulation();
  vector2d pos = {976.0f, 32.0f};
  createtrain(OBJECT_RIGHTLOCO, &pos, 3, 4.0f);
  for (int i = 0; i < steps; i++)
    physicssimulation();
}

TEST(Simulation, DeterministicAndUnchangedByOptimisation) {
  runtruss(300);
  unsigned long long first = hashpositions();
  runtruss(300);
  EXPECT_EQ(hashpositions(), first);
  // Recorded from the plain step order before any speed work on the hot
  // loops; a change here means an optimisation changed the results.
  runtruss(600);
  EXPECT_EQ(hashpositions(), 0x673b28c85898cf88ull);
  // The pier truss crossed both ways through the test-run state machine,
  // and a grid that fills the tables with deck beams under the car pass.
  buildpiertruss();
  level.trainstart = 2;
  levelnum = -1;
  memset(&game, 0, sizeof(game));
  game.weight = 40000;
  starttestrun(0);
  game.autorun = 1;
  for (int i = 0; i < 1200; i++)
    simulationstep();
  EXPECT_EQ(game.state, STATE_PASSED);
  EXPECT_EQ(hashpositions(), 0xe85549bc21295fa8ull);
  float top = buildfullgrid();
  setupsimulation();
  vector2d pos = {1000.0f, top};
  createtrain(OBJECT_RIGHTLOCO, &pos, TRAINWAGONS, 4.0f);
  for (int i = 0; i < 60; i++)
    physicssimulation();
  EXPECT_EQ(hashpositions(), 0xd30c0de6c83884c6ull);
  validatetables();
  clearsimulation();
}
