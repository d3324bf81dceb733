// Checks everything a component sends and returns against the rule book, for
// whichever host drives it. A host forwards each call of send, says when it
// calls into the component and when the component is destroyed, and carries
// out the commands the checker lets through; the checker keeps the replies
// given out and what it needs to know of the component's life, and reports
// every breach to the host's listener with the rule it breaks.
#ifndef VREL_HOST_PROTOCOL_CHECKER_H
#define VREL_HOST_PROTOCOL_CHECKER_H

#include "command_reader.h"
#include "panel.h"
#include "protocol_rules.h"
#include "reply_ledger.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Where a checker reports: the rule broken and the whole message
// (breach_text), once per breach.
class breach_listener {
public:
    virtual void breach(const rule_entry& rule, const std::string& message) = 0;

protected:
    ~breach_listener() = default;
};

// What the rules about panels and timers read of the host's state. A host that
// shows no panels and runs no timers gives none, and those rules are not
// checked.
class host_state {
public:
    virtual const panel* shownPanel(const std::string& number) const = 0;
    virtual bool timerRunning(int32_t id) const = 0;

protected:
    ~host_state() = default;
};

// What a notification of `type` returned, checked: only a parent command may
// return a text, not an empty one and not one the host still holds
// (`stillHeld`). `what` describes the notification. Returns the text's length
// when the host may use and release it, otherwise -1.
long long check_answer(breach_listener& listener, int type, const char* result, bool stillHeld,
                       const std::string& what);

// What a host tells its checker of the component's life. A host that does not
// say when it calls in, or when the component is destroyed, leaves the rules
// that need it unchecked.
struct checked_life {
    // enterCall and leaveCall: a send outside a call is a breach.
    bool calls = true;
    // beginDestruction and endOfLife: the rules about "AS".
    bool destruction = true;
};

class protocol_checker {
public:
    protocol_checker(breach_listener& listener, const host_state* state, checked_life life);
    protocol_checker(const protocol_checker&) = delete;
    protocol_checker& operator=(const protocol_checker&) = delete;

    // A new component begins: replies, calls and its end are forgotten.
    void restart();

    // The host calls into the component, and that call has returned: the
    // replies to queries of the call must have come back by then. `what`
    // names the call for the message ("the factory", "notification type 4").
    void enterCall();
    void leaveCall(const std::string& what);
    bool inside() const { return inside_; }

    // The destructor is about to run, and it has returned.
    void beginDestruction();
    void endOfLife();
    bool destroying() const { return destroying_; }

    // The component called the first entry of the host's table.
    void reservedCalled();

    // One call of send. For code 0 the result says whether the host is to
    // carry the command out (`ok`) and holds it taken apart; for code 5 the
    // hand-back is checked and the result is never ok. A send while the host
    // is not calling the component is refused: flagged, and nothing else.
    struct sent {
        bool ok = false;
        bool release = false;
        // A code-0 text with its NUL: `text` holds it, read or not.
        bool readable = false;
        host_command command;
        // The text as sent, when it could be read (empty for a null text).
        std::string text;
    };
    sent send(const char* text, int code);

    // "PS": reads the panel file into `shown`. False, with the panel-file
    // rule broken, when it cannot be shown; oddities that leave a usable
    // panel go to `notes`.
    bool loadPanel(const host_command& command, panel& shown, std::vector<std::string>& notes);

    // A reply text for the command just sent; the host gives it to the
    // component. Replies to TG and XI must come back with code 5.
    char* issueReply(const std::string& command, const std::string& text);
    // The command a reply pointer was given out for, or the empty text.
    std::string replyCommand(const char* pointer) const { return replies_.commandOf(pointer); }
    // Replies to queries not yet handed back, as breaches, without ending the
    // call (for a host that does not track calls).
    std::vector<std::string> outstandingReplies() const;

    // What a notification returned (check_answer, below).
    long long answer(int type, const char* result, bool stillHeld, const std::string& what) {
        return check_answer(listener_, type, result, stillHeld, what);
    }

    // No command text of a working component comes near this; a text without
    // a NUL within it is taken as unterminated.
    static constexpr size_t longestText = size_t{64} << 20;

private:
    void breach(protocol_rule rule, const std::string& detail);
    void checkCommand(const host_command& command, const std::string& shown);
    // The route statuses a command of the current call causes (status-limit).
    void countStatuses(int64_t count);

    breach_listener& listener_;
    const host_state* state_;
    checked_life life_;
    bool inside_ = false;
    bool destroying_ = false;
    bool ended_ = false;
    int64_t causedStatuses_ = 0;
    reply_ledger replies_;
};

#endif
