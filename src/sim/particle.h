// Point masses of the structural simulation.
// Positions are world units, velocities world units per step, y upwards.
#pragma once

#include "geometry/vector.h"

constexpr int MAXPARTICLES = 16384;
constexpr int PARTICLEBONDS = 16;      // bondlist capacity; createbond refuses a 16th
constexpr int PARTICLEOBJECTS = 4;
constexpr int PERMANENT = 65536;       // timetolive that is never counted down

enum : int {
  PARTICLE_FIXED = 0,   // anchor: damping 0, never moves
  PARTICLE_FREE = 1,    // bridge joint or coupler; touches the terrain here
  PARTICLE_CORNER = 8,  // car corner; its contacts come from the car pass
};

// Fields that change together: bondlist <-> bond.particle1/particle2,
// objectlist <-> object.particlelist. Creation and deletion keep both sides.
struct particleinfo {
  int type;
  int timetolive;       // PERMANENT, or steps left; deleted when below 1
  float mass;
  float damping;        // 0.9975, 0 for fixed particles
  vector2d pos;
  vector2d vel;
  vector2d prevvel;     // solver scratch: vel at the start of each pass
  int numofbonds;
  int bondlist[PARTICLEBONDS];     // permanent bonds only, never contacts
  int numofobjects;
  int objectlist[PARTICLEOBJECTS]; // cars this particle belongs to
};

extern particleinfo particle[MAXPARTICLES];
extern int numofparticles;
// Particles not PERMANENT seen by the last particlesimulation: none means
// particletimetolive would change nothing this step.
extern int numofmortalparticles;

// vel may be null for (0, 0); object is a car index or -1. Returns the new
// index or -1 when the table is full.
int createparticle(int type, const vector2d *pos, const vector2d *vel, float mass, int object);
void deleteparticle(int index);
void particletimetolive();
void particlesimulation();
