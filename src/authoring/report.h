// What spanwright-verify prints, on the standard output: the level as
// JSON, one run's record as JSON or a summary, proofs, a pack's lines and
// JSON, the cross check, the cheapest search's and the regular trusses'
// results. Tests and level authors read these texts, so they change only
// by adding.
#pragma once

#include "authoring/cheapest.h"
#include "authoring/regular.h"
#include "authoring/runlog.h"

const char *sidename(int side);        // "stretched", "compressed"
const char *verdictname(const verdictinfo &v);

// The live tables' level and bridge as JSON.
void printdescription(const char *file);
// One step's particle positions inside the run's "dumps" object.
void printdump(int step);
// The record of the run of the live tables, ending the JSON object the
// caller opened (with its "file" and "dumps").
void printrunjson(int passed, const runsettings *s);
void printrunsummary(const char *file, int passed, const runsettings *s);

// One test: "passed intact", "passed, 3 beams broke", "failed (fell), ...".
void printsecond(const verdictinfo &v);
// "held", or "failed at 0 s (...), 4 s (...)".
void printproofsummary(const verdictinfo *r);
void printjsonproof(const verdictinfo *r);
void printproof(const char *file, const verdictinfo *r, int json);

void printpackline(int i, int proof);
void printpacksummary(int numok, int proof);
void printpackjson(const char *pack, int numok, int cross, int proof);
// The repeats (as text unless `json`); returns how many.
int printcross(int json);

void printcheapest(const char *bridge, const cheapestsearch *s, int allowbreaks, const char *out);
void printregular(const char *file, const bridgetables *bare, int json, int allowbreaks, const char *out);
