#pragma once

#include "NamedComboBox.h"

#include <QCheckBox>
#include <QComboBox>

// A drop-down list drawn flat: a thin frame, grey text and a chevron.
class FlatComboBox : public QComboBox {
    Q_OBJECT
public:
    FlatComboBox(QWidget* parent, const char* name);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A check box drawn flat, with grey text and a grey check mark; the whole
// box, text included, takes the click.
class FlatCheckBox : public QCheckBox {
    Q_OBJECT
public:
    FlatCheckBox(QWidget* parent, const char* name, const QString& text);
    // The width the box and its text need.
    int TextWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    static constexpr int kBoxSide = 13;
};
