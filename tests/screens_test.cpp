#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "menu_frames.h"
#include "editor/editor.h"
#include "editor/editorscreen.h"
#include "render/text.h"
#include "screens/options.h"
#include "shell/config.h"
#include "shell/video.h"
#include "testrun/game.h"
#include "testrun/outcome.h"
#include "testrun/testrunscreen.h"
#include "world/level.h"
#include "world/levellist.h"

using V = std::vector<int>;

// The first item declared whose label starts so.
static int findlabel(const char *text) {
  for (int i = 0; i < numofmenuitems; i++)
    if (strncmp(menuitem[i].text, text, strlen(text)) == 0)
      return i;
  return -1;
}

// Items declared this frame, by label: "" for none, "+" enabled, "-" greyed.
static std::string items() {
  std::string out;
  for (int i = 0; i < numofmenuitems; i++)
    out += std::string(menuitem[i].state == MENUSTATE_DISABLED ? "-" : "+") + menuitem[i].text + "|";
  return out;
}

// The options screen lists each size once, newest entry first, spills into
// further columns, and keeps its depth rows under the first column.
TEST(Screens, OptionsEditorAndTestRunItems) {
  clearmenustate();
  numofsdlvideomodes = 0;
  addvideomode(1024, 768);   // entries 0 (32 bit) and 1 (16 bit)
  addvideomode(1024, 768);   // the same size again at another refresh rate: 2 and 3
  addvideomode(600, 400);    // narrower than the virtual screen: not listed
  for (int k = 0; k < 24; k++)
    addvideomode(1280 + 8 * k, 1024);
  windowinfo.screenwidth = 1024, windowinfo.screenheight = 768;
  optionschoice choice = {};
  choice.mode = findcurrentmode();
  listmoderows(&choice);
  // The size's last 32-bit entry is the current mode and the one row of
  // 1024x768; one 32-bit row a size (a 16-bit one would be another row, or
  // make row 24 entry 3).
  EXPECT_EQ(V({choice.mode, choice.numofrows, choice.row[24]}), V({2, 25, 2}));

  numofmenuitems = 0;
  declareoptions(&choice);
  int first = findlabel("1464x1024"), spilled = findlabel("1024x768"), depth = findlabel("16 Bit");
  ASSERT_TRUE(first >= 0 && spilled >= 0 && depth >= 0);
  // the newest size first; the 1024x768 row fifth in the second column
  EXPECT_EQ(V({menuitem[first].x, menuitem[first].y, menuitem[spilled].x, menuitem[spilled].y, menuitem[depth].y}),
            V({0, 80, COLUMNWIDTH, 80 + 16 * 4, 80 + 16 * ROWSPERCOLUMN + 16}));
  // Picking the spilled row chooses its mode.
  choice.mode = -1;
  for (int left : {1, 0})
    menuframe([&] { numofmenuitems = 0, declareoptions(&choice); }, menuitem[spilled].boxx + 2, menuitem[spilled].boxy + 2, left);
  EXPECT_EQ(choice.mode, 2);
  numofsdlvideomodes = 0;

  // The bridge editor offers what can act now; the level editor keeps
  // Return away from the budget while the File box owns it. The test run
  // offers each choice only while it can act: Run Train until the level is
  // passed or the train runs, the stress views while it runs, Next Level
  // and Replay once it is over.
  memset(&level, 0, sizeof level);
  memset(&game, 0, sizeof game);
  level.budget = 1000, level.trainstart = 2;
  numofjoints = numofbeams = 0;
  setupeditor();
  declareeditoritems();
  EXPECT_EQ(items(), "+Exit|+Test|-Undo|-Redo|-Copy|-Flip X|-Paste|-Delete|+File|+Stress|+Help|");
  level.manualdeck = 1;
  declareeditoritems();
  EXPECT_EQ(items(), "+Exit|+Test|-Undo|-Redo|-Copy|-Flip X|-Paste|-Delete|+File|+Stress|+Build Deck|+Help|");

  editor.leveleditor = 1;
  declareeditoritems();
  int budget = findlabel("Budget"), closed = budget >= 0 ? menuitem[budget].key : -1;
  editor.filemenu = 1;
  declareeditoritems();
  EXPECT_TRUE(closed == KEY_RETURN && menuitem[budget].key == 0);
  editor.leveleditor = 0, editor.filemenu = 0;

  // The goal, and its short form beside an open File box.
  char text[TEXTBUFFER];
  snprintf(game.name, sizeof game.name, "07 Two Ways");
  game.weight = 30000;
  ASSERT_TRUE(getgoaltext(text));
  EXPECT_STREQ(text, "07 Two Ways: train of 30000, there and back");
  snprintf(game.name, sizeof game.name, "A rather long level name");
  editor.filemenu = 1;
  getgoaltext(text);
  EXPECT_STREQ(text, "Train of 30000, there and back");

  // "+100" turns red once the preview's beams no longer fit.
  editor.cost = 900, numofbeams = 10;
  costreadout fits = getcostreadout();
  numofbeams = 11;
  EXPECT_EQ(V({fits.extra, fits.extrafits, getcostreadout().extra, getcostreadout().extrafits}), V({100, 1, 200, 0}));
  numofbeams = 0, level.manualdeck = 0, editor.filemenu = 0;

  memset(&game, 0, sizeof game);
  levelnum = 0;
  struct { int state, passed, running, firstbreak; const char *items; } rows[] = {
      {STATE_BRIDGE, 0, 0, -1, "+Edit|+Pause|+Slow|+Fast|+Very Fast|+Stress|+Run Train|+Help|"},
      {STATE_BRIDGE, 1, 1, -1, "+Edit|+Pause|+Slow|+Fast|+Very Fast|+Stress|+Max|+Normal|+Progressive|+Help|"},
      {STATE_PASSED, 1, 1, 3, "+Edit|+Pause|+Slow|+Fast|+Very Fast|+Stress|+Max|+Next Level|+Replay|+Help|"}};
  for (const auto &r : rows) {
    game.state = r.state, levelpassed[0] = r.passed, game.autorun = game.stressview = r.running;
    outcome.firstbreak = r.firstbreak;
    declaretestrunitems();
    EXPECT_EQ(items(), r.items) << (&r - rows);
  }
  levelpassed[0] = 0, outcome.firstbreak = -1;
  memset(&game, 0, sizeof game);
}
