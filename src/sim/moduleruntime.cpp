#include "moduleruntime.h"

#include "script/moduletext.h"

#include <QCoreApplication>

namespace {

QString tr(const char *text) { return QCoreApplication::translate("ModuleRuntime", text); }

}  // namespace

ModuleRuntime::ModuleRuntime(const QSize &panel)
{
    m_screen.setPictures(&m_pictures);
    setPanelSize(panel);
}

void ModuleRuntime::setPanelSize(const QSize &panel)
{
    m_panel = QSize(qBound(1, panel.width(), 8192), qBound(1, panel.height(), 8192));
    m_screen.setSize(drawingSize(m_direction));
    m_screen.clearControls();
}

QSize ModuleRuntime::drawingSize(int direction) const
{
    const int shorter = qMin(m_panel.width(), m_panel.height());
    const int longer = qMax(m_panel.width(), m_panel.height());
    return direction % 2 == 0 ? QSize(shorter, longer) : QSize(longer, shorter);
}

void ModuleRuntime::setPictures(const ModulePictures &pictures)
{
    m_pictures = pictures;
    m_screen.setPictures(&m_pictures);
}

void ModuleRuntime::setAddress(int enabled, int address)
{
    m_addressEnabled = enabled ? 1 : 0;
    m_address = address & 0xFF;
}

void ModuleRuntime::submit(const QString &line, qint64 nowMs)
{
    QString error;
    QVector<ModuleInstruction> list = ModuleInstructions::parse(line, &error);
    if (!error.isEmpty() && log)
        log(error);
    // A line for another module on the bus, "ADDR(n);...", is not ours.
    if (!list.isEmpty() && list.first().name == QLatin1String("ADDR") && list.size() > 1) {
        int n = 0;
        if (!ModuleInstructions::toInt(list.first().args.value(0), &n) || list.first().args.size() != 1) {
            refuse(list.first(), tr("参数错误"));
            return;
        }
        if (n != 0 && m_addressEnabled && n != m_address) {
            if (log)
                log(tr("地址%1不是本模块的地址，忽略：%2").arg(n).arg(line.left(60)));
            return;
        }
        list.removeFirst();
    }
    if (int(m_pending.size()) + list.size() > MaxPending) {
        if (log)
            log(tr("等待执行的指令过多，忽略：%1").arg(line.left(60)));
        return;
    }
    for (const ModuleInstruction &ins : list)
        m_pending.push_back(Pending{ins, Origin::Line});
    run(nowMs);
}

void ModuleRuntime::queueScript(const QByteArray &script, Origin origin, bool atFront)
{
    QString error;
    QVector<ModuleInstruction> list = ModuleInstructions::parse(ModuleText::decode(script), &error);
    if (!error.isEmpty() && log)
        log(error);
    const int room = MaxPending - int(m_pending.size());
    if (list.size() > room) {
        if (log)
            log(tr("脚本过长，只执行前%1条指令").arg(qMax(0, room)));
        list.resize(qMax(0, room));
    }
    if (atFront) {
        for (int i = list.size() - 1; i >= 0; --i)
            m_pending.push_front(Pending{list.at(i), origin});
    } else {
        for (const ModuleInstruction &ins : list)
            m_pending.push_back(Pending{ins, origin});
    }
}

qint64 ModuleRuntime::run(qint64 nowMs)
{
    while (!m_pending.empty()) {
        if (nowMs < m_busyUntil)
            return m_busyUntil;
        const Pending item = m_pending.front();
        m_pending.pop_front();
        m_now = qMax(nowMs, m_busyUntil);
        execute(item, m_now);
    }
    return -1;
}

void ModuleRuntime::execute(const Pending &item, qint64 nowMs)
{
    m_now = nowMs;
    const auto it = handlers().constFind(item.ins.name);
    if (it == handlers().constEnd()) {
        refuse(item.ins, tr("未知指令"));
        return;
    }
    QString reason;
    m_reply.clear();
    if (!(this->*(it.value()))(item.ins, item.origin, &reason)) {
        refuse(item.ins, reason);
        return;
    }
    // Only what came over the line is answered; stored scripts run silently.
    if (item.origin == Origin::Line && !m_restartRequested)
        reply(m_reply.isEmpty() ? QByteArray("OK") : m_reply);
    if (m_restartRequested) {
        m_restartRequested = false;
        resetState();
    }
}

void ModuleRuntime::refuse(const ModuleInstruction &ins, const QString &reason)
{
    if (log)
        log(tr("已忽略 %1：%2").arg(ins.text.left(60), reason));
}

void ModuleRuntime::reply(const QByteArray &bytes)
{
    if (answer)
        answer(bytes);
}

void ModuleRuntime::restart(qint64 nowMs)
{
    resetState();
    run(nowMs);
}

void ModuleRuntime::resetState()
{
    m_pending.clear();
    m_busyUntil = 0;
    m_currentPage = -1;
    m_direction = 0;
    m_backlight = 0;
    m_sbc = 0;
    m_halfDot = false;
    m_lcdOn = true;
    m_screen.setSize(drawingSize(0));
    m_screen.clearControls();
    queueScript(m_boot, Origin::Boot, false);
    if (restarted)
        restarted();
}

bool ModuleRuntime::showPage(int n, qint64 nowMs)
{
    if (!m_pages.contains(n))
        return false;
    m_currentPage = n;
    m_screen.clearControls();
    queueScript(m_pages.value(n), Origin::Page, true);
    run(nowMs);
    return true;
}
