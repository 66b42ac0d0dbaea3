#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "shell/input.h"
#include "ui/help.h"

// Frames of held input ('h', 't', 'L' the left button) through the help
// page's checks around the "Help" item, as the screens run them.
TEST(Help, ClosingPressNeverReachesTheScreen) {
  // t closes the page (that it is withheld while held and acts when pressed
  // afresh is the installed window test's); the left button closes it, is
  // withheld while held, and acts when pressed afresh.
  struct { const char *down; int open; int seen; } frames[] = {
      {"h", 1, 0},  {"h", 1, 0}, {"", 1, 0},  {"t", 0, 0},
      {"th", 1, 0}, {"", 1, 0},  {"L", 0, 0}, {"L", 0, 0}, {"", 0, 0}, {"L", 0, 1},
  };
  resethelp();
  memset(keyboard, 0, sizeof keyboard);
  mouse = {};
  for (size_t f = 0; f < sizeof frames / sizeof frames[0]; f++) {
    memcpy(prevkeyboard, keyboard, sizeof keyboard), prevmouse = mouse;
    keyboard['h'] = strchr(frames[f].down, 'h') != NULL, keyboard['t'] = strchr(frames[f].down, 't') != NULL;
    mouse.left = strchr(frames[f].down, 'L') != NULL;
    checkhelp();
    help.request |= keyboard['h'] && !prevkeyboard['h']; // the item's hotkey
    checkhelprequest();
    int seen = (keyboard['t'] && !prevkeyboard['t']) || (mouse.left && !prevmouse.left);
    EXPECT_EQ(std::vector<int>({help.open, seen}), std::vector<int>({frames[f].open, frames[f].seen})) << "frame " << f;
  }
}
