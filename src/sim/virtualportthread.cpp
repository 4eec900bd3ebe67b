#include "virtualportthread.h"

#include "virtualport.h"

#include <QThread>

VirtualPortThread::VirtualPortThread()
{
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("virtual module"));
    m_context = new QObject;
    m_context->moveToThread(m_thread);
    m_thread->start();
}

VirtualPortThread::~VirtualPortThread()
{
    stop();
    m_thread->quit();
    m_thread->wait();
    delete m_context;
    delete m_thread;
}

bool VirtualPortThread::start(const ModuleSettings &settings, qint64 lineBaud, QString *error)
{
    stop();
    bool ok = false;
    QString path;
    QString problem;
    QMetaObject::invokeMethod(
        m_context,
        [&] {
            auto *port = new VirtualPort;
            ok = port->start(settings, lineBaud, &problem);
            if (!ok) {
                delete port;
                return;
            }
            m_port = port;
            path = port->devicePath();
        },
        Qt::BlockingQueuedConnection);
    if (!ok && error)
        *error = problem;
    m_path = path;
    return ok;
}

void VirtualPortThread::stop()
{
    if (!m_port)
        return;
    QMetaObject::invokeMethod(
        m_context,
        [this] {
            delete m_port;
            m_port = nullptr;
        },
        Qt::BlockingQueuedConnection);
    m_path.clear();
}

void VirtualPortThread::withModule(const std::function<void(VirtualModule *)> &fn)
{
    if (!m_port)
        return;
    QMetaObject::invokeMethod(
        m_context, [this, &fn] { fn(m_port->module()); }, Qt::BlockingQueuedConnection);
}
