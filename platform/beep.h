#pragma once
// The platform's message beep (MessageBeep). The Linux stand-in rings the X display's
// bell under X11, else the terminal bell when there is a terminal; tests install the
// recording one and count the beeps.
#include <vector>

namespace plat {

class Beep {
public:
    virtual ~Beep() = default;
    // type: the sound kind; 0 is the default message sound.
    virtual void messageBeep(unsigned type) = 0;
};

// Remembers every beep in order.
class RecordingBeep : public Beep {
public:
    void messageBeep(unsigned type) override { m_types.push_back(type); }
    const std::vector<unsigned>& types() const { return m_types; }
    int count() const { return static_cast<int>(m_types.size()); }

private:
    std::vector<unsigned> m_types;
};

// The beep in use: the installed one, otherwise the desktop's bell.
Beep& beep();
// Installs a beep (nullptr: back to the desktop's bell); answers the one it replaces.
Beep* setBeep(Beep* beep);

// Sounds the default message sound (MessageBeep with 0).
inline void messageBeep() { beep().messageBeep(0); }

// Installs a beep for the lifetime of a scope (tests).
class ScopedBeep {
public:
    explicit ScopedBeep(Beep* beep) : m_previous(setBeep(beep)) {}
    ~ScopedBeep() { setBeep(m_previous); }
    ScopedBeep(const ScopedBeep&) = delete;
    ScopedBeep& operator=(const ScopedBeep&) = delete;

private:
    Beep* m_previous;
};

}  // namespace plat
