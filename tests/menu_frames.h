// Scripted frames for the menu toolkit tests: each frame declares a screen's
// items, polls (moving this frame's state into the prev* records first, as
// the real poll does) and checks the items.
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

// Keys listed are held this frame; 0 stands for none.
template <class F> void menuframe(F declare, int x, int y, int left, std::initializer_list<int> keys = {}) {
  declare();
  prevmouse = mouse;
  mouse.x = x, mouse.y = y, mouse.left = left;
  memcpy(prevkeyboard, keyboard, sizeof keyboard);
  memset(keyboard, 0, sizeof keyboard);
  for (int k : keys)
    keyboard[k] = k != 0;
  checkmenuitems();
}

// Fresh toolkit state: no items, the pointer parked away from where items go.
inline void clearmenustate() {
  setupmenufont(), setupmenuitems(), resetmenuitems();
  numofmenuitems = 0;
  textinput = {}, mouse = prevmouse = {600, 600, 0, 0, 0, 0};
  memset(keyboard, 0, sizeof keyboard), memset(prevkeyboard, 0, sizeof prevkeyboard);
}
