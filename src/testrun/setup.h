// Turning the bridge being edited into a fresh simulation.
#pragma once

// One particle per joint (same index), one bridge spring per beam that is
// not longer than its type's maximum, no cars; game.state and game.steps
// back to 0. The joint and beam tables are only read.
void setupsimulation();
