#include <GL/gl.h>
#include <math.h>

#include "feedback/readout.h"
#include "render/text.h"
#include "render/view.h"
#include "sim/bond.h"
#include "sim/particle.h"
#include "world/level.h"

constexpr int REACHSEGMENTS = 64;

// The reach of the longest beam around the joint a beam is being drawn
// from: faint, so that it guides without hiding the grid under it.
void renderreach(const editorfocus *focus) {
  if (!focus->idle || focus->selected < 0 || focus->selected >= numofjoints || !focus->drawing)
    return;
  float r = beamtype[0] > beamtype[1] ? beamtype[0] : beamtype[1];
  const vector2d &c = joint[focus->selected].pos;
  glEnable(GL_LINE_SMOOTH);
  glColor4f(1.0f, 1.0f, 1.0f, 0.22f);
  glBegin(GL_LINE_LOOP);
  for (int i = 0; i < REACHSEGMENTS; i++) {
    float a = 6.2831853f * (float)i / (float)REACHSEGMENTS;
    glVertex2f(c.x + r * cosf(a), c.y + r * sinf(a));
  }
  glEnd();
  glDisable(GL_LINE_SMOOTH);
}

// The measured bond drawn over itself in the editor's hover yellow, as wide
// as the bonds, so the player sees which member the numbers are about.
void renderhoverbond(int index) {
  if (index < 0 || index >= numofbonds)
    return;
  float z = view.pos[2] > 0.0625f ? view.pos[2] : 0.0625f;
  glEnable(GL_LINE_SMOOTH);
  glLineWidth(256.0f / z);
  glColor4f(1.0f, 1.0f, 0.0f, 1.0f);
  glBegin(GL_LINES);
  glVertex2f(particle[bond[index].particle1].pos.x, particle[bond[index].particle1].pos.y);
  glVertex2f(particle[bond[index].particle2].pos.x, particle[bond[index].particle2].pos.y);
  glEnd();
  glLineWidth(1.0f);
  glDisable(GL_LINE_SMOOTH);
}

static void drawreadout(const char *text) {
  drawtext("/s", READOUTX, READOUTY, FEEDBACKSIZE, 0.85f, 0.9f, 1.0f, 1, text);
}

void drawlongbeamwarning() {
  char text[READOUTBUFFER];
  if (getlongbeamwarning(text))
    drawtext("/s", ALIGN_CENTER | 320, WARNINGY, FEEDBACKSIZE, 1.0f, 0.25f, 0.2f, 1, text);
}

void draweditorreadout(const editorfocus *focus) {
  char text[READOUTBUFFER];
  if (geteditorreadout(text, focus))
    drawreadout(text);
}

void drawbondreadout(int index) {
  char text[READOUTBUFFER];
  if (getbondreadout(text, index))
    drawreadout(text);
}

// Each label sits over a dark patch, so that it reads over the grid, the
// water and the beam itself.
void drawstresslabels(int tested) {
  stresslabel labels[MAXSTRESSLABELS];
  int n = placestresslabels(labels, tested);
  for (int k = 0; k < n; k++) {
    const stresslabel *l = &labels[k];
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.0f, 0.0f, 0.0f, 0.6f);
    glBegin(GL_QUADS);
    glVertex2f(l->x - l->halfwidth, l->y - 1);
    glVertex2f(l->x + l->halfwidth, l->y - 1);
    glVertex2f(l->x + l->halfwidth, l->y + FEEDBACKSIZE + 1);
    glVertex2f(l->x - l->halfwidth, l->y + FEEDBACKSIZE + 1);
    glEnd();
    glEnable(GL_TEXTURE_2D);
    drawtext("/s", ALIGN_CENTER | l->x, l->y, FEEDBACKSIZE, 1.0f, 0.85f, 0.35f, 1, l->text);
  }
}
