// The train: a locomotive and a row of wagons joined by coupler particles.
#pragma once

#include "geometry/vector.h"

constexpr int TRAINWAGONS = 3;  // the test run's train: 19 particles, 36 bonds

// Particles and bonds a train of `count` wagons takes from the tables.
int trainparticles(int count);
int trainbonds(int count);

// type 0: drives right, wagons trailing left; type 2: drives left, wagons
// to the right; anything else: the locomotive alone. Returns 1 when the
// train was built, 0 (and nothing created) when the car, particle or bond
// table cannot take all of it.
int createtrain(int type, const vector2d *pos, int count, float weight);
