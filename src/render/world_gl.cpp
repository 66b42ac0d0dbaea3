#include <GL/gl.h>

#include "editor/editor.h"
#include "render/view.h"
#include "render/world.h"
#include "render/worldcache.h"
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

// Every kind is gathered into client arrays and drawn with glDrawArrays:
// the per-vertex calls of glBegin/glEnd cost a software renderer time of
// their own. The pixels are the same, since both feed the
// same pipeline. A draw holds at most 1024 vertices: Mesa's software
// pipeline walks every vertex of the current draw each time its output
// buffer fills, so one draw of a full table costs it a tenth of the frame
// and chunks of this size almost nothing. The size is a multiple of the 2
// and 4 vertices of a line and a quad, so a flush never splits a primitive.
constexpr int BATCHVERTICES = 1024;
static float batchpos[BATCHVERTICES][2];
static float batchcolor[BATCHVERTICES][4];
static int batchcount;
static GLenum batchmode;

static void beginbatch(GLenum mode) {
  batchmode = mode;
  batchcount = 0;
}

static void flushbatch() {
  if (batchcount == 0)
    return;
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glVertexPointer(2, GL_FLOAT, 0, batchpos);
  glColorPointer(4, GL_FLOAT, 0, batchcolor);
  glDrawArrays(batchmode, 0, batchcount);
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  // glBegin/glEnd left the last vertex's colour current; keep it so.
  glColor4fv(batchcolor[batchcount - 1]);
  batchcount = 0;
}

static void addvertex(float x, float y, const float *rgba) {
  if (batchcount == BATCHVERTICES)
    flushbatch();
  batchpos[batchcount][0] = x;
  batchpos[batchcount][1] = y;
  for (int k = 0; k < 4; k++)
    batchcolor[batchcount][k] = rgba[k];
  batchcount++;
}

// What the world viewport shows, widened by `marginpixels`: members wholly
// outside it are left out, so a zoomed-in view costs what it shows.
static worldrect visiblerect(float marginpixels) {
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  return getvisiblerect(view.pos[0], view.pos[1], view.pos[2], viewport[2], viewport[3], marginpixels);
}

// Half a line of `widthpixels` and two pixels of smoothing fringe.
static float linemargin(float widthpixels) { return widthpixels * 0.5f + 2.0f; }

// The grid and the ground are opaque: blending them would give the same
// pixels at the cost of reading every one back. The blending state the
// rest of the frame expects is put back afterwards.
static GLboolean beginopaque() {
  GLboolean blend = glIsEnabled(GL_BLEND);
  glDisable(GL_BLEND);
  return blend;
}

static void endopaque(GLboolean blend) {
  if (blend)
    glEnable(GL_BLEND);
}

void renderlevel() {
  float vx = view.pos[0], vy = view.pos[1], vz = view.pos[2];
  int first, last;
  getterraincolumns(&first, &last, vx, vz);
  float bottom = vy - vz;
  const float grey[4] = {0.2f, 0.2f, 0.2f, 1.0f};
  GLboolean blend = beginopaque();
  beginbatch(GL_QUADS);
  for (int i = first; i <= last; i++) {
    addvertex(4.0f * i, level.terrain[i], grey);
    addvertex(4.0f * (i + 1), level.terrain[i + 1], grey);
    addvertex(4.0f * (i + 1), bottom, grey);
    addvertex(4.0f * i, bottom, grey);
  }
  flushbatch();
  endopaque(blend);
}

// Lines every 2 units: brighter every 16 (index multiple of 4), black every
// 64 (multiple of 16). The AND acts on two's complement, so the pattern
// continues through negative indices.
static const float *getgridcolor(int index) {
  static const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  static const float bright[4] = {0.2f, 0.2f, 0.2f, 1.0f};
  static const float dark[4] = {0.075f, 0.075f, 0.075f, 1.0f};
  if ((index & 15) == 0)
    return black;
  return (index & 3) == 0 ? bright : dark;
}

void rendergrid() {
  gridlines g;
  getgridlines(&g, view.pos[0], view.pos[1], view.pos[2], level.deckheight);
  const int x0 = g.x0, x1 = g.x1, y0 = g.y0, y1 = g.y1, deckrow = g.deckrow;
  static const float half[4] = {0.1f, 0.1f, 0.1f, 1.0f};
  static const float deck[4] = {0.3f, 0.3f, 0.0f, 1.0f};
  GLboolean blend = beginopaque();
  beginbatch(GL_LINES);
  for (int i = x0; i <= x1; i++) {
    addvertex(4.0f * i, 4.0f * y0, getgridcolor(i));
    addvertex(4.0f * i, 4.0f * y1, getgridcolor(i));
    addvertex(4.0f * i + 2.0f, 4.0f * y0, half);
    addvertex(4.0f * i + 2.0f, 4.0f * y1, half);
  }
  for (int j = y0; j <= y1; j++) {
    const float *c = !level.manualdeck && deckrow == j ? deck : getgridcolor(j);
    addvertex(4.0f * x0, 4.0f * j, c);
    addvertex(4.0f * x1, 4.0f * j, c);
    addvertex(4.0f * x0, 4.0f * j + 2.0f, half);
    addvertex(4.0f * x1, 4.0f * j + 2.0f, half);
  }
  flushbatch();
  endopaque(blend);
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
  float size = 768.0f / cameradistance();
  worldrect r = visiblerect(linemargin(size));
  glEnable(GL_POINT_SMOOTH);
  glPointSize(size);
  beginbatch(GL_POINTS);
  for (int i = 0; i < numofjoints; i++) {
    float x = joint[i].pos.x, y = joint[i].pos.y;
    if (!segmentvisible(r, x, y, x, y))
      continue;
    float c[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    if (joint[i].type == 0)
      c[2] = 0.25f;
    if (i == editor.selected)
      c[0] = c[1] = c[2] = 1.0f;
    else if (i == editor.hover)
      c[0] = c[1] = c[2] = 0.75f;
    if (i >= editor.savednumofjoints)
      c[0] = c[1] = c[2] = c[3] = 0.5f;
    addvertex(x, y, c);
  }
  flushbatch();
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
  worldrect r = visiblerect(linemargin(width * getstresswidth(pass)));
  beginbatch(GL_LINES);
  for (int i = 0; i < numofbeams; i++) {
    const beaminfo *b = &beam[i];
    // A beam whose joint index is out of the table (a corrupt file that got
    // past loading) is skipped rather than read out of bounds.
    if (!validjoint(b->joint1) || !validjoint(b->joint2))
      continue;
    if (game.stressview && getstressclass(b->stress) != pass)
      continue;
    const vector2d &p1 = joint[b->joint1].pos, &p2 = joint[b->joint2].pos;
    if (!segmentvisible(r, p1.x, p1.y, p2.x, p2.y))
      continue;
    float c[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    if (!game.stressview) {
      if (b->type == 1)
        c[0] = c[1] = c[2] = 1.0f;
      int type = b->type >= 0 && b->type < 16 ? b->type : 0;
      if (vectordistance2d(&p1, &p2) > beamtype[type])
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
    addvertex(p1.x, p1.y, c);
    addvertex(p2.x, p2.y, c);
    worldmembersdrawn++;
  }
  flushbatch();
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
  worldrect r = visiblerect(linemargin(width * getstresswidth(pass)));
  beginbatch(GL_LINES);
  for (int i = 0; i < numofbonds; i++) {
    const bondinfo *b = &bond[i];
    if (b->rigid)
      continue;
    const vector2d &p1 = particle[b->particle1].pos, &p2 = particle[b->particle2].pos;
    if (!segmentvisible(r, p1.x, p1.y, p2.x, p2.y))
      continue;
    float c[4] = {0.5f, 0.5f, 0.5f, 1.0f};
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
    addvertex(p1.x, p1.y, c);
    addvertex(p2.x, p2.y, c);
    worldmembersdrawn++;
  }
  flushbatch();
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
  beginbatch(GL_QUADS);
  for (int i = 0; i < numofobjects; i++) {
    const objectinfo *o = &object[i];
    if (o->type < 0 || o->type > 2)
      continue;
    const float c[4] = {o->color[0], o->color[1], o->color[2], 1.0f};
    int quads = o->type == 1 ? 1 : 2;
    for (int q = 0; q < quads; q++)
      for (int k = 0; k < 4; k++) {
        float u = carquads[o->type][q][k * 2], v = carquads[o->type][q][k * 2 + 1];
        addvertex(o->center.x + u * o->axisx.x + v * o->axisy.x,
                  o->center.y + u * o->axisx.y + v * o->axisy.y, c);
      }
  }
  flushbatch();
}
