// What the page's parent panel offers to pick: the sources and destinations a
// component takes, each with a name where the settings give one, and the
// router the component works with. Which settings hold them is the
// component's knowledge: the <parent-panel> of its settings rules
// (docs/settings_rules.md). The page only offers them; any other number can
// still be typed.
#ifndef VREL_DEVHOST_PARENT_CHOICES_H
#define VREL_DEVHOST_PARENT_CHOICES_H

#include "serve_json.h"

#include <string>
#include <vector>

// {"cueRouter": 7 or null, "sources": [{"number": 5, "name": ""}, ...],
//  "destinations": [{"number": 9, "name": "Voice booth A"}, ...],
//  "problem": text when the settings could not be read}.
// `folder` holds object_settings.xml (empty: no choices); the rules are those
// in `libraryFolders` whose section the settings hold.
json parent_choices(const std::string& folder, const std::vector<std::string>& libraryFolders);

#endif
