// JSON on the standard output, written value by value. The writer puts
// the ", " between the values of an object or an array and the ": " after
// a key itself, so no caller keeps count of what it has written; closing
// the outermost value ends the line.
#pragma once

void jsonopen(char bracket);     // '{' or '['
void jsonclose();                // the innermost open object or array
void jsonkey(const char *key);   // names the next value inside an object
void jsonint(int v);
void jsonfloat(float v);         // null for what is no number: JSON has none
void jsonbool(int v);
void jsonnull();
void jsonstring(const char *s);
void jsonintornull(int v, int known);
