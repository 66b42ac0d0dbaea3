// The camera: the world lies in the plane z = 0 and is looked at straight on
// from distance pos[2], which is also the visible half-width (the zoom).
// The record is headless; turning it into GL state is view_gl.cpp.
#pragma once

#include "geometry/vector.h"

struct viewinfo {
  float pos[3];     // x, y: world point at the screen centre; z: distance
  float orient[9];  // three axis vectors, row by row
};

extern viewinfo view;

void setupperspectiveviewport(int x, int y, int w, int h, float nearclip, float farclip);
void setupviewpoint(const float *pos, const float *orient);

// The window-pixel rectangle (X, Y, W, H, bottom-left origin) of a
// rectangle of the virtual screen given top-left, as glViewport wants it.
void getviewportrect(int *rect, int x, int y, int w, int h, int screenwidth, int screenheight);

// Where the world point (x, y, 0) shows on the virtual screen with the
// camera as it is: the inverse of the editor's mouse mapping, using the
// window's own height over width as the projection does.
void getscreenpoint(float x, float y, float *sx, float *sy);

// Camera motion, shared by the editor and the test run. It runs on its own
// 16 ms clock, at most 4 steps a frame, so scrolling speed does not depend
// on the frame rate and a stall moves the camera at most 4 steps.
constexpr unsigned int CAMERATICK = 16;   // ms
constexpr int MAXCAMERATICKS = 4;

// How many camera steps are due at `now`; advances *last. After the first
// two steps of a frame the clock jumps to `now`, dropping the backlog.
// Unsigned arithmetic keeps it right across the tick counter's wrap.
int takecamerasteps(unsigned int now, unsigned int *last);

// One camera step: a/d/s/w/q/z move and zoom unless `keysblocked` (a text
// box has the keyboard); left Shift and Ctrl speed it up unless
// `speedblocked`; edge scrolling only when `edgescroll` (full screen); the
// wheel notches are consumed. x is kept within the level's ends, y within
// [miny, 512], the distance within [16, 256].
void stepcamera(int keysblocked, int speedblocked, int edgescroll, float miny);

// Framing the crossing: both ends (at the deck height) and every joint lie
// at least FRAMEMARGIN inside the band of the screen that no text covers
// (virtual y FRAMETOP to FRAMEBOTTOM: the verdict, record, notice and
// warning rows lie above it, the cost, time and readout rows below), with
// the camera never closer than FRAMEDISTANCE. The camera's x is given (the
// editor opens at 1024, Home centres between the ends); its y centres the
// crossing's height in the band. A joint exactly on the edge is drawn half
// off, so the margin is what "show every joint" needs. The camera step
// clamps z to 256 as for any other distance.
constexpr float FRAMEMARGIN = 4.0f;
constexpr float FRAMEDISTANCE = 64.0f;
constexpr int FRAMETOP = 100;
constexpr int FRAMEBOTTOM = 432;
// Visible half-height over half-width: the window's, never more than the
// virtual screen's 0.75 (a wider window shows less height).
float getviewaspect();
// Sets view.pos for the crossing framed about x.
void frameview(float x, float aspect);
// Home in the editor and the test run: the whole crossing, centred.
void framecrossing();
// Virtual-screen pixel to world point for the current camera.
vector2d getmouseworld(int x, int y);
