#include "scenario_statement.h"

bool statement::isAction() const {
    switch (kind) {
    case statement_kind::load:
    case statement_kind::unload:
    case statement_kind::press:
    case statement_kind::parent:
    case statement_kind::status:
    case statement_kind::route:
    case statement_kind::advance:
    case statement_kind::fault:
    case statement_kind::replies:
        return true;
    default:
        return false;
    }
}

bool statement::isExpectation() const {
    switch (kind) {
    case statement_kind::expect_sent:
    case statement_kind::expect_nothing_sent:
    case statement_kind::expect_property:
    case statement_kind::expect_crosspoint:
    case statement_kind::expect_info:
    case statement_kind::expect_reply:
    case statement_kind::expect_no_reply:
    case statement_kind::expect_debug:
    case statement_kind::expect_no_debug:
    case statement_kind::expect_timer:
    case statement_kind::expect_flagged:
        return true;
    default:
        return false;
    }
}
