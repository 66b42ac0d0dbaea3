#include "ui/help.h"

#include <cstring>

#include "ui/menu.h"

helpinfo help;

static const helpline bridgeeditorhelp[] = {
    {"Left click a joint", "start a beam there"},
    {"Left click again", "place the beam's end; drawing goes on from it"},
    {"Right click", "stop drawing; else delete the joint or beam"},
    {"", "under the mouse"},
    {"Drag a free joint", "move it (anchors never move)"},
    {"Drag over space", "select a rectangle"},
    {"c / Delete", "copy the selection / delete its joints"},
    {"v / x", "paste the copy again / mirror it"},
    {"u / o", "undo / redo"},
    {"t", "test the bridge with the train"},
    {"r", "stress view: peak stress of the last test"},
    {"` (back quote)", "choose the road beams (manual deck levels)"},
    {"F1", "File: type a name, then Save"},
    {"F4", "level editor (levels opened from Load)"},
    {"w a s d / Home", "move the camera / the whole crossing"},
    {"q z, wheel", "zoom in, out"},
    {"Shift / Ctrl", "move faster / much faster"},
    {"F8", "screenshot"},
    {"Escape", "leave the editor"},
    {NULL, NULL},
};

static const helpline leveleditorhelp[] = {
    {"Hold a key and use the mouse:", ""},
    {". + left click", "place an anchor"},
    {". + right click", "delete the joint under the mouse"},
    {"l + left drag", "paint the terrain (Shift snaps)"},
    {"o + left click", "set the water level (Shift snaps)"},
    {"k + left click", "set the deck height"},
    {"n / m + left click", "set the left / right end"},
    {"Left, Right, Both", "where the train starts"},
    {"Manual Deck", "the player picks the road beams"},
    {"Return / g", "edit the budget / the train weight"},
    {"F1", "File: type a name, Save writes the level"},
    {"w a s d, q z, wheel", "camera, as in the bridge editor"},
    {"F4 / Escape", "back to the bridge editor"},
    {NULL, NULL},
};

static const helpline testrunhelp[] = {
    {"t", "Run Train: it starts at the next whole second"},
    {"p", "pause"},
    {"l / f / v", "slow / fast / very fast"},
    {"r / x", "stress view / peak stress of the run"},
    {"F1", "restart the test"},
    {"F2", "restart, the train starting by itself (and,"},
    {"", "where offered, the Normal test)"},
    {"F2 / F3", "Normal / Progressive test (passed levels):"},
    {"", "the progressive test adds weight after every"},
    {"", "crossing until the bridge fails"},
    {"g / Return", "progressive: weight / weight added"},
    {"n", "Next Level, once the test is passed"},
    {"b", "Replay: the test again, stopped in Slow a second"},
    {"", "before the first beam broke, that beam ringed"},
    {"w a s d, q z, wheel", "camera, as in the editor"},
    {"Home", "the whole crossing in view"},
    {"F8", "screenshot"},
    {"Escape", "back to the editor"},
    {NULL, NULL},
};

const char *const helptitle[NUMHELPPAGES] = {"Bridge Editor", "Level Editor", "Test Run"};
const helpline *const helppage[NUMHELPPAGES] = {bridgeeditorhelp, leveleditorhelp, testrunhelp};

// Marks what is down now (or, with the page closed, still down of what was
// marked) and hides the marked input, or all of it while the page is open.
static void withholdinput() {
  for (int k = 0; k < KEY_LAST; k++) {
    help.held[k] = keyboard[k] && (help.open || help.held[k]);
    if (help.open || help.held[k])
      keyboard[k] = prevkeyboard[k] = 0;
  }
  help.heldleft = mouse.left && (help.open || help.heldleft);
  help.heldright = mouse.right && (help.open || help.heldright);
  if (help.open || help.heldleft)
    mouse.left = prevmouse.left = 0;
  if (help.open || help.heldright)
    mouse.right = prevmouse.right = 0;
  if (help.open)
    mouse.wheelup = mouse.wheeldown = 0;
}

void checkhelp() {
  if (help.open) {
    int pressed = (mouse.left && !help.heldleft) || (mouse.right && !help.heldright);
    for (int k = 0; k < KEY_LAST && !pressed; k++)
      pressed = keyboard[k] && !help.held[k];
    if (pressed) {
      // Everything down now is held over into the closed page.
      for (int k = 0; k < KEY_LAST; k++)
        help.held[k] = keyboard[k];
      help.heldleft = mouse.left;
      help.heldright = mouse.right;
      help.open = 0;
    }
  }
  withholdinput();
}

void checkhelprequest() {
  if (!help.request)
    return;
  help.request = 0;
  help.open = 1;
  withholdinput();
}

void resethelp() { memset(&help, 0, sizeof help); }

// The top row at x 480 is free on all three screens: clear of "Stress"
// (the editor), of "Progressive" and the centred verdicts (the test run)
// and of the right-aligned "Test", "Run Train" and "Next Level".
void declarehelpitem() {
  createmenuitem("Help", 480, 0, 16, 1, 1, 1, 1);
  setmenuitem(9, &help.request, 1);
  setmenuitem(1, 'h');
}
