#include "feedback/readout.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "render/text.h"
#include "render/view.h"
#include "sim/bond.h"
#include "sim/particle.h"
#include "world/level.h"

// Appends to a READOUTBUFFER text of length n; returns the new length. A
// hostile file's coordinates may not fit: the text is cut at the end.
static int appendf(char *out, int n, const char *format, ...) {
  va_list args;
  va_start(args, format);
  int k = vsnprintf(out + n, (size_t)(READOUTBUFFER - n), format, args);
  va_end(args);
  return k < 0 ? n : n + k >= READOUTBUFFER ? READOUTBUFFER - 1 : n + k;
}

static float getbeamlength(const beaminfo *b) {
  return vectordistance2d(&joint[b->joint1].pos, &joint[b->joint2].pos);
}

static int isbeamvalid(const beaminfo *b) {
  return b->joint1 >= 0 && b->joint1 < numofjoints && b->joint2 >= 0 && b->joint2 < numofjoints &&
         b->type >= 0 && b->type < 16;
}

// The same test that leaves a beam out of the simulation.
static int isbeamtoolong(const beaminfo *b) {
  return isbeamvalid(b) && getbeamlength(b) > beamtype[b->type];
}

// Lengths to one decimal; a beam that is too long by less than 0.05 would
// read as exactly its limit, so it shows one tenth over instead.
static float getshownlength(float length, float limit) {
  float shown = floorf(length * 10.0f + 0.5f) / 10.0f;
  if (length > limit && shown <= limit)
    shown = floorf(limit * 10.0f + 0.5f) / 10.0f + 0.1f;
  return shown;
}

// A stress ratio in whole percent, cut down rather than rounded up so that
// "100 %" is never shown for a member that held.
static int describestress(char *out, int n, const char *label, int side, float stress) {
  const char *word = side ? "compressed" : "stretched";
  if (stress >= 1.0f)
    return appendf(out, n, "%s %s past breaking", label, word);
  int percent = stress > 0.0f ? (int)(stress * 100.0f) : 0;
  return appendf(out, n, "%s %s %d %% of breaking", label, word, percent);
}

static int describejoint(char *out, int index) {
  const jointinfo *j = &joint[index];
  const char *kind = j->type == 0 ? "Anchor" : "Joint";
  float x = j->pos.x, y = j->pos.y;
  // Joints lie on the 2-unit grid; only an author's anchor may not.
  if (x == floorf(x) && y == floorf(y) && fabsf(x) < 1e6f && fabsf(y) < 1e6f)
    return appendf(out, 0, "%s %d, %d", kind, (int)x, (int)y);
  return appendf(out, 0, "%s %.1f, %.1f", kind, x, y);
}

int getbeamreadout(char *out, int index, int tested) {
  out[0] = 0;
  if (index < 0 || index >= numofbeams || !isbeamvalid(&beam[index]))
    return 0;
  const beaminfo *b = &beam[index];
  float limit = beamtype[b->type];
  float length = getbeamlength(b);
  int n = appendf(out, 0, "Beam %.1f of %.1f", getshownlength(length, limit), limit);
  if (length > limit)
    return appendf(out, n, ": too long, the test leaves it out");
  return tested ? describestress(out, n, "   Peak:", b->stresstype, b->stress) : n;
}

// While drawing, the preview's end is `hover`: the new joint or the
// existing one the beam would reach.
static int describepreview(char *out, const editorfocus *f) {
  if (f->hover < 0 && f->groundrefused)
    return appendf(out, 0, "Inside the ground: a click here ends drawing");
  if (f->hover < 0 || f->hover >= numofjoints || f->hover == f->selected)
    return 0;
  float limit = beamtype[f->newbeamtype & 15];
  float length = vectordistance2d(&joint[f->selected].pos, &joint[f->hover].pos);
  return appendf(out, 0, "%.1f / %.1f", getshownlength(length, limit), limit);
}

int geteditorreadout(char *out, const editorfocus *f) {
  out[0] = 0;
  if (!f->idle)
    return 0;
  if (f->selected >= 0 && f->selected < numofjoints)
    return f->drawing ? describepreview(out, f) : describejoint(out, f->selected);
  if (f->hover >= 0 && f->hover < numofjoints)
    return describejoint(out, f->hover);
  for (int i = 0; i < numofbeams; i++)
    if (beam[i].hover)
      return getbeamreadout(out, i, f->tested);
  return 0;
}

int findstressedbeams(int *index, int tested) {
  int n = 0;
  if (!tested)
    return 0;
  for (int i = 0; i < numofbeams; i++) {
    float s = beam[i].stress;
    // A beam that broke carries 1; one that never carried load, 0.
    if (!isbeamvalid(&beam[i]) || !(s > 0.0f && s < 1.0f))
      continue;
    int k = n < MAXSTRESSLABELS ? n++ : MAXSTRESSLABELS;
    for (; k > 0 && beam[index[k - 1]].stress < s; k--)
      if (k < MAXSTRESSLABELS)
        index[k] = index[k - 1];
    if (k < MAXSTRESSLABELS)
      index[k] = i;
  }
  return n;
}

int placestresslabels(stresslabel *labels, int tested) {
  int index[MAXSTRESSLABELS];
  int found = findstressedbeams(index, tested), n = 0;
  for (int k = 0; k < found; k++) {
    const beaminfo *b = &beam[index[k]];
    float x, y;
    getscreenpoint((joint[b->joint1].pos.x + joint[b->joint2].pos.x) * 0.5f,
                   (joint[b->joint1].pos.y + joint[b->joint2].pos.y) * 0.5f, &x, &y);
    if (!(x >= 16.0f && x <= 624.0f && y >= 8.0f && y < 440.0f))
      continue;
    stresslabel *l = &labels[n];
    snprintf(l->text, sizeof l->text, "%d %%", (int)(b->stress * 100.0f));
    l->x = (int)x;
    l->y = (int)y - FEEDBACKSIZE / 2;
    l->halfwidth = measuretext(l->text, FEEDBACKSIZE) / 2 + 3;
    // Crossing members share a middle: the later label goes below.
    for (int moved = 1; moved;) {
      moved = 0;
      for (int i = 0; i < n; i++)
        if (abs(labels[i].x - l->x) < labels[i].halfwidth + l->halfwidth && abs(labels[i].y - l->y) < FEEDBACKSIZE + 2)
          l->y = labels[i].y + FEEDBACKSIZE + 2, moved = 1;
    }
    n++;
  }
  return n;
}

int findbridgebond(vector2d point) {
  for (int i = 0; i < numofbonds; i++) {
    const bondinfo *r = &bond[i];
    if (r->type != BOND_SPRING || r->rigid != 0 || r->timetolive <= 0)
      continue;
    const vector2d &a = particle[r->particle1].pos, &b = particle[r->particle2].pos;
    if (a.x == b.x && a.y == b.y)
      continue;
    vector2d foot, normal;
    float ratio;
    if (sphereintersectline2d(&foot, &normal, &ratio, &point, &a, &b, BEAMPICKRADIUS))
      return i;
  }
  return -1;
}

int getbondreadout(char *out, int index) {
  out[0] = 0;
  if (index < 0 || index >= numofbonds)
    return 0;
  const bondinfo *r = &bond[index];
  int n = describestress(out, 0, "Now:", r->stresstype, r->stress);
  return describestress(out, n, "   Peak:", r->peakstresstype, r->peakstress);
}

int countlongbeams() {
  int count = 0;
  for (int i = 0; i < numofbeams; i++)
    count += isbeamtoolong(&beam[i]);
  return count;
}

int getlongbeamwarning(char *out) {
  out[0] = 0;
  int count = countlongbeams();
  if (count == 0)
    return 0;
  if (count == 1)
    return appendf(out, 0, "1 beam too long: the test leaves it out");
  return appendf(out, 0, "%d beams too long: the test leaves them out", count);
}
