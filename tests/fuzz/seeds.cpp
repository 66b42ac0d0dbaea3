// Writes a starting corpus for each loader target into the directory given
// as the first argument: valid files reach the deep checks, which random
// bytes alone would take a long time to get past.
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "shell/fileio.h"
#include "world/level.h"
#include "world/levelfile.h"

static std::string root;

static void writeseed(const std::string &target, const std::string &name,
                      const std::vector<unsigned char> &bytes) {
  std::string directory = root + "/" + target;
  mkdir(directory.c_str(), 0777);
  FILE *file = fopen((directory + "/" + name).c_str(), "wb");
  if (file == NULL)
    return;
  fwrite(bytes.data(), 1, bytes.size(), file);
  fclose(file);
}

static std::vector<unsigned char> readfile(const char *name) {
  std::vector<unsigned char> bytes;
  FILE *file = fopen(name, "rb");
  int c;
  while (file != NULL && (c = fgetc(file)) != EOF)
    bytes.push_back((unsigned char)c);
  if (file != NULL)
    fclose(file);
  return bytes;
}

static void put(std::vector<unsigned char> *bytes, const void *value) {
  const unsigned char *p = (const unsigned char *)value;
  bytes->insert(bytes->end(), p, p + 4);
}

static std::vector<unsigned char> oldfile(int isbridge) {
  std::vector<unsigned char> bytes;
  int one = 1, budget = 2000, joints = 3, beams = 2, zero = 0, deck = 2;
  float water = 20.0f, deckheight = 32.0f, left = 2016.0f, right = 2080.0f;
  bytes.push_back((unsigned char)isbridge); // the target's kind byte
  if (isbridge)
    put(&bytes, &one);
  put(&bytes, &water);
  put(&bytes, &deckheight);
  put(&bytes, &budget);
  put(&bytes, &left);
  put(&bytes, &right);
  for (int k = 0; k < 1024; k++) {
    float height = k >= 500 && k < 520 ? 16.0f : 32.0f;
    put(&bytes, &height);
  }
  put(&bytes, &joints);
  for (int j = 0; j < 3; j++) {
    int kind = j == 1 ? 1 : 2;
    float x = 2016.0f + 16.0f * (float)j, y = 32.0f;
    put(&bytes, &kind);
    put(&bytes, &x);
    put(&bytes, &y);
    for (int k = 0; k < 20; k++)
      put(&bytes, &zero);
  }
  if (isbridge) {
    put(&bytes, &beams);
    for (int b = 0; b < 2; b++) {
      int j1 = b, j2 = b + 1;
      put(&bytes, &zero);
      put(&bytes, &j1);
      put(&bytes, &j2);
      put(&bytes, &deck);
      put(&bytes, &zero);
      put(&bytes, &zero);
    }
  }
  return bytes;
}

int main(int argc, char **argv) {
  if (argc < 2)
    return 1;
  root = argv[1];
  mkdir(root.c_str(), 0777);
  char scratch[] = "/tmp/spanwright-seeds-XXXXXX";
  if (mkdtemp(scratch) == NULL || chdir(scratch) != 0)
    return 1;

  createlevel();
  numofjoints = 0;
  numofbeams = 0;
  savelevel("empty", 1);
  joint[0] = {0, {992.0f, 32.0f}};
  joint[1] = {1, {1000.0f, 32.0f}};
  joint[2] = {1, {1008.0f, 32.0f}};
  joint[3] = {0, {1056.0f, 32.0f}};
  numofjoints = 4;
  beam[0] = {1, 0, 1, 0, 0, 0.0f};
  beam[1] = {1, 1, 2, 0, 0, 0.0f};
  beam[2] = {0, 2, 3, 0, 0, 0.0f};
  numofbeams = 3;
  savelevel("small", 1);
  writeseed("fuzz_loadlevel", "empty", readfile("empty.qzb"));
  std::vector<unsigned char> small = readfile("small.qzb");
  writeseed("fuzz_loadlevel", "small", small);
  // The same bridge as version 1: no weight or train fields, 256 columns,
  // an unused word per joint.
  std::vector<unsigned char> v1(small.begin(), small.begin() + 28);
  v1[4] = 1;
  std::vector<unsigned char> terrain(small.begin() + 44 + 128 * 4, small.begin() + 44 + 384 * 4);
  v1.insert(v1.end(), terrain.begin(), terrain.end());
  v1.insert(v1.end(), small.begin() + 2092, small.begin() + 2096);
  for (int j = 0; j < 4; j++) {
    v1.insert(v1.end(), small.begin() + 2096 + 12 * j, small.begin() + 2108 + 12 * j);
    int unused = 0;
    put(&v1, &unused);
  }
  v1.insert(v1.end(), small.begin() + 2096 + 48, small.end());
  writeseed("fuzz_loadlevel", "version1", v1);

  writeseed("fuzz_loadoldlevel", "level", oldfile(0));
  writeseed("fuzz_loadoldlevel", "bridge", oldfile(1));

  std::vector<unsigned char> progress(256, 0);
  progress[0] = progress[4] = 1;
  writeseed("fuzz_loadprogess", "two", progress);
  writeseed("fuzz_loadprogess", "short", std::vector<unsigned char>(progress.begin(), progress.begin() + 9));

  const char *settings = "screenwidth=1024\r\nscreenheight=768\r\ncolordepth=16\r\nfullscreen=1\r\ndirectory=2\r\n";
  writeseed("fuzz_config", "saved", std::vector<unsigned char>(settings, settings + strlen(settings)));

  if (chdir("/") == 0)
    system((std::string("rm -rf ") + scratch).c_str());
  return 0;
}
