// What the test-run screen says at the top centre and in its left column,
// chosen here from the game, outcome, replay and record state so that the
// choice is testable without a window; gameloop_sdl.cpp only draws the
// lines it is handed.
//
// Rows (virtual y, size 16): 0 the verdict; 16 why it failed, or whether a
// passed bridge held; 32 what a progressive test held; 32 or 48 how close
// the bridge came to breaking (the first free row), 48 the first break or
// the replay's; 64 the record, unless the notice line holds that row.
#pragma once

constexpr int VERDICTLENGTH = 96;
constexpr int MAXVERDICTLINES = 6;
constexpr int SPEEDX = 0;     // the speed, above "Time:" in the left column
constexpr int SPEEDY = 432;

struct verdictline {
  char text[VERDICTLENGTH];
  int y;
  float color[3];
};

// The highest peak stress among the bridge's bonds that are still whole,
// as a ratio of breaking (below 1), and its side (0 stretched, 1
// compressed); -1 when no whole bridge bond has carried any load.
float findweakestbond(int *side);
// "Weakest beam: 85 % of breaking, stretched", or "" when there is none.
// The percentage is cut down, never rounded up, as the readouts do.
int getmarginline(char *out, float stress, int side);

// The verdict block, in drawing order. Returns the number of lines.
int getverdictlines(verdictline *lines);
// The record line at row 64; 0 when there is none, or when the notice line
// takes the row (`noticeshown`).
int getrecordline(verdictline *line, int noticeshown);
// "Speed: Normal", "Speed: Slow", "Speed: Fast" or "Speed: Very Fast",
// from game.steptime.
const char *getspeedtext();
