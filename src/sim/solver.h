// The velocity solver over all bonds, contacts included, and the stress
// and breaking rule of the permanent bonds. Within a pass every bond reads
// only positions and the velocities as the pass found them, so the order of
// the table changes the sums only by floating-point error.
#pragma once

#include <math.h>

#include "geometry/vector.h"

void bondsimulation();
// Returns how many bonds bondtimetolive would count down.
int checkbonds();
// checkbonds as the step runs it, straight after bondsimulation (with the
// step's contacts dropped): the same results, from the solver's own
// compact copy of the positions and velocities it has just handed back.
int checksolvedbonds();
// A step's one sweep of the permanent bonds (the first numofstaticbonds),
// made once the particles have moved; what it finds serves the car pass
// and the solver until endstep. Without it each works alone.
void preparestep();
void endstep();
// A road bond's bounding box for the cars' deck test. A bond with an end
// beyond SANECOORD (a run that has blown up, or a non-number) gets a box
// that meets everything: there the segment test's arithmetic can overflow
// into a crossing anywhere.
constexpr float SANECOORD = 65536.0f;
// Both coordinates within SANECOORD (fabsf(v) < SANECOORD is -SANECOORD <
// v < SANECOORD, a non-number failing both).
inline int issanepoint(const vector2d *p) { return fabsf(p->x) < SANECOORD && fabsf(p->y) < SANECOORD; }
struct roadbox {
  int bond;
  float minx, maxx, miny, maxy;
};
void makeroadbox(roadbox *box, int bond, const vector2d *b, const vector2d *e);
// The boxes of the road bonds among the permanent ones, in bond order, as
// preparestep found them; -1 when no step is prepared.
int findpreparedroadboxes(const roadbox **list);
// 1 when the solver runs its vector loops, 0 its plain ones (the same
// results either way).
extern const int solvervectorloops;
void calculatefriction2d(vector2d *v, const vector2d *normal, float friction);
