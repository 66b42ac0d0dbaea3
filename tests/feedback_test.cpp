#include <gtest/gtest.h>

#include <algorithm>

#include <glob.h>
#include <math.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

#include "editor/breakmark.h"
#include "editor/editor.h"
#include "editor/undo.h"
#include "feedback/readout.h"
#include "render/view.h"
#include "shell/config.h"
#include "shell/input.h"
#include "sim/bond.h"
#include "sim/particle.h"
#include "sim_bridge.h"
#include "testrun/game.h"
#include "testrun/setup.h"
#include "testrun/outcome.h"
#include "testrun/testrun.h"
#include "world/levelfile.h"
#include "world/levellist.h"

namespace {

// The virtual pixel over a world point for the current camera, the
// inverse of getmouseworld.
void pointat(vector2d w, int left = 0) {
  prevmouse = mouse;
  mouse.x = (int)lroundf(320.0f + (w.x - view.pos[0]) * 320.0f / view.pos[2]);
  mouse.y = (int)lroundf(240.0f - (w.y - view.pos[1]) * 320.0f / view.pos[2]);
  mouse.left = left;
}

vector2d midpoint(vector2d a, vector2d b) { return {(a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f}; }

std::string editorreadout() {
  char text[READOUTBUFFER];
  editorfocus focus = geteditorfocus();
  geteditorreadout(text, &focus);
  return text;
}

// One editor frame with the mouse over a world point: what the line reads.
std::string readat(vector2d w, int left = 0) {
  pointat(w, left);
  checkeditor();
  std::string text = editorreadout();
  commiteditor();
  return text;
}

// The Warren truss of the simulation tests, opened in the editor.
void startediting() {
  buildtruss(0);
  memset(keyboard, 0, sizeof(keyboard));
  mouse = prevmouse = {};
  setupeditor();
}

// The editor's words for a stress ratio and side, the simulation's numbers.
std::string stresswords(const char *label, int side, float stress) {
  char text[96];
  if (stress >= 1.0f)
    snprintf(text, sizeof text, "%s %s past breaking", label, side ? "compressed" : "stretched");
  else
    snprintf(text, sizeof text, "%s %s %d %% of breaking", label, side ? "compressed" : "stretched",
             (int)(stress * 100.0f));
  return text;
}

// Is the point on the screen, at least `inside` units from its sides and
// from the rows of text above and below the world?
bool onscreen(float x, float y, float inside) {
  float perpixel = view.pos[2] * windowinfo.screenheight / windowinfo.screenwidth / 240.0f;
  float top = view.pos[1] + (240 - FRAMETOP) * perpixel, bottom = view.pos[1] + (240 - FRAMEBOTTOM) * perpixel;
  return fabsf(x - view.pos[0]) <= view.pos[2] - inside && y <= top - inside && y >= bottom + inside;
}

// Every anchor and both ends of the level on screen after one camera step
// (which clamps) with nothing pressed.
std::string offscreen(void (*step)()) {
  memset(keyboard, 0, sizeof(keyboard));
  mouse = prevmouse = {};
  step();
  std::string missed;
  for (int i = 0; i < numofjoints; i++)
    if (joint[i].type == 0 && !onscreen(joint[i].pos.x, joint[i].pos.y, 2.0f))
      missed += " anchor " + std::to_string(i);
  if (!onscreen(level.leftend, level.deckheight, 2.0f) || !onscreen(level.rightend, level.deckheight, 2.0f))
    missed += " an end";
  return missed;
}

void editorstep() { moveeditorcamera(0, 0); }

}  // namespace

TEST(Feedback, EveryShippedLevelOpensAndFramesWhole) {
  windowinfo.screenwidth = 640, windowinfo.screenheight = 480;
  glob_t found;
  ASSERT_EQ(glob(SPANWRIGHT_SOURCE_DIR "/data/level/*/*.qzl", 0, nullptr, &found), 0);
  ASSERT_GE(found.gl_pathc, 12u);
  for (size_t i = 0; i < found.gl_pathc; i++) {
    std::string path = found.gl_pathv[i];
    size_t slash = path.rfind('/');
    ASSERT_EQ(chdir(path.substr(0, slash).c_str()), 0);
    numofjoints = numofbeams = 0;
    ASSERT_TRUE(loadlevel(path.substr(slash + 1, path.size() - slash - 5).c_str(), 0)) << path;
    ASSERT_EQ(chdir(SPANWRIGHT_SOURCE_DIR), 0);
    // The opening camera of the editor.
    setupeditor();
    EXPECT_EQ(offscreen(editorstep), "") << path << " as it opens";
    // Home, from a corner far off, in the editor and then in the test run.
    view.pos[0] = level.leftend, view.pos[1] = 500.0f, view.pos[2] = 16.0f;
    framecrossing();
    EXPECT_EQ(offscreen(editorstep) + offscreen(movecamera), "") << path << " after Home";
  }
  globfree(&found);
  // A wide window shows less height: an anchor deep below the deck still fits.
  createlevel();
  numofjoints = numofbeams = 0;
  joint[numofjoints++] = {0, {1024.0f, level.deckheight - 60.0f}};
  windowinfo.screenwidth = 1600, windowinfo.screenheight = 900;
  framecrossing();
  EXPECT_TRUE(onscreen(1024.0f, level.deckheight - 60.0f, 2.0f) && onscreen(level.leftend, level.deckheight, 2.0f));
}

TEST(Feedback, TestedBridgeDrawingAidAndLongBeams) {
  windowinfo.screenwidth = 640, windowinfo.screenheight = 480;
  startediting();
  EXPECT_EQ(readat(joint[0].pos), "Anchor 992, 32");
  // A test with the train across; back in the editor each beam reads its
  // length and the peak its bond reached in the simulation, until an edit
  // (the untested reading is checked after the edit below).
  startplainrun(0, 1);
  for (int i = 0; i < 600; i++)
    simulationstep();
  // In the test run, over the middle of each bridge bond the mouse finds
  // that bond (or one crossing it there) and reads the simulation's
  // numbers for it; far from the bridge nothing is measured.
  int found = 0;
  std::vector<std::pair<int, std::string>> peaks;  // each bond's beam, and its peak in words
  for (int b = 0; b < numofbonds; b++) {
    if (bond[b].rigid != 0 || bond[b].type != BOND_SPRING)
      continue;
    pointat(midpoint(particle[bond[b].particle1].pos, particle[bond[b].particle2].pos));
    int hit = findbridgebond(getmouseworld(mouse.x, mouse.y));
    ASSERT_TRUE(hit >= 0 && bond[hit].rigid == 0) << "bond " << b;
    found += hit == b;
    char text[READOUTBUFFER];
    getbondreadout(text, hit);
    EXPECT_EQ(text, stresswords("Now:", bond[hit].stresstype, bond[hit].stress) +
                        stresswords("   Peak:", bond[hit].peakstresstype, bond[hit].peakstress));
    peaks.push_back({bond[b].beam, stresswords("   Peak:", bond[b].peakstresstype, bond[b].peakstress)});
  }
  EXPECT_EQ(found, 28);  // every bond of the truss, none crossing another at its middle
  EXPECT_EQ(findbridgebond({1024.0f, 200.0f}), -1);
  notebreakmark();
  resumeeditor();
  for (const auto &[k, peak] : peaks) {
    const vector2d &p = joint[beam[k].joint1].pos, &q = joint[beam[k].joint2].pos;
    char length[32];
    snprintf(length, sizeof length, "Beam %.1f of 17.9", hypotf(p.x - q.x, p.y - q.y));
    EXPECT_EQ(readat(midpoint(p, q)), length + peak) << "beam " << k;
  }
  // The three beams labelled on the bridge are the three highest peaks
  // among those that held, most stressed first, each with its percentage.
  std::vector<std::pair<float, int>> held;
  for (int k = 0; k < numofbeams; k++)
    if (beam[k].stress > 0.0f && beam[k].stress < 1.0f)
      held.push_back({-beam[k].stress, k});
  std::sort(held.begin(), held.end());
  int labelled[MAXSTRESSLABELS];
  stresslabel label[MAXSTRESSLABELS];
  ASSERT_TRUE(findstressedbeams(labelled, istestedbridge()) == 3 && placestresslabels(label, istestedbridge()) == 3);
  for (int k = 0; k < 3; k++) {
    char want[16];
    snprintf(want, sizeof want, "%d %%", (int)(-held[k].first * 100.0f));
    EXPECT_TRUE(labelled[k] == held[k].second && std::string(label[k].text) == want) << k << " " << label[k].text;
  }
  // Any edit forgets the test, and an undo does not bring it back.
  vector2d deck = midpoint(joint[0].pos, joint[1].pos);
  readat(joint[16].pos, 1), readat(joint[16].pos);  // select the top chord's last joint
  readat({1060.0f, 50.0f}, 1), readat({1060.0f, 60.0f});  // a beam to a new joint
  editorundo();
  clearselection();
  EXPECT_TRUE(readat(deck) == "Beam 8.0 of 17.9" && findstressedbeams(labelled, istestedbridge()) == 0);
  // Two members crossing at one middle: the second label goes below.
  numofjoints = numofbeams = 0;
  for (vector2d p : {vector2d{1000, 40}, {1008, 48}, {1000, 48}, {1008, 40}})
    joint[numofjoints++] = {1, p};
  createbeam(0, 0, 1), createbeam(0, 2, 3);
  beam[0].stress = 0.5f, beam[1].stress = 0.4f, outcome.firstbreak = -1;
  notebreakmark();
  ASSERT_EQ(placestresslabels(label, istestedbridge()), 2);
  EXPECT_GE(label[1].y - label[0].y, FEEDBACKSIZE);

  startediting();
  // Drawing from the anchor at 992 straight up past the reach: the preview
  // ends on the farthest grid point within 17.9, 16 away.
  readat(joint[0].pos, 1), readat(joint[0].pos);
  EXPECT_EQ(readat({992.0f, 62.0f}), "16.0 / 17.9");
  // While a joint moves, its place; the beams it stretches are left out.
  clearselection();
  readat(joint[4].pos, 1);  // the middle deck joint, (1024, 32)
  EXPECT_EQ(readat({1024.0f, 50.0f}, 1), "Joint 1024, 50");
  readat({1024.0f, 50.0f}), readat({1024.0f, 50.0f});
  setupsimulation();
  int longbeams = numofbeams - (int)std::count_if(bond, bond + numofbonds, [](const bondinfo &b) { return !b.rigid; });
  ASSERT_GE(longbeams, 2);
  EXPECT_EQ(countlongbeams(), longbeams);
  char text[READOUTBUFFER], expected[READOUTBUFFER];
  getlongbeamwarning(text);
  snprintf(expected, sizeof expected, "%d beams too long: the test leaves them out", longbeams);
  EXPECT_STREQ(text, expected);
  // A hostile file's anchor far off the grid reads as a number, not as an
  // integer it cannot be.
  joint[0].pos = {3e38f, -3e38f};
  editor.state = EDIT_IDLE, editor.selected = 0, editor.dragmode = DRAG_MOVING;
  snprintf(expected, sizeof expected, "Anchor %.1f, %.1f", 3e38f, -3e38f);
  EXPECT_EQ(editorreadout(), expected);
  clearselection();
  numofbeams = 1;
  joint[beam[0].joint1].pos = {1000.0f, 32.0f}, joint[beam[0].joint2].pos = {1017.92f, 32.0f};
  getlongbeamwarning(text);
  EXPECT_STREQ(text, "1 beam too long: the test leaves it out");
  // over by less than a twentieth it still reads over its limit, and says
  // what the test does with it
  getbeamreadout(text, 0, 1);
  EXPECT_STREQ(text, "Beam 18.0 of 17.9: too long, the test leaves it out");
}
