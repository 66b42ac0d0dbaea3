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

// What the mouse is over in the bridge editor, from the editor record and
// the tables as checkeditor left them: the preview beam while drawing
// ("12.6 / 17.9"), a joint ("Joint 1012, 36"), or a beam ("Beam 12.6 of
// 17.9", with its peak from the last test while the bridge is the one
// tested). Returns the length written into out (READOUTBUFFER bytes), 0
// for nothing.
int geteditorreadout(char *out);
int getbeamreadout(char *out, int index, int tested);

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
void renderreach();
void renderhoverbond(int index);
void draweditorreadout();
void drawbondreadout(int index);
void drawlongbeamwarning();
