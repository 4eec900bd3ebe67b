#include "qmymessagebox.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {

QString titleStyle(int type)
{
    QString first = QStringLiteral("rgba(128, 151, 255, 255)");
    if (type == QMyMessageBox::Warning)
        first = QStringLiteral("rgba(218, 255, 131, 255)");
    else if (type == QMyMessageBox::Error)
        first = QStringLiteral("rgba(255, 76, 17, 255)");
    return QStringLiteral("background-color: qlineargradient(spread:pad, x1:0, y1:0.1, x2:0, y2:1, "
                          "stop:0.7 %1, stop:1 rgba(255, 255, 255, 255));"
                          "border-top-left-radius:10px;border-top-right-radius:10px;"
                          "border-bottom-left-radius:0px;border-bottom-right-radius:0px;")
        .arg(first);
}

const char *const kButtonStyle =
    "QPushButton{color:white;font-size:18px;border-radius:6px;"
    "background-color:qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 rgb(96, 156, 255), stop:1 rgb(32, 92, 214));}"
    "QPushButton:hover{background-color:qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 rgb(120, 176, 255), stop:1 rgb(48, 110, 230));}"
    "QPushButton:pressed{background-color:rgb(28, 80, 190);}";

}  // namespace

QMyMessageBox::QMyMessageBox(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("QMyMessageBox"));
    // Frameless, but task bars and window lists still show the title.
    setWindowTitle(QStringLiteral("Tavo"));
    setFixedSize(400, 215);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);

    m_frame = new QFrame(this);
    m_frame->setObjectName(QStringLiteral("frame"));
    m_frame->setGeometry(-1, -1, 401, 215);
    m_frame->setStyleSheet(QStringLiteral(
        "QFrame#frame{border:2px solid rgb(185, 185, 185);border-radius:10px;background-color:white;}"));

    m_labType = new QLabel(this);
    m_labType->setObjectName(QStringLiteral("labType"));
    m_labType->setGeometry(0, 0, 401, 41);
    m_labType->setAlignment(Qt::AlignCenter);

    m_labMessage = new QLabel(this);
    m_labMessage->setObjectName(QStringLiteral("labMessage"));
    m_labMessage->setGeometry(10, 50, 381, 120);
    m_labMessage->setWordWrap(true);
    m_labMessage->setAlignment(Qt::AlignCenter);
    m_labMessage->setStyleSheet(QStringLiteral("border:none;"));

    m_btnOk = new QPushButton(this);
    m_btnOk->setObjectName(QStringLiteral("btnOk"));
    m_btnOk->setGeometry(230, 170, 75, 41);
    m_btnOk->setStyleSheet(QLatin1String(kButtonStyle));

    m_btnCancel = new QPushButton(this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    m_btnCancel->setGeometry(320, 170, 75, 41);
    m_btnCancel->setStyleSheet(QLatin1String(kButtonStyle));

    m_btnKeep = new QPushButton(this);
    m_btnKeep->setObjectName(QStringLiteral("btnKeep"));
    m_btnKeep->setGeometry(320, 170, 75, 41);
    m_btnKeep->setStyleSheet(QLatin1String(kButtonStyle));
    m_btnKeep->hide();

    m_checkBoxDown = new QCheckBox(this);
    m_checkBoxDown->setObjectName(QStringLiteral("checkBoxDown"));
    m_checkBoxDown->setGeometry(10, 180, 221, 21);
    m_checkBoxDown->setStyleSheet(QStringLiteral(
        "QCheckBox{background:transparent;border:none;}"
        "QCheckBox::indicator{width:14px;height:14px;border:1px solid rgb(120, 120, 120);border-radius:2px;background:white;}"
        "QCheckBox::indicator:checked{background:rgb(32, 92, 214);border-color:rgb(32, 92, 214);}"));
    m_checkBoxDown->hide();

    connect(m_btnOk, &QPushButton::clicked, this, &QMyMessageBox::on_btnOk_clicked);
    connect(m_btnCancel, &QPushButton::clicked, this, &QMyMessageBox::on_btnCancel_clicked);
    connect(m_btnKeep, &QPushButton::clicked, this, &QMyMessageBox::on_btnKeep_clicked);

    retranslate();
    hide();
}

void QMyMessageBox::showMessage(int type, int buttons, int code, const QString &text)
{
    m_type = type;
    applyType();
    if (buttons >= 0 && buttons <= 4) {
        m_buttons = buttons;
        if (buttons == 3)
            m_checkBoxDown->setChecked(false);
        applyButtons();
    }
    m_code = code;
    m_labMessage->setText(text);
    m_checkBoxDown->setText(tr("同时下载资源"));
    // show(), not exec(): the caller goes on and the answer comes back as a code.
    show();
    raise();
}

bool QMyMessageBox::downloadResourcesChecked() const { return m_checkBoxDown->isChecked(); }

QString QMyMessageBox::message() const { return m_labMessage->text(); }

QString QMyMessageBox::title() const { return m_labType->text(); }

void QMyMessageBox::applyType()
{
    m_labType->setStyleSheet(titleStyle(m_type));
    if (m_type == Warning)
        m_labType->setText(tr("警告"));
    else if (m_type == Error)
        m_labType->setText(tr("错误"));
    else
        m_labType->setText(tr("提示"));
    setWindowTitle(m_labType->text());
}

void QMyMessageBox::applyButtons()
{
    // Three buttons share the row that two have otherwise.
    const bool three = m_buttons == 4;
    m_btnOk->setGeometry(three ? 140 : 230, 170, 75, 41);
    m_btnCancel->setGeometry(three ? 230 : 320, 170, 75, 41);
    m_btnKeep->setVisible(three);
    m_btnKeep->setText(tr("取消"));
    switch (m_buttons) {
    case 0:
        m_btnCancel->setText(tr("确定"));
        m_btnCancel->show();
        m_btnOk->hide();
        m_checkBoxDown->hide();
        break;
    case 1:
        m_btnCancel->setText(tr("取消"));
        m_btnOk->setText(tr("确定"));
        m_btnCancel->show();
        m_btnOk->show();
        m_checkBoxDown->hide();
        break;
    case 2:
    case 3:
    case 4:
        m_btnCancel->setText(tr("否"));
        m_btnOk->setText(tr("是"));
        m_btnCancel->show();
        m_btnOk->show();
        m_checkBoxDown->setVisible(m_buttons == 3);
        break;
    default:
        break;
    }
}

void QMyMessageBox::retranslate()
{
    applyType();
    applyButtons();
    m_checkBoxDown->setText(tr("同时下载资源"));
}

void QMyMessageBox::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(e);
}

// Hidden before answering: the handler may put its next message on this same box.
void QMyMessageBox::on_btnOk_clicked()
{
    hide();
    emit s_sendIsNo(m_code);
}

void QMyMessageBox::on_btnKeep_clicked()
{
    hide();
}

void QMyMessageBox::on_btnCancel_clicked()
{
    hide();
    if (m_code != 0)
        emit s_sendIsNo(m_code + 1);
}
