#include <gtest/gtest.h>

#include <string>

#include "ui/notice.h"

static std::string shown(unsigned int now) {
  const char *text = getnotice(now);
  return text ? text : "(none)";
}

TEST(Notice, LifetimeAndPrecedence) {
  clearnotice();
  EXPECT_EQ(shown(0), "(none)");
  // the clock starts at the first frame that shows the line, however late
  setnotice(NOTICE_INFO, "Saved %s", "05 Freight");
  EXPECT_EQ(shown(50000), "Saved 05 Freight");
  EXPECT_EQ(shown(50000 + NOTICEINFOTIME - 1), "Saved 05 Freight");
  EXPECT_EQ(shown(50000 + NOTICEINFOTIME), "(none)");
  // an error stays longer, also across the wrap of the millisecond clock
  setnotice(NOTICE_ERROR, "Could not save x");
  EXPECT_EQ(shown(0xFFFFFF00u), "Could not save x");
  EXPECT_EQ(shown(NOTICEINFOTIME), "Could not save x");
  EXPECT_EQ(shown(NOTICEERRORTIME - 0x101), "Could not save x");
  EXPECT_EQ(shown(NOTICEERRORTIME - 0x100), "(none)");
  // an info line does not hide an error no frame has shown, but replaces a shown one
  setnotice(NOTICE_ERROR, "Could not save y");
  setnotice(NOTICE_INFO, "Saved z");
  EXPECT_EQ(shown(10), "Could not save y");
  setnotice(NOTICE_INFO, "Saved z");
  EXPECT_EQ(shown(20), "Saved z");
  clearnotice();
}

TEST(Notice, FailuresFoldIntoOneLine) {
  clearnotice();
  setnotice(NOTICE_INFO, "Saved z");
  notesavefailure("bridge/Riverside/01 Ditch.qzb");
  notesavefailure("bridge/Riverside.pro");
  EXPECT_EQ(shown(0), "Could not save bridge/Riverside/01 Ditch.qzb, bridge/Riverside.pro");
  // a file told already is not told again; past the line's width the others are counted
  notesavefailure("bridge/Riverside.pro");
  notesavefailure("bridge/Riverside.rec");
  notesavefailure("scsht000.tga");
  EXPECT_EQ(shown(100), "Could not save bridge/Riverside/01 Ditch.qzb, bridge/Riverside.pro and 2 more");
  // a plain error starts the count afresh
  setnotice(NOTICE_ERROR, "Screenshot failed");
  notesavefailure("config.txt");
  EXPECT_EQ(shown(200), "Could not save config.txt");
  // a name too long for the line is cut, never overrun
  clearnotice();
  notesavefailure(std::string(3 * NOTICELENGTH, 'n').c_str());
  EXPECT_EQ(shown(300).size(), (size_t)NOTICELENGTH - 1);
  clearnotice();
}
