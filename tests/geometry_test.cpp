#include <gtest/gtest.h>

#include <cmath>

#include "geometry/vector.h"
#include "world/level.h"

TEST(Geometry, NormalizeAndAliasing) {
  vector2d v = {0, 0};
  normalizevector2d(&v, &v);
  EXPECT_EQ(v.x, 0.0f);
  EXPECT_EQ(v.y, 0.0f);
  v = {3, 4};
  normalizevector2d(&v, &v);
  EXPECT_FLOAT_EQ(v.x, 0.6f);
  EXPECT_FLOAT_EQ(v.y, 0.8f);
  // out aliasing both inputs
  vector2d a = {1, 2};
  scaleaddvectors2d(&a, &a, &a, 2.0f);
  EXPECT_EQ(a.x, 3.0f);
  EXPECT_EQ(a.y, 6.0f);
}

TEST(Geometry, SegmentTests) {
  vector2d a = {0, 1}, b = {0, -1}, c = {-1, 0}, d = {1, 0};
  vector2d hit, normal;
  float f;
  // downward probe through a left-to-right segment crosses its front side
  ASSERT_EQ(lineintersectline2d(&hit, &normal, &f, &a, &b, &c, &d), 1);
  EXPECT_FLOAT_EQ(hit.x, 0);
  EXPECT_FLOAT_EQ(hit.y, 0);
  EXPECT_FLOAT_EQ(normal.x, 0);
  EXPECT_FLOAT_EQ(normal.y, 1);
  EXPECT_FLOAT_EQ(f, 0.5f);
  // from behind: one-sided refuses, two-sided accepts with a flipped normal
  EXPECT_EQ(lineintersectline2d(&hit, &normal, &f, &b, &a, &c, &d), 0);
  ASSERT_EQ(lineintersectline2dtwosided(&hit, &normal, &f, &b, &a, &c, &d), 1);
  EXPECT_FLOAT_EQ(normal.y, -1);
  ASSERT_EQ(lineintersectline2dtwosided(&hit, &normal, &f, &a, &b, &c, &d), 1);
  EXPECT_FLOAT_EQ(normal.y, 1);
  // touching with the end only: fraction 1
  vector2d top = {0, 1}, onto = {0, 0};
  ASSERT_EQ(lineintersectline2d(&hit, &normal, &f, &top, &onto, &c, &d), 1);
  EXPECT_FLOAT_EQ(f, 1.0f);
  // exactly at an end point of c-d counts
  vector2d e0 = {1, 1}, e1 = {1, -1};
  EXPECT_EQ(lineintersectline2d(&hit, &normal, &f, &e0, &e1, &c, &d), 1);
  // beyond the end does not
  vector2d o0 = {1.5f, 1}, o1 = {1.5f, -1};
  EXPECT_EQ(lineintersectline2d(&hit, &normal, &f, &o0, &o1, &c, &d), 0);
  // collinear probe: no crossing, never a non-number
  vector2d l0 = {-0.5f, 0}, l1 = {0.5f, 0};
  EXPECT_EQ(lineintersectline2d(&hit, &normal, &f, &l0, &l1, &c, &d), 0);
  EXPECT_EQ(lineintersectline2dtwosided(&hit, &normal, &f, &l0, &l1, &c, &d), 0);
}

TEST(Geometry, CircleTest) {
  vector2d c = {0, 0}, d = {10, 0}, foot, normal;
  float ratio;
  vector2d p = {5, 2};
  ASSERT_EQ(sphereintersectline2d(&foot, &normal, &ratio, &p, &c, &d, 2.0f), 1);
  EXPECT_FLOAT_EQ(ratio, 1.0f);
  EXPECT_FLOAT_EQ(foot.x, 5);
  EXPECT_FLOAT_EQ(foot.y, 0);
  p = {5, -2};
  ASSERT_EQ(sphereintersectline2d(&foot, &normal, &ratio, &p, &c, &d, 2.0f), 1);
  EXPECT_FLOAT_EQ(ratio, -1.0f);
  p = {5, 2.5f};
  EXPECT_EQ(sphereintersectline2d(&foot, &normal, &ratio, &p, &c, &d, 2.0f), 0);
  p = {-0.1f, 0};
  EXPECT_EQ(sphereintersectline2d(&foot, &normal, &ratio, &p, &c, &d, 2.0f), 0);
}

TEST(Level, DefaultAndTerrainProbe) {
  createlevel();
  EXPECT_EQ(level.terrain[250], 16.0f);
  EXPECT_EQ(level.terrain[248], 32.0f);
  EXPECT_EQ(level.terrain[264], 32.0f);
  EXPECT_LT(level.terrain[256], level.waterlevel);
  EXPECT_LT(level.waterlevel, level.deckheight);
  // straight down onto flat ground
  vector2d s = {100, 40}, e = {100, 30};
  ASSERT_EQ(lineintersectlevel2d(&s, &e), 1);
  EXPECT_FLOAT_EQ(collision.point.y, 32.0f);
  EXPECT_FLOAT_EQ(collision.normal.y, 1.0f);
  EXPECT_FLOAT_EQ(collision.fraction, 0.8f);
  // ending exactly on the surface is no hit; going up through it neither
  e = {100, 32};
  EXPECT_EQ(lineintersectlevel2d(&s, &e), 0);
  vector2d up0 = {100, 30}, up1 = {100, 40};
  EXPECT_EQ(lineintersectlevel2d(&up0, &up1), 0);
  // far outside the level on either side still tests the edge segments
  vector2d l0 = {-50, 40}, l1 = {-50, 20};
  EXPECT_EQ(lineintersectlevel2d(&l0, &l1), 0); // line of column 0 passes, but the hit is beyond c
  vector2d r0 = {2040, 40}, r1 = {2040, 20};
  EXPECT_EQ(lineintersectlevel2d(&r0, &r1), 1);
  // non-finite input never reads outside the terrain
  vector2d n0 = {NAN, 40}, n1 = {INFINITY, 20};
  lineintersectlevel2d(&n0, &n1);
}
