#include <cstdio>

#include "render/text.h"
#include "screens/options.h"
#include "screens/screens.h"
#include "shell/config.h"
#include "shell/input.h"
#include "shell/video.h"
#include "ui/menu.h"
#include "ui/notice.h"

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
