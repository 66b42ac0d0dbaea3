#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <vector>

#include "tempdir.h"
#include "world/hint.h"

typedef tempdirtest Hint;

static std::vector<std::string> hintlines() {
  std::vector<std::string> out;
  for (int i = 0; i < levelhint.numoflines; i++)
    out.push_back(levelhint.line[i]);
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
      {"", {}},                                                                               // empty
      {" \n\t\r\n", {}},                                                                      // only blanks
      {std::string("ok\0ok", 5), {}},                                                         // a NUL
      {"caf\xc3\xa9", {}},                                                                    // past ASCII
      {"bell\a", {}},                                                                         // another control byte
  };
  for (const auto &r : rows) {
    levelhint.numoflines = 2;  // an earlier level's hint never survives
    writebytes("level.txt", r.bytes);
    EXPECT_EQ(loadhint("level"), (int)r.want.size()) << r.bytes;
    EXPECT_EQ(hintlines(), r.want) << r.bytes;
  }
  // Missing, a directory or a FIFO in its place (never waited on), a name
  // too long for the path: none.
  ASSERT_EQ(mkdir("dir.txt", 0777) + mkfifo("fifo.txt", 0666), 0);
  for (const char *name : {"missing", "dir", "fifo", "a name far longer than any level name of thirty-one characters can ever be"}) {
    levelhint.numoflines = 2;
    EXPECT_TRUE(loadhint(name) == 0 && levelhint.numoflines == 0) << name;
  }
}
