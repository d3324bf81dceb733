// The holder of one notification's record pointer, built on the dispatcher's
// stack for one handler call. Handlers read the record through it and must not
// keep it. The accessors copy a text from the record; a null record or a null
// text in it reads as the empty text.
#ifndef VREL_NOTIFY_REF_H
#define VREL_NOTIFY_REF_H

#include "notify_records.h"
#include "vrel_string.h"

class notify_ref {
public:
    explicit notify_ref(void* record) : record_(record) {}

    void* record() const { return record_; }

    // Of a button_record.
    vrel_string panel() const;
    vrel_string control() const;
    vrel_string buttonCommand() const; // command word of the button's own command
    vrel_string buttonValue() const;   // value of the button's own command

    // Of a command_record.
    vrel_string command() const;
    vrel_string value() const;
    // The same two texts where they lie in the record, for the handler call
    // only; "" for a null record or text.
    const char* commandText() const {
        return record_ != nullptr ? textOr(commandRecord()->command) : "";
    }
    const char* valueText() const {
        return record_ != nullptr ? textOr(commandRecord()->value) : "";
    }

    // Of a route_status_record, or null.
    const route_status_record* routeStatus() const {
        return static_cast<const route_status_record*>(record_);
    }

private:
    const command_record* commandRecord() const {
        return static_cast<const command_record*>(record_);
    }
    static const char* textOr(const char* text) { return text != nullptr ? text : ""; }

    void* record_;
};

#endif
