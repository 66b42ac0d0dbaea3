#include "authoring/proof.h"

#include "world/level.h"

verdictinfo runtrainat(int second, int seconds) {
  level.traintime = second;
  return runverdict(seconds, 2.0f);
}

static int (*proofload)(int bridge);
static int proofseconds;

static verdictinfo proofjob(int index) {
  if (!proofload(index / PROOFSECONDS)) {
    verdictinfo v = makeverdict(FAILURE_UNBUILT);
    return v;
  }
  return runtrainat(index % PROOFSECONDS, proofseconds);
}

int runproofs(int (*load)(int bridge), int count, int seconds, int workers, verdictinfo *results) {
  proofload = load;
  proofseconds = seconds;
  return runjobs(proofjob, count * PROOFSECONDS, workers, results);
}

static bridgetables live;

static int loadlive(int) {
  loadbridgetables(&live);
  return 1;
}

int provelive(int seconds, int workers, verdictinfo *results) {
  savebridgetables(&live);
  int ran = runproofs(loadlive, 1, seconds, workers, results);
  loadbridgetables(&live);
  return ran;
}

int proofholds(const verdictinfo *results) {
  for (int s = 0; s < PROOFSECONDS; s++)
    if (!passedintact(results[s]))
      return 0;
  return 1;
}
