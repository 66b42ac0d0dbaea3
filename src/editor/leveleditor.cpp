#include "editor/leveleditor.h"

#include "editor/editor.h"
#include "editor/undo.h"
#include "shell/input.h"

void checkleveleditor() {
  saveeditortables();
  vector2d m = getmouseworld(mouse.x, mouse.y);
  // The files refuse a level with anything beyond the world's range, so a
  // level painted there could never be saved: the mouse stops at its edge.
  m.x = clampinsideworld(m.x);
  m.y = clampinsideworld(m.y);
  clearselection();
  editor.hover = -1;

  // Snapping is cumulative: a coordinate once snapped stays snapped for the
  // later keys of the same frame.
  if (keyboard[PAINT_ANCHOR]) {
    m.x = roundfloat(m.x, editor.grid);
    m.y = roundfloat(m.y, editor.grid);
    // An anchor on another joint's spot, or one more than a level file
    // holds, is refused below without a word: say why.
    if (mouse.left && !prevmouse.left && (numofjoints >= MAXFILECOUNT || findjoint(m) != -1))
      noterefusal(numofjoints >= MAXFILECOUNT ? REFUSE_FULL : REFUSE_JOINTTHERE, 0);
    if (mouse.left && !prevmouse.left && numofjoints < MAXFILECOUNT)
      createjoint(0, m);
    if (mouse.right && !prevmouse.right)
      deletejoint(findjoint(m));
  }
  if (!mouse.left)
    return;
  if (keyboard[PAINT_TERRAIN]) {
    m.x = roundfloat(m.x, editor.grid);
    if (keyboard[KEY_LSHIFT])
      m.y = roundfloat(m.y, editor.grid);
    // Only the 512 columns exist; a point beside the level paints nothing.
    float column = m.x * 0.25f;
    if (column >= 0.0f && column < (float)NUMTERRAIN)
      level.terrain[(int)column] = m.y;
  }
  if (keyboard[PAINT_WATER]) {
    m.x = roundfloat(m.x, editor.grid);
    if (keyboard[KEY_LSHIFT])
      m.y = roundfloat(m.y, editor.grid);
    level.waterlevel = m.y;
  }
  if (keyboard[PAINT_DECK] || keyboard[PAINT_LEFTEND] || keyboard[PAINT_RIGHTEND]) {
    m.x = roundfloat(m.x, editor.grid);
    m.y = roundfloat(m.y, editor.grid);
  }
  if (keyboard[PAINT_DECK])
    level.deckheight = m.y;
  if (keyboard[PAINT_LEFTEND])
    level.leftend = m.x;
  if (keyboard[PAINT_RIGHTEND])
    level.rightend = m.x;
}

void stripbridge() {
  saveeditortables();
  for (int i = 0; i < numofjoints;) {
    if (joint[i].type != 0)
      deletejoint(i);
    else
      i++;
  }
  setupundo();
}
