// What the cue router can do for the selected source and destination.
#include "Tavrin.h"

// The lists are searched by the numbers' decimal texts; their indexes give
// the same positions without making the texts.

void Tavrin::lookupDestination(int destination_) {
    destListIndex = musicDestinationPositions.find(destination_);
    // A destination missing from the list, or one whose position the cue
    // source list lacks, has no cue source.
    if (destListIndex < 0 || destListIndex >= static_cast<int>(cueSourceNumbers.size())) {
        destCueCapable = false;
        destCueSource = -1;
        return;
    }
    destCueSource = cueSourceNumbers[static_cast<size_t>(destListIndex)];
    destCueCapable = true;
    findWhereRouted(destCueSource);
}

void Tavrin::findWhereRouted(int cueSource) {
    // The highest destination carrying the cue source wins. Destinations 15
    // and 16 are tracked but never carry a destination's cue.
    int where = -1;
#pragma GCC unroll 14
    for (int index = 1; index <= 14; ++index) {
        where = cueTable[index] == cueSource ? index : where;
    }
    whereCueRouted = where;
}

void Tavrin::lookupSource(int source_) {
    sourceListIndex = cueDestinationPositions.find(source_);
    // The element found is the source's own decimal text: its value is the source.
    const int cueDest = sourceListIndex < 0 ? -1 : source_;
    // A source missing from the list, or whose cue destination the table does
    // not hold, cannot receive cue.
    if (sourceListIndex < 0 || cueDest < 0 || cueDest >= cueTableSize) {
        sourceCueCapable = false;
        sourceCueDest = -1;
        return;
    }
    sourceCueDest = cueDest;
    sourceCueCapable = true;
    sourceCurrentCue = cueTable[sourceCueDest];
    sourceCueBusy = sourceCurrentCue >= 0 && sourceCurrentCue != cueOffSource;
}
