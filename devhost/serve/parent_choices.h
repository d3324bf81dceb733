// What the page's parent panel offers to pick, read from the facility's
// object settings: the music sources that can receive cue and the music
// destinations that produce it, each with a name where the settings give one,
// and the number of the cue router. The component reads the same entries; the
// page only offers them, and any other number can still be typed.
#ifndef VREL_DEVHOST_PARENT_CHOICES_H
#define VREL_DEVHOST_PARENT_CHOICES_H

#include "serve_json.h"

#include <string>

// {"cueRouter": 7 or null, "sources": [{"number": 5, "name": ""}, ...],
//  "destinations": [{"number": 9, "name": "Voice booth A"}, ...],
//  "problem": text when the file could not be read}.
// `folder` holds object_settings.xml; empty: no choices.
json parent_choices(const std::string& folder);

#endif
