// Scripted input frames for the menu toolkit tests: each call to menuinput
// is one poll, moving this frame's state into the prev* records first, as
// the real poll does.
#pragma once

#include <cstring>
#include <initializer_list>

#include "render/text.h"
#include "shell/input.h"
#include "ui/menu.h"
#include "ui/textbox.h"

// Every glyph advances `advance` times the size: 8 pixels at size 16.
inline void setupmenufont(float advance = 0.5f) {
  fontnum = 0;
  for (float &w : font[0].glyphwidth)
    w = advance;
  font[0].cursor = 0;
}

inline void menuinput(int x, int y, int left, std::initializer_list<int> keys = {}) {
  prevmouse = mouse;
  mouse.x = x;
  mouse.y = y;
  mouse.left = left;
  memcpy(prevkeyboard, keyboard, sizeof keyboard);
  memset(keyboard, 0, sizeof keyboard);
  for (int k : keys)
    keyboard[k] = k != 0 || keyboard[k];
}

// Fresh toolkit state with the pointer parked away from every item.
inline void clearmenustate() {
  setupmenufont();
  setupmenuitems();
  resetmenuitems();
  memset(&textinput, 0, sizeof textinput);
  memset(&mouse, 0, sizeof mouse);
  memset(&prevmouse, 0, sizeof prevmouse);
  memset(keyboard, 0, sizeof keyboard);
  memset(prevkeyboard, 0, sizeof prevkeyboard);
  mouse.x = mouse.y = 600;
}
