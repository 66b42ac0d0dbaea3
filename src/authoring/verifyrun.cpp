#include "authoring/verifyrun.h"

#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include "editor/editor.h"
#include "sim/bond.h"
#include "testrun/game.h"
#include "testrun/outcome.h"
#include "testrun/testrun.h"
#include "world/levellist.h"

static int isanchorof(const bridgetables *t, vector2d pos) {
  for (int i = 0; i < t->numofjoints; i++)
    if (t->joint[i].type == 0 && t->joint[i].pos.x == pos.x && t->joint[i].pos.y == pos.y)
      return 1;
  return 0;
}

static int fitsabove(const bridgetables *bridge, const bridgetables *onto, vector2d shift) {
  levelinfo saved = level;
  level = onto->level;
  int fits = 1;
  for (int i = 0; i < bridge->numofjoints && fits; i++) {
    vector2d pos = {bridge->joint[i].pos.x + shift.x, bridge->joint[i].pos.y + shift.y};
    fits = bridge->joint[i].type == 0 ? isanchorof(onto, pos) : pointabovelevel(pos);
  }
  level = saved;
  return fits;
}

int transplantbridge(const bridgetables *bridge, const bridgetables *onto, vector2d shift) {
  if (!fitsabove(bridge, onto, shift))
    return 0;
  loadbridgetables(bridge);
  for (int i = 0; i < numofjoints; i++) {
    joint[i].pos.x += shift.x;
    joint[i].pos.y += shift.y;
  }
  level = onto->level;
  level.traintime = bridge->level.traintime;
  if (level.manualdeck == 0)
    setdecktypes();
  return 1;
}

int findbridgeshifts(const bridgetables *bridge, const bridgetables *onto, vector2d *shifts, int max) {
  int first = 0;
  while (first < bridge->numofjoints && bridge->joint[first].type != 0)
    first++;
  if (first == bridge->numofjoints || max < 1)
    return 0;
  vector2d from = bridge->joint[first].pos;
  int count = 0;
  for (int i = 0; i < onto->numofjoints && count < max; i++) {
    if (onto->joint[i].type != 0)
      continue;
    vector2d shift = {onto->joint[i].pos.x - from.x, onto->joint[i].pos.y - from.y};
    if (!fitsabove(bridge, onto, shift))
      continue;
    shifts[count] = shift;
    if (shift.x == 0.0f && shift.y == 0.0f) {
      shifts[count] = shifts[0];
      shifts[0] = shift;
    }
    count++;
  }
  return count;
}

static float findpeakstress() {
  float peak = 0.0f;
  for (int b = 0; b < numofbeams; b++)
    if (beam[b].stress > peak)
      peak = beam[b].stress;
  return peak;
}

// Both drivers start a run as the test-run screen does, outside the level
// list (no progress or records), at normal speed, the train called by
// itself.
static void startheadlessrun(int mode, int weight, int add) {
  levelnum = -1;
  game.mode = mode;
  game.weight = weight > 0 ? weight : 1;
  game.add = add;
  game.pause = game.slow = game.fast = game.veryfast = 0;
  starttestrun(0);
  game.autorun = 1;
}

verdictinfo runverdict(int seconds, float stopabove) {
  beamtype[0] = beamtype[1] = MAXBEAMLENGTH;
  for (int b = 0; b < numofbeams; b++) {
    beam[b].stress = 0.0f;
    beam[b].stresstype = 0;
  }
  startheadlessrun(0, level.weight, game.add);

  verdictinfo v = makeverdict(FAILURE_TIME);
  const int limit = seconds * STEPSPERSECOND;
  while (v.steps < limit) {
    simulationstep();
    v.steps++;
    if (game.state == STATE_PASSED) {
      v.passed = 1;
      v.passedstep = v.steps;
      v.failure = FAILURE_NONE;
      break;
    }
    if (outcome.failure != FAILURE_NONE) {
      v.failure = outcome.failure;
      break;
    }
    if (trainrefused) {
      v.refused = 1;
      break;
    }
    if (stopabove <= 1.0f && findpeakstress() >= stopabove) {
      v.failure = FAILURE_NONE;
      break;
    }
  }
  v.peakstress = findpeakstress();
  v.broken = bridgebreak.count;
  if (v.broken > 0) {
    v.firstbreak = bridgebreak.beam;
    v.breakside = bridgebreak.side;
  }
  return v;
}

static const runsettings *settings;
static void (*dumper)(int step);

static void dumpstep(int step) {
  if (!dumper)
    return;
  for (int d = 0; d < settings->numofdumps; d++)
    if (settings->dumpstep[d] == step) {
      dumper(step);
      return;
    }
}

static int runtoverdict() {
  const int limit = settings->seconds * STEPSPERSECOND;
  int step = 0, crossingstart = 0;
  for (;;) {
    int before = game.state;
    int weight = game.testweight;
    simulationstep();
    step++;
    if (trainrefused) {
      runlog.refused = 1;
      notestate(step, game.state);
      break;
    }
    if (game.state == STATE_PROGRESSIVE && before != STATE_PROGRESSIVE) {
      // The crossing got across and the bridge was rebuilt for a heavier train.
      if (runlog.passedstep < 0)
        runlog.passedstep = step;
      runlog.maxweight = weight;
      notestate(step, STATE_PASSED);
      notestate(step, game.state);
      crossingstart = step;
      startcrossing();
      dumpstep(step);
      if (game.testweight > INT_MAX - game.add)
        break;
      continue;
    }
    notestate(step, game.state);
    notebreaks(step);
    dumpstep(step);
    if (game.state == STATE_PASSED) {
      runlog.passedstep = step;
      break;
    }
    // Once the verdict is certain nothing more can be learnt from the run.
    if (outcome.failure != FAILURE_NONE) {
      runlog.failure = outcome.failure;
      break;
    }
    if (step - crossingstart >= limit) {
      runlog.failure = FAILURE_TIME;
      break;
    }
  }
  return step;
}

// Steps asked for after the verdict: the run goes on for them alone, and
// what the verdict saw is put back after.
static void runondumps(int step) {
  int last = 0;
  for (int d = 0; d < settings->numofdumps; d++)
    if (settings->dumpstep[d] > last)
      last = settings->dumpstep[d];
  if (!dumper || step >= last)
    return;
  static float stress[MAXBEAMS];
  static int stresstype[MAXBEAMS];
  int count = numofbeams, weight = game.weight, testweight = game.testweight;
  for (int b = 0; b < count; b++) {
    stress[b] = beam[b].stress;
    stresstype[b] = beam[b].stresstype;
  }
  while (step < last) {
    simulationstep();
    dumpstep(++step);
  }
  for (int b = 0; b < count; b++) {
    beam[b].stress = stress[b];
    beam[b].stresstype = stresstype[b];
  }
  game.weight = weight;
  game.testweight = testweight;
}

int recordrun(const runsettings *s, void (*dump)(int step)) {
  settings = s;
  dumper = dump;
  startheadlessrun(s->progressive ? 1 : 0, s->weight ? s->weight : level.weight, s->add);
  runlog.numofchanges = 0;
  runlog.refused = 0;
  runlog.passedstep = -1;
  runlog.maxweight = -1;
  runlog.failure = FAILURE_NONE;
  startcrossing();
  notestate(0, game.state);
  runlog.steps = runtoverdict();
  runondumps(runlog.steps);
  return s->progressive ? runlog.maxweight > 0 : runlog.passedstep >= 0;
}

// Pool protocol: the parent writes a job index to a worker's order pipe;
// the worker answers with the index and the result on its own answer pipe.
// A worker whose order pipe closes exits. A dead worker shows as the end of
// its answer pipe while a job of it is outstanding.
struct answer {
  int index;
  verdictinfo result;
};

constexpr int MAXWORKERS = 16;

static void runworker(verdictinfo (*job)(int), int orders, int answers) {
  int index;
  while (read(orders, &index, sizeof index) == (ssize_t)sizeof index) {
    answer a = {index, job(index)};
    if (write(answers, &a, sizeof a) != (ssize_t)sizeof a)
      break;
  }
  _exit(0);
}

static int sendjob(int fd, int index) {
  return write(fd, &index, sizeof index) == (ssize_t)sizeof index;
}

int runjobs(verdictinfo (*job)(int index), int count, int workers, verdictinfo *results) {
  if (workers > MAXWORKERS)
    workers = MAXWORKERS;
  if (workers > count)
    workers = count;
  if (workers <= 1) {
    for (int i = 0; i < count; i++)
      results[i] = job(i);
    return 1;
  }
  // A worker inherits unwritten output; it must never write it a second time.
  fflush(stdout);
  fflush(stderr);
  signal(SIGPIPE, SIG_IGN);
  int orders[MAXWORKERS], answers[MAXWORKERS], outstanding[MAXWORKERS];
  pid_t pid[MAXWORKERS];
  int started = 0, ok = 1;
  for (; started < workers; started++) {
    int o[2], a[2];
    if (pipe(o) != 0)
      break;
    if (pipe(a) != 0) {
      close(o[0]);
      close(o[1]);
      break;
    }
    pid_t p = fork();
    if (p == 0) {
      // Only this worker's own ends stay open in it.
      for (int w = 0; w < started; w++) {
        close(orders[w]);
        close(answers[w]);
      }
      close(o[1]);
      close(a[0]);
      runworker(job, o[0], a[1]);
    }
    close(o[0]);
    close(a[1]);
    if (p < 0) {
      close(o[1]);
      close(a[0]);
      break;
    }
    pid[started] = p;
    orders[started] = o[1];
    answers[started] = a[0];
    outstanding[started] = -1;
  }
  if (started == 0)
    return 0;

  int next = 0, done = 0;
  for (int w = 0; w < started && next < count; w++)
    if (sendjob(orders[w], next))
      outstanding[w] = next++;
  while (done < count && ok) {
    pollfd fds[MAXWORKERS];
    for (int w = 0; w < started; w++)
      fds[w] = {answers[w], POLLIN, 0};
    if (poll(fds, (nfds_t)started, -1) < 0)
      continue;  // interrupted by a signal
    for (int w = 0; w < started && ok; w++) {
      if (!(fds[w].revents & (POLLIN | POLLHUP | POLLERR)) || outstanding[w] < 0)
        continue;
      answer a;
      if (read(answers[w], &a, sizeof a) != (ssize_t)sizeof a || a.index != outstanding[w]) {
        ok = 0;
        break;
      }
      results[a.index] = a.result;
      done++;
      outstanding[w] = -1;
      if (next < count && sendjob(orders[w], next))
        outstanding[w] = next++;
    }
    // Every job handed out and none outstanding, yet not all done: a send failed.
    int busy = 0;
    for (int w = 0; w < started; w++)
      busy |= outstanding[w] >= 0;
    if (!busy && done < count)
      ok = 0;
  }
  for (int w = 0; w < started; w++) {
    close(orders[w]);
    close(answers[w]);
  }
  for (int w = 0; w < started; w++) {
    if (!ok)
      kill(pid[w], SIGKILL);
    int status;
    waitpid(pid[w], &status, 0);
  }
  return ok;
}
