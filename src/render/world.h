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
// The stress views' colour of a member, the one choice behind the editor's
// and the test run's views and the legend: getstresscolor, or with the
// colour-safe setting a neutral grey that turns orange when stretched and
// blue when compressed, stronger as the stress rises.
void getstressstyle(float *rgb, int side, float stress);
// The colour-safe views also draw members thicker as the stress rises, so
// a grey-scale view still carries it: widths come in STRESSWIDTHS classes
// (one glLineWidth each), class 0 without the setting.
constexpr int STRESSWIDTHS = 4;
int getstressclass(float stress);
float getstresswidth(int widthclass); // line-width factor, 1 for class 0
// First and last terrain column visible around vx at distance vz, clamped to 0..510.
void getterraincolumns(int *first, int *last, float vx, float vz);

// The key to the stress colours, bottom right, whenever a stress view is
// on (legend_gl.cpp; after setuptextdisplay).
void drawstresslegend();
