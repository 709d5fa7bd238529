#pragma once

#include <QAbstractButton>

// The window's buttons, drawn in code so that they stay sharp at any scale.
class ImageButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class Look {
        Apply,     // the default action: filled blue
        Cancel,    // a plain light button
        Help,      // a round "?"
        Optimizer, // a light button with a level-meter mark
    };
    ImageButton(QWidget* parent, const char* name, Look look, const QString& text = QString());
    // The width its text needs, with the mark beside it and a margin.
    int TextWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    static constexpr int kMeterLeft = 8;
    Look m_look;
    bool m_hover = false;
};
