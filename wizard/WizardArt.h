#pragma once

#include <QWidget>

class QLabel;

// The wizard's pictures, drawn in code so that they stay crisp at any scale.

// White band along the top of a page with its title and subtitle, closed by
// an etched line.
class HeaderBand : public QWidget {
    Q_OBJECT
public:
    HeaderBand(const QString& title, const QString& subtitle, QWidget* parent = nullptr);
    // Across the top of a page that wide, as tall as its texts need; gives
    // the height.
    int Fit(int width);
    QLabel* Title = nullptr;
    QLabel* Subtitle = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The strip along the left edge of the pages.
class SidePicture : public QWidget {
    Q_OBJECT
public:
    explicit SidePicture(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The artwork behind a page's text: a sound wave fading out towards the top.
class BackgroundPicture : public QWidget {
    Q_OBJECT
public:
    explicit BackgroundPicture(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
