#include <gtest/gtest.h>

#include <cmath>

#include "geometry/vector.h"
#include "world/level.h"

TEST(Geometry, NormalizeSegmentAndCircle) {
  // The zero vector stays zero; out may alias the input.
  const float norms[][4] = {{0, 0, 0, 0}, {3, 4, 0.6f, 0.8f}, {0, -1e-6f, 0, -1}};
  for (const auto &r : norms) {
    vector2d v = {r[0], r[1]};
    normalizevector2d(&v, &v);
    EXPECT_TRUE(std::fabs(v.x - r[2]) < 1e-6f && std::fabs(v.y - r[3]) < 1e-6f) << r[0] << "," << r[1];
  }
  // Probes x0 y0 x1 y1 against (-1, 0) - (1, 0), front facing up: one-sided hit,
  // two-sided hit, normal y, fraction. Behind is two-sided only with the normal flipped;
  // touching with the end or at a segment end point hits; collinear never gives a non-number.
  const float probes[][8] = {{0, 1, 0, -1, 1, 1, 1, 0.5f},  {0, -1, 0, 1, 0, 1, -1, 0.5f}, {0, 1, 0, 0, 1, 1, 1, 1},
                             {1, 1, 1, -1, 1, 1, 1, 0.5f},  {-1, 1, -1, -1, 1, 1, 1, 0.5f}, {1.5f, 1, 1.5f, -1, 0, 0},
                             {0, 1, 0, 0.5f, 0, 0},         {0, -0.5f, 0, -1, 0, 0},        {-0.5f, 0, 0.5f, 0, 0, 0}};
  vector2d c = {-1, 0}, d = {1, 0}, hit, normal;
  for (const auto &r : probes) {
    vector2d p0 = {r[0], r[1]}, p1 = {r[2], r[3]};
    float f = 0;
    EXPECT_EQ(lineintersectline2d(&hit, &normal, &f, &p0, &p1, &c, &d), (int)r[4]) << r[0] << "," << r[1];
    ASSERT_EQ(lineintersectline2dtwosided(&hit, &normal, &f, &p0, &p1, &c, &d), (int)r[5]) << r[0] << "," << r[1];
    EXPECT_TRUE(r[5] == 0 || (hit.x == r[0] && hit.y == 0 && normal.y == r[6] && f == r[7])) << r[0] << "," << r[1];
  }
  // A circle of radius 2 against (0, 0) - (10, 0): the side it lies on, the foot.
  const float circles[][4] = {{5, 2, 1, 1}, {5, -2, -1, 1}, {0, 1, 0.5f, 1}, {10, -1, -0.5f, 1},
                              {5, 2.5f, 0, 0}, {-0.1f, 0, 0, 0}, {10.1f, 0, 0, 0}};
  c = {0, 0}, d = {10, 0};
  for (const auto &r : circles) {
    vector2d p = {r[0], r[1]};
    float ratio = 0;
    ASSERT_EQ(sphereintersectline2d(&hit, &normal, &ratio, &p, &c, &d, 2.0f), (int)r[3]) << r[0] << "," << r[1];
    EXPECT_TRUE(r[3] == 0 || (ratio == r[2] && hit.x == r[0] && hit.y == 0)) << r[0] << "," << r[1];
  }
}

TEST(Level, TerrainProbe) {
  createlevel();  // the dip from x 996 to 1052 at 16, flat ground at 32 around it
  // Ending exactly on the surface or going up through it is no hit; far outside the
  // edge segments still reach; non-numbers never read outside the terrain (-1: any).
  // The last row leaves its collision behind for the check after the loop.
  const float rows[][5] = {{NAN, 40, INFINITY, 20, -1}, {100, 40, 100, 32, 0}, {100, 30, 100, 40, 0}, {1024, 40, 1024, 10, 1},
                           {1000, 10, 1000, 5, 0}, {-50, 40, -50, 20, 0}, {2040, 40, 2040, 20, 1}, {100, 40, 100, 30, 1}};
  for (const auto &r : rows) {
    vector2d a = {r[0], r[1]}, b = {r[2], r[3]};
    int hit = lineintersectlevel2d(&a, &b);
    EXPECT_EQ(hit, r[4] < 0 ? hit : (int)r[4]) << r[0] << "," << r[1];
  }
  EXPECT_TRUE(collision.point.y == 32 && collision.normal.y == 1 && std::fabs(collision.fraction - 0.8f) < 1e-6f);
}
