#include "shell/fileio.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>


int bigendian;
char dirlist[MAXNAMES][NAMELENGTH];

constexpr int MAXLINKHOPS = 40; // as many links as the system follows itself

static size_t freadfirst(void *buffer, size_t size, size_t count, FILE *file) {
  checkbigendian();
  return freadptr(buffer, size, count, file);
}

static size_t fwritefirst(const void *buffer, size_t size, size_t count, FILE *file) {
  checkbigendian();
  return fwriteptr(buffer, size, count, file);
}

freadfunction freadptr = freadfirst;
fwritefunction fwriteptr = fwritefirst;

void checkbigendian() {
  uint32_t probe = 0x12345678;
  unsigned char first;
  memcpy(&first, &probe, 1);
  bigendian = first == 0x12 ? 1 : 0;
  if (bigendian) {
    freadptr = freadswap;
    fwriteptr = fwriteswap;
  } else {
    freadptr = fread;
    fwriteptr = fwrite;
  }
}

// The file holds each element least significant byte first; byte k of the
// file's element goes to byte size-1-k of the host's element.
size_t freadswap(void *buffer, size_t size, size_t count, FILE *file) {
  if (size != 1 && size != 2 && size != 4)
    return 0;
  unsigned char *out = (unsigned char *)buffer;
  for (size_t i = 0; i < count; i++) {
    unsigned char element[4];
    for (size_t k = 0; k < size; k++) {
      int c = fgetc(file);
      if (c == EOF)
        return i; // a partial element is not stored
      element[k] = (unsigned char)c;
    }
    for (size_t k = 0; k < size; k++)
      out[i * size + k] = element[size - 1 - k];
  }
  return count;
}

size_t fwriteswap(const void *buffer, size_t size, size_t count, FILE *file) {
  if (size != 1 && size != 2 && size != 4)
    return 0;
  const unsigned char *in = (const unsigned char *)buffer;
  for (size_t i = 0; i < count; i++)
    for (size_t k = 0; k < size; k++)
      if (fputc(in[i * size + size - 1 - k], file) == EOF)
        return i;
  return count;
}

int checkfilespec(const char *pattern, const char *name) {
  while (*pattern != 0 && *name != 0) {
    if (*pattern != *name && *pattern != '*')
      return 0;
    if (*pattern == *name)
      pattern++;
    else if (pattern[1] == *name)
      pattern += 2;
    name++;
  }
  return 1;
}

int comparestrings(const void *a, const void *b) {
  return strcmp((const char *)a, (const char *)b);
}

// When more names match than the list holds, the kept ones form a max-heap
// on strcmp so that each further name only has to beat the largest kept one.
static void siftdown(char list[][NAMELENGTH], int count, int i) {
  for (;;) {
    int largest = i, left = 2 * i + 1, right = 2 * i + 2;
    if (left < count && strcmp(list[left], list[largest]) > 0)
      largest = left;
    if (right < count && strcmp(list[right], list[largest]) > 0)
      largest = right;
    if (largest == i)
      return;
    char swap[NAMELENGTH];
    memcpy(swap, list[i], NAMELENGTH);
    memcpy(list[i], list[largest], NAMELENGTH);
    memcpy(list[largest], swap, NAMELENGTH);
    i = largest;
  }
}

static int keepentry(const char *pattern, const char *name, int flag) {
  struct stat status;
  if (stat(name, &status) != 0)
    return 0; // cannot tell a file from a directory: leave it out
  int isdirectory = S_ISDIR(status.st_mode) ? 1 : 0;
  if (flag == 0) {
    if (isdirectory || !S_ISREG(status.st_mode) || name[0] == '<')
      return 0;
  } else if (!isdirectory || name[0] == '.' || name[0] == '<') {
    return 0;
  }
  return checkfilespec(pattern, name);
}

void listfiles(const char *pattern, char list[][NAMELENGTH], int flag) {
  const int capacity = MAXNAMES - 1;
  int count = 0;
  list[0][0] = 0;
  DIR *directory = opendir(".");
  if (directory == NULL)
    return;
  struct dirent *entry;
  while ((entry = readdir(directory)) != NULL) {
    const char *name = entry->d_name;
    if (strlen(name) >= NAMELENGTH || !keepentry(pattern, name, flag))
      continue;
    if (count < capacity) {
      memcpy(list[count], name, strlen(name) + 1);
      count++;
      if (count == capacity)
        for (int i = capacity / 2 - 1; i >= 0; i--)
          siftdown(list, capacity, i);
    } else if (strcmp(name, list[0]) < 0) {
      memset(list[0], 0, NAMELENGTH);
      memcpy(list[0], name, strlen(name) + 1);
      siftdown(list, capacity, 0);
    }
  }
  closedir(directory);
  list[count][0] = 0;
  qsort(list, (size_t)count, NAMELENGTH, comparestrings);
}

// The directories entered, "level/Riverside/", with where each name began.
// Deeper than MAXTRAIL only the depth is counted.
constexpr int MAXTRAIL = 8;
static char trail[SAVEPATHLENGTH];
static size_t trailstart[MAXTRAIL];
static int traildepth;

int enterdirectory(const char *name) {
  if (chdir(name) != 0)
    return 0;
  if (traildepth < MAXTRAIL) {
    size_t length = strlen(trail);
    trailstart[traildepth] = length;
    snprintf(trail + length, sizeof trail - length, "%s/", name);
  }
  traildepth++;
  return 1;
}

void leavedirectory(int entered) {
  if (!entered)
    return;
  if (traildepth > 0 && --traildepth < MAXTRAIL)
    trail[trailstart[traildepth]] = 0;
  // When the parent cannot be re-entered there is nowhere better to go.
  if (chdir("..") != 0)
    return;
}

void getshownname(char *out, size_t size, const char *path) {
  snprintf(out, size, "%s%s", path[0] == '/' ? "" : trail, path);
}

// Opened without blocking (a FIFO would wait for a writer), then kept only
// when it is a regular file, then made blocking again for plain stdio use.
static int openregular(const char *path, int flags) {
  int descriptor = open(path, flags | O_NONBLOCK | O_CLOEXEC, 0666);
  if (descriptor < 0)
    return -1;
  struct stat status;
  int mode = fcntl(descriptor, F_GETFL);
  if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || mode == -1 ||
      fcntl(descriptor, F_SETFL, mode & ~O_NONBLOCK) != 0) {
    close(descriptor);
    return -1;
  }
  return descriptor;
}

static FILE *openstream(int descriptor, const char *mode) {
  if (descriptor < 0)
    return NULL;
  FILE *file = fdopen(descriptor, mode);
  if (file == NULL)
    close(descriptor);
  return file;
}

FILE *openreadfile(const char *path) {
  return openstream(openregular(path, O_RDONLY), "rb");
}

// Anything but a missing name or a regular file; a name that cannot be
// looked at counts as one that is there.
static int isotherthanfile(const char *path) {
  struct stat status;
  if (lstat(path, &status) != 0)
    return errno != ENOENT;
  return !S_ISREG(status.st_mode);
}

// Follows symbolic links from path to the file a plain open would write, so
// that the save replaces that file and the link stays a link. A link's text
// is relative to the directory the link is in. 0 when the chain is too long
// to hold or never ends.
static int resolvelinks(char *out, const char *path) {
  size_t length = strlen(path);
  if (length >= SAVEPATHLENGTH)
    return 0;
  memcpy(out, path, length + 1);
  for (int hops = 0; hops < MAXLINKHOPS; hops++) {
    struct stat status;
    if (lstat(out, &status) != 0 || !S_ISLNK(status.st_mode))
      return 1;
    char target[SAVEPATHLENGTH];
    ssize_t count = readlink(out, target, sizeof(target));
    if (count <= 0 || count >= (ssize_t)sizeof(target))
      return 0;
    const char *slash = strrchr(out, '/');
    size_t dirlength = target[0] == '/' || slash == NULL ? 0 : (size_t)(slash - out) + 1;
    if (dirlength + (size_t)count >= SAVEPATHLENGTH)
      return 0;
    memcpy(out + dirlength, target, (size_t)count);
    out[dirlength + (size_t)count] = 0;
  }
  return 0;
}

savefailureinfo savefailure;

void recordsavefailure(const char *shownname) {
  if (savefailure.numoffailures >= MAXSAVEFAILURES) {
    savefailure.numofuntold++;
    return;
  }
  snprintf(savefailure.name[savefailure.numoffailures++], SAVEPATHLENGTH, "%s", shownname);
}

static char loadfailure[SAVEPATHLENGTH + 160];  // "" when none waits

void recordloadfailure(const char *shownname, const char *reason) {
  snprintf(loadfailure, sizeof loadfailure, "Could not load %s: %s", shownname, reason);
}

int takeloadfailure(char *out, int size) {
  if (loadfailure[0] == 0 || size <= 0)
    return 0;
  snprintf(out, (size_t)size, "%s", loadfailure);
  loadfailure[0] = 0;
  return 1;
}

int takesavefailure(char *out, int size) {
  if (savefailure.numoffailures == 0 || size <= 0)
    return 0;
  snprintf(out, (size_t)size, "%s", savefailure.name[0]);
  if (savefailure.numoffailures == 1 && savefailure.numofuntold > 0) {
    savefailure.numofuntold--;
    return 1;
  }
  savefailure.numoffailures--;
  memmove(savefailure.name[0], savefailure.name[1],
          (size_t)savefailure.numoffailures * sizeof savefailure.name[0]);
  return 1;
}

// 0 when nothing is left under the name.
static int removeleftover(const char *path) {
  struct stat status;
  if (lstat(path, &status) != 0)
    return errno == ENOENT ? 0 : -1;
  return S_ISDIR(status.st_mode) ? rmdir(path) : unlink(path);
}

static int refusesave(savefile *save) {
  recordsavefailure(save->shownname);
  return 0;
}

int beginsave(savefile *save, const char *path) {
  save->file = NULL;
  save->temppath[0] = 0;
  getshownname(save->shownname, sizeof save->shownname, path);
  if (!resolvelinks(save->path, path)) {
    save->path[0] = 0;
    return refusesave(save);
  }
  size_t length = strlen(save->path);
  const char *slash = strrchr(save->path, '/');
  size_t dirlength = slash ? (size_t)(slash - save->path) + 1 : 0;
  // A name starting with '<' is some other save's temporary file.
  if (length == dirlength || length + 2 > SAVEPATHLENGTH || save->path[dirlength] == '<')
    return refusesave(save);
  // The rename would replace a file the player made read-only, where a
  // plain open for writing fails and leaves it alone; and it would replace
  // a device, a FIFO or a directory entry that no save of ours made.
  if ((faccessat(AT_FDCWD, save->path, W_OK, AT_EACCESS) != 0 && errno != ENOENT) ||
      isotherthanfile(save->path))
    return refusesave(save);
  memcpy(save->temppath, save->path, dirlength);
  save->temppath[dirlength] = '<';
  memcpy(save->temppath + dirlength + 1, save->path + dirlength, length - dirlength + 1);

  // A leftover temporary from an interrupted save is never opened: it may be
  // a hard link to a file elsewhere, a link, a FIFO or a device, and writing
  // into it would reach whatever it shares its data with. It is removed
  // (an empty directory too) and a new file made that cannot be anyone
  // else's; if something takes the name in between, the save fails.
  if (removeleftover(save->temppath) != 0)
    return refusesave(save);
  save->file = openstream(
      openregular(save->temppath, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW), "wb");
  if (save->file == NULL)
    return refusesave(save);
  // Keep the permissions of the file being replaced.
  struct stat status;
  if (stat(save->path, &status) == 0)
    fchmod(fileno(save->file), status.st_mode & 07777);
  return 1;
}

int endsave(savefile *save) {
  if (save->file == NULL)
    return 0;
  int ok = fflush(save->file) == 0 && !ferror(save->file);
  // Without the sync a crash shortly after the rename could leave the new
  // name pointing at blocks that never reached the disk.
  if (ok && fsync(fileno(save->file)) != 0 && errno != EINVAL)
    ok = 0;
  if (fclose(save->file) != 0)
    ok = 0;
  save->file = NULL;
  if (ok && rename(save->temppath, save->path) == 0)
    return 1;
  remove(save->temppath);
  return refusesave(save);
}

void cancelsave(savefile *save) {
  if (save->file == NULL)
    return;
  fclose(save->file);
  save->file = NULL;
  remove(save->temppath);
  recordsavefailure(save->shownname);
}
