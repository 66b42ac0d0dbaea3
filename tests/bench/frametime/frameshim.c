// Preloaded into the game by frametime.sh: after every buffer swap one line
// "wall-ns cpu-ns" goes to $FRAMETIME_LOG, the wall clock and the CPU time
// of the whole process (the software renderer's threads included), so that
// the script can cut the frames of each phase out by the wall clock.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

static long long nanoseconds(clockid_t clock) {
  struct timespec t;
  clock_gettime(clock, &t);
  return t.tv_sec * 1000000000LL + t.tv_nsec;
}

void SDL_GL_SwapBuffers(void) {
  static void (*real)(void);
  static int fd = -1;
  if (!real) {
    real = (void (*)(void))dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers");
    const char *path = getenv("FRAMETIME_LOG");
    if (path)
      fd = open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  }
  if (real)
    real();
  if (fd < 0)
    return;
  // One write per frame: a killed game loses no frame already shown.
  char line[64];
  int n = snprintf(line, sizeof line, "%lld %lld\n", nanoseconds(CLOCK_REALTIME),
                   nanoseconds(CLOCK_PROCESS_CPUTIME_ID));
  if (write(fd, line, (size_t)n) != n)
    fd = -1;
}
