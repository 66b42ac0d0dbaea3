#include "shell/input.h"
#include "shell/system.h"
#include "ui/help.h"
#include "ui/menu.h"

// Apart from the help page's logic: this one polls the window, which only
// the game itself links.
void checkworldscreeninput() {
  checksystemmessages();
  checkkeyboard();
  checkmouse();
  checkhelp();
  checkmenuitems();
  checkhelprequest();
}
