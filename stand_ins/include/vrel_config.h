// The configuration reader: walks the entries of one named settings section.
//
// A section address "object_settings.ZELK_ROUTER" names the file
// object_settings.xml (the part before the first dot plus ".xml") and in it
// the <section> whose id is ZELK_ROUTER. The file is looked for in the folder
// named by the environment variable VREL_CONFIG_DIR, read at construction, or
// in the current directory when it is unset:
//
//   <settings>
//     <section id="ZELK_ROUTER">
//       <entry id="cue_router_number" value="7"/>
//     </section>
//   </settings>
//
// A missing file, section or an address without a dot leaves the reader on no
// entry. A file that is not well-formed XML is treated as missing and draws one
// diagnostic naming the file. An unchanged file is parsed only once per
// process; a changed one is read again. The reading itself is the settings
// reader's (settings_reader.h), which this class walks.
#ifndef VREL_CONFIG_H
#define VREL_CONFIG_H

#include "vrel_export.h"
#include "vrel_string.h"

struct vrel_settings_walk;

class VREL_CONFIG_API vrel_config {
public:
    // Opens the named section and stands on its first entry.
    explicit vrel_config(const vrel_string& section);
    vrel_config(const vrel_config&) = delete;
    vrel_config& operator=(const vrel_config&) = delete;
    virtual ~vrel_config();

    // True while the reader stands on an entry.
    bool isChildValid() const;
    // The named attribute of the current entry; empty when the entry lacks it
    // or the reader stands on no entry.
    vrel_string childAttr(const vrel_string& name) const;
    // Moves to the next entry in document order; false when there is none.
    bool nextChild();

private:
    // The reader's walk over the section; null when it could not be made,
    // which reads as a section without entries.
    vrel_settings_walk* walk_;
};

#endif
