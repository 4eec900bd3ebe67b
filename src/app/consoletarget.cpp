#include "consoletarget.h"

bool ConsoleTarget::isAvailable(Target target) const
{
    return (target == Port && m_portOpen) || (target == Simulator && m_simulatorRunning);
}

QList<ConsoleTarget::Target> ConsoleTarget::available() const
{
    QList<Target> list;
    for (Target t : {Port, Simulator}) {
        if (isAvailable(t))
            list << t;
    }
    return list;
}

ConsoleTarget::Target ConsoleTarget::current() const
{
    if (isAvailable(m_chosen))
        return m_chosen;
    const QList<Target> list = available();
    return list.isEmpty() ? None : list.first();
}
