#pragma once

#include <QComboBox>

// A drop-down list as Qt draws it, that a screen reader names by its
// accessible name (ui/Accessible.h) rather than by its current entry.
class NamedComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
};
