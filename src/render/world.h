// Drawing the world in world units after setupperspectiveviewport and
// setupviewpoint: terrain, grid, water, the editor's joints and beams, and in
// a test run the simulation's bonds and cars. Each function draws all of its
// kind in one glBegin/glEnd block; area fills are culled to the visible
// half-width view.pos[2]. Expects texturing off and the blending and depth
// state that setuptextdisplay leaves behind.
#pragma once

void renderlevel();
void rendergrid();
void renderwater();
void renderjoints();
void renderbeams();
void renderbonds();
void renderobjects();

// Headless helpers the drawing is built on (world.cpp).

// Stress colour: side 0 (stretched) (0, 1-s, s), side 1 (compressed) (s, 1-s, 0).
void getstresscolor(float *rgb, int side, float stress);
// First and last terrain column visible around vx at distance vz, clamped to 0..510.
void getterraincolumns(int *first, int *last, float vx, float vz);
