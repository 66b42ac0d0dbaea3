#include <cstdio>

#include "render/text.h"
#include "screens/screens.h"
#include "shell/config.h"
#include "shell/input.h"
#include "shell/video.h"
#include "ui/menu.h"
#include "ui/notice.h"

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

static int findcurrentmode() {
  int chosen = -1;
  for (int i = 0; i < numofsdlvideomodes; i++)
    if (sdlvideomode[i].colordepth == 32 && sdlvideomode[i].width == windowinfo.screenwidth &&
        sdlvideomode[i].height == windowinfo.screenheight)
      chosen = i;
  return chosen;
}

// One row per size, from the last 32-bit entry to the first; the depth has
// rows of its own. A display may report one size several times (once per
// refresh rate), and each would otherwise get a row of its own; the row
// kept is the size's last entry, the one findcurrentmode picks.
static void listmoderows(optionschoice *choice) {
  choice->numofrows = 0;
  for (int i = numofsdlvideomodes - 1; i >= 0 && choice->numofrows < MAXMODEROWS; i--) {
    const videomode &mode = sdlvideomode[i];
    if (mode.width < 640 || mode.colordepth != 32)
      continue;
    int listed = 0;
    for (int k = 0; k < choice->numofrows && !listed; k++)
      listed = sdlvideomode[choice->row[k]].width == mode.width &&
               sdlvideomode[choice->row[k]].height == mode.height;
    if (!listed)
      choice->row[choice->numofrows++] = i;
  }
}

// Under "Apply", in the rows above the heading that no mode list reaches;
// like the colour-safe view they act at once.
static void declaresounditems() {
  createmenuitem("Sound", ALIGN_END | 640, 16, 16, 1, 1, 1, 1);
  setmenuitem(8, &soundon);
  setmenuitem(1, 's');
  static const int volume[4] = {25, 50, 75, 100};
  static const int right[4] = {512, 552, 592, 640};
  for (int k = 0; k < 4; k++) {
    char text[8];
    snprintf(text, sizeof text, "%d%%", volume[k]);
    createmenuitem(text, ALIGN_END | right[k], 32, 16, 1, 1, 1, 1);
    setmenuitem(9, &soundvolume, volume[k]);
    if (!soundon)
      setmenuitem(2, 0);
  }
}

static void declareoptions(optionschoice *choice) {
  createmenuitem("Back", 0, 0, 16, 1, 1, 1, 1);
  setmenuitem(1, KEY_ESCAPE);
  createmenuitem("Apply", ALIGN_END | 640, 0, 16, 1, 1, 1, 1);

  for (int k = 0; k < choice->numofrows; k++) {
    const videomode &mode = sdlvideomode[choice->row[k]];
    char text[32];
    snprintf(text, sizeof text, "%dx%d", mode.width, mode.height);
    createmenuitem(text, COLUMNWIDTH * (k / ROWSPERCOLUMN), 80 + 16 * (k % ROWSPERCOLUMN), 16,
                   1, 1, 1, 1);
    setmenuitem(9, &choice->mode, choice->row[k]);
  }
  int rows = choice->numofrows < ROWSPERCOLUMN ? choice->numofrows : ROWSPERCOLUMN;
  int r = 80 + 16 * rows + 16;
  createmenuitem("16 Bit", 0, r, 16, 1, 1, 1, 1);
  setmenuitem(9, &choice->depth, 16);
  r += 16;
  createmenuitem("32 Bit", 0, r, 16, 1, 1, 1, 1);
  setmenuitem(9, &choice->depth, 32);
  r += 32;
  createmenuitem("Fullscreen", 0, r, 16, 1, 1, 1, 1);
  setmenuitem(8, &choice->fullscreen);
  // On the heading's row, which no mode list reaches. It needs no new
  // video mode, so it takes effect at once rather than on "Apply".
  createmenuitem("Colour-safe stress", ALIGN_END | 640, 48, 16, 1, 1, 1, 1);
  setmenuitem(8, &colorsafe);
  declaresounditems();
}

// Says which mode is on screen after "Apply", and why it is not the one
// chosen when it is not.
static void notevideomode(int kind, const char *lead) {
  setnotice(kind, "%s %dx%d, %d bit, %s", lead, windowinfo.screenwidth,
            windowinfo.screenheight, windowinfo.colordepth, windowinfo.fullscreen ? "full screen" : "in a window");
}

// Only a mode the display accepted is stored for the next start; applying
// the mode already on screen stores it too (it may be the fallback the game
// started in, which is otherwise never saved). A refused mode is already
// undone by applyvideomode, which switches back to the last working mode
// itself; switching back again here would make the screen flicker twice.
static void applychoice(const optionschoice *choice) {
  if (choice->mode != choice->entrymode || choice->depth != windowinfo.colordepth ||
      choice->fullscreen != windowinfo.fullscreen) {
    if (choice->mode < 0 || choice->mode >= numofsdlvideomodes) {
      notevideomode(NOTICE_ERROR, "Pick a resolution first: still");
      return;
    }
    windowinfo.screenwidth = sdlvideomode[choice->mode].width;
    windowinfo.screenheight = sdlvideomode[choice->mode].height;
    windowinfo.fullscreen = choice->fullscreen;
    windowinfo.colordepth = choice->depth;
    if (!applyvideomode()) {
      // windowinfo is the mode switched back to by now.
      const videomode &refused = sdlvideomode[choice->mode];
      char text[64];
      snprintf(text, sizeof text, "The display refused %dx%d %s: still", refused.width, refused.height,
               choice->fullscreen ? "full screen" : "in a window");
      notevideomode(NOTICE_ERROR, text);
      return;
    }
  }
  notevideomode(NOTICE_INFO, "Display:");
  config.screenwidth = windowinfo.screenwidth;
  config.screenheight = windowinfo.screenheight;
  config.colordepth = windowinfo.colordepth;
  config.fullscreen = windowinfo.fullscreen;
}

void optionsmenu() {
  optionschoice choice;
  choice.mode = findcurrentmode();
  choice.entrymode = choice.mode;
  choice.depth = windowinfo.colordepth;
  choice.fullscreen = windowinfo.fullscreen;
  listmoderows(&choice);
  resetmenuitems();

  while (menuscreenrunning() && !menuitem[OPTIONS_APPLY].active) {
    beginmenuframe();
    declareoptions(&choice);
    checkmenuframe();
    setuptextdisplay();
    drawtext("Resolution", 0, 48, 16, 1, 1, 1, 1);
    drawtext("Volume", ALIGN_END | 464, 32, 16, 0.75f, 0.75f, 0.75f, 1);
    finishmenuframe();
  }
  if (menuitem[OPTIONS_APPLY].active && !windowinfo.quit)
    applychoice(&choice);
  resetmenuitems();
}
