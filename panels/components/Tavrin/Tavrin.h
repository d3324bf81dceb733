// The cue control: routes a music destination's cue source to a music
// source's cue destination on the cue router when the parent panel takes the
// pair while the operator has cue switched on, and otherwise tells the
// operator why only listening is possible.
#ifndef TAVRIN_H
#define TAVRIN_H

#include "number_index.h"
#include "owned_array.h"
#include "vrel_script_helper.h"

class Tavrin : public vrel_script_helper {
public:
    // Shows panel 1, reads the settings of section ZELK_ROUTER, registers for
    // and polls cue router destinations 1 to 16, and reads the mapping lists.
    Tavrin(client_host* host, const char* text);
    ~Tavrin() override;

    // Works out cue capability and where cue is routed for a selection.
    void lookupDestination(int destination);
    void lookupSource(int source);
    void findWhereRouted(int cueSource);

    // Routes cue for the selected pair, or explains listen-only.
    void take();

protected:
    void onButton(notify_ref* ref) override;
    int onRouteStatus(notify_ref* ref) override;
    vrel_string onParentCommand(notify_ref* ref) override;
    void onTimer(int id) override;

private:
    // Puts the cue button back to "Listen Only".
    void showListenOnly();
    // The name shown for a cue source that holds a source's cue destination.
    vrel_string cueSourceName(int cueSource) const;

    // The plain decimal text of a number, as the lists hold numbers.
    static vrel_string decimal(int number);
    // Builds what is kept beside the mapping lists, after they are read.
    void indexLists();

    static constexpr int cueTableSize = 17; // cue router destinations 0 to 16
    // The timer that clears the operator message, and how long it stays up
    // (in the host's timer unit).
    static constexpr int messageTimer = 1;
    static constexpr int messageInterval = 5000;

    vrel_string instanceName;
    bool cueMode;
    int cueRouter;
    int cueInfo;
    int cueTable[cueTableSize];
    int source;
    int destination;
    int cueClearSource;
    int destCueSource;
    int destListIndex;
    int sourceCueDest;
    int sourceListIndex;
    int cueOffSource;
    int whereCueRouted;
    int sourceCurrentCue;
    bool destCueCapable;
    bool sourceCueCapable;
    bool sourceCueBusy;
    vrel_stringlist cueDestinations;
    vrel_stringlist sourceNames;
    vrel_stringlist cueSources;
    vrel_stringlist musicDestinations;
    // Kept beside the lists and replaced with them: where each number stands
    // in musicDestinations and cueDestinations, and cueSources' values.
    number_index musicDestinationPositions;
    number_index cueDestinationPositions;
    owned_array<int> cueSourceNumbers;
    // The elements of sourceNames.
    int sourceNameCount;
};

#endif
