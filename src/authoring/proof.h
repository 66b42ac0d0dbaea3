// Proofs for level authors. The game lets a test pass however much of the
// bridge breaks under the train, and lets the player call the train at any
// second; a bridge that sets or proves a budget (a reference, the cheapest
// found, a regular truss) must do better: pass with no bridge bond broken
// whenever the train is called in the first seconds of the run.
#pragma once

#include "authoring/verifyrun.h"

constexpr int PROOFSECONDS = 7;  // the train called at whole seconds 0 .. 6 of test time
constexpr int FAILURE_UNBUILT = -1;  // verdict.failure: the bridge could not be built there

// One normal test of the live tables with the train called at `second`.
verdictinfo runtrainat(int second, int seconds);

// The proofs of `count` bridges on the worker pool: load(i) puts bridge i
// in the live tables and returns 1, or 0 when it cannot be built, and all
// its tests fail with FAILURE_UNBUILT; results[i *
// PROOFSECONDS + s] is its test with the train called at second s. Each
// test is a job of its own, so the results do not depend on the worker
// count. Returns 0 when a worker failed.
int runproofs(int (*load)(int bridge), int count, int seconds, int workers, verdictinfo *results);

// The proof of the bridge in the live tables, which it leaves as they were.
int provelive(int seconds, int workers, verdictinfo *results);

// 1 when every one of the PROOFSECONDS results passed intact.
int proofholds(const verdictinfo *results);
