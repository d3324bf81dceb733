// The frame every script component of the family derives from: the host
// channel, the notification dispatcher, the command builders, settings lookup
// and the optional alarm group handling.
#ifndef VREL_SCRIPT_HELPER_H
#define VREL_SCRIPT_HELPER_H

#include "client_host.h"
#include "notify_ref.h"
#include "vrel_client_callback.h"
#include "vrel_string.h"
#include "vrel_stringlist.h"

class vrel_script_helper : public vrel_client_callback {
public:
    // Sends "AS" to the host, if there is one: the last command of a
    // component's life.
    ~vrel_script_helper() override;

    // The dispatcher: turns each notification type into one virtual call.
    char* notify(void* data, int type) override;

    // ---- Host commands: each sends exactly one command text with code 0 ----

    // PS 'panel' 'componentPath/file' ['extra']. True when the host answered
    // with a non-null reply, or when there is no host.
    bool panelShow(const vrel_string& panel, const vrel_string& file, const vrel_string& extra);
    // TP 'property=value' 'panel' 'control'
    void textPut(const vrel_string& property, const vrel_string& value, const vrel_string& panel,
                 const vrel_string& control);
    // TG 'panel' 'control' 'property'. `result` receives the value, the whole
    // reply for property "all", or the empty text when there is none or the
    // reply names another property (which also writes a diagnostic).
    void textGet(const vrel_string& property, const vrel_string& panel, const vrel_string& control,
                 vrel_string& result);
    // XI 'panel' 'pattern': the ids of the matching controls, in reply order.
    vrel_stringlist controlIndex(const vrel_string& panel, const vrel_string& pattern);
    // IW device 'text' index flag. A text over 256 characters draws a warning
    // and is still sent whole.
    void infoWrite(int device, const vrel_string& text, int index, bool flag);
    // RC device source destination ',extra' flag
    void routeCrosspoint(int device, int source, int destination, const vrel_string& extra,
                         bool flag);
    // RR device first last ['ADD']
    void routeRegister(int device, int first, int last, bool add);
    // RP device first last
    void routePoll(int device, int first, int last);
    // ET id interval; ET id when interval is 0.
    void timerSet(int id, int interval);
    // ET id
    void timerKill(int id);

    // ---- Diagnostics: written even without a host, no line end added ----

    void debugOut(const vrel_string& text);
    // Fills the format's markers with t1 to t9 in turn (vrel_string::arg).
    void debugFormat(const vrel_string& format, const vrel_string& t1, const vrel_string& t2,
                     const vrel_string& t3, const vrel_string& t4, const vrel_string& t5,
                     const vrel_string& t6, const vrel_string& t7, const vrel_string& t8,
                     const vrel_string& t9);

    // ---- Settings ----

    // The value of the first entry of "object_settings.<section>" whose id is
    // `key`; the empty text when there is none.
    vrel_string objectSetting(const vrel_string& section, const vrel_string& key);

    // ---- Alarm group handling ----

    // Writes `state` to the "alarm" property of every control of panel 1 whose
    // id matches "alm_", and a level to its "value" property.
    void alarmAction(const vrel_string& state);

protected:
    // `host` may be null: nothing is then sent. `text` (null allowed) becomes
    // the folder prefix of panel files.
    vrel_script_helper(client_host* host, const char* text);

    // ---- Notifications, one per type ----

    // Type 2: a button on the component's panel.
    virtual void onButton(notify_ref* ref) = 0;
    // Type 1: a router's status; the result is ignored.
    virtual int onRouteStatus(notify_ref* ref) = 0;
    // Type 3: a command of the parent panel; a non-empty result is the reply.
    virtual vrel_string onParentCommand(notify_ref* ref) = 0;
    // Type 7: passed on unread.
    virtual void onNotify7(notify_ref* ref);
    // Type 4: timer `id` has fired.
    virtual void onTimer(int id) = 0;
    // Type 6: passed on unread.
    virtual void onNotify6(notify_ref* ref);

    client_host* host;
    vrel_string componentPath;
    // When true, button notifications pass the alarm pre-filter first.
    bool alarmHandling;

private:
    // Sends one command text with code 0; null when there is no host.
    char* sendCommand(const char* text);
    void onButtonNotification(void* data);
    // Parses the text, asks the component and copies a non-empty reply.
    char* onParentCommandNotification(const char* text);
    // Consumes "ActionAll" with command "alarm" and "AckAll"; true if it did.
    bool alarmPreFilter(notify_ref& ref);
};

#endif
