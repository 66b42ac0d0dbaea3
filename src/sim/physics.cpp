#include "sim/physics.h"

#include <assert.h>

#include "sim/bond.h"
#include "sim/object.h"
#include "sim/particle.h"
#include "sim/simcheck.h"
#include "sim/solver.h"

// Positions move with the velocities the previous step's solver left; the
// solver then sets the velocities the next step moves with, and the stress
// of a bond is judged on where its ends will be after that move.
//
// Nothing between the move and the ageing lowers a particle's timetolive,
// and only the stress check lowers a bond's (deleting particles removes
// bonds but shortens no life), so an ageing pass with nothing to count
// down is skipped: it would change nothing.
void physicssimulation() {
  numofstaticbonds = numofbonds;        // this step's contacts go after the permanent bonds
  particlesimulation();                 // gravity, damping, water drag, move, terrain contacts
  preparestep();                        // one sweep of the permanent bonds for the cars and the solver
  objectsimulation();                   // the cars: deck, terrain and vertex contacts, the drive
  bondsimulation();                     // the velocity solver over springs and contacts
  numofbonds = numofstaticbonds;        // the step's contacts are dropped
  int mortalbonds = checksolvedbonds(); // stress and breaking of the permanent bonds
  endstep();
  if (numofmortalparticles > 0)
    particletimetolive();
  if (mortalbonds > 0)
    bondtimetolive();
  // Every create and delete of the step kept the links both ways; a build
  // with assertions walks them all, whatever it costs.
  assert(checksimulationtables());
}
