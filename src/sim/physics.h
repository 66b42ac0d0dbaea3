// The one entry point that advances the whole structural simulation by a
// step of 1/60 s of test time.
#pragma once

void physicssimulation();
