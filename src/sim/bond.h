// Everything that acts between particles: the permanent springs of the
// bridge and the car frames, and the contacts made afresh every step.
// During a step the first numofstaticbonds records are the springs, then
// come this step's contacts: free particles' surface contacts in particle
// order, then car by car the corners' deck or terrain contacts and the
// car's vertex contacts. The contacts are dropped before the step ends.
// This is the table and its lists; solver.h works on it.
#pragma once

#include <math.h>

#include "geometry/vector.h"

constexpr int MAXBONDS = 16384;
constexpr int BONDOBJECTS = 4;
constexpr float BONDEPSILON = 0.0000152587890625f; // 2^-16: shorter vectors have no direction
constexpr int BRIDGEPASSMASK = 3;  // bridge bonds: solver passes 0, 4, 8, 12 only
constexpr float SPRINGDAMPING = 0.25f;
// Every contact, the free particles' and the cars': a sixty-fourth of the
// depth per pass, so a wheel settles on the deck over several steps.
constexpr float CONTACTSTIFFNESS = 0.015625f;
constexpr float CONTACTDAMPING = 0.125f;

enum : int {
  BOND_SPRING = 0,   // particle1 - particle2
  BOND_SURFACE = 1,  // particle1 against a fixed surface
  BOND_ROAD = 2,     // corner particle1 against the deck segment particle2 - particle3
  BOND_VERTEX = 3,   // car edge particle1 - particle2 against a terrain point
};

// 128 bytes on a 64-byte boundary: every field a step reads or writes of a
// bridge spring but `road` lies in the first cache line, the contacts' own
// in the second, so the stress check over a large bridge moves half the
// memory.
struct alignas(64) bondinfo {
  int type;
  int rigid;             // springs: 0 bridge bond (from a beam), 1 train bond
  int timetolive;        // 65536 permanent; 0 once broken; contacts leave 0
  int particle1;
  int particle2;         // types 0, 2, 3
  int passmask;          // solved in pass p when (passmask & p) == 0
  float restlength;      // springs: drawn length; contacts: penetration depth
  float stiffness;
  float damping;
  float tensionlimit;    // most negative allowed restlength - length
  float compressionlimit;
  int stresstype;        // 0 stretched, 1 compressed
  float stress;          // 0..1
  int peakstresstype;
  float peakstress;      // 1.0 once broken
  int beam;              // bridge bonds: the beam it was made from
  int road;              // made from a deck beam: car corners ride on it
  int particle3;         // type 2 only
  float weight1;         // type 2: share of particle2; type 3: share of particle1
  float weight2;         // 1 - weight1
  vector2d normal;       // contacts: the direction they push particle1 (type 3: the edge)
  float friction;
  float invmass;         // type 2 only
  int numofobjects;
  int objectlist[BONDOBJECTS];
};
static_assert(sizeof(bondinfo) == 128, "two cache lines");

extern bondinfo bond[MAXBONDS];
extern int numofbonds;
extern int numofstaticbonds;

// Bridge bonds broken by checkbonds since `count` was last zeroed, and the
// first of them, so a caller learns of a break without scanning the table.
struct bondbreakinfo {
  int count;
  int beam;
  int side;      // 0 stretched, 1 compressed
  vector2d pos;  // midpoint of its particles as it broke
};
extern bondbreakinfo bridgebreak;

// rigid 0 bridge bond, 1 train bond; object a car index or -1.
// Returns the index or -1 when refused (full, bad index, same pair twice,
// 15 bonds on a particle, 63 on the car).
int createbond(int rigid, int particle1, int particle2, int object);
// A surface contact for this step only. side 1 measures the depth as
// (point - pos)·normal, side 2 the reverse. Returns the index or -1.
int createlevelbond(int side, int particle, const vector2d *point, const vector2d *normal, float friction);
void deletebond(int index);
void bondtimetolive();
