#include "shell/input.h"

unsigned char keyboard[KEY_LAST];
unsigned char prevkeyboard[KEY_LAST];
mouseinfo mouse;
mouseinfo prevmouse;

int keywentdown(int key) { return keyboard[key] && !prevkeyboard[key]; }

void foldkeys(unsigned char *keys) {
  static const int fold[][2] = {
      {KEY_KP_ENTER, KEY_RETURN}, {KEY_RCTRL, KEY_LCTRL}, {KEY_RSHIFT, KEY_LSHIFT},
      {KEY_KP4, KEY_LEFT},        {KEY_KP6, KEY_RIGHT},   {KEY_KP8, KEY_UP},
      {KEY_KP2, KEY_DOWN},
  };
  for (const auto &pair : fold)
    if (keys[pair[0]])
      keys[pair[1]] = 1;
}

int scalemousex(int pixelx, int screenwidth) {
  return screenwidth > 0 ? (int)((long long)pixelx * 640 / screenwidth) : 0;
}

int scalemousey(int pixely, int screenheight) {
  return screenheight > 0 ? (int)((long long)pixely * 480 / screenheight) : 0;
}
