#include "Tavrin.h"

#include "list_length.h"

#include <limits.h>

namespace {

// Cue router destinations registered, polled and tracked.
constexpr int firstTracked = 1;
constexpr int lastTracked = 16;

} // namespace

Tavrin::Tavrin(client_host* host_, const char* text)
    : vrel_script_helper(host_, text), cueMode(false), cueRouter(-1), cueInfo(-1), cueTable{},
      source(-1), destination(-1), cueClearSource(31), destCueSource(-1), destListIndex(-1),
      sourceCueDest(-1), sourceListIndex(-1), cueOffSource(-1), whereCueRouted(-1),
      sourceCurrentCue(-1), destCueCapable(false), sourceCueCapable(false), sourceCueBusy(false),
      sourceNameCount(0) {
    const vrel_string settingsSection("ZELK_ROUTER");
    panelShow("1", "p1.vrel_ui", "");

    cueRouter = objectSetting(settingsSection, "cue_router_number").toInt();
    cueInfo = objectSetting(settingsSection, "cue_info_number").toInt();

    for (int& routed : cueTable) {
        routed = -1;
    }

    cueOffSource = objectSetting(settingsSection, "cue_OFF_source").toInt();

    routeRegister(cueRouter, firstTracked, lastTracked, false);
    routePoll(cueRouter, firstTracked, lastTracked);

    cueSources = objectSetting(settingsSection, "cuesources");
    musicDestinations = objectSetting(settingsSection, "musicdestinations");
    cueDestinations = objectSetting(settingsSection, "cuedestinations");
    sourceNames = objectSetting(settingsSection, "sourcenames");
    indexLists();
}

void Tavrin::indexLists() {
    musicDestinationPositions.rebuild(musicDestinations);
    cueDestinationPositions.rebuild(cueDestinations);
    // Without memory for the numbers, no destination has a cue source.
    if (cueSourceNumbers.assign(list_length(cueSources), -1)) {
        size_t position = 0;
        for (const vrel_string& cueSource : cueSources) {
            cueSourceNumbers[position++] = cueSource.toInt();
        }
    }
    const size_t names = list_length(sourceNames);
    sourceNameCount = names > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(names);
}

Tavrin::~Tavrin() = default;

vrel_string Tavrin::decimal(int number) {
    return vrel_string(number, '\0', 0, 10);
}

int Tavrin::onRouteStatus(notify_ref* ref) {
    const route_status_record* status = ref->routeStatus();
    // A status for a destination the table does not hold is dropped.
    if (status->device == cueRouter && status->index >= 0 && status->index < cueTableSize) {
        cueTable[status->index] = status->value;
    }
    return 0;
}
