#include "authoring/runlog.h"

#include <limits.h>
#include <string.h>

#include "sim/bond.h"
#include "testrun/game.h"
#include "testrun/outcome.h"
#include "testrun/testrun.h"
#include "world/levellist.h"

runrecord runlog;

static void notebonds(int *list) {
  for (int b = 0; b < numofbeams; b++)
    list[b] = 0;
  for (int i = 0; i < numofbonds; i++)
    if (bond[i].type == BOND_SPRING && bond[i].rigid == 0 && bond[i].beam >= 0 && bond[i].beam < numofbeams)
      list[bond[i].beam] = 1;
}

void startcrossing() {
  notebonds(runlog.hadbond);
  runlog.numofbroken = 0;
  // Held to the table: numofbeams is never negative here, but the size
  // must not be able to say otherwise.
  size_t beams = numofbeams > 0 ? (size_t)numofbeams : 0;
  memset(runlog.known, 0, beams < sizeof(runlog.known) ? beams : sizeof(runlog.known));
  for (int b = 0; b < numofbeams; b++) {
    beam[b].stress = 0.0f;
    beam[b].stresstype = 0;
  }
}

// A flag a beam rather than a search of the list: a collapsing lattice
// breaks thousands of beams.
void notebreaks(int step) {
  notebonds(runlog.alive);
  for (int b = 0; b < numofbeams; b++) {
    if (!runlog.hadbond[b] || runlog.alive[b] || runlog.known[b] || runlog.numofbroken >= MAXBEAMS)
      continue;
    runlog.broken[runlog.numofbroken][0] = b;
    runlog.broken[runlog.numofbroken][1] = step;
    runlog.broken[runlog.numofbroken][2] = beam[b].stresstype;
    runlog.numofbroken++;
    runlog.known[b] = 1;
  }
}

void notestate(int step, int state) {
  if (runlog.numofchanges > 0 && runlog.change[runlog.numofchanges - 1][1] == state)
    return;
  if (runlog.numofchanges < MAXCHANGES) {
    runlog.change[runlog.numofchanges][0] = step;
    runlog.change[runlog.numofchanges][1] = state;
    runlog.numofchanges++;
  }
}

int findpeakbeam() {
  int best = -1;
  for (int b = 0; b < numofbeams; b++)
    if (runlog.hadbond[b] && (best < 0 || beam[b].stress > beam[best].stress))
      best = b;
  return best;
}
