// 2D vector operations and the segment tests every subsystem builds on.
// Every operation writes through an output pointer, computed component by
// component, so the output may alias any input (normalising in place and
// accumulating into a velocity are the common cases).
#pragma once

#include <math.h>

struct vector2d {
  float x;
  float y;
};

// Result of the last segment test against the terrain or a car outline.
// The terrain search fills point, normal and fraction; the car outline
// search fills all seven fields.
struct collisioninfo {
  vector2d point;
  vector2d normal;    // unit normal of the crossed segment, facing the side the probe came from
  float fraction;     // along the probe; 1.0 means no crossing found yet
  int particle1;      // car edge only
  int particle2;      // car edge only
  float weight1;      // share of the crossing carried by particle1
  float weight2;      // 1 - weight1
};

extern collisioninfo collision;

// The one-line operations are defined here so that the simulation's hot
// loops can inline them: a call costs more than the arithmetic. Each keeps
// its operations in the order written, and the core is built without
// contraction into fused multiply-adds, so inlining changes no result bit.
inline float dotproduct2d(const vector2d *a, const vector2d *b) { return a->x * b->x + a->y * b->y; }

inline float vectorlength2d(const vector2d *a) { return sqrtf(dotproduct2d(a, a)); }

inline void normalizevector2d(vector2d *out, const vector2d *a) {
  float length = vectorlength2d(a);
  if (length == 0.0f) {
    out->x = 0.0f;
    out->y = 0.0f;
    return;
  }
  float inv = 1.0f / length;
  out->x = a->x * inv;
  out->y = a->y * inv;
}

inline void copyvector2d(vector2d *out, const vector2d *a) {
  out->x = a->x;
  out->y = a->y;
}

inline void negvector2d(vector2d *out, const vector2d *a) {
  out->x = -a->x;
  out->y = -a->y;
}

inline void zerovector2d(vector2d *out) {
  out->x = 0.0f;
  out->y = 0.0f;
}

inline void addvectors2d(vector2d *out, const vector2d *a, const vector2d *b) {
  out->x = a->x + b->x;
  out->y = a->y + b->y;
}

inline void subtractvectors2d(vector2d *out, const vector2d *a, const vector2d *b) {
  out->x = a->x - b->x;
  out->y = a->y - b->y;
}

inline void scalevector2d(vector2d *out, const vector2d *a, float s) {
  out->x = a->x * s;
  out->y = a->y * s;
}

inline void scaleaddvectors2d(vector2d *out, const vector2d *a, const vector2d *b, float s) {
  out->x = a->x + b->x * s;
  out->y = a->y + b->y * s;
}

inline float vectordistance2d(const vector2d *a, const vector2d *b) {
  vector2d d;
  subtractvectors2d(&d, b, a);
  return vectorlength2d(&d);
}

// Camera orientation: three rows of a 3x3 matrix.
struct vector3d {
  float x;
  float y;
  float z;
};
void resetorientation(vector3d orientation[3]);

// Does the moving segment a->b cross c-d from its front side (the side the
// normal (c.y-d.y, d.x-c.x) points to)? Returns 1 and fills the outputs on a
// crossing; on 0 the outputs hold nothing meaningful.
int lineintersectline2d(vector2d *hit, vector2d *normal, float *fraction,
                        const vector2d *a, const vector2d *b,
                        const vector2d *c, const vector2d *d);
// The same from either side; the normal faces the side a starts on.
int lineintersectline2dtwosided(vector2d *hit, vector2d *normal, float *fraction,
                                const vector2d *a, const vector2d *b,
                                const vector2d *c, const vector2d *d);
// Is centre within radius of c-d, measured perpendicular, with its foot on
// the segment? ratio is the signed distance over the radius.
int sphereintersectline2d(vector2d *foot, vector2d *normal, float *ratio,
                          const vector2d *centre, const vector2d *c,
                          const vector2d *d, float radius);
