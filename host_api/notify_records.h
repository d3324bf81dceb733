// Records the host hands to a component's notify, and the notification type
// codes. The layouts are shared with the host: plain structs, fields in order,
// natural alignment. On 32-bit Windows the offsets below are the host's; on a
// 64-bit target the pointer fields simply widen.
#ifndef VREL_NOTIFY_RECORDS_H
#define VREL_NOTIFY_RECORDS_H

#include <stddef.h>
#include <stdint.h>

// The `type` argument of vrel_client_callback::notify, and what `data` is.
// Every pointer the host passes belongs to the host and is valid only during
// the call; the component copies what it keeps.
enum vrel_notify_type {
    // A route_status_record. Null is ignored.
    vrel_notify_route_status = 1,
    // A button_record. Null is ignored.
    vrel_notify_button = 2,
    // A NUL-terminated command text of the parent panel ("Source=12"), or
    // null (read as the empty command). The component must not write to it.
    // The result may be a reply text, handed back with type 5.
    vrel_notify_parent_command = 3,
    // No pointer: the value of `data` itself is the id of the timer that
    // fired (started with "ET id interval").
    vrel_notify_timer = 4,
    // A reply text returned by an earlier type 3, handed back once the host
    // has used it; the component frees it. Null is ignored.
    vrel_notify_release = 5,
    // The host's own; the frame passes the value on unread to the component's
    // handler, which ignores it unless the component says otherwise.
    vrel_notify_6 = 6,
    // As type 6.
    vrel_notify_7 = 7,
};

// Type 1: a router reports what is now routed to one of its destinations.
struct route_status_record {
    int32_t device;   // router device number
    int32_t reserved; // the host's own; never read
    int32_t index;    // destination on that device
    int32_t value;    // source now routed to that destination
};

enum { vrel_command_max_parts = 32 };

// A command text split into its word, dot-separated parts and value, e.g.
// "a.b.c=x.y" gives command "a", parts "b" and "c", value "x.y". Unfilled
// texts point to one shared constant empty text, never to null. `buffer` is
// the record's own copy of the text (or null); the other pointers point into
// it or to the shared empty text.
struct command_record {
    const char* command;
    const char* parts[vrel_command_max_parts];
    const char* value;
    int32_t partCount; // 0 to 32
    bool hasValue;     // an "=" was found
    char* buffer;
};

// Type 2: a button on the component's panel was pressed.
struct button_record {
    uint32_t reserved0;      // the host's own; never read
    uint32_t reserved1;      // the host's own; never read
    const char* panel;       // panel number as text ("1")
    const char* control;     // id of the pressed control ("ActivateCue")
    command_record* command; // the control's own command text, parsed by the host
};

#if defined(_WIN32) && !defined(_WIN64)
// The host is a 32-bit Windows program: its offsets are fixed.
static_assert(sizeof(route_status_record) == 16, "route_status_record layout");
static_assert(offsetof(route_status_record, index) == 8, "route_status_record layout");
static_assert(offsetof(route_status_record, value) == 12, "route_status_record layout");
static_assert(sizeof(command_record) == 148, "command_record layout");
static_assert(offsetof(command_record, parts) == 4, "command_record layout");
static_assert(offsetof(command_record, value) == 132, "command_record layout");
static_assert(offsetof(command_record, partCount) == 136, "command_record layout");
static_assert(offsetof(command_record, hasValue) == 140, "command_record layout");
static_assert(offsetof(command_record, buffer) == 144, "command_record layout");
static_assert(offsetof(button_record, panel) == 8, "button_record layout");
static_assert(offsetof(button_record, control) == 12, "button_record layout");
static_assert(offsetof(button_record, command) == 16, "button_record layout");
#endif

#endif
