#include <GL/gl.h>
#include <SDL/SDL.h>

#include <csignal>
#include <cstdio>

#include "render/text.h"
#include "render/texture.h"
#include "render/worldcache.h"
#include "screens/screens.h"
#include "shell/config.h"
#include "shell/fileio.h"
#include "shell/input.h"
#include "shell/sound.h"
#include "shell/system.h"
#include "shell/video.h"
#include "sound/soundsetup.h"
#include "ui/menu.h"

static Uint32 videoflags() {
  return SDL_OPENGL | (windowinfo.fullscreen ? SDL_FULLSCREEN : 0);
}

static void setglattributes() {
  setcolorattributes(windowinfo.colordepth, 6);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, windowinfo.depthbits);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, windowinfo.stencilbits);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1);
}

static int openwindow() {
  setglattributes();
  if (windowinfo.screenwidth > 0 && windowinfo.screenheight > 0 &&
      SDL_SetVideoMode(windowinfo.screenwidth, windowinfo.screenheight, windowinfo.colordepth,
                       videoflags()))
    return 1;
  if (windowinfo.screenwidth == 800 && windowinfo.screenheight == 600 &&
      windowinfo.colordepth == 32 && !windowinfo.fullscreen)
    return 0;
  // A mode from the settings file that this display cannot open would lock
  // the player out for good; the default window is tried before giving up.
  fprintf(stderr, "spanwright: cannot open a %dx%d %d-bit %s window (%s); trying 800x600\n",
          windowinfo.screenwidth, windowinfo.screenheight, windowinfo.colordepth,
          windowinfo.fullscreen ? "full-screen" : "windowed", SDL_GetError());
  windowinfo.screenwidth = 800;
  windowinfo.screenheight = 600;
  windowinfo.colordepth = 32;
  windowinfo.fullscreen = 0;
  setglattributes();
  return SDL_SetVideoMode(800, 600, 32, SDL_OPENGL) != NULL;
}

SDL_RWops *openimagefile(const char *path) {
  FILE *stream = openreadfile(path);
  SDL_RWops *file = stream ? SDL_RWFromFP(stream, 1) : NULL;
  if (stream && !file)
    fclose(stream);
  return file;
}

static void seticon() {
  SDL_RWops *file = openimagefile("bridge.bmp");
  SDL_Surface *icon = file ? SDL_LoadBMP_RW(file, 1) : NULL;
  if (!icon)
    return;
  SDL_WM_SetIcon(icon, NULL);
  SDL_FreeSurface(icon);
}

void reactivategame() {
  forgetworldcache();
  for (int slot = 0; slot < NUMGLTEXTURES; slot++)
    if (texture[slot].width)
      setuptexture(slot);
}

void checksystemmessages() {
  playsoundframe();
  if (windowinfo.inactive)
    SDL_Delay(10);
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    switch (event.type) {
    case SDL_MOUSEBUTTONDOWN:
      if (event.button.button == SDL_BUTTON_WHEELUP)
        addwheelnotch(&mouse.wheelup);
      else if (event.button.button == SDL_BUTTON_WHEELDOWN)
        addwheelnotch(&mouse.wheeldown);
      break;
    case SDL_ACTIVEEVENT:
      if ((event.active.state & SDL_APPACTIVE) && event.active.gain == 1) {
        SDL_SetVideoMode(windowinfo.screenwidth, windowinfo.screenheight, windowinfo.colordepth,
                         videoflags());
        reactivategame();
        windowinfo.inactive = 0;
      }
      if ((event.active.state & SDL_APPINPUTFOCUS) && event.active.gain == 0) {
        SDL_WM_GrabInput(SDL_GRAB_OFF);
        windowinfo.inactive = 1;
      }
      break;
    case SDL_QUIT:
      windowinfo.quit = 1;
      break;
    default:
      break;
    }
  }
}

int main() {
  // Past a file-size limit a write fails and the save says so; the signal
  // would end the game with the player's work unsaved.
  signal(SIGXFSZ, SIG_IGN);
  checkbigendian();
  loadoptions();
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) < 0) {
    fprintf(stderr, "spanwright: cannot start the display: %s\n", SDL_GetError());
    return 1;
  }
  SDL_ShowCursor(SDL_DISABLE);
  listvideomodes();
  windowinfo.screenwidth = config.screenwidth;
  windowinfo.screenheight = config.screenheight;
  windowinfo.colordepth = config.colordepth;
  windowinfo.depthbits = config.depthbits;
  windowinfo.stencilbits = config.stencilbits;
  windowinfo.fullscreen = config.fullscreen;
  SDL_WM_SetCaption("Spanwright", "SDL");
  seticon();
  if (!openwindow()) {
    fprintf(stderr, "spanwright: cannot open an OpenGL window: %s\n", SDL_GetError());
    SDL_Quit();
    return 1;
  }
  noteworkingvideomode();
  gentexturenames();

  fontnum = 0;
  font[fontnum].cursor = 0;
  font[fontnum].resx = 640;
  font[fontnum].resy = 480;
  loadfont(FONTSLOT, "texture/font01.png");
  loadtexture(CURSORSLOT, "texture/mouse01.png", 0, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE, GL_LINEAR,
              GL_LINEAR);

  setupmenuitems();
  startsound();
  mainmenu();

  // No screen is left to tell it on.
  if (!saveoptions())
    fprintf(stderr, "spanwright: could not save config.txt: the settings of this run are lost\n");
  stopsound();
  SDL_WM_IconifyWindow();
  SDL_Quit();
  return 0;
}
