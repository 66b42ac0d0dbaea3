#include <GL/gl.h>

#include "editor/editor.h"
#include "render/view.h"
#include "render/world.h"
#include "shell/config.h"
#include "sim/bond.h"
#include "sim/object.h"
#include "sim/particle.h"
#include "testrun/game.h"
#include "world/level.h"

// The camera distance; the zoom scales line widths and point sizes so that
// members keep their size in world units. A camera at or behind the plane
// is never set by the screens, but would divide by zero.
static float cameradistance() {
  return view.pos[2] > 0.0625f ? view.pos[2] : 0.0625f;
}

void renderlevel() {
  float vx = view.pos[0], vy = view.pos[1], vz = view.pos[2];
  int first, last;
  getterraincolumns(&first, &last, vx, vz);
  float bottom = vy - vz;
  glColor3f(0.2f, 0.2f, 0.2f);
  glBegin(GL_QUADS);
  for (int i = first; i <= last; i++) {
    glVertex2f(4.0f * i, level.terrain[i]);
    glVertex2f(4.0f * (i + 1), level.terrain[i + 1]);
    glVertex2f(4.0f * (i + 1), bottom);
    glVertex2f(4.0f * i, bottom);
  }
  glEnd();
}

// Lines every 2 units: brighter every 16 (index multiple of 4), black every
// 64 (multiple of 16). The AND acts on two's complement, so the pattern
// continues through negative indices.
static void setgridcolor(int index) {
  if ((index & 15) == 0)
    glColor3f(0.0f, 0.0f, 0.0f);
  else if ((index & 3) == 0)
    glColor3f(0.2f, 0.2f, 0.2f);
  else
    glColor3f(0.075f, 0.075f, 0.075f);
}

void rendergrid() {
  float vx = view.pos[0], vy = view.pos[1], vz = view.pos[2];
  int x0 = (int)((vx - vz) * 0.25f) - 1, x1 = (int)((vx + vz) * 0.25f) + 1;
  int y0 = (int)((vy - vz) * 0.25f) - 1, y1 = (int)((vy + vz) * 0.25f) + 1;
  int deckrow = (int)(level.deckheight * 0.25f);
  glBegin(GL_LINES);
  for (int i = x0; i <= x1; i++) {
    setgridcolor(i);
    glVertex2f(4.0f * i, 4.0f * y0);
    glVertex2f(4.0f * i, 4.0f * y1);
    glColor3f(0.1f, 0.1f, 0.1f);
    glVertex2f(4.0f * i + 2.0f, 4.0f * y0);
    glVertex2f(4.0f * i + 2.0f, 4.0f * y1);
  }
  for (int j = y0; j <= y1; j++) {
    setgridcolor(j);
    if (!level.manualdeck && deckrow == j)
      glColor3f(0.3f, 0.3f, 0.0f);
    glVertex2f(4.0f * x0, 4.0f * j);
    glVertex2f(4.0f * x1, 4.0f * j);
    glColor3f(0.1f, 0.1f, 0.1f);
    glVertex2f(4.0f * x0, 4.0f * j + 2.0f);
    glVertex2f(4.0f * x1, 4.0f * j + 2.0f);
  }
  glEnd();
}

void renderwater() {
  float vx = view.pos[0], vy = view.pos[1], vz = view.pos[2];
  glColor4f(0.0f, 0.0f, 0.5f, 0.5f);
  glBegin(GL_QUADS);
  glVertex2f(vx - vz, level.waterlevel);
  glVertex2f(vx + vz, level.waterlevel);
  glVertex2f(vx + vz, vy - vz);
  glVertex2f(vx - vz, vy - vz);
  glEnd();
}

void renderjoints() {
  glEnable(GL_POINT_SMOOTH);
  glPointSize(768.0f / cameradistance());
  glBegin(GL_POINTS);
  for (int i = 0; i < numofjoints; i++) {
    float c[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    if (joint[i].type == 0)
      c[2] = 0.25f;
    if (i == editor.selected)
      c[0] = c[1] = c[2] = 1.0f;
    else if (i == editor.hover)
      c[0] = c[1] = c[2] = 0.75f;
    if (i >= editor.savednumofjoints)
      c[0] = c[1] = c[2] = c[3] = 0.5f;
    glColor4fv(c);
    glVertex2f(joint[i].pos.x, joint[i].pos.y);
  }
  glEnd();
  glPointSize(1.0f);
  glDisable(GL_POINT_SMOOTH);
}

static int validjoint(int j) {
  return j >= 0 && j < numofjoints;
}

// Line widths cannot change inside glBegin/glEnd, so the colour-safe
// stress view draws its width classes one pass each, thickest last.
static int stresspasses() { return game.stressview && colorsafe ? STRESSWIDTHS : 1; }

static void renderbeampass(int pass, float width) {
  glLineWidth(width * getstresswidth(pass));
  glBegin(GL_LINES);
  for (int i = 0; i < numofbeams; i++) {
    const beaminfo *b = &beam[i];
    // A beam whose joint index is out of the table (a corrupt file that got
    // past loading) is skipped rather than read out of bounds.
    if (!validjoint(b->joint1) || !validjoint(b->joint2))
      continue;
    if (game.stressview && getstressclass(b->stress) != pass)
      continue;
    float c[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    if (!game.stressview) {
      if (b->type == 1)
        c[0] = c[1] = c[2] = 1.0f;
      int type = b->type >= 0 && b->type < 16 ? b->type : 0;
      if (vectordistance2d(&joint[b->joint1].pos, &joint[b->joint2].pos) > beamtype[type])
        c[0] = 1.0f, c[1] = c[2] = 0.0f;
      if (b->hover)
        c[0] = c[1] = 1.0f, c[2] = 0.0f;
      if (i >= editor.savednumofbeams) {
        float grey = b->type == 1 ? 1.0f : 0.5f;
        c[0] = c[1] = c[2] = grey;
        c[3] = 0.5f;
      }
    } else {
      getstressstyle(c, b->stresstype, b->stress);
      if (b->hover)
        c[0] = c[1] = 1.0f, c[2] = 0.0f;
    }
    glColor4fv(c);
    glVertex2f(joint[b->joint1].pos.x, joint[b->joint1].pos.y);
    glVertex2f(joint[b->joint2].pos.x, joint[b->joint2].pos.y);
  }
  glEnd();
}

void renderbeams() {
  glEnable(GL_LINE_SMOOTH);
  for (int pass = 0; pass < stresspasses(); pass++)
    renderbeampass(pass, 128.0f / cameradistance());
  glLineWidth(1.0f);
  glDisable(GL_LINE_SMOOTH);
}

static void renderbondpass(int pass, float width) {
  glLineWidth(width * getstresswidth(pass));
  glBegin(GL_LINES);
  for (int i = 0; i < numofbonds; i++) {
    const bondinfo *b = &bond[i];
    if (b->rigid)
      continue;
    float c[3] = {0.5f, 0.5f, 0.5f};
    if (!game.stressview) {
      if (b->road)
        c[0] = c[1] = c[2] = 1.0f;
    } else {
      int side = game.maxstress ? b->peakstresstype : b->stresstype;
      float stress = game.maxstress ? b->peakstress : b->stress;
      if (getstressclass(stress) != pass)
        continue;
      getstressstyle(c, side, stress);
    }
    glColor3fv(c);
    glVertex2f(particle[b->particle1].pos.x, particle[b->particle1].pos.y);
    glVertex2f(particle[b->particle2].pos.x, particle[b->particle2].pos.y);
  }
  glEnd();
}

void renderbonds() {
  glEnable(GL_LINE_SMOOTH);
  for (int pass = 0; pass < stresspasses(); pass++)
    renderbondpass(pass, 256.0f / cameradistance());
  glLineWidth(1.0f);
  glDisable(GL_LINE_SMOOTH);
}

// Car outlines in the car's own frame (u along the floor, v up), four
// corners per quad; a locomotive's sloped cab faces the way it drives.
static const float carquads[3][2][8] = {
    {{-4.5f, 2, 2, 2, 4.5f, 0, -4.5f, 0}, {-4.5f, 0, 4.5f, 0, 4.5f, -2, -4.5f, -2}},
    {{-4.5f, 2, 4.5f, 2, 4.5f, -2, -4.5f, -2}, {0, 0, 0, 0, 0, 0, 0, 0}},
    {{-2, 2, 4.5f, 2, 4.5f, 0, -4.5f, 0}, {-4.5f, 0, 4.5f, 0, 4.5f, -2, -4.5f, -2}},
};

void renderobjects() {
  glBegin(GL_QUADS);
  for (int i = 0; i < numofobjects; i++) {
    const objectinfo *o = &object[i];
    if (o->type < 0 || o->type > 2)
      continue;
    glColor3fv(o->color);
    int quads = o->type == 1 ? 1 : 2;
    for (int q = 0; q < quads; q++)
      for (int k = 0; k < 4; k++) {
        float u = carquads[o->type][q][k * 2], v = carquads[o->type][q][k * 2 + 1];
        glVertex2f(o->center.x + u * o->axisx.x + v * o->axisy.x,
                   o->center.y + u * o->axisx.y + v * o->axisy.y);
      }
  }
  glEnd();
}
