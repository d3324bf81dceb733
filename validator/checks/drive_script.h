// A short, fixed use of a component: what a panel host does in the first
// seconds of a component's life.
#ifndef VREL_VALIDATOR_DRIVE_SCRIPT_H
#define VREL_VALIDATOR_DRIVE_SCRIPT_H

#include "checking_host.h"
#include "component_driver.h"

// Route statuses for the devices the component registered, parent commands
// (with replies released), a button press, a take and its timer.
void driveBriefly(component_driver& driver, const checking_host* host);

#endif
