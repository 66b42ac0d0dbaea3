#include "ui/help.h"

#include <cstdio>
#include <cstring>

#include "render/text.h"
#include "ui/menu.h"
#include "world/records.h"

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

void makehintpage(hintpageinfo *out, const hintinfo *hint, int failed) {
  memset(out, 0, sizeof *out);
  int open = countopenhintsteps(hint, failed);
  for (int s = 0; s < open; s++) {
    if (s > 0)
      out->step[out->numoflines++] = s;
    for (int l = 0; l < hint->numoflines[s]; l++) {
      fillhintline(out->line[out->numoflines], hint->line[s][l]);
      out->step[out->numoflines++] = s;
    }
  }
  int more = countfailurestonextstep(hint, failed);
  if (more > 0) {
    snprintf(out->line[out->numoflines], sizeof out->line[0], "%d more failed test%s open%s hint step %d of %d", more,
             more == 1 ? "" : "s", more == 1 ? "s" : "", open + 1, hint->numofsteps);
    out->step[out->numoflines++] = -1;
  }
}

void makelevelhintpage(hintpageinfo *out, const char *levelname) {
  makehintpage(out, &levelhint, getfailedtests(levelname));
}

constexpr int HELPBOTTOM = 440;  // above the closing line
constexpr int HELPROW = 18;
constexpr int HELPSIZE = 14;
constexpr int HELPRIGHT = 632;   // the hint's right margin in the 640 wide screen

// The rows close up when controls and hint would not fit at the usual
// spacing, and the text shrinks with them so that rows never overlap. A
// hint line is as long as the file allows, wider than the controls' column:
// it starts further left and is drawn smaller when it would run off the
// screen's right edge.
void layouthelp(helplayout *out, int rows, const hintpageinfo *hint) {
  int total = rows + (hint->numoflines > 0 ? hint->numoflines + 1 : 0);
  out->pitch = total > 0 && (HELPBOTTOM - HELPTOP) / total < HELPROW ? (HELPBOTTOM - HELPTOP) / total : HELPROW;
  out->size = out->pitch < HELPSIZE ? out->pitch : HELPSIZE;
  out->hintx = hint->numoflines > 0 ? 24 : HELPKEYX;
  out->hintsize = out->size;
  for (int i = 0; i < hint->numoflines; i++)
    while (out->hintsize > 6 && out->hintx + measuretext(hint->line[i], out->hintsize) > HELPRIGHT)
      out->hintsize--;
}
