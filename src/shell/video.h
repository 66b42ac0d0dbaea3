// Selectable full-screen modes and switching the live window to the mode
// held in windowinfo.
#pragma once

constexpr int MAXVIDEOMODES = 4096;

struct videomode {
  int width;
  int height;
  int colordepth;
};

extern videomode sdlvideomode[MAXVIDEOMODES];
extern int numofsdlvideomodes;

// Append the 32-bit and then the 16-bit entry of one size; refused (0) when
// the table is full. Headless (video.cpp).
int addvideomode(int width, int height);

// Ask SDL for the full-screen sizes and fill the table (video_sdl.cpp).
void listvideomodes();

// Set windowinfo's width, height, depth and full-screen flag on the window:
// the colour buffer sizes for the depth (5/5/5/1 for 16, 8/8/8/8 for 32), a
// fresh SDL_SetVideoMode and reactivategame. Returns 1 on success, 0 when
// SDL refused the mode, in which case windowinfo and the window are put
// back to the last mode that worked.
int applyvideomode();

// Request the colour buffer sizes of a depth: 16 bits as 5/greenbits16/5
// with 1 alpha bit (start-up asks 6 green bits, the options screen 5), 32
// bits as 8/8/8/8; any other depth requests nothing.
void setcolorattributes(int depth, int greenbits16);

// Record windowinfo's mode as one SDL accepted (start-up calls it once the
// first window is open).
void noteworkingvideomode();
