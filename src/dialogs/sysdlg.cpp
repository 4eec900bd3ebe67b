#include "sysdlg.h"

#include "dialogs/qmymessagebox.h"
#include "qmyslider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace {

template <typename T>
T *named(T *w, const char *name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

// Job modes of the three requests.
constexpr int BacklightMode = 4;
constexpr int BaudRateMode = 5;
constexpr int BusAddressMode = 6;

}  // namespace

QString SysDlg::addressPattern()
{
    return QStringLiteral("^[0-9]$|^[0-9]{2}$|^[1][0-9]{2}$|^[2][0-4][0-9]$|^[2][5][0-5]$");
}

SysDlg::SysDlg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SysDlg"));
    setFixedSize(479, 260);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);

    m_groupBox = named(new QGroupBox(this), "groupBox");
    m_groupBox->setGeometry(10, 10, 459, 60);
    m_cbBuad = named(new QComboBox(m_groupBox), "cbBuad");
    m_cbBuad->setGeometry(20, 24, 200, 26);
    m_btnBaud = named(new QPushButton(m_groupBox), "btnBaud");
    m_btnBaud->setGeometry(354, 22, 90, 30);

    m_groupBox2 = named(new QGroupBox(this), "groupBox_2");
    m_groupBox2->setGeometry(10, 76, 459, 60);
    m_slider = named(new QMySlider(Qt::Horizontal, m_groupBox2), "horizontalSliderScreen");
    m_slider->setGeometry(20, 26, 221, 22);
    m_slider->setRange(0, 255);
    m_labScreenValue = named(new QLabel(m_groupBox2), "labScreenValue");
    m_labScreenValue->setGeometry(252, 24, 80, 26);
    m_btnScreenValue = named(new QPushButton(m_groupBox2), "btnScreenValue");
    m_btnScreenValue->setGeometry(354, 22, 90, 30);

    m_groupBox3 = named(new QGroupBox(this), "groupBox_3");
    m_groupBox3->setGeometry(10, 142, 459, 66);
    m_checkBoxAddr = named(new QCheckBox(m_groupBox3), "checkBoxAddr");
    m_checkBoxAddr->setGeometry(20, 26, 88, 26);
    m_label2 = named(new QLabel(m_groupBox3), "label_2");
    // Wide enough for "Address:" as well.
    m_label2->setGeometry(108, 26, 66, 26);
    m_label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_editAddr = named(new QLineEdit(m_groupBox3), "editAddr");
    m_editAddr->setGeometry(178, 26, 56, 26);
    m_editAddr->setEnabled(false);
    m_editAddr->setValidator(new QRegularExpressionValidator(QRegularExpression(addressPattern()), m_editAddr));
    m_label3 = named(new QLabel(m_groupBox3), "label_3");
    m_label3->setGeometry(240, 26, 110, 26);
    m_btnWrite485 = named(new QPushButton(m_groupBox3), "btnWrite485");
    m_btnWrite485->setGeometry(354, 24, 90, 30);

    m_btnClose = named(new QPushButton(this), "btnClose");
    m_btnClose->setGeometry(379, 218, 90, 32);

    m_messageBox = new QMyMessageBox(this);

    connect(m_btnBaud, &QPushButton::clicked, this, &SysDlg::on_btnBaud_clicked);
    connect(m_btnScreenValue, &QPushButton::clicked, this, &SysDlg::on_btnScreenValue_clicked);
    connect(m_slider, &QSlider::valueChanged, this, &SysDlg::on_horizontalSliderScreen_valueChanged);
    connect(m_checkBoxAddr, &QCheckBox::clicked, this, &SysDlg::on_checkBoxAddr_clicked);
    connect(m_btnWrite485, &QPushButton::clicked, this, &SysDlg::on_btnWrite485_clicked);
    connect(m_btnClose, &QPushButton::clicked, this, &SysDlg::on_btnClose_clicked);

    m_slider->setValue(255 - m_confirmedBacklight);
    on_horizontalSliderScreen_valueChanged(m_slider->value());
    retranslate();
    hide();
}

void SysDlg::retranslate()
{
    setWindowTitle(tr("显示屏设置"));
    m_groupBox->setTitle(tr("波特率"));
    m_btnBaud->setText(tr("设置"));
    m_groupBox2->setTitle(tr("屏幕亮度"));
    m_btnScreenValue->setText(tr("设置"));
    m_groupBox3->setTitle(tr("写入485地址"));
    m_checkBoxAddr->setText(tr("使能地址"));
    m_label2->setText(tr("地址："));
    m_label3->setText(tr("地址范围：0-255"));
    m_btnWrite485->setText(tr("写入"));
    m_btnClose->setText(tr("关闭"));
}

void SysDlg::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(e);
}

void SysDlg::showFor(const QString &baud, int backlight)
{
    setBaud(baud);
    setBacklight(backlight);
    m_cbBuad->clear();
    m_cbBuad->addItems({QStringLiteral("9600"), QStringLiteral("19200"), QStringLiteral("38400"), QStringLiteral("115200")});
    m_cbBuad->setCurrentIndex(m_cbBuad->findText(baud));
    m_slider->setValue(255 - backlight);
    show();
    raise();
}

void SysDlg::setBaud(const QString &baud) { m_confirmedBaud = m_requestedBaud = baud; }

void SysDlg::setBacklight(int value) { m_confirmedBacklight = m_requestedBacklight = qBound(0, value, 255); }

void SysDlg::on_btnBaud_clicked()
{
    if (m_cbBuad->currentText().isEmpty())
        return;
    m_requestedBaud = m_cbBuad->currentText();
    emit s_sendMes(BaudRateMode, QStringLiteral("ADDR(0);BPS(%1);").arg(m_requestedBaud));
}

void SysDlg::on_btnScreenValue_clicked()
{
    m_requestedBacklight = 255 - m_slider->value();
    emit s_sendMes(BacklightMode, QStringLiteral("ADDR(0);BL(%1);").arg(m_requestedBacklight));
}

void SysDlg::on_horizontalSliderScreen_valueChanged(int position)
{
    m_labScreenValue->setText(QStringLiteral("%1%").arg(position * 100 / 255));
}

void SysDlg::on_checkBoxAddr_clicked(bool checked) { m_editAddr->setEnabled(checked); }

void SysDlg::on_btnWrite485_clicked()
{
    m_addressEnabled = m_checkBoxAddr->isChecked() ? 1 : 0;
    m_addressText = m_editAddr->text();
    if (m_addressEnabled == 1 && m_addressText.isEmpty()) {
        m_messageBox->showMessage(QMyMessageBox::Hint, 0, 0, tr("请您输入地址！"));
        return;
    }
    emit s_sendMes(BusAddressMode, QStringLiteral("write_flash(2002944,2);"));
}

void SysDlg::on_btnClose_clicked() { hide(); }

void SysDlg::slotRecv485(int enabled, int address)
{
    m_checkBoxAddr->setChecked(enabled != 0);
    m_editAddr->setEnabled(enabled != 0);
    m_editAddr->setText(enabled != 0 ? QString::number(address) : QString());
}
