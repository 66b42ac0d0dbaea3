// The cross-references of the simulation tables, walked in full: what a
// create or delete that forgot one side of a link leaves behind.
#pragma once

// 1 when every particle, permanent bond and car is listed by what it lists
// (each exactly once) and every index lies inside its table; 0 at the first
// fault. Valid between steps, when the step's contacts are gone and every
// bond is a spring.
int checksimulationtables();
