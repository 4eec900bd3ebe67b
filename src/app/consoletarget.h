#pragma once

#include <QList>

// Where the console sends: the open serial port or the running simulator. Holds the rule only;
// the window tells it what is open and what the user picked.
class ConsoleTarget {
public:
    enum Target { None, Port, Simulator };

    void setPortOpen(bool open) { m_portOpen = open; }
    void setSimulatorRunning(bool running) { m_simulatorRunning = running; }
    // The user's own pick. Kept while it is unavailable, so it comes back with its target.
    void choose(Target target) { m_chosen = target; }

    bool isAvailable(Target target) const;
    // Port first, then simulator: the order of the choice box.
    QList<Target> available() const;
    // The user's pick when it is available; otherwise the port when open, else the simulator
    // when it runs, else None (nothing is sent).
    Target current() const;

private:
    bool m_portOpen = false;
    bool m_simulatorRunning = false;
    Target m_chosen = None;
};
