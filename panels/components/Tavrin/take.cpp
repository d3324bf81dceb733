// The take: route cue for the selected pair, or explain listen-only.
#include "Tavrin.h"

vrel_string Tavrin::cueSourceName(int cueSource) const {
    const int position = cueSource - 1;
    if (cueSource < 1 || position >= sourceNameCount) {
        return decimal(cueSource);
    }
    return sourceNames[position];
}

void Tavrin::showListenOnly() {
    cueMode = false;
    textPut("text", "Listen Only", "1", "ActivateCue");
    textPut("text", "Click to add cue", "1", "CueText");
}

void Tavrin::take() {
    timerSet(messageTimer, messageInterval);

    const vrel_string panel("1");
    const vrel_string message("CueInfo");
    const vrel_string listenOnly("|You are getting listen-only");

    if (source == cueClearSource) {
        infoWrite(cueInfo, "grey", destCueSource, true);
        debugOut("cueoffsource=");
        debugOut(decimal(cueOffSource));
        debugOut("\n");
        debugOut("wheresourcecuerouted=");
        debugOut(decimal(whereCueRouted));
        debugOut("\n");
        routeCrosspoint(cueRouter, cueOffSource, whereCueRouted, "", true);
    } else if (!cueMode) {
        infoWrite(cueInfo, "grey", destCueSource, true);
        debugOut("not even thinking cue is selected \n");
        routeCrosspoint(cueRouter, cueOffSource, whereCueRouted, "", true);
    } else if (destCueCapable && !sourceCueCapable) {
        infoWrite(cueInfo, "grey", destCueSource, true);
        textPut("text", "This music source |can not receive cue " + listenOnly, panel, message);
        routeCrosspoint(cueRouter, cueOffSource, whereCueRouted, "", true);
    } else if (!destCueCapable && sourceCueCapable) {
        textPut("text", "This music destination | can not produce cue " + listenOnly, panel,
                message);
    } else if (!destCueCapable && !sourceCueCapable) {
        textPut("text", "Neither source nor |destination is cue capable " + listenOnly, panel,
                message);
    } else if (sourceCueBusy) {
        const vrel_string busy =
            cueSourceName(sourceCurrentCue) + " has the cue | You are getting listen-only";
        infoWrite(cueInfo, "grey", destCueSource, true);
        textPut("text", busy, panel, message);
        routeCrosspoint(cueRouter, cueOffSource, whereCueRouted, "", true);
    } else {
        routeCrosspoint(cueRouter, cueOffSource, whereCueRouted, "", true);
        routeCrosspoint(cueRouter, destCueSource, sourceCueDest, "", true);
        infoWrite(cueInfo, "green", destCueSource, true);
    }

    showListenOnly();
}
