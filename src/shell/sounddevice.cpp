#include "shell/sounddevice.h"

#include <dirent.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

static int isset(const char *value) { return value != NULL && value[0] != 0; }

static int exists(const char *directory, const char *name) {
  char path[1024];
  struct stat status;
  return (size_t)snprintf(path, sizeof path, "%s/%s", directory, name) < sizeof path && stat(path, &status) == 0;
}

// ALSA names a card's playback devices pcmC<card>D<device>p; capture ones
// end in c and play nothing.
static int hasplaybacknode(const char *devdir) {
  char path[1024];
  if ((size_t)snprintf(path, sizeof path, "%s/snd", devdir) >= sizeof path)
    return 0;
  DIR *directory = opendir(path);
  if (directory == NULL)
    return 0;
  int found = 0;
  struct dirent *entry;
  while (!found && (entry = readdir(directory)) != NULL) {
    size_t length = strlen(entry->d_name);
    found = strncmp(entry->d_name, "pcmC", 4) == 0 && length > 4 && entry->d_name[length - 1] == 'p';
  }
  closedir(directory);
  return found;
}

int findsounddevice(const char *driver, const char *server, const char *runtimedir, const char *devdir) {
  if (isset(driver) || isset(server))
    return 1;
  if (isset(runtimedir) && exists(runtimedir, "pulse/native"))
    return 1;
  return isset(devdir) && (hasplaybacknode(devdir) || exists(devdir, "dsp"));
}
