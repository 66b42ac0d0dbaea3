#include <GL/gl.h>

#include <cstddef>

#include "render/text.h"
#include "ui/help.h"

constexpr int HELPACTIONX = 232;

// Expects the 2D set-up of setuptextdisplay: texturing on, blending on.
void drawhelp(int page, const char *levelname) {
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
  static hintpageinfo hint;
  hint.numoflines = 0;
  if (page == HELP_BRIDGEEDITOR)
    makelevelhintpage(&hint, levelname);
  int rows = 0;
  while (line[rows].action != NULL)
    rows++;
  helplayout layout;
  layouthelp(&layout, rows, &hint);
  for (int r = 0; r < rows; r++) {
    int y = HELPTOP + layout.pitch * r;
    drawtext("/s", HELPKEYX, y, layout.size, 1.0f, 0.85f, 0.45f, 1, line[r].keys);
    drawtext("/s", HELPACTIONX, y, layout.size, 0.9f, 0.9f, 0.9f, 1, line[r].action);
  }
  // Each step a shade further from the first, the closing line grey.
  static const float shade[MAXHINTSTEPS][3] = {{0.6f, 0.95f, 0.6f}, {0.55f, 0.9f, 0.95f}, {1.0f, 0.8f, 0.55f}};
  for (int r = 0; r < hint.numoflines; r++) {
    int s = hint.step[r];
    const float *c = s >= 0 && s < MAXHINTSTEPS ? shade[s] : nullptr;
    drawtext("/s", layout.hintx, HELPTOP + layout.pitch * (rows + 1 + r), layout.hintsize, c ? c[0] : 0.65f,
             c ? c[1] : 0.65f, c ? c[2] : 0.65f, 1, hint.line[r]);
  }
  drawtext("Any key or click closes this page", ALIGN_CENTER | 320, 448, 14, 0.6f, 0.6f, 0.6f, 1);
}
