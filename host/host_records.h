// Records of the kinds a host hands to notify, with the texts they point to
// kept beside them for as long as the record lives.
#ifndef VREL_HOST_HOST_RECORDS_H
#define VREL_HOST_HOST_RECORDS_H

#include "notify_records.h"

#include <cstdint>
#include <string>

// A button press as a panel host delivers it: the control's own command text
// (null: the control has none) parsed into the record as the frame parses
// texts. The record stays valid while the object lives.
class button_press {
public:
    button_press(std::string panel, std::string control, const char* commandText);
    button_press(const button_press&) = delete;
    button_press& operator=(const button_press&) = delete;
    ~button_press();

    button_record* record() { return &record_; }

private:
    std::string panel_;
    std::string control_;
    command_record command_{};
    button_record record_{};
};

// What a router reports for one destination (type 1), as a host keeps it.
struct route_status {
    int32_t device = 0;
    int32_t destination = 0;
    int32_t source = 0;
};

inline bool operator==(const route_status& a, const route_status& b) {
    return a.device == b.device && a.destination == b.destination && a.source == b.source;
}

// The record a host hands to the component for `status`.
inline route_status_record record_of(const route_status& status) {
    return route_status_record{status.device, 0, status.destination, status.source};
}

// Type 4 carries the timer id as the pointer's value.
inline void* timer_notification(int32_t id) {
    return reinterpret_cast<void*>(static_cast<intptr_t>(id));
}

// A button press (type 2) built field by field, so that any field can be left
// null: the control's own command is "word=value".
struct button_notification {
    std::string panel = "1";
    std::string control;
    std::string commandWord;
    std::string commandValue;
    command_record command{};
    button_record record{};

    // Points the record at the texts above. Fields named in `nulls` are left
    // null instead: 'p' panel, 'c' control, 'r' the command record, 'w' the
    // command's word, 'v' its value.
    button_record* build(const char* nulls = "");
};

#endif
