#include "geometry/vector.h"

#include <cmath>

collisioninfo collision;

void resetorientation(vector3d orientation[3]) {
  orientation[0] = {1.0f, 0.0f, 0.0f};
  orientation[1] = {0.0f, 1.0f, 0.0f};
  orientation[2] = {0.0f, 0.0f, 1.0f};
}

// The end both segment tests share: with the side test passed,
// find where a->b meets the line through c-d and keep it only when it lies
// on c-d (its end points included).
static int finishlineintersect(vector2d *hit, vector2d *normal, float *fraction,
                               const vector2d *a, const vector2d *b,
                               const vector2d *c, const vector2d *d) {
  normalizevector2d(normal, normal);
  vector2d ab, ca;
  subtractvectors2d(&ab, b, a);
  subtractvectors2d(&ca, c, a);
  float denominator = dotproduct2d(&ab, normal);
  // A probe lying on the line itself (both ends on it) has no single
  // crossing point: 0/0 would give a non-number. Treat it as no crossing.
  if (denominator == 0.0f)
    return 0;
  float f = dotproduct2d(&ca, normal) / denominator;
  vector2d h;
  scaleaddvectors2d(&h, a, &ab, f);
  vector2d hc, dc, hd, cd;
  subtractvectors2d(&hc, &h, c);
  subtractvectors2d(&dc, d, c);
  subtractvectors2d(&hd, &h, d);
  subtractvectors2d(&cd, c, d);
  if (dotproduct2d(&hc, &dc) < 0.0f || dotproduct2d(&hd, &cd) < 0.0f)
    return 0;
  *hit = h;
  *fraction = f;
  return 1;
}

// The side test both segment tests start with: n, the normal of c-d
// (pointing left of c->d), and where a and b lie along it.
static vector2d findsides(float *sa, float *sb, const vector2d *a, const vector2d *b, const vector2d *c,
                          const vector2d *d) {
  vector2d n = {c->y - d->y, d->x - c->x};
  vector2d ac, bc;
  subtractvectors2d(&ac, a, c);
  subtractvectors2d(&bc, b, c);
  *sa = dotproduct2d(&ac, &n);
  *sb = dotproduct2d(&bc, &n);
  return n;
}

int lineintersectline2d(vector2d *hit, vector2d *normal, float *fraction,
                        const vector2d *a, const vector2d *b,
                        const vector2d *c, const vector2d *d) {
  float sa, sb;
  vector2d n = findsides(&sa, &sb, a, b, c, d);
  if (sa < 0.0f || sb > 0.0f)
    return 0;
  *normal = n;
  return finishlineintersect(hit, normal, fraction, a, b, c, d);
}

int lineintersectline2dtwosided(vector2d *hit, vector2d *normal, float *fraction,
                                const vector2d *a, const vector2d *b,
                                const vector2d *c, const vector2d *d) {
  float sa, sb;
  vector2d n = findsides(&sa, &sb, a, b, c, d);
  if ((sa < 0.0f && sb < 0.0f) || (sa > 0.0f && sb > 0.0f))
    return 0;
  if (sa < 0.0f)
    negvector2d(&n, &n);
  *normal = n;
  return finishlineintersect(hit, normal, fraction, a, b, c, d);
}

int sphereintersectline2d(vector2d *foot, vector2d *normal, float *ratio,
                          const vector2d *centre, const vector2d *c,
                          const vector2d *d, float radius) {
  vector2d pc, dc, pd, cd;
  subtractvectors2d(&pc, centre, c);
  subtractvectors2d(&dc, d, c);
  subtractvectors2d(&pd, centre, d);
  subtractvectors2d(&cd, c, d);
  if (dotproduct2d(&pc, &dc) < 0.0f || dotproduct2d(&pd, &cd) < 0.0f)
    return 0;
  vector2d n = {c->y - d->y, d->x - c->x};
  normalizevector2d(&n, &n);
  float dist = dotproduct2d(&pc, &n);
  if (fabsf(dist) > radius)
    return 0;
  scaleaddvectors2d(foot, centre, &n, -dist);
  *normal = n;
  *ratio = dist / radius;
  return 1;
}
