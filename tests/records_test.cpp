#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tempdir.h"
#include "testrun/game.h"
#include "testrun/outcome.h"
#include "testrun/replay.h"
#include "testrun/runrecord.h"
#include "ui/notice.h"
#include "world/level.h"
#include "world/levellist.h"
#include "world/records.h"

// Every case runs in a pack with the longest name an entry holds.
static const std::string pack(NAMELENGTH - 1, 'p'), file = "bridge/" + pack + ".rec";

class Records : public tempdirtest {
protected:
  void SetUp() override {
    tempdirtest::SetUp();
    mkdir("bridge", 0777), strcpy(dirlist[0], pack.c_str());
    dirlist[1][0] = 0, dirnum = numofrecords = 0;
    // no run's verdict left over from another test: it would count as a failed test here
    outcome.failure = FAILURE_NONE, outcome.firstbreak = -1, cancelreplay();
  }
};

TEST_F(Records, RoundTripLeavesProgressAlone) {
  const std::string progress = "bridge/" + pack + ".pro", full(NAMELENGTH, 'n');
  writebytes(progress.c_str(), std::string(256, 1));
  // A first result beats nothing; only a lower cost or a heavier train beats it; a name that would not fit
  // one line of the file or an entry of the list is refused.
  struct { const char *name; int cost, weight, beaten; } rows[] = {
      {"01 Two  Words", 1200, 0, RECORD_COST}, {"01 Two  Words", 1300, 0, 0},
      {"01 Two  Words", 1100, 90000, RECORD_COST | RECORD_WEIGHT},
      {"01 Two  Words", -1, 80000, 0},         {"7", 0, 0, RECORD_COST},
      {"Held only", -1, 5, RECORD_WEIGHT},     {"bad\nname", 100, 0, 0},  {"bad\x7f", 100, 0, 0},  // DEL is one too
      {"", 100, 0, 0},                         {full.c_str(), 100, 0, 0},
  };
  for (const auto &r : rows)
    EXPECT_EQ(setrecord(r.name, r.cost, r.weight), r.beaten) << r.name << " " << r.cost;
  // failed tests only ever rise; a level may have nothing else yet
  EXPECT_EQ(setfailedtests("01 Two  Words", 4) + setfailedtests("01 Two  Words", 2) + setfailedtests("9 failed", 12), 2);
  // what loading the file brings back saves to the same text
  const std::string text = "# level, lowest passing cost, heaviest train across\n01 Two  Words 1100 90000\n"
                           "01 Two  Words failed 4 tests\n7 0 -\nHeld only - 5\n9 failed - -\n9 failed failed 12 tests\n";
  for (int pass = 0; pass < 2; pass++) {
    ASSERT_EQ(saverecords(), 1);
    EXPECT_EQ(readbytes<std::string>(file.c_str()), text);
    loadrecords();
  }
  EXPECT_EQ(readbytes<std::string>(progress.c_str()), std::string(256, 1));
  // Another copy wrote the file since it was read: its records come in, and the better of each is kept; any
  // int written reads back, the largest one too.
  writebytes(file.c_str(), std::string("Other 300 -\n01 Two  Words 1000 80000\n7 5 2147483647\n"));
  EXPECT_EQ(setrecord("Held only", -1, 1000000000), RECORD_WEIGHT);
  ASSERT_EQ(saverecords(), 1);
  EXPECT_EQ(readbytes<std::string>(file.c_str()),
            text.substr(0, text.find('\n') + 1) + "01 Two  Words 1000 90000\n01 Two  Words failed 4 tests\n"
            "7 0 2147483647\nHeld only - 1000000000\n9 failed - -\n9 failed failed 12 tests\nOther 300 -\n");
}

TEST_F(Records, DamagedFilesKeepOnlyWholeLines) {
  std::string many;
  for (int i = 0; i < 2 * MAXRECORDS; i++)
    many += "L" + std::to_string(i) + " 1 1\n";
  struct { std::string text; int count; } rows[] = {
      {"", 0}, {std::string("\0\xff\x01\n\n \n - -\n", 11), 0},
      {"A 10 -\nB 1x -\nC 99999999999 -\nD -1 -\nE 20 -", 1},   // E was cut short
      {"A 10 -\r\nA 5 7\r\n", 1},                               // the better one wins
      {"A failed x tests\nB failed 3 test\nC fail 3 tests\nfailed 3 tests\n", 0}, // not counts
      {std::string(RECORDFILELIMIT - 4, 'x') + "\nA 1 1\n", 0}, // past what is read
      {many, MAXRECORDS},
  };
  for (const auto &r : rows) {
    writebytes(file.c_str(), r.text);
    loadrecords();
    EXPECT_EQ(numofrecords, r.count) << r.text.substr(0, 40);
  }
}

// A record whose file cannot be written is not claimed: no "New best", the
// table as the file has it, and the notice line names the file. The records
// file is a directory here, which no user may save over. Then the failed
// tests counted from the same runs.
TEST_F(Records, UnsavedRecordIsNotClaimedFailuresCountedOnce) {
  strcpy(game.name, "01 Ditch"), levelnum = 0, numofbeams = 7, level.budget = 1000;
  // A normal pass, or a progressive crossing at 50000 ended by the next train at 60000.
  auto pass = [](int mode) {
    const int states[] = {STATE_BRIDGE, mode ? STATE_RIGHTWARD : STATE_PASSED, STATE_PROGRESSIVE};
    for (int k = 0; k < 2 + mode; k++) {
      game.mode = mode, game.state = states[k], game.testweight = k < 2 ? 50000 : 60000;
      checkrunrecord();
    }
  };
  ASSERT_EQ(setrecord("01 Ditch", 900, 40000), RECORD_COST | RECORD_WEIGHT);
  mkdir(file.c_str(), 0777), clearnotice();
  for (int mode : {0, 1}) {
    pass(mode);
    EXPECT_EQ(runrecord.beaten, 0) << mode;
    EXPECT_TRUE(numofrecords == 1 && record[0].cost == 900 && record[0].weight == 40000) << mode;
  }
  EXPECT_STREQ(getnotice(0), ("Could not save " + file).c_str());
  // a first result that could not be saved leaves no entry behind
  numofrecords = 0, pass(0);
  EXPECT_TRUE(runrecord.beaten == 0 && numofrecords == 0 && runrecord.best == -1);
  // once the file can be written, the same passes are records
  rmdir(file.c_str());
  pass(0);
  EXPECT_EQ(runrecord.beaten, RECORD_COST);
  pass(1);
  EXPECT_EQ(runrecord.beaten, RECORD_WEIGHT);
  loadrecords();
  EXPECT_TRUE(numofrecords == 1 && record[0].cost == 700 && record[0].weight == 50000);
  // a cheaper bridge over the budget passed, but is no answer to the level
  level.budget = 500, numofbeams = 6, pass(0);
  EXPECT_EQ(runrecord.beaten, 0);
  // another copy of the game saved a better bridge meanwhile: it stays the best
  writebytes(file.c_str(), std::string("01 Ditch 500 90000\n"));
  level.budget = 1000, pass(0);
  EXPECT_TRUE(runrecord.beaten == 0 && record[0].cost == 500) << runrecord.beaten;
  // Each failed normal test of a listed level counts once, however long its
  // verdict shows; a replay of it, a progressive test and a pass add nothing.
  // (That the count is in the file at once is the hint steps window test's; that it reads back, the round trip's.)
  struct { int mode, replayed, failure, passed, counted; } runs[] = {
      {0, 0, FAILURE_FELL, 0, 1}, {0, 0, FAILURE_TIME, 0, 2}, {0, 1, FAILURE_FELL, 0, 2},
      {1, 0, FAILURE_FELL, 0, 2}, {0, 0, FAILURE_NONE, 1, 2}, {0, 0, FAILURE_STOPPED, 0, 3},
  };
  for (const auto &r : runs) {
    game.mode = r.mode, game.state = STATE_BRIDGE, outcome.failure = FAILURE_NONE, outcome.firstbreak = -1;
    cancelreplay();
    if (r.replayed)
      replay.waiting = 1, replay.beam = 3;
    checkrunrecord();
    // the beam breaks (a replay's pending break is gone), then the verdict
    game.state = r.passed ? STATE_PASSED : STATE_RIGHTWARD, replay.waiting = 0, replay.beam = -1, outcome.firstbreak = 2;
    checkrunrecord();
    outcome.failure = r.failure;
    for (int frame = 0; frame < 3; frame++)
      checkrunrecord();
    EXPECT_EQ(getfailedtests("01 Ditch"), r.counted) << r.mode << r.replayed << r.failure;
  }
  levelnum = -1, numofbeams = 0, outcome.failure = FAILURE_NONE, game.mode = 0, clearnotice();
}
