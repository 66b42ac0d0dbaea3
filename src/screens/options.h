// The options screen's decisions, apart from its loop (optionsmenu.cpp):
// which resolutions it lists and the items it declares each frame.
#pragma once

enum : int { OPTIONS_BACK, OPTIONS_APPLY };

// Rows start at y 80, 16 apart. A long mode list would push the depth and
// full-screen rows off the bottom, out of the mouse's reach, so resolutions
// beyond one column's worth continue in further columns instead.
constexpr int ROWSPERCOLUMN = 20;
constexpr int COLUMNWIDTH = 128;
constexpr int MAXCOLUMNS = 5;

constexpr int MAXMODEROWS = ROWSPERCOLUMN * MAXCOLUMNS;

struct optionschoice {
  int mode;       // index into sdlvideomode, -1 when none
  int entrymode;  // `mode` as found on entry
  int depth;      // 16 or 32
  int fullscreen;
  int numofrows;
  int row[MAXMODEROWS]; // sdlvideomode index shown in each resolution row
};

// The last 32-bit entry of the window's size, or -1.
int findcurrentmode();
// One row per size, from the last 32-bit entry to the first; the depth has
// rows of its own. A display may report one size several times (once per
// refresh rate), and each would otherwise get a row of its own; the row
// kept is the size's last entry, the one findcurrentmode picks. Sizes
// narrower than 640 are left out.
void listmoderows(optionschoice *choice);
// The frame's items: Back, Apply, the resolution rows, depth, full screen,
// the colour-safe view and the sound.
void declareoptions(optionschoice *choice);
