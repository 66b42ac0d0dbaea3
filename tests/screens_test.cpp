#include <gtest/gtest.h>

#include <cstring>

#include "menu_frames.h"
#include "screens/options.h"
#include "shell/config.h"
#include "shell/video.h"

static int findlabel(const char *text) {
  for (int i = 0; i < numofmenuitems; i++)
    if (strcmp(menuitem[i].text, text) == 0)
      return i;
  return -1;
}

// The options screen lists each size once, newest entry first, spills into
// further columns, and keeps its depth rows under the first column.
TEST(Screens, OptionsModeList) {
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
  EXPECT_EQ(choice.mode, 2);  // the size's last 32-bit entry
  listmoderows(&choice);
  ASSERT_EQ(choice.numofrows, 25);
  EXPECT_EQ(sdlvideomode[choice.row[0]].width, 1280 + 8 * 23);
  EXPECT_EQ(choice.row[24], 2);  // the one row of 1024x768, as findcurrentmode picks
  for (int k = 0; k < choice.numofrows; k++)
    EXPECT_EQ(sdlvideomode[choice.row[k]].colordepth, 32) << k;

  numofmenuitems = 0;
  declareoptions(&choice);
  int first = findlabel("1464x1024"), spilled = findlabel("1024x768"), depth = findlabel("16 Bit");
  ASSERT_TRUE(first >= 0 && spilled >= 0 && depth >= 0);
  EXPECT_TRUE(menuitem[first].x == 0 && menuitem[first].y == 80);
  EXPECT_TRUE(menuitem[spilled].x == COLUMNWIDTH && menuitem[spilled].y == 80 + 16 * 4);
  EXPECT_EQ(menuitem[depth].y, 80 + 16 * ROWSPERCOLUMN + 16);
  // Picking the spilled row chooses its mode.
  choice.mode = -1;
  menuframe([&] { numofmenuitems = 0, declareoptions(&choice); }, menuitem[spilled].boxx + 2,
            menuitem[spilled].boxy + 2, 1);
  menuframe([&] { numofmenuitems = 0, declareoptions(&choice); }, menuitem[spilled].boxx + 2,
            menuitem[spilled].boxy + 2, 0);
  EXPECT_EQ(choice.mode, 2);
  numofsdlvideomodes = 0;
}
