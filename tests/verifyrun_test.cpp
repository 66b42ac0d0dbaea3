#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <set>

#include "sim_bridge.h"
#include "testrun/verifyrun.h"

static bridgetables truss, crossing;

// A bridge goes onto another crossing only where all its anchors are; it
// then takes that level's record and deck line, and a refusal changes nothing.
TEST(VerifyRun, TransplantOntoAnotherCrossing) {
  buildtruss(0);
  savebridgetables(&truss);
  crossing = truss;
  crossing.numofbeams = 0;
  crossing.level.deckheight = 40.0f;  // the top chord's row
  crossing.level.budget = 1234;
  ASSERT_EQ(transplantbridge(&truss, &crossing), 1);
  EXPECT_TRUE(std::count_if(beam, beam + numofbeams, [](const beaminfo &b) { return b.type == 1; }) == 7 &&
              level.budget == 1234);
  crossing.joint[8].pos.y += 2.0f;  // an end anchor moved
  EXPECT_TRUE(transplantbridge(&truss, &crossing) == 0 && level.budget == 1234 && numofbeams == truss.numofbeams);
  // The whole crossing 4 higher: the same truss is built there, moved with it.
  for (int i = 0; i < crossing.numofjoints; i++)
    crossing.joint[i].pos.y += i == 8 ? 2.0f : 4.0f;
  crossing.joint[crossing.numofjoints] = crossing.joint[0];  // a stale entry past the count
  vector2d shifts[4];
  ASSERT_EQ(findbridgeshifts(&truss, &crossing, shifts, 4), 1);
  EXPECT_TRUE(shifts[0].x == 0.0f && shifts[0].y == 4.0f);
  ASSERT_EQ(transplantbridge(&truss, &crossing, shifts[0]), 1);
  EXPECT_EQ(joint[8].pos.y, truss.joint[8].pos.y + 4.0f);
}

// Steps: a number from the job index; passed step: the process that ran it.
static verdictinfo numberjob(int i) { return {0, 0, i * 7, (int)getpid(), 0, 0.0f, 0, -1, 0}; }
static verdictinfo dyingjob(int i) {
  if (i == 5)
    _exit(3);
  return numberjob(i);
}

// Results land by job index, from two worker processes; a dead worker is
// reported, and so is a pool that could start none.
TEST(VerifyRun, WorkerPool) {
  verdictinfo results[50];
  ASSERT_EQ(runjobs(numberjob, 50, 2, results), 1);
  std::set<int> workers;
  for (int i = 0; i < 50; i++) {
    EXPECT_EQ(results[i].steps, i * 7) << "job " << i;
    workers.insert(results[i].passedstep);
  }
  EXPECT_TRUE(workers.size() == 2 && !workers.count((int)getpid()));
  EXPECT_EQ(runjobs(dyingjob, 50, 2, results), 0);
  rlimit saved;
  getrlimit(RLIMIT_NOFILE, &saved);
  rlimit nofiles = {0, saved.rlim_max};
  setrlimit(RLIMIT_NOFILE, &nofiles);
  int ran = runjobs(numberjob, 50, 2, results);
  setrlimit(RLIMIT_NOFILE, &saved);
  EXPECT_EQ(ran, 0);
}
