#include "screens/options.h"

#include <cstdio>

#include "render/text.h"
#include "shell/config.h"
#include "shell/input.h"
#include "shell/video.h"
#include "ui/menu.h"

int findcurrentmode() {
  int chosen = -1;
  for (int i = 0; i < numofsdlvideomodes; i++)
    if (sdlvideomode[i].colordepth == 32 && sdlvideomode[i].width == windowinfo.screenwidth &&
        sdlvideomode[i].height == windowinfo.screenheight)
      chosen = i;
  return chosen;
}

void listmoderows(optionschoice *choice) {
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

void declareoptions(optionschoice *choice) {
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

