#include <SDL/SDL.h>

#include <cstring>

#include "shell/config.h"
#include "shell/input.h"

void checkkeyboard() {
  memcpy(prevkeyboard, keyboard, sizeof keyboard);
  int count = 0;
  const Uint8 *state = SDL_GetKeyState(&count);
  if (count > KEY_LAST)
    count = KEY_LAST;
  memset(keyboard, 0, sizeof keyboard);
  if (state && count > 0)
    memcpy(keyboard, state, (size_t)count);
  foldkeys(keyboard);
}

void checkmouse() {
  SDL_PumpEvents();
  prevmouse = mouse;
  int x = 0, y = 0;
  Uint8 buttons = SDL_GetMouseState(&x, &y);
  mouse.x = scalemousex(x, windowinfo.screenwidth);
  mouse.y = scalemousey(y, windowinfo.screenheight);
  mouse.left = (buttons & SDL_BUTTON(1)) ? 1 : 0;
  mouse.right = (buttons & SDL_BUTTON(3)) ? 1 : 0;
}
