#include <GL/gl.h>

#include <cstddef>

#include "render/text.h"
#include "ui/help.h"
#include "world/hint.h"

constexpr int HELPKEYX = 48;
constexpr int HELPACTIONX = 232;
constexpr int HELPTOP = 72;
constexpr int HELPROW = 18;
constexpr int HELPSIZE = 14;
constexpr int HELPBOTTOM = 440;  // above the closing line

// Expects the 2D set-up of setuptextdisplay: texturing on, blending on.
void drawhelp(int page) {
  if (page < 0 || page >= NUMHELPPAGES)
    return;
  glDisable(GL_TEXTURE_2D);
  glColor4f(0.0f, 0.0f, 0.0f, 0.85f);
  glBegin(GL_QUADS);
  glVertex2f(0, 0);
  glVertex2f(640, 0);
  glVertex2f(640, 480);
  glVertex2f(0, 480);
  glEnd();
  glEnable(GL_TEXTURE_2D);
  drawtext("/s", ALIGN_CENTER | 320, 40, 16, 1, 1, 1, 1, helptitle[page]);
  const helpline *line = helppage[page];
  // The level's hint goes under the bridge editor's controls, a row apart;
  // the rows close up when both would not fit at the usual spacing.
  int hint = page == HELP_BRIDGEEDITOR ? levelhint.numoflines : 0;
  int rows = 0;
  while (line[rows].action != NULL)
    rows++;
  int total = rows + (hint > 0 ? hint + 1 : 0);
  int pitch = total > 0 && (HELPBOTTOM - HELPTOP) / total < HELPROW ? (HELPBOTTOM - HELPTOP) / total : HELPROW;
  for (int r = 0; r < rows; r++) {
    int y = HELPTOP + pitch * r;
    drawtext("/s", HELPKEYX, y, HELPSIZE, 1.0f, 0.85f, 0.45f, 1, line[r].keys);
    drawtext("/s", HELPACTIONX, y, HELPSIZE, 0.9f, 0.9f, 0.9f, 1, line[r].action);
  }
  for (int r = 0; r < hint; r++)
    drawtext("/s", HELPKEYX, HELPTOP + pitch * (rows + 1 + r), HELPSIZE, 0.6f, 0.95f, 0.6f, 1, levelhint.line[r]);
  drawtext("Any key or click closes this page", ALIGN_CENTER | 320, 448, 14, 0.6f, 0.6f, 0.6f, 1);
}
