#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <vector>

#include "render/text.h"
#include "tempdir.h"
#include "ui/help.h"
#include "world/hint.h"
#include "world/level.h"

typedef tempdirtest Hint;

// The steps' lines, "|" between steps.
static std::vector<std::string> hintlines() {
  std::vector<std::string> out;
  for (int s = 0; s < levelhint.numofsteps; s++) {
    if (s > 0)
      out.push_back("|");
    for (int i = 0; i < levelhint.numoflines[s]; i++)
      out.push_back(levelhint.line[s][i]);
  }
  return out;
}

// Files as authors and accidents make them, read through loadhint.
TEST_F(Hint, WhatAFileGivesAndWhatIsNoHint) {
  typedef std::vector<std::string> lines;
  std::string longline(100, 'x'), full = "a\n" + std::string(MAXHINTBYTES - 2, ' ');
  struct { std::string bytes; lines want; } rows[] = {
      {"\n \nCross the gap.\r\n\tKeep it low.\n\n\n", {"Cross the gap.", " Keep it low."}},  // blank ends, CRLF, tab
      {"one\n\nthree\nfour\nfive", {"one", "", "three"}},                                   // a gap kept, three at most
      {longline, {std::string(HINTLINELENGTH, 'x')}},                                         // cut to the page
      {full, {"a"}},                                                                          // the largest file
      {full + " ", {}},                                                                       // a byte more
      // (no visible text, or a byte that is no text: the hint fuzz target's check for every input)
      // Steps: a mark between them, spaces and CRs around it, blank ends per
      // step, four lines cut to three; a fourth step is not read.
      {"a\n---\n\nb1\nb2\nb3\nb4\n \t--- \r\nc\n\n---\nd\n", {"a", "|", "b1", "b2", "b3", "|", "c"}},
      {"a\n---\n \n---\nc\n", {"a"}},                                                        // an empty step ends it
      {"---\na\n", {}},                                                                       // no first step: none
      {"a\n-- -\n----\n", {"a", "-- -", "----"}},                                            // not marks
  };
  for (const auto &r : rows) {
    levelhint.numofsteps = 2;  // an earlier level's hint never survives
    writebytes("level.txt", r.bytes);
    loadhint("level");  // (that it returns the steps read is the fuzz target's check)
    EXPECT_EQ(hintlines(), r.want) << r.bytes;
  }
  // Missing, a directory or a FIFO in its place (never waited on), a name
  // too long for the path: none.
  ASSERT_EQ(mkdir("dir.txt", 0777) + mkfifo("fifo.txt", 0666), 0);
  for (const char *name : {"missing", "dir", "fifo", "a name far longer than any level name of thirty-one characters can ever be"}) {
    levelhint.numofsteps = 2;
    EXPECT_TRUE(loadhint(name) == 0 && levelhint.numofsteps == 0) << name;
  }
}

// Figures come from the level shown; what the game does not know, or a
// level file's absurd number, never becomes something else or runs long.
TEST(HintFigures, PlaceholdersFilledFromTheLevel) {
  createlevel();
  for (int i = 0; i < NUMTERRAIN; i++)
    level.terrain[i] = i > 250 && i < 262 ? 20.0f : 64.0f;  // a dry gap down to 20
  level.deckheight = 64, level.waterlevel = 12, level.leftend = 992, level.rightend = 1056;
  level.weight = 40000, level.budget = 2300;
  char out[HINTLINELENGTH + 1];
  EXPECT_EQ(fillhintline(out, "{span} wide, {depth} deep, {weight} on {budget}"), 0);
  EXPECT_STREQ(out, "64 wide, 44 deep, 40000 on 2300");
  level.waterlevel = 40;  // water above the bed: down to the water
  EXPECT_EQ(fillhintline(out, "{depth} {height} {span {} {"), 4);
  EXPECT_STREQ(out, "24 {height} {span {} {");
  level.rightend = 1e30f, level.budget = -2000000000;
  fillhintline(out, (std::string(60, 'x') + "{span}{budget}").c_str());
  EXPECT_EQ(std::string(out), std::string(60, 'x') + "0-2000000000");
}

// The steps open at three and six failed tests, and the page says how many
// more are needed; a one-step hint never promises more.
TEST(HintFigures, PageOpensStepsAndFitsTheScreen) {
  hintinfo hint;
  hintpageinfo page;
  const std::string three = "one\n---\ntwo a\ntwo b\n---\nthree\n";
  struct { std::string text; int failed; std::vector<std::string> want; } rows[] = {
      {three, 0, {"one", "3 more failed tests open hint step 2 of 3"}},
      {three, 2, {"one", "1 more failed test opens hint step 2 of 3"}},
      {three, 3, {"one", "", "two a", "two b", "3 more failed tests open hint step 3 of 3"}},
      {three, 40, {"one", "", "two a", "two b", "", "three"}},
      {"only", 0, {"only"}},
  };
  for (const auto &r : rows) {
    parsehint(&hint, (const unsigned char *)r.text.data(), (int)r.text.size());
    makehintpage(&page, &hint, r.failed);
    EXPECT_EQ(std::vector<std::string>(page.line, page.line + page.numoflines), r.want) << r.failed;
  }
  // Nineteen rows of controls and a full hint of the widest characters:
  // rows never overlap. (That the widest line ends inside the screen is the
  // hint steps window test's, with the real font.)
  for (int c = 0; c < 256; c++)
    font[fontnum].glyphwidth[c] = c == 'W' ? 0.9f : 0.5f;
  std::string wide(HINTLINELENGTH, 'W'), lines;
  for (int s = 0; s < MAXHINTSTEPS; s++)
    lines += (s ? "---\n" : "") + wide + "\n" + wide + "\n" + wide + "\n";
  parsehint(&hint, (const unsigned char *)lines.data(), (int)lines.size());
  makehintpage(&page, &hint, 6);
  helplayout layout;
  layouthelp(&layout, 19, &page);
  EXPECT_LE(layout.size, layout.pitch);
  EXPECT_LE(72 + layout.pitch * (19 + page.numoflines), 440 + layout.pitch);
}
