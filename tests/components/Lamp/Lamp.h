// A second, minimal component of the family: a lamp the operator switches on
// and off with a button; the parent panel sets its colour. It shows that the
// frame and vrel_add_component carry a component other than the cue control,
// and gives the tools a component whose words are not the cue control's.
#ifndef LAMP_H
#define LAMP_H

#include "vrel_script_helper.h"

class Lamp : public vrel_script_helper {
public:
    // Shows panel 1 and reads the info device and slot of section LAMP.
    Lamp(client_host* host, const char* text);

protected:
    void onButton(notify_ref* ref) override;
    int onRouteStatus(notify_ref* ref) override;
    vrel_string onParentCommand(notify_ref* ref) override;
    void onTimer(int id) override;

private:
    // Writes the lamp's state to the panel and the info device.
    void show();

    bool on;
    vrel_string colour;
    int infoDevice;
    int infoSlot;
};

#endif
