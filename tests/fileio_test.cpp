#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <sys/wait.h>

#include "shell/fileio.h"
#include "tempdir.h"

class FileIO : public tempdirtest {};

static std::vector<std::string> names(char list[][NAMELENGTH]) {
  std::vector<std::string> out;
  for (int i = 0; i < MAXNAMES && list[i][0] != 0; i++)
    out.push_back(list[i]);
  return out;
}

static char list[MAXNAMES][NAMELENGTH];

TEST_F(FileIO, ByteOrder) {
  checkbigendian();
  // this host is little-endian: the library functions are used directly
  EXPECT_EQ(bigendian, 0);
  int one = 1;
  FILE *file = fopen("native", "wb");
  EXPECT_EQ(fwriteptr(&one, 4, 1, file), 1u);
  fclose(file);
  EXPECT_EQ(readbytes("native"), (std::vector<unsigned char>{1, 0, 0, 0}));

  // a big-endian host holds 1 as 00 00 00 01 and must still write 01 00 00 00
  unsigned char host[10] = {0, 0, 0, 1, 0x12, 0x34, 0x56, 0x78, 0xAB, 0xCD};
  file = fopen("swapped", "wb");
  EXPECT_EQ(fwriteswap(host, 4, 2, file), 2u);
  EXPECT_EQ(fwriteswap(host + 8, 2, 1, file), 1u);
  EXPECT_EQ(fwriteswap("SPNW", 1, 4, file), 4u);
  // sizes other than 1, 2 and 4 write nothing
  EXPECT_EQ(fwriteswap(host, 8, 1, file), 0u);
  fclose(file);
  EXPECT_EQ(readbytes("swapped"),
            (std::vector<unsigned char>{1, 0, 0, 0, 0x78, 0x56, 0x34, 0x12, 0xCD, 0xAB, 'S',
                                        'P', 'N', 'W'}));

  // reading those bytes back on the big-endian host restores its memory image
  unsigned char back[14] = {0};
  file = fopen("swapped", "rb");
  EXPECT_EQ(freadswap(back, 4, 2, file), 2u);
  EXPECT_EQ(freadswap(back + 8, 2, 1, file), 1u);
  EXPECT_EQ(freadswap(back + 10, 1, 4, file), 4u);
  fclose(file);
  EXPECT_EQ(memcmp(back, host, 10), 0);
  EXPECT_EQ(memcmp(back + 10, "SPNW", 4), 0);

  // a short file yields only its whole elements and leaves the rest alone
  writebytes("short", {1, 0, 0, 0, 2, 0});
  int values[3] = {-1, -1, -1};
  file = fopen("short", "rb");
  EXPECT_EQ(freadswap(values, 4, 3, file), 1u);
  fclose(file);
  EXPECT_EQ(values[0], 0x01000000); // swapped on this little-endian host
  EXPECT_EQ(values[1], -1);
}

TEST_F(FileIO, PatternMatch) {
  // '*' stops at the first character that follows it in the pattern
  EXPECT_EQ(checkfilespec("*.lvl", "a.lvl"), 1);
  EXPECT_EQ(checkfilespec("*.lvl", "a.b.lvl"), 0);
  // case-sensitive
  EXPECT_EQ(checkfilespec("*.lvl", "A.LVL"), 0);
  // either string running out is a match
  EXPECT_EQ(checkfilespec("*.lvl", "a.lvlx"), 1);
  EXPECT_EQ(checkfilespec("*.lvl", "readme"), 1);
  EXPECT_EQ(checkfilespec("*.*", "anything.at.all"), 1);
  EXPECT_EQ(checkfilespec("", "x"), 1);
}

TEST_F(FileIO, Listing) {
  // an empty directory yields the empty name first
  strcpy(list[0], "stale");
  listfiles("*.*", list, 0);
  EXPECT_TRUE(names(list).empty());

  writebytes("Beta.qzl", {});
  writebytes("alpha.qzl", {});
  writebytes("1st.qzl", {});
  writebytes("other.qzb", {});
  writebytes("<temp.qzl", {});
  writebytes("abcdefghijklmnopqrstuvwxyz12.qzl", {}); // 32 characters: no room for the NUL
  writebytes("abcdefghijklmnopqrstuvwxyz1.qzl", {});  // 31: fits exactly
  mkdir("dir.qzl", 0777);
  mkdir("Pack", 0777);
  mkdir(".hidden", 0777);
  mkdir("<odd", 0777);
  // byte-wise order: digits, upper case, lower case; directories and '<' left out
  listfiles("*.qzl", list, 0);
  EXPECT_EQ(names(list), (std::vector<std::string>{"1st.qzl", "Beta.qzl",
                                                    "abcdefghijklmnopqrstuvwxyz1.qzl",
                                                    "alpha.qzl"}));
  // directories only, never "." "..", hidden or '<' ones
  listfiles("*.*", list, 1);
  EXPECT_EQ(names(list), (std::vector<std::string>{"Pack", "dir.qzl"}));
}

TEST_F(FileIO, ListingMoreThanFits) {
  // 1100 matches: the 1023 smallest are kept, sorted, and the list stays ended
  for (int i = 0; i < 1100; i++) {
    char name[32];
    snprintf(name, sizeof(name), "f%04d.qzb", 1099 - i);
    writebytes(name, {});
  }
  listfiles("*.qzb", list, 0);
  std::vector<std::string> got = names(list);
  ASSERT_EQ(got.size(), (size_t)(MAXNAMES - 1));
  EXPECT_EQ(got.front(), "f0000.qzb");
  EXPECT_EQ(got.back(), "f1022.qzb");
  for (size_t i = 1; i < got.size(); i++)
    EXPECT_LT(got[i - 1], got[i]);
  EXPECT_EQ(list[MAXNAMES - 1][0], 0);
}

TEST_F(FileIO, AtomicSave) {
  writebytes("target", {'o', 'l', 'd'});
  savefile save;
  // a completed save replaces the file and leaves no temporary behind
  ASSERT_EQ(beginsave(&save, "target"), 1);
  fputs("new", save.file);
  EXPECT_EQ(readbytes("target"), (std::vector<unsigned char>{'o', 'l', 'd'}));
  EXPECT_EQ(endsave(&save), 1);
  EXPECT_EQ(readbytes("target"), (std::vector<unsigned char>{'n', 'e', 'w'}));
  EXPECT_FALSE(exists("<target"));

  // a cancelled save keeps the old file
  ASSERT_EQ(beginsave(&save, "target"), 1);
  fputs("half", save.file);
  cancelsave(&save);
  EXPECT_EQ(readbytes("target"), (std::vector<unsigned char>{'n', 'e', 'w'}));
  EXPECT_FALSE(exists("<target"));

  // a write error, as from a full disk, is seen at the end and keeps the old file
  ASSERT_EQ(beginsave(&save, "target"), 1);
  FILE *real = save.file;
  save.file = fopen("/dev/full", "wb");
  ASSERT_NE(save.file, nullptr);
  fputs("lost", save.file);
  EXPECT_EQ(endsave(&save), 0);
  fclose(real);
  EXPECT_EQ(readbytes("target"), (std::vector<unsigned char>{'n', 'e', 'w'}));
  EXPECT_FALSE(exists("<target"));

  // the temporary sits beside the target, in its directory
  mkdir("sub", 0777);
  ASSERT_EQ(beginsave(&save, "sub/file"), 1);
  EXPECT_TRUE(exists("sub/<file"));
  EXPECT_EQ(endsave(&save), 1);
  EXPECT_TRUE(exists("sub/file"));

  // no directory to write in, or no file name at all: refused, nothing made
  EXPECT_EQ(beginsave(&save, "missing/file"), 0);
  EXPECT_EQ(beginsave(&save, "sub/"), 0);
  EXPECT_EQ(endsave(&save), 0);
  std::string longpath(SAVEPATHLENGTH, 'x');
  EXPECT_EQ(beginsave(&save, longpath.c_str()), 0);
  // a temporary file's name is no target
  EXPECT_EQ(beginsave(&save, "<target"), 0);

  // links stay links: the file at the end of the chain (each link relative
  // to its own directory) is replaced, its temporary made beside it
  ASSERT_EQ(symlink("sub/second", "first"), 0);
  ASSERT_EQ(symlink("file", "sub/second"), 0);
  ASSERT_EQ(beginsave(&save, "first"), 1);
  EXPECT_TRUE(exists("sub/<file"));
  fputs("via", save.file);
  EXPECT_EQ(endsave(&save), 1);
  struct stat status;
  EXPECT_TRUE(lstat("first", &status) == 0 && S_ISLNK(status.st_mode));
  EXPECT_EQ(readbytes("sub/file"), (std::vector<unsigned char>{'v', 'i', 'a'}));
}

// A file this user may not write is left alone and the save fails. Root may
// write anything, so a child checks it as an unprivileged user.
TEST_F(FileIO, ReadOnlyTargetIsKept) {
  pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    if (getuid() == 0 && (chown(".", 65534, 65534) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
      _exit(2);
    FILE *file = fopen("locked", "wb");
    savefile save;
    int kept = file && fputs("old", file) >= 0 && fclose(file) == 0 && chmod("locked", 0444) == 0 &&
               beginsave(&save, "locked") == 0 && readbytes("locked").size() == 3 && !exists("<locked");
    _exit(kept ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 2)
    GTEST_SKIP() << "no unprivileged user to check as";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
