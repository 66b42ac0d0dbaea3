#include "render/text.h"
#include "ui/menu.h"
#include "ui/textbox.h"

#include <cstring>

// At rest the bound value is drawn dimmed by the item's state like any
// label. While editing, each character is drawn on its own so that the
// selection can be laid over it as a half-transparent block, and the caret
// is an underscore (insert) or a block over the character (overwrite).
void drawmenutextbox(int index, float brightness) {
  const menuiteminfo &item = menuitem[index];
  char *display = textinput.display;
  if (!item.active) {
    formatmenuvalue(index, display);
    drawtext("/s", item.boxx, item.boxy, item.size, item.red * brightness,
             item.green * brightness, item.blue * brightness, 1, display);
    return;
  }
  memcpy(display, textinput.input, TEXTINPUTSIZE);
  display[TEXTINPUTSIZE - 1] = 0;
  if (item.masked)
    for (char *p = display; *p; p++)
      *p = '*';
  int start = textinput.anchor < textinput.caret ? textinput.anchor : textinput.caret;
  int end = textinput.anchor < textinput.caret ? textinput.caret : textinput.anchor;
  const float *advance = font[fontnum].glyphwidth;
  float r = item.red, g = item.green, b = item.blue;
  int s = 0;
  int j = 0;
  for (; j < TEXTINPUTSIZE - 1 && display[j]; j++) {
    int ch = (unsigned char)display[j];
    int x = item.boxx + s;
    drawtext("/c", x, item.boxy, item.size, r, g, b, 1, ch);
    if (j >= start && j < end)
      drawtext("/c", x | TEXT_SOLID, item.boxy, item.size, r, g, b, 0.5f, ch);
    if (j == textinput.caret) {
      if (textinput.overwrite)
        drawtext("/c", x | TEXT_SOLID, item.boxy, item.size, r, g, b, 0.5f, ch);
      else
        drawtext("_", x, item.boxy, item.size, r, g, b, 1);
    }
    s = (int)((float)s + advance[ch] * (float)item.size);
  }
  if (textinput.caret == j) {
    if (textinput.overwrite)
      drawtext("_", (item.boxx + s) | TEXT_SOLID, item.boxy, item.size, r, g, b, 0.5f);
    else
      drawtext("_", item.boxx + s, item.boxy, item.size, r, g, b, 1);
  }
}
