#include "vrel_script_helper.h"

#include "debug_sink.h"

void vrel_script_helper::debugOut(const vrel_string& text) {
    vrel_debug_sink(static_cast<const char*>(text));
}

void vrel_script_helper::debugFormat(const vrel_string& format, const vrel_string& t1,
                                     const vrel_string& t2, const vrel_string& t3,
                                     const vrel_string& t4, const vrel_string& t5,
                                     const vrel_string& t6, const vrel_string& t7,
                                     const vrel_string& t8, const vrel_string& t9) {
    const vrel_string text =
        format.arg(t1).arg(t2).arg(t3).arg(t4).arg(t5).arg(t6).arg(t7).arg(t8).arg(t9);
    vrel_debug_sink(static_cast<const char*>(text));
}
