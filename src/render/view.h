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
