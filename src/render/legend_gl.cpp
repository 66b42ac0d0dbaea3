#include <GL/gl.h>

#include "render/text.h"
#include "render/world.h"

// Bottom right, above the buttons: free on the editors (the level editor's
// "Budget" starts at y 448) and on the test run ("Max" and "Stress" at 464).
constexpr int LEGENDLEFT = 506;
constexpr int LEGENDRIGHT = 634;
constexpr int LEGENDTOP = 362;
constexpr int LEGENDBOTTOM = 440;
constexpr int LEGENDSTEPS = 16;

static void quad(float x0, float y0, float x1, float y1) {
  glVertex2f(x0, y0);
  glVertex2f(x1, y0);
  glVertex2f(x1, y1);
  glVertex2f(x0, y1);
}

// The scale of one side from no stress to breaking, in the colours and the
// relative line widths the world is drawn with.
static void drawstressbar(int side, float y) {
  const float x0 = LEGENDLEFT + 6, x1 = LEGENDRIGHT - 6;
  const float step = (x1 - x0) / LEGENDSTEPS;
  glBegin(GL_QUADS);
  for (int i = 0; i < LEGENDSTEPS; i++) {
    float stress = (i + 0.5f) / LEGENDSTEPS;
    float rgb[3];
    getstressstyle(rgb, side, stress);
    float half = 1.5f * getstresswidth(getstressclass(stress));
    glColor4f(rgb[0], rgb[1], rgb[2], 1.0f);
    quad(x0 + i * step, y - half, x0 + (i + 1) * step, y + half);
  }
  glEnd();
}

void drawstresslegend() {
  glDisable(GL_TEXTURE_2D);
  glColor4f(0.0f, 0.0f, 0.0f, 0.6f);
  glBegin(GL_QUADS);
  quad(LEGENDLEFT, LEGENDTOP, LEGENDRIGHT, LEGENDBOTTOM);
  glEnd();
  drawstressbar(0, LEGENDTOP + 24);
  drawstressbar(1, LEGENDTOP + 52);
  glEnable(GL_TEXTURE_2D);
  drawtext("Stretched", LEGENDLEFT + 6, LEGENDTOP + 3, 12, 0.9f, 0.9f, 0.9f, 1);
  drawtext("Compressed", LEGENDLEFT + 6, LEGENDTOP + 31, 12, 0.9f, 0.9f, 0.9f, 1);
  drawtext("none", LEGENDLEFT + 6, LEGENDBOTTOM - 15, 10, 0.7f, 0.7f, 0.7f, 1);
  drawtext("breaks", ALIGN_END | (LEGENDRIGHT - 6), LEGENDBOTTOM - 15, 10, 0.7f, 0.7f, 0.7f, 1);
}
