// A panel as the host shows it: the controls of a panel file, each keeping its
// own properties, which the component sets with TP and reads with TG.
//
// The panel file is XML:
//   <panel number="1">
//     <control id="ActivateCue" kind="button">
//       <property name="text" value="Listen Only"/>
//       <property name="command" value="cue=toggle"/>
//     </control>
//   </panel>
#ifndef VREL_HOST_PANEL_H
#define VREL_HOST_PANEL_H

#include <string>
#include <utility>
#include <vector>

struct panel_control {
    std::string id;
    std::string kind;
    // In file order; a property set later is added at the end.
    std::vector<std::pair<std::string, std::string>> properties;

    // Null when the control lacks the property.
    const std::string* property(const std::string& name) const;
    void setProperty(const std::string& name, const std::string& value);
};

class panel {
public:
    // Reads a panel file. On failure `problems` says why, with file and line,
    // and the result is false. Oddities that still leave a usable panel (a
    // control without id, a repeated id) are added to `problems` too, and the
    // result is true.
    bool load(const std::string& path, std::vector<std::string>& problems);

    const std::string& file() const { return file_; }
    // The number attribute of the file's <panel> element.
    const std::string& declaredNumber() const { return declaredNumber_; }
    const std::vector<panel_control>& controls() const { return controls_; }

    panel_control* find(const std::string& id);
    const panel_control* find(const std::string& id) const;

    // Ids of the controls matching `pattern`, in file order. "*" stands for any
    // run of characters and "?" for one; a pattern without either matches the
    // ids that start with it ("alm_" matches alm_1 and alm_2).
    std::vector<std::string> matching(const std::string& pattern) const;

private:
    std::string file_;
    std::string declaredNumber_;
    std::vector<panel_control> controls_;
};

// The wildcard match used by panel::matching.
bool matches_pattern(const std::string& pattern, const std::string& id);

#endif
