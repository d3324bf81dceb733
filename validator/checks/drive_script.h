// A short, fixed use of a component in its own words: what a panel host does
// in the first seconds of a component's life.
#ifndef VREL_VALIDATOR_DRIVE_SCRIPT_H
#define VREL_VALIDATOR_DRIVE_SCRIPT_H

#include "component_driver.h"
#include "component_profile.h"

// Route statuses for the devices the component registered, the family's parent
// commands (replies released at once, then two held together), each of its
// own with a number, a press of its first button, each of its commands
// again, then timer 1.
void driveBriefly(component_driver& driver, const component_profile& profile);

#endif
