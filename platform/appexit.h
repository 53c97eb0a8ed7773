#pragma once
// The one application-wide request to end the program. A request sets a flag and asks
// the event loop to quit at its next turn; code that runs a loop of its own (a modal
// dialog, main before exec) tests the flag. A request made because something failed
// makes the process end with a non-zero status.
#include <QObject>

namespace plat {

class AppExit : public QObject {
    Q_OBJECT
public:
    static AppExit& instance();

    // Asks the program to end. failure: the end is the outcome of a failing step.
    void request(bool failure = false);
    bool requested() const { return m_requested; }
    bool failed() const { return m_failed; }
    // The status the process should end with.
    int exitStatus() const { return m_failed ? 1 : 0; }
    // Clears the request (tests, and a fresh start in one process).
    void reset();

signals:
    // Emitted once per request; open modal loops close with their cancel result.
    void endRequested();

private:
    AppExit() = default;
    bool m_requested = false;
    bool m_failed = false;
};

inline void requestEnd(bool failure = false) { AppExit::instance().request(failure); }
inline bool endRequested() { return AppExit::instance().requested(); }

}  // namespace plat
