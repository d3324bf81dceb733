// The configuration reader of the other libraries: the operations a
// component may rely on, and nothing more. It reads the same settings files
// as the stand-in (object_settings.xml in VREL_CONFIG_DIR), parsing the file
// again for every reader and writing no diagnostics. An entry without the
// attribute asked for gives its element's text ("<entry id="a">7</entry>").
#ifndef VREL_CONFIG_H
#define VREL_CONFIG_H

#include "vrel_export.h"
#include "vrel_string.h"

class VREL_CONFIG_API vrel_config {
public:
    explicit vrel_config(const vrel_string& section);
    vrel_config(const vrel_config&) = delete;
    vrel_config& operator=(const vrel_config&) = delete;
    virtual ~vrel_config();

    bool isChildValid() const;
    vrel_string childAttr(const vrel_string& name) const;
    bool nextChild();

private:
    struct state;
    state* state_;
};

#endif
