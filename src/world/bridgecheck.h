// The rules every joint and beam table must keep, however it was filled
// (editing, a file, a paste): what the editor, the loaders and the test run
// take for granted.
#pragma once

// 1 when the counts fit the tables, every joint is an anchor or a free
// joint within the world (and the level's heights, ends and terrain
// too), and every beam is structural or deck and joins
// two different existing joints, no pair twice; 0 at the first fault.
// anchorbeams: whether a beam may join two anchors (files of the older
// program are not known to exclude it; the editor never builds one).
int checkbridgetables(int anchorbeams);
