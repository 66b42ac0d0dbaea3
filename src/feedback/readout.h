// What the editor and the test run say about the bridge beside their
// verdicts, costs and buttons: the measurement of the member or joint under
// the mouse, the drawing aid's preview length, and the warning about beams
// the test leaves out. The texts are made here from the tables, headless;
// readout_gl.cpp draws them.
//
// Places in the 640x480 virtual screen, chosen where no item of either
// screen lies: the readout on the row above the bottom buttons, right of
// the cost and time columns (x < 128) and below the stress legend (y 362
// to 440); the warning centred under the verdict and record lines (y 0 to
// 80) and the editor's goal, first hint and File box (y 16 to 62).
#pragma once

#include "geometry/vector.h"

constexpr int READOUTX = 160;
constexpr int READOUTY = 448;
constexpr int WARNINGY = 84;
constexpr int FEEDBACKSIZE = 14;
constexpr int READOUTBUFFER = 128;

// What the bridge editor has in hand and under the mouse, as its frame's
// check left it; the editor fills it (geteditorfocus), so that what is said
// about the bridge needs nothing of the editor's own.
struct editorfocus {
  int idle;           // no rectangle, paste or tool of the level editor in hand
  int selected;       // the joint picked or drawn from; -1 none
  int drawing;        // a beam follows the mouse from `selected`
  int hover;          // the joint under the mouse, or the preview's end; -1 none
  int newbeamtype;    // the type of a beam drawn now
  int groundrefused;  // the preview's end lies inside the ground
  int tested;         // the bridge is the one the last test ran on
};

// What the mouse is over in the bridge editor, from the focus and the
// tables: the preview beam while drawing ("12.6 / 17.9"), a joint ("Joint
// 1012, 36"), or a beam ("Beam 12.6 of 17.9", with its peak from the last
// test while the bridge is the one tested). Returns the length written
// into out (READOUTBUFFER bytes), 0 for nothing.
int geteditorreadout(char *out, const editorfocus *focus);
int getbeamreadout(char *out, int index, int tested);

// Back in the editor, while the bridge is the one last tested: the beams
// that came nearest to breaking without breaking, most stressed first (ties
// by index), at most MAXSTRESSLABELS; each labelled on the beam with its
// peak ("85 %", cut down as the readout is).
constexpr int MAXSTRESSLABELS = 3;
int findstressedbeams(int *index, int tested);
// Where the labels go on the virtual screen for the camera as it is: on
// their beams' middles, a label that would cover one placed before moved
// down below it; labels off the world's part of the screen are left out.
struct stresslabel {
  char text[16];
  int x, y;        // centre x, top y
  int halfwidth;
};
int placestresslabels(stresslabel *labels, int tested);

// Test run: the first whole bridge bond within the pick radius of `point`
// (as the editor picks beams), -1 for none; and its current and peak
// stress, in the words of the editor's peak.
int findbridgebond(vector2d point);
int getbondreadout(char *out, int index);

// Beams longer than their type's maximum, which the test leaves out, and
// the line that says so (0 when there are none).
int countlongbeams();
int getlongbeamwarning(char *out);

// GL (readout_gl.cpp). World pass: the reach circle while drawing a beam,
// the measured bond in a test run. After setuptextdisplay: the lines.
void renderreach(const editorfocus *focus);
void renderhoverbond(int index);
void draweditorreadout(const editorfocus *focus);
void drawbondreadout(int index);
void drawlongbeamwarning();
void drawstresslabels(int tested);
