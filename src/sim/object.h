// Rigid cars: four corner particles held nearly rigid by six train bonds,
// touching the deck through their corners and the terrain through corners
// and outline; locomotives push their wheels along what they touch.
#pragma once

#include "geometry/vector.h"

constexpr int MAXOBJECTS = 512;
constexpr int OBJECTPARTICLES = 8;
constexpr int OBJECTBONDS = 64;     // createbond refuses a 64th
constexpr int OBJECTEDGES = 12;

enum : int {
  OBJECT_RIGHTLOCO = 0,  // locomotive driving right
  OBJECT_WAGON = 1,
  OBJECT_LEFTLOCO = 2,   // locomotive driving left
};

// particlelist positions 0..3: top-left, top-right, bottom-right,
// bottom-left; 2 and 3 are the wheels. Fields that change together:
// particlelist <-> particle.objectlist, bondlist <-> bond.objectlist.
struct objectinfo {
  int type;
  vector2d center;     // mean particle position, recomputed every car pass
  vector2d vel;        // mean particle velocity
  vector2d axisx;      // unit, corner 3 -> corner 2 (along the floor)
  vector2d axisy;      // unit, corner 3 -> corner 0 (up the rear side)
  float weight;        // a quarter of it is each corner's mass
  int numofparticles;
  int particlelist[OBJECTPARTICLES];
  int numofbonds;
  int bondlist[OBJECTBONDS];
  int numofedges;
  int edge[OBJECTEDGES][2];   // particlelist positions; clockwise, fronts face out
  vector2d drive[2];          // wheel push direction this step, (0, 0) when touching nothing
  float color[3];
};

extern objectinfo object[MAXOBJECTS];
extern int numofobjects;

// A car standing with its floor centre on pos. Returns the index, or -1
// when the car table, or the particle or bond table, has no room for a
// whole car (4 particles, 6 bonds); nothing is changed then.
int createobject(int type, const vector2d *pos, float weight);
void deleteobject(int index);
// Does start->end enter the car's outline from outside? Fills `collision`.
int lineintersectobject(int index, const vector2d *start, const vector2d *end);
void objectsimulation();
