#include <GL/gl.h>

#include "render/text.h"
#include "render/texture.h"
#include "ui/menu.h"
#include "ui/textbox.h"

void drawmenuitems() {
  int count = numofmenuitems < MAXMENUITEMS ? numofmenuitems : MAXMENUITEMS;
  for (int i = 0; i < count; i++) {
    const menuiteminfo &item = menuitem[i];
    int state = item.state < 0 ? 0 : item.state > 3 ? 3 : item.state;
    float m = (float)(state + 1) / 4.0f;
    if (item.type == MENU_TEXTBOX) {
      drawmenutextbox(i, m);
      continue;
    }
    if (item.bitmap[0] != -1) {
      glColor4f(1, 1, 1, 1);
      drawbitmaptexcoord(item.bitmap[state], item.x, item.y, item.width, item.height,
                         item.texcoord);
      continue;
    }
    // Through "/s" so that a '/' in a label (a pack or file name) is drawn
    // rather than read as an escape.
    drawtext("/s", item.x, item.y, item.size, item.red * m, item.green * m, item.blue * m, 1,
             item.text);
    int hot = findhotkeychar(i);
    if (hot >= 0)
      drawtext("/c", item.x + getmenutextwidth(item.text, item.size, hot), item.y, item.size,
               item.red, item.green, item.blue, 0.5f, (int)(unsigned char)item.text[hot]);
  }
}
