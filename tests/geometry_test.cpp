#include <gtest/gtest.h>

#include <cmath>

#include "geometry/vector.h"
#include "world/level.h"

TEST(Geometry, NormalizeAndAliasing) {
  // The zero vector stays zero; out may alias the inputs.
  const float rows[][4] = {{0, 0, 0, 0}, {3, 4, 0.6f, 0.8f}, {0, -1e-6f, 0, -1}, {-5, 0, -1, 0}};
  for (const auto &r : rows) {
    vector2d v = {r[0], r[1]};
    normalizevector2d(&v, &v);
    EXPECT_FLOAT_EQ(v.x, r[2]) << r[0] << "," << r[1];
    EXPECT_FLOAT_EQ(v.y, r[3]) << r[0] << "," << r[1];
  }
  vector2d a = {1, 2};
  scaleaddvectors2d(&a, &a, &a, 2.0f);
  EXPECT_EQ(a.x, 3.0f);
  EXPECT_EQ(a.y, 6.0f);
}

TEST(Geometry, SegmentTests) {
  // Probes against the segment (-1, 0) - (1, 0), whose front faces up.
  struct {
    float x0, y0, x1, y1;
    int onesided, twosided;
    float normaly, fraction;
  } rows[] = {
      {0, 1, 0, -1, 1, 1, 1, 0.5f},        // down through the front
      {0, -1, 0, 1, 0, 1, -1, 0.5f},       // from behind: two-sided only, normal flipped
      {0, 1, 0, 0, 1, 1, 1, 1.0f},         // touching with the end
      {0.5f, 2, 0.5f, -2, 1, 1, 1, 0.5f},
      {1, 1, 1, -1, 1, 1, 1, 0.5f},        // exactly at an end point of the segment
      {-1, 1, -1, -1, 1, 1, 1, 0.5f},
      {1.5f, 1, 1.5f, -1, 0, 0, 0, 0},     // beyond the end
      {0, 1, 0, 0.5f, 0, 0, 0, 0},         // stopping short
      {0, -0.5f, 0, -1, 0, 0, 0, 0},       // starting past it
      {-0.5f, 0, 0.5f, 0, 0, 0, 0, 0},     // collinear: never a non-number
  };
  vector2d c = {-1, 0}, d = {1, 0};
  for (const auto &r : rows) {
    SCOPED_TRACE(testing::Message() << "probe " << r.x0 << "," << r.y0 << " " << r.x1 << "," << r.y1);
    vector2d p0 = {r.x0, r.y0}, p1 = {r.x1, r.y1}, hit, normal;
    float f;
    EXPECT_EQ(lineintersectline2d(&hit, &normal, &f, &p0, &p1, &c, &d), r.onesided);
    ASSERT_EQ(lineintersectline2dtwosided(&hit, &normal, &f, &p0, &p1, &c, &d), r.twosided);
    if (r.twosided) {
      EXPECT_FLOAT_EQ(hit.x, r.x0);
      EXPECT_FLOAT_EQ(hit.y, 0);
      EXPECT_FLOAT_EQ(normal.y, r.normaly);
      EXPECT_FLOAT_EQ(f, r.fraction);
    }
  }
}

TEST(Geometry, CircleTest) {
  // A circle of radius 2 against (0, 0) - (10, 0): the side it lies on, the foot.
  const float rows[][4] = {{5, 2, 1, 1}, {5, -2, -1, 1}, {0, 1, 0.5f, 1}, {10, -1, -0.5f, 1},
                           {5, 2.5f, 0, 0}, {-0.1f, 0, 0, 0}, {10.1f, 0, 0, 0}};
  vector2d c = {0, 0}, d = {10, 0}, foot, normal;
  for (const auto &r : rows) {
    vector2d p = {r[0], r[1]};
    float ratio = 0;
    ASSERT_EQ(sphereintersectline2d(&foot, &normal, &ratio, &p, &c, &d, 2.0f), (int)r[3]) << r[0] << "," << r[1];
    if (r[3] != 0) {
      EXPECT_FLOAT_EQ(ratio, r[2]);
      EXPECT_FLOAT_EQ(foot.x, r[0]);
      EXPECT_FLOAT_EQ(foot.y, 0);
    }
  }
}

TEST(Level, DefaultAndTerrainProbe) {
  createlevel();
  // the default dip: columns 249 to 263 at 16, flat ground at 32 around it
  for (int c : {248, 249, 263, 264})
    EXPECT_EQ(level.terrain[c], c == 248 || c == 264 ? 32.0f : 16.0f) << c;
  EXPECT_LT(level.terrain[256], level.waterlevel);
  EXPECT_LT(level.waterlevel, level.deckheight);
  // straight down onto flat ground
  vector2d s = {100, 40}, e = {100, 30};
  ASSERT_EQ(lineintersectlevel2d(&s, &e), 1);
  EXPECT_FLOAT_EQ(collision.point.y, 32.0f);
  EXPECT_FLOAT_EQ(collision.normal.y, 1.0f);
  EXPECT_FLOAT_EQ(collision.fraction, 0.8f);
  struct {
    float x0, y0, x1, y1;
    int hit;
  } rows[] = {
      {100, 40, 100, 32, 0},     // ending exactly on the surface is no hit
      {100, 30, 100, 40, 0},     // going up through it neither
      {1024, 40, 1024, 10, 1},   // into the dip
      {1000, 10, 1000, 5, 0},    // below the dip floor from the start
      {-50, 40, -50, 20, 0},     // far outside: the edge segments, hit beyond them
      {2040, 40, 2040, 20, 1},
      {NAN, 40, INFINITY, 20, -1},  // never reads outside the terrain
  };
  for (const auto &r : rows) {
    vector2d a = {r.x0, r.y0}, b = {r.x1, r.y1};
    int hit = lineintersectlevel2d(&a, &b);
    EXPECT_EQ(hit, r.hit < 0 ? hit : r.hit) << r.x0 << "," << r.y0;
  }
}
