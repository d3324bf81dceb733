// Records of the kinds a host hands to notify, with the texts they point to
// kept beside them for as long as the record lives.
#ifndef VREL_VALIDATOR_HOST_RECORDS_H
#define VREL_VALIDATOR_HOST_RECORDS_H

#include "notify_records.h"

#include <string>

// A button press (type 2) with the control's own command, "word=value".
struct button_notification {
    std::string panel = "1";
    std::string control = "ActivateCue";
    std::string commandWord = "cue";
    std::string commandValue = "toggle";
    command_record command{};
    button_record record{};

    // Points the record at the texts above. Fields named in `nulls` are left
    // null instead: 'p' panel, 'c' control, 'r' the command record, 'w' the
    // command's word, 'v' its value.
    button_record* build(const char* nulls = "");
};

#endif
