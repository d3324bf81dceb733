#include "traffic_kinds.h"

namespace {

const traffic_kind_entry kinds[] = {
    {traffic_kind::step, "step", "step", nullptr, "#6b7280", ""},
    {traffic_kind::say, "say", "say", nullptr, "", ""},
    {traffic_kind::in, "in", "in", "\x1b[36m", "#047857", ""},
    {traffic_kind::out, "out", "out", "\x1b[32m", "#1d4ed8", ""},
    {traffic_kind::handback, "handback", "back", nullptr, "", ""},
    {traffic_kind::reply, "reply", "reply", nullptr, "", ""},
    {traffic_kind::debug, "debug", "debug", nullptr, "#7c3aed", ""},
    {traffic_kind::host, "host", "host", nullptr, "", ""},
    {traffic_kind::note, "note", "note", "\x1b[33m", "", "#fff4d6"},
    {traffic_kind::problem, "problem", "PROBLEM", "\x1b[1;31m", "#a4161a", "#fde2e1"},
    {traffic_kind::output, "output", "output", nullptr, "#92400e", ""},
};

} // namespace

const traffic_kind_entry* traffic_kinds() {
    return kinds;
}

size_t traffic_kind_count() {
    return sizeof kinds / sizeof kinds[0];
}

const traffic_kind_entry& traffic_kind_of(traffic_kind kind) {
    return kinds[static_cast<size_t>(kind)];
}
