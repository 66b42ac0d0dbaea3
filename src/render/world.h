// Drawing the world in world units after setupperspectiveviewport and
// setupviewpoint: terrain, grid, water, the editor's joints and beams, and in
// a test run the simulation's bonds and cars. Each function draws all of its
// kind in one glBegin/glEnd block; area fills are culled to the visible
// half-width view.pos[2]. Expects texturing off and the blending and depth
// state that setuptextdisplay leaves behind.
#pragma once

#include "world/level.h"

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

// The grid's lines for a camera at (vx, vy, vz): line i of x0..x1 stands at
// x = 4i (its half line at 4i + 2), line j of y0..y1 at y = 4j; deckrow is
// the row of the deck height. Whatever the camera, no line lies further out
// than GRIDLIMIT, a screen's width beyond the world's range: so however far
// it is framed or zoomed out, a frame draws at most a few thousand lines.
constexpr float GRIDLIMIT = WORLDLIMIT + 512.0f;
struct gridlines {
  int x0, x1, y0, y1, deckrow;
};
void getgridlines(gridlines *g, float vx, float vy, float vz, float deckheight);

// The part of the plane z = 0 that a camera at (vx, vy, vz) shows in a
// viewport of widthpx x heightpx pixels, widened on every side by
// marginpixels (half a member's width and its smoothing fringe), so that
// what lies outside it leaves no pixel on screen. A camera at or in front
// of the near plane, or an empty viewport, gets an unbounded rectangle.
struct worldrect {
  float left, right, bottom, top;
};
worldrect getvisiblerect(float vx, float vy, float vz, int widthpx, int heightpx, float marginpixels);
// Whether a member from (x1, y1) to (x2, y2) may touch the rectangle: only
// one that lies wholly beyond an edge is left out, so a position that is no
// number is still drawn, as before.
int segmentvisible(const worldrect &r, float x1, float y1, float x2, float y2);

// The key to the stress colours, bottom right, whenever a stress view is
// on (legend_gl.cpp; after setuptextdisplay).
void drawstresslegend();
