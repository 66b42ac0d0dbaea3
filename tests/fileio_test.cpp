#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>

#include "shell/fileio.h"
#include "tempdir.h"
#include "ui/notice.h"

class FileIO : public tempdirtest {};

static char list[MAXNAMES][NAMELENGTH];

static std::vector<std::string> listed(const char *pattern, int flag) {
  listfiles(pattern, list, flag);
  std::vector<std::string> out;
  for (int i = 0; i < MAXNAMES && list[i][0] != 0; i++)
    out.push_back(list[i]);
  return out;
}

TEST_F(FileIO, PatternsListingAndByteOrder) {
  // '*' stops at the first character that follows it in the pattern; case-sensitive; either string running
  // out is a match
  struct { const char *spec, *name; int match; } rows[] = {
      {"*.lvl", "a.lvl", 1}, {"*.lvl", "a.b.lvl", 0}, {"*.lvl", "A.LVL", 0}, {"*.lvl", "a.lvlx", 1},
      {"*.lvl", "readme", 1}, {"*.*", "anything.at.all", 1}, {"", "x", 1}};
  for (const auto &r : rows)
    EXPECT_EQ(checkfilespec(r.spec, r.name), r.match) << r.spec << " " << r.name;
  // an empty directory lists nothing, whatever the list held
  strcpy(list[0], "stale");
  EXPECT_TRUE(listed("*.*", 0).empty());
  // 32 characters leave no room for the NUL, 31 fit exactly
  for (const char *f : {"Beta.qzl", "alpha.qzl", "1st.qzl", "other.qzb", "<temp.qzl",
                        "abcdefghijklmnopqrstuvwxyz12.qzl", "abcdefghijklmnopqrstuvwxyz1.qzl"})
    writebytes(f, {});
  for (const char *d : {"dir.qzl", "Pack", ".hidden", "<odd"})
    mkdir(d, 0777);
  // byte-wise order: digits, upper case, lower case; directories and '<' left out
  EXPECT_EQ(listed("*.qzl", 0),
            (std::vector<std::string>{"1st.qzl", "Beta.qzl", "abcdefghijklmnopqrstuvwxyz1.qzl", "alpha.qzl"}));
  // directories only, never "." "..", hidden or '<' ones
  EXPECT_EQ(listed("*.*", 1), (std::vector<std::string>{"Pack", "dir.qzl"}));
  // 1100 matches: the 1023 smallest are kept, sorted, and the list stays ended (listed() reads on to the
  // table's end otherwise)
  std::vector<std::string> want;
  for (int i = 0; i < 1100; i++)
    want.push_back("f" + std::to_string(10000 + i) + ".qzb"), writebytes(want.back().c_str(), {});
  want.resize(MAXNAMES - 1);
  EXPECT_EQ(listed("*.qzb", 0), want);
  // a big-endian host holds 1 as 00 00 00 01 and must still write 01 00 00 00; sizes other than 1, 2 and 4
  // write nothing
  unsigned char host[14] = {0, 0, 0, 1, 0x12, 0x34, 0x56, 0x78, 0xAB, 0xCD, 'S', 'P', 'N', 'W'};
  FILE *file = fopen("swapped", "w+b");
  EXPECT_EQ(fwriteswap(host, 4, 2, file) + fwriteswap(host + 8, 2, 1, file) + fwriteswap(host + 10, 1, 4, file) +
                fwriteswap(host, 8, 1, file), 7u);
  fflush(file);
  EXPECT_EQ(readbytes<std::string>("swapped"), std::string("\1\0\0\0\x78\x56\x34\x12\xCD\xAB" "SPNW", 14));
  // reading swaps each element back (the ints below are those bytes reversed); a short file yields only its
  // whole elements and leaves the rest alone
  int values[4] = {-1, -1, -1, -1};
  rewind(file);
  EXPECT_EQ(freadswap(values, 4, 4, file), 3u);
  fclose(file);
  EXPECT_EQ(std::vector<int>(values, values + 4), (std::vector<int>{0x01000000, 0x78563412, (int)0xCDAB5350, -1}));
}

static std::string noticetext() {
  const char *text = getnotice(0);
  return text ? text : "";
}

TEST_F(FileIO, AtomicSavesOfRegularWritableFiles) {
  auto text = &readbytes<std::string>;
  savefile save;
  struct stat status;
  // a completed save replaces the file only at its end, keeping its permissions; a cancelled one keeps the old
  // file and leaves no temporary behind (a full disk: at the end)
  writebytes("target", {'o', 'l', 'd'});
  ASSERT_EQ(chmod("target", 0640) + beginsave(&save, "target"), 1);
  fputs("new", save.file);
  EXPECT_EQ(text("target"), "old");
  EXPECT_EQ(endsave(&save), 1);
  EXPECT_TRUE(stat("target", &status) == 0 && (status.st_mode & 0777) == 0640);
  ASSERT_EQ(beginsave(&save, "target"), 1);
  fputs("half", save.file), cancelsave(&save);
  EXPECT_EQ(endsave(&save), 0);  // the cancelled file is closed once, not again
  EXPECT_EQ(text("target") + text("<target"), "new");
  mkdir("sub", 0777), writebytes("sub/file", {});
  // no directory to write in, no file name at all, too long a path, a temporary file's name: refused
  std::string longpath(SAVEPATHLENGTH, 'x');
  for (const char *refused : {"missing/file", "sub/", longpath.c_str(), "<target"})
    EXPECT_EQ(beginsave(&save, refused), 0) << refused;
  // links stay links: the file at the end of the chain (each link relative
  // to its own directory) is replaced, its temporary made beside it
  ASSERT_EQ(symlink("sub/second", "first") + symlink("file", "sub/second"), 0);
  ASSERT_EQ(beginsave(&save, "first"), 1);
  EXPECT_TRUE(exists("sub/<file"));
  EXPECT_EQ((fputs("via", save.file), endsave(&save)) + lstat("first", &status), 1);
  EXPECT_TRUE(S_ISLNK(status.st_mode) && text("sub/file") == "via");
  // a dangling link makes the file it names
  ASSERT_EQ(symlink("sub/made", "dangling") + beginsave(&save, "dangling"), 1);
  EXPECT_EQ((fputs("made", save.file), endsave(&save)) + lstat("dangling", &status), 1);
  EXPECT_TRUE(S_ISLNK(status.st_mode) && text("sub/made") == "made");
  // A full disk, as a file-size limit with its signal ignored: a write that
  // only fails when the buffer is flushed at the end, and one that fails at
  // once; each save says so on the notice line, and the old file stays whole.
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct rlimit limit = {0, saved.rlim_max};
  auto handler = signal(SIGXFSZ, SIG_IGN);
  for (const std::string &data : {std::string("lost"), std::string(100000, 'n')}) {
    clearnotice();
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit) + beginsave(&save, "target"), 1);
    fwrite(data.data(), 1, data.size(), save.file);
    int saved_ok = endsave(&save);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_TRUE(saved_ok == 0 && !exists("<target")) << data.size();
    EXPECT_EQ(noticetext() + text("target"), "Could not save targetnew") << data.size();
  }
  signal(SIGXFSZ, handler);
  // Only regular files are read or saved over: a FIFO is never waited on, a
  // device or directory never written, a link never followed to either, and a
  // leftover temporary is never written through.
  writebytes("plain", {'o', 'k'});
  mkdir("dir", 0777), mkfifo("fifo", 0666);
  ASSERT_EQ(symlink("/dev/null", "device") + symlink("fifo", "tofifo") + symlink("plain", "toplain"), 0);
  alarm(10); // a blocked open ends the test rather than hanging it
  for (const char *path : {"dir", "fifo", "device", "tofifo", "missing"})
    EXPECT_EQ(openreadfile(path), nullptr) << path;
  for (const char *path : {"dir", "fifo", "device", "tofifo"}) {
    clearnotice();
    EXPECT_EQ(beginsave(&save, path), 0) << path;
    EXPECT_EQ(noticetext(), std::string("Could not save ") + path);
  }
  FILE *file = openreadfile("toplain");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(fgetc(file), 'o');
  fclose(file);
  EXPECT_TRUE(stat("/dev/null", &status) == 0 && S_ISCHR(status.st_mode));
  EXPECT_TRUE(lstat("fifo", &status) == 0 && S_ISFIFO(status.st_mode));
  // a leftover temporary that is a hard link to a file elsewhere, a link to one, a FIFO or a directory is
  // removed, never written through: each save succeeds and what a leftover shared data with is unchanged
  writebytes("../outside", std::string("kept"));
  ASSERT_EQ(link("../outside", "<hard") + symlink("plain", "<soft") + mkfifo("<pipe", 0666) +
                mkdir("<folder", 0777), 0);
  for (const char *path : {"hard", "soft", "pipe", "folder"}) {
    ASSERT_EQ(beginsave(&save, path), 1) << path;
    fputs("new", save.file);
    EXPECT_EQ(endsave(&save), 1) << path;
    EXPECT_EQ(readbytes<std::string>(path) + readbytes<std::string>("../outside"), "newkept") << path;
  }
  alarm(0);
  EXPECT_TRUE(text("plain") == "ok" && !exists("<hard") && !exists("<soft") && !exists("<pipe") && !exists("<folder"));
  // a failure inside entered directories names the file from where the game started
  mkdir("level", 0777);
  int entered = enterdirectory("level"), missing = enterdirectory("Nowhere");
  clearnotice();
  EXPECT_EQ(beginsave(&save, "Nowhere/x.qzl"), 0);
  leavedirectory(missing), leavedirectory(entered);
  EXPECT_EQ(noticetext(), "Could not save level/Nowhere/x.qzl");
  clearnotice();
  // A file this user may not write is left alone and the save fails, and so
  // does a save into a directory this user may not write, which says so.
  // Root may write anything, so a child checks it as an unprivileged user.
  pid_t child = fork();
  if (child == 0) {
    bool user = getuid() != 0 || (chown(".", 65534, 65534) == 0 && setgid(65534) == 0 && setuid(65534) == 0);
    writebytes("locked", {'o', 'l', 'd'});
    mkdir("shut", 0555), clearnotice();
    _exit(!user ? 2 : chmod("locked", 0444) == 0 && beginsave(&save, "locked") == 0 &&
                               readbytes("locked").size() == 3 && !exists("<locked") &&
                               beginsave(&save, "shut/x") == 0 && noticetext() == "Could not save locked, shut/x"
                           ? 0 : 1);
  }
  int code = -1;
  waitpid(child, &code, 0);
  if (code == 2 << 8)
    GTEST_SKIP() << "no unprivileged user to check the read-only cases as";
  EXPECT_EQ(code, 0);
}
