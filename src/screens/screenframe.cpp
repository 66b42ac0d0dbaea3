#include <GL/gl.h>
#include <SDL.h>

#include "render/text.h"
#include "render/texture.h"
#include "screens/screens.h"
#include "shell/config.h"
#include "shell/input.h"
#include "shell/system.h"
#include "ui/menu.h"
#include "ui/notice.h"

void beginmenuframe() {
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  numofmenuitems = 0;
}

void checkmenuframe() {
  checksystemmessages();
  checkkeyboard();
  checkmouse();
  checkmenuitems();
}

void finishmenuframe() {
  drawmenuitems();
  drawnotice(SDL_GetTicks());
  drawmousecursor(mouse.x, mouse.y, 16, 1, 1, 1, 1);
  SDL_GL_SwapBuffers();
}

int menuscreenrunning() { return menuitem[0].active == 0 && windowinfo.quit == 0; }
