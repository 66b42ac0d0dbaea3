#include "authoring/cheapest.h"

#include <string.h>
#include <time.h>

#include <vector>

#include "authoring/proof.h"
#include "editor/editor.h"
#include "testrun/outcome.h"
#include "world/level.h"

enum : int { OP_REMOVEBEAM = 0, OP_REMOVEJOINT = 1, OP_MERGEJOINT = 2, OP_MOVEJOINT = 3 };

// Joints are named by position, not index: an accepted edit reorders the
// tables, and a later round applies an edit found on the earlier bridge.
struct searchop {
  int kind;     // OP_*
  vector2d a;   // the joint, or a beam's first end
  vector2d b;   // a beam's second end, where the joint moves to, or the joint it merges into
  int gain;     // beams a removal takes away
};

constexpr int MAXOPS = 4 * MAXBEAMS;
constexpr int NOTTESTED = -2;              // verdict.failure: the wall-time cap came first
constexpr int MAXIDLEMOVES = 3;            // moves in a row that no removal follows
static const vector2d movesteps[4] = {{EDITORGRID, 0.0f}, {-EDITORGRID, 0.0f}, {0.0f, EDITORGRID}, {0.0f, -EDITORGRID}};

static searchop ops[MAXOPS];
static int numofops;
static verdictinfo opverdict[MAXOPS];
static int oporder[MAXOPS];
static bridgetables accepted;
static bridgetables speculation[2];  // removals tested at once on top of each other
static verdictinfo acceptedverdict;
static double deadline;
static int searchworkers;
static long numoftests;

// Every bridge accepted, in order, for going back from one that fails the proof.
struct acceptedbridge {
  levelinfo level;
  std::vector<jointinfo> joints;
  std::vector<beaminfo> beams;
};
static std::vector<acceptedbridge> acceptedchain;

// A pass the search may build on: intact unless the author allows breaks.
static int allowbreaks;

static int counts(const verdictinfo &v) { return allowbreaks ? v.passed : passedintact(v); }

double nowseconds() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

static int samepoint(vector2d p, vector2d q) { return p.x == q.x && p.y == q.y; }

static void notechain() {
  acceptedchain.push_back({accepted.level, std::vector<jointinfo>(accepted.joint, accepted.joint + accepted.numofjoints),
                           std::vector<beaminfo>(accepted.beam, accepted.beam + accepted.numofbeams)});
}

static int chainbase;  // the bridge of acceptedchain a proof job k tests is chainbase + k

static int loadchainbridge(int k) {
  const acceptedbridge &a = acceptedchain[(size_t)(chainbase + k)];
  setbridgetables(&a.level, a.joints.data(), (int)a.joints.size(), a.beams.data(), (int)a.beams.size());
  return 1;
}

static int findjointat(vector2d p) {
  for (int i = 0; i < numofjoints; i++)
    if (samepoint(joint[i].pos, p))
      return i;
  return -1;
}

static int countbeamsof(int j) {
  int n = 0;
  for (int i = 0; i < numofbeams; i++)
    n += beam[i].joint1 == j || beam[i].joint2 == j;
  return n;
}

// Free joints left without a beam cost nothing but are not part of a
// bridge anyone would build.
static void deleteloosejoints() {
  for (int j = numofjoints - 1; j >= 0; j--)
    if (joint[j].type != 0 && countbeamsof(j) == 0)
      deletejoint(j);
}

// The joint's beams are taken down and built again from its new place by
// the editor's own rules: length, and no beam onto itself or twice.
static int movejoint(int j, vector2d to) {
  if (findjoint(to) != -1 || !pointabovelevel(to))
    return 0;
  int partner[64], type[64], n = 0;
  for (int i = numofbeams - 1; i >= 0; i--) {
    if (beam[i].joint1 != j && beam[i].joint2 != j)
      continue;
    if (n == 64)
      return 0;
    partner[n] = beam[i].joint1 == j ? beam[i].joint2 : beam[i].joint1;
    type[n++] = beam[i].type;
    deletebeam(i);
  }
  joint[j].pos = to;
  for (int k = 0; k < n; k++)
    if (createbeam(type[k], j, partner[k]) < 0)
      return 0;
  if (level.manualdeck == 0)
    setdecktypes();
  return 1;
}

// Joint j is taken away and its beams go to joint k instead; those that
// would now join k twice or to itself are gone with it.
static int mergejoint(int j, vector2d to) {
  vector2d partner[64];
  int type[64], n = 0;
  for (int i = 0; i < numofbeams; i++) {
    if (beam[i].joint1 != j && beam[i].joint2 != j)
      continue;
    if (n == 64)
      return 0;
    partner[n] = joint[beam[i].joint1 == j ? beam[i].joint2 : beam[i].joint1].pos;
    type[n++] = beam[i].type;
  }
  deletejoint(j);
  int k = findjointat(to);
  for (int m = 0; m < n; m++) {
    if (samepoint(partner[m], to))
      continue;
    if (createbeam(type[m], findjointat(partner[m]), k) < 0)
      return 0;
  }
  if (level.manualdeck == 0)
    setdecktypes();
  return 1;
}

// The live tables hold the accepted bridge; returns 1 when the edit could
// be made there.
static int applyop(const searchop &op) {
  int j = findjointat(op.a);
  if (j < 0 || (op.kind != OP_REMOVEBEAM && joint[j].type == 0))
    return 0;
  if (op.kind == OP_MOVEJOINT)
    return movejoint(j, op.b);
  if (op.kind == OP_MERGEJOINT) {
    if (findjointat(op.b) < 0 || !mergejoint(j, op.b))
      return 0;
  }
  if (op.kind == OP_REMOVEJOINT) {
    deletejoint(j);
  } else if (op.kind == OP_REMOVEBEAM) {
    int k = findjointat(op.b), found = -1;
    for (int i = 0; k >= 0 && i < numofbeams && found < 0; i++)
      if ((beam[i].joint1 == j && beam[i].joint2 == k) || (beam[i].joint1 == k && beam[i].joint2 == j))
        found = i;
    if (found < 0)
      return 0;
    deletebeam(found);
  }
  deleteloosejoints();
  return 1;
}

static verdictinfo searchjob(int i) {
  verdictinfo v = makeverdict(NOTTESTED);
  if (nowseconds() > deadline)
    return v;
  loadbridgetables(&accepted);
  if (!applyop(ops[i])) {
    v.failure = FAILURE_UNBUILT;
    return v;
  }
  // A move is only wanted with less stress than the accepted bridge.
  return runverdict(TESTSECONDS, ops[i].kind == OP_MOVEJOINT ? acceptedverdict.peakstress : 2.0f);
}

static void addop(int kind, vector2d a, vector2d b, int gain) {
  if (numofops < MAXOPS)
    ops[numofops++] = {kind, a, b, gain};
}

// A removal is kept as a candidate only when it can be made and saves a
// beam; its gain is measured by making it.
static void addremoval(int kind, vector2d a, vector2d b) {
  loadbridgetables(&accepted);
  searchop op = {kind, a, b, 0};
  if (applyop(op) && numofbeams < accepted.numofbeams)
    addop(kind, a, b, accepted.numofbeams - numofbeams);
}

static void makeremovals() {
  numofops = 0;
  for (int i = 0; i < accepted.numofbeams; i++)
    addremoval(OP_REMOVEBEAM, accepted.joint[accepted.beam[i].joint1].pos,
               accepted.joint[accepted.beam[i].joint2].pos);
  // A joint with one beam is that beam's removal again.
  loadbridgetables(&accepted);
  for (int j = 0; j < accepted.numofjoints; j++)
    if (accepted.joint[j].type != 0 && countbeamsof(j) > 1)
      addremoval(OP_REMOVEJOINT, accepted.joint[j].pos, accepted.joint[j].pos);
  for (int i = 0; i < accepted.numofbeams; i++) {
    const beaminfo &b = accepted.beam[i];
    addremoval(OP_MERGEJOINT, accepted.joint[b.joint1].pos, accepted.joint[b.joint2].pos);
    addremoval(OP_MERGEJOINT, accepted.joint[b.joint2].pos, accepted.joint[b.joint1].pos);
  }
}

static void makemoves() {
  numofops = 0;
  for (int j = 0; j < accepted.numofjoints; j++) {
    if (accepted.joint[j].type == 0)
      continue;
    for (int d = 0; d < 4; d++) {
      vector2d to;
      addvectors2d(&to, &accepted.joint[j].pos, &movesteps[d]);
      addop(OP_MOVEJOINT, accepted.joint[j].pos, to, 0);
    }
  }
}

// 0 when the cap came first (some candidate untested).
static int testops() {
  if (!runjobs(searchjob, numofops, searchworkers, opverdict))
    return -1;
  numoftests += numofops;
  for (int i = 0; i < numofops; i++)
    if (opverdict[i].failure == NOTTESTED)
      return 0;
  return 1;
}

// The live tables must hold the edited bridge as built, not after a run.
static void accept(const verdictinfo &v) {
  savebridgetables(&accepted);
  acceptedverdict = v;
  notechain();
}

// From the k-th passing removal on, the first that can be made on the live
// tables; it is made there. n when none is left.
static int applynext(int k, int n) {
  while (k < n && !applyop(ops[oporder[k]]))
    k++;
  return k;
}

static verdictinfo specjob(int i) {
  loadbridgetables(&speculation[i]);
  return runverdict(TESTSECONDS, 2.0f);
}

// Passing removals, most beams first, then in candidate order: the first
// was tested on the accepted bridge itself; every further one is tried on
// what has been accepted since, as if one after another. Two are tested at
// once, the second on top of the first as most of them pass; when the
// first fails, the second is made again without it, so the outcome is the
// one-after-another one. Returns beams removed, or -1 at the cap.
static int takeremovals() {
  int n = 0;
  for (int i = 0; i < numofops; i++)
    if (counts(opverdict[i]))
      oporder[n++] = i;
  for (int a = 1; a < n; a++)
    for (int b = a; b > 0 && ops[oporder[b]].gain > ops[oporder[b - 1]].gain; b--) {
      int t = oporder[b];
      oporder[b] = oporder[b - 1];
      oporder[b - 1] = t;
    }
  int before = accepted.numofbeams;
  if (n > 0) {
    loadbridgetables(&accepted);
    applyop(ops[oporder[0]]);
    accept(opverdict[oporder[0]]);
  }
  for (int k = 1; k < n;) {
    if (nowseconds() > deadline)
      return -1;
    loadbridgetables(&accepted);
    int first = applynext(k, n);
    if (first == n)
      break;
    savebridgetables(&speculation[0]);
    int second = applynext(first + 1, n);
    if (second < n)
      savebridgetables(&speculation[1]);
    verdictinfo v[2];
    if (!runjobs(specjob, second < n ? 2 : 1, searchworkers, v))
      return -1;
    numoftests += second < n ? 2 : 1;
    k = first + 1;
    if (!counts(v[0]))
      continue;
    loadbridgetables(&speculation[0]);
    accept(v[0]);
    if (second == n)
      break;
    k = second + 1;
    if (counts(v[1])) {
      loadbridgetables(&speculation[1]);
      accept(v[1]);
    }
  }
  return before - accepted.numofbeams;
}

// The passing move with the lowest peak stress below the accepted one's.
static int takemove() {
  int best = -1;
  for (int i = 0; i < numofops; i++)
    if (counts(opverdict[i]) && opverdict[i].peakstress < acceptedverdict.peakstress &&
        (best < 0 || opverdict[i].peakstress < opverdict[best].peakstress))
      best = i;
  if (best < 0)
    return 0;
  loadbridgetables(&accepted);
  applyop(ops[best]);
  accept(opverdict[best]);
  return 1;
}

// 1 finished, 0 stopped by the cap, -1 a worker failed.
static int searchcheapest() {
  int idlemoves = 0;
  for (;;) {
    makeremovals();
    int tested = testops();
    if (tested <= 0)
      return tested;
    int removed = takeremovals();
    if (removed < 0)
      return 0;
    if (removed > 0) {
      idlemoves = 0;
      continue;
    }
    if (idlemoves == MAXIDLEMOVES)
      return 1;
    makemoves();
    tested = testops();
    if (tested <= 0)
      return tested;
    if (!takemove())
      return 1;
    idlemoves++;
  }
}

int findcheapestbridge(double seconds, int allowanybreak, int workers, cheapestsearch *out) {
  double start = nowseconds();
  deadline = start + seconds;
  allowbreaks = allowanybreak;
  searchworkers = workers;
  memset(out, 0, sizeof *out);
  savebridgetables(&accepted);
  out->startcost = accepted.numofbeams * BEAMCOST;
  acceptedverdict = runverdict(TESTSECONDS, 2.0f);
  loadbridgetables(&accepted);
  numoftests = 1;
  acceptedchain.clear();
  notechain();
  chainbase = 0;
  out->start = acceptedverdict;
  if (!counts(acceptedverdict)) {
    out->outcome = CHEAPEST_STARTFAILS;
    return 1;
  }
  verdictinfo proof[PROOFSECONDS];
  if (!allowbreaks) {
    if (!runproofs(loadchainbridge, 1, TESTSECONDS, workers, proof))
      return 0;
    numoftests += PROOFSECONDS;
    if (!proofholds(proof)) {
      out->outcome = CHEAPEST_STARTUNPROVED;
      out->numoftests = numoftests;
      return 1;
    }
  }
  int finished = searchcheapest();
  if (finished < 0)
    return 0;
  // Candidates were tested at one train second only: the result is the
  // last accepted bridge that holds at all of them. The first one does.
  int last = (int)acceptedchain.size() - 1, kept = last;
  for (; !allowbreaks && kept > 0; kept--) {
    chainbase = kept;
    if (!runproofs(loadchainbridge, 1, TESTSECONDS, workers, proof))
      return 0;
    numoftests += PROOFSECONDS;
    if (proofholds(proof))
      break;
  }
  chainbase = 0;
  loadchainbridge(kept);
  out->outcome = finished ? CHEAPEST_FINISHED : CHEAPEST_STOPPED;
  out->numoftests = numoftests;
  out->seconds = nowseconds() - start;
  out->accepted = last;
  out->kept = kept;
  return 1;
}
