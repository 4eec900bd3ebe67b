#include "setscreensizedlg.h"

#include "model/resolutionlist.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

SetScreenSizeDlg::SetScreenSizeDlg(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("SetScreenSizeDlg"));
    resize(477, 224);
    label = new QLabel(this);
    label->setObjectName(QStringLiteral("label"));
    label->setGeometry(10, 30, 81, 41);
    cbVGA = new QComboBox(this);
    cbVGA->setObjectName(QStringLiteral("cbVGA"));
    cbVGA->setGeometry(90, 30, 211, 41);
    cbVGA->setMaxVisibleItems(15);
    label_2 = new QLabel(this);
    label_2->setObjectName(QStringLiteral("label_2"));
    label_2->setGeometry(10, 80, 81, 41);

    auto *row = m_row = new QWidget(this);
    row->setObjectName(QStringLiteral("horizontalLayoutWidget"));
    row->setGeometry(90, 80, 358, 42);
    auto *lay = new QHBoxLayout(row);
    lay->setContentsMargins(0, 0, 0, 0);
    auto makeRadio = [&](const char *name) {
        auto *rb = new QRadioButton(row);
        rb->setObjectName(QLatin1String(name));
        rb->setMinimumHeight(30);
        lay->addWidget(rb);
        return rb;
    };
    rbPorTrait_0 = makeRadio("rbPorTrait_0");
    rbLandScape_90 = makeRadio("rbLandScape_90");
    rbPorTrait_180 = makeRadio("rbPorTrait_180");
    rbLandScape_270 = makeRadio("rbLandScape_270");
    rbPorTrait_0->setChecked(true);

    btnOK = new QPushButton(this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(290, 170, 71, 41);
    btnCancel = new QPushButton(this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(380, 170, 71, 41);

    connect(cbVGA, &QComboBox::currentTextChanged, this, &SetScreenSizeDlg::on_cbVGA_currentTextChanged);
    connect(btnOK, &QPushButton::clicked, this, &SetScreenSizeDlg::on_btnOK_clicked);
    connect(btnCancel, &QPushButton::clicked, this, &SetScreenSizeDlg::on_btnCancel_clicked);

    cbVGA->addItems(ResolutionList());
    cbVGA->setCurrentIndex(0);
    retranslateUi();
    hide();
}

void SetScreenSizeDlg::retranslateUi()
{
    setWindowTitle(tr("设置分辨率"));
    label->setText(tr("分辨率："));
    label_2->setText(tr("横竖屏："));
    rbPorTrait_0->setText(tr("竖屏1"));
    rbLandScape_90->setText(tr("横屏1"));
    rbPorTrait_180->setText(tr("竖屏2"));
    rbLandScape_270->setText(tr("横屏2"));
    btnOK->setText(tr("确定"));
    btnCancel->setText(tr("取消"));
    fitOrientationRow();
}

void SetScreenSizeDlg::fitOrientationRow()
{
    const int rowWidth = qMax(358, m_row->sizeHint().width());
    m_row->resize(rowWidth, 42);
    const int dialogWidth = qMax(477, m_row->x() + rowWidth + 19);
    resize(dialogWidth, 224);
    btnCancel->move(dialogWidth - 97, 170);
    btnOK->move(dialogWidth - 187, 170);
}

void SetScreenSizeDlg::on_cbVGA_currentTextChanged(const QString &text)
{
    // These modules only offer orientation 1.
    const bool landscapeOnly = isLandscapeOnlyResolution(text);
    rbPorTrait_0->setEnabled(!landscapeOnly);
    rbPorTrait_180->setEnabled(!landscapeOnly);
    rbLandScape_270->setEnabled(!landscapeOnly);
    rbLandScape_90->setEnabled(true);
    if (landscapeOnly)
        rbLandScape_90->setChecked(true);
}

void SetScreenSizeDlg::on_btnOK_clicked()
{
    m_resolutionText = cbVGA->currentText();
    const QRadioButton *buttons[] = {rbPorTrait_0, rbLandScape_90, rbPorTrait_180, rbLandScape_270};
    for (int code = 0; code < 4; ++code) {
        if (buttons[code]->isChecked()) {
            m_screenType = code;
            break;
        }
    }
    done(1);
}

void SetScreenSizeDlg::on_btnCancel_clicked()
{
    done(0);
}
