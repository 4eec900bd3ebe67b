#pragma once

#include <QMetaType>
#include <QString>

// One palette row: its icon resource path and its label.
struct ItemData {
    QString iconPath;
    QString label;
};

Q_DECLARE_METATYPE(ItemData)
