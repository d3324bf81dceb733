// Ctrl-C, a terminal that goes away, or a polite kill end a console session
// as "quit" does: the session notices, destroys the component, prints its
// summary and saves its recording and history. A third signal before the
// session got to it ends the program at once (a component that hangs).
#ifndef VREL_DEVHOST_SESSION_INTERRUPTS_H
#define VREL_DEVHOST_SESSION_INTERRUPTS_H

class session_interrupts {
public:
    // Catches SIGINT, SIGTERM and SIGHUP (on Windows, SIGINT and SIGTERM) for
    // the object's life; the previous handlers come back afterwards. One
    // object at a time.
    session_interrupts();
    session_interrupts(const session_interrupts&) = delete;
    session_interrupts& operator=(const session_interrupts&) = delete;
    ~session_interrupts();

    // True once a signal arrived (while an object lives).
    static bool requested();
    // Forgets a signal that arrived (for a new session).
    static void clear();

    // While a reading_scope lives, a signal interrupts a blocking read of the
    // input, so that the session sees it at once. Outside, interrupted system
    // calls are restarted: output is never cut short by Ctrl-C.
    class reading_scope {
    public:
        reading_scope();
        reading_scope(const reading_scope&) = delete;
        reading_scope& operator=(const reading_scope&) = delete;
        ~reading_scope();
    };
};

#endif
