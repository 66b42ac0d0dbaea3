#include <gtest/gtest.h>

#include <dirent.h>
#include <string.h>
#include <unistd.h>

#include <string>

#include "sim_bridge.h"
#include "testrun/game.h"
#include "testrun/outcome.h"
#include "testrun/testrun.h"
#include "world/levelfile.h"
#include "world/levellist.h"

// Starts the test as spanwright-verify does and, with `run`, steps until it
// passes or fails; returns the step it passed at, -1 for none.
static int verify(int mode, int run = 1) {
  beamtype[0] = beamtype[1] = 17.9f;
  memset(&game, 0, sizeof(game));
  game.weight = level.weight < 1 ? 1 : level.weight;
  game.mode = mode;
  game.add = 5000;
  levelnum = -1;
  starttestrun(0);
  game.autorun = 1;
  for (int s = 1; run && outcome.failure == FAILURE_NONE && !trainrefused; s++) {
    simulationstep();
    if (game.state == STATE_PASSED || game.state == STATE_PROGRESSIVE)
      return s;
  }
  return -1;
}

// Every reference bridge gets across with no verdict of failure on the way;
// every shipped level with no bridge fails, with a reason.
TEST(Outcome, ReferenceBridgesPassAndEmptyLevelsFail) {
  const struct { const char *dir, *extension; int isbridge; } table[] = {
      {"/tests/levels/", ".qzb", 1}, {"/data/level/", ".qzl", 0}};
  int runs = 0;
  for (const auto &row : table) {
    std::string root = SPANWRIGHT_SOURCE_DIR + std::string(row.dir);
    DIR *packs = opendir(root.c_str());
    ASSERT_TRUE(packs) << root;
    while (dirent *pack = readdir(packs)) {
      std::string dir = root + pack->d_name;
      DIR *files = pack->d_name[0] == '.' ? nullptr : opendir(dir.c_str());
      while (dirent *f = files ? readdir(files) : nullptr) {
        std::string name = f->d_name, what = dir + "/" + name;
        if (name.size() < 5 || name.compare(name.size() - 4, 4, row.extension))
          continue;
        ASSERT_EQ(chdir(dir.c_str()), 0);
        numofjoints = numofbeams = 0;
        ASSERT_TRUE(loadlevel(name.substr(0, name.size() - 4).c_str(), row.isbridge)) << what;
        ASSERT_EQ(chdir(SPANWRIGHT_SOURCE_DIR), 0);
        EXPECT_EQ(verify(0) >= 0, row.isbridge) << what;
        EXPECT_EQ(outcome.failure == FAILURE_NONE, row.isbridge) << what << ": " << failurename(outcome.failure);
        runs++;
      }
      if (files)
        closedir(files);
    }
    closedir(packs);
  }
  EXPECT_GT(runs, 2);
}

TEST(Outcome, FirstBreakHeldAndTime) {
  // The first beam to break is noted where it was as it broke.
  buildtruss(1);
  EXPECT_EQ(verify(0), -1);
  EXPECT_EQ(outcome.failure, FAILURE_FELL);
  ASSERT_GE(outcome.firstbreak, 0);
  EXPECT_GT(outcome.failurestep, outcome.firstbreakstep);
  EXPECT_LT(vectordistance2d(&joint[beam[outcome.firstbreak].joint1].pos, &outcome.firstbreakpos), 16.0f);

  // A progressive crossing that got across is held; the next starts afresh.
  buildpiertruss();
  ASSERT_GT(verify(1), 0);
  EXPECT_EQ(outcome.held, level.weight);
  EXPECT_EQ(outcome.firstbreak, -1);

  // Test time runs while the train will come by itself, not while the
  // player has yet to call it.
  for (int autorun = 0; autorun < 2; autorun++) {
    buildpiertruss();
    level.traintime = 1000;
    verify(0, 0);
    restarttestrun(autorun);
    for (int s = 0; s < TESTSECONDS * STEPSPERSECOND; s++)
      simulationstep();
    EXPECT_EQ(outcome.failure, autorun ? FAILURE_TIME : FAILURE_NONE) << autorun;
  }
}
