#include "screenfile.h"

#include "library/regularfile.h"
#include "virtualmodule.h"

#include <QSaveFile>

ScreenFile::ScreenFile(VirtualModule *module, const QString &path, bool dimmed, QObject *parent)
    : QObject(parent), m_module(module), m_path(path), m_dimmed(dimmed), m_timer(this)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &ScreenFile::write);
    connect(module, &VirtualModule::stateChanged, this, &ScreenFile::changed);
}

void ScreenFile::changed()
{
    if (m_timer.isActive())
        return;
    const qint64 since = m_sinceWrite.isValid() ? m_sinceWrite.elapsed() : MinIntervalMs;
    m_timer.start(int(qMax<qint64>(0, MinIntervalMs - since)));
}

bool ScreenFile::write()
{
    m_sinceWrite.start();
    // The name may have become a link or a FIFO since the start; the save would replace it.
    if (!RegularFile::writeRefusal(m_path).isEmpty())
        return false;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const ModuleRuntime &rt = m_module->runtime();
    if (!(m_dimmed ? rt.display() : rt.frame()).save(&file, "PNG"))
        return false;
    return file.commit();
}
