#include <SDL/SDL.h>

#include "shell/config.h"
#include "shell/system.h"
#include "shell/video.h"

void listvideomodes() {
  numofsdlvideomodes = 0;
  SDL_Rect **modes = SDL_ListModes(NULL, SDL_OPENGL | SDL_FULLSCREEN);
  // No list, or "any size": the options screen then offers no resolution.
  if (!modes || modes == (SDL_Rect **)-1)
    return;
  for (int i = 0; modes[i]; i++)
    if (!addvideomode(modes[i]->w, modes[i]->h))
      break;
}

// The last mode SDL accepted. When a new mode is refused the window goes
// back to it, so the game keeps a window and the settings file is not left
// holding a mode that cannot be opened.
static windowstate workingmode;

void setcolorattributes(int depth, int greenbits16) {
  if (depth == 16) {
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, greenbits16);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 1);
  } else if (depth == 32) {
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
  }
}

static int setmode() {
  Uint32 flags = SDL_OPENGL | (windowinfo.fullscreen ? SDL_FULLSCREEN : 0);
  if (windowinfo.screenwidth <= 0 || windowinfo.screenheight <= 0)
    return 0;
  return SDL_SetVideoMode(windowinfo.screenwidth, windowinfo.screenheight, windowinfo.colordepth,
                          flags) != NULL;
}

void noteworkingvideomode() {
  workingmode = windowinfo;
}

int applyvideomode() {
  setcolorattributes(windowinfo.colordepth, 5);
  int ok = setmode();
  if (!ok && workingmode.screenwidth > 0) {
    windowinfo.screenwidth = workingmode.screenwidth;
    windowinfo.screenheight = workingmode.screenheight;
    windowinfo.colordepth = workingmode.colordepth;
    windowinfo.fullscreen = workingmode.fullscreen;
    setcolorattributes(windowinfo.colordepth, 5);
    setmode();
  }
  if (ok)
    noteworkingvideomode();
  reactivategame();
  return ok;
}
