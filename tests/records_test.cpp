#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tempdir.h"
#include "world/levellist.h"
#include "world/records.h"

class Records : public tempdirtest {
protected:
  void SetUp() override {
    tempdirtest::SetUp();
    mkdir("bridge", 0777);
    strcpy(dirlist[0], "P");
    dirlist[1][0] = 0;
    dirnum = 0;
    numofrecords = 0;
  }
  static void writetext(const std::string &text) {
    writebytes("bridge/P.rec", std::vector<unsigned char>(text.begin(), text.end()));
  }
};

TEST_F(Records, RoundTripLeavesProgressAlone) {
  writebytes("bridge/P.pro", std::vector<unsigned char>(256, 1));
  // A first result beats nothing; only a lower cost or a heavier train beats it.
  struct { const char *name; int cost, weight, beaten; } rows[] = {
      {"01 Two  Words", 1200, 0, RECORD_COST}, {"01 Two  Words", 1300, 0, 0},
      {"01 Two  Words", 1100, 90000, RECORD_COST | RECORD_WEIGHT},
      {"01 Two  Words", -1, 80000, 0},         {"7", 0, 0, RECORD_COST},
      {"Held only", -1, 5, RECORD_WEIGHT},     {"bad\nname", 100, 0, 0},
  };
  for (const auto &r : rows)
    EXPECT_EQ(setrecord(r.name, r.cost, r.weight), r.beaten) << r.name << " " << r.cost;
  ASSERT_EQ(saverecords(), 1);
  numofrecords = 0;
  loadrecords();
  struct { const char *name; int cost, weight; } kept[] = {
      {"01 Two  Words", 1100, 90000}, {"7", 0, 0}, {"Held only", -1, 5}};
  ASSERT_EQ(numofrecords, 3);
  for (const auto &k : kept) {
    int i = findrecord(k.name);
    ASSERT_GE(i, 0) << k.name;
    EXPECT_EQ(record[i].cost, k.cost) << k.name;
    EXPECT_EQ(record[i].weight, k.weight) << k.name;
  }
  EXPECT_EQ(readbytes("bridge/P.pro"), std::vector<unsigned char>(256, 1));
  EXPECT_EQ(cwd(), dir);
}

TEST_F(Records, DamagedFilesKeepOnlyWholeLines) {
  struct { std::string text; int count; } rows[] = {
      {"", 0},
      {std::string("\0\xff\x01\n\n \n - -\n", 11), 0},
      {"A 10 -\nB 1x -\nC 99999999999 -\nD -1 -\nE 20 -", 1},   // E was cut short
      {"A 10 -\r\nA 5 7\r\n", 1},                               // the better one wins
      {std::string(RECORDFILELIMIT - 4, 'x') + "\nA 1 1\n", 0}, // past what is read
  };
  for (const auto &r : rows) {
    writetext(r.text);
    loadrecords();
    EXPECT_EQ(numofrecords, r.count) << r.text.substr(0, 40);
  }
  std::string many;
  for (int i = 0; i < 2 * MAXRECORDS; i++)
    many += "L" + std::to_string(i) + " 1 1\n";
  writetext(many);
  loadrecords();
  EXPECT_EQ(numofrecords, MAXRECORDS);
  EXPECT_EQ(record[numofrecords - 1].cost, 1);
}
