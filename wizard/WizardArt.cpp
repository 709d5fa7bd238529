#include "WizardArt.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kHeight = 57; // with one line of each text
const QColor kDeepBlue(28, 62, 120);
const QColor kLightBlue(96, 150, 214);

// One wave of a recording: a sine under a slowly swelling envelope.
QPainterPath wavePath(const QRectF& box, double cycles, double phase) {
    QPainterPath path;
    const int steps = 240;
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double envelope = 0.25 + 0.75 * std::sin(M_PI * t);
        const double y = box.center().y() -
                         box.height() / 2 * envelope * std::sin(2 * M_PI * cycles * t + phase);
        const QPointF point(box.left() + t * box.width(), y);
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    return path;
}
} // namespace

HeaderBand::HeaderBand(const QString& title, const QString& subtitle, QWidget* parent)
    : QWidget(parent) {
    Title = new QLabel(title, this);
    Title->setObjectName(QStringLiteral("HeaderTitle"));
    QFont bold = Title->font();
    bold.setBold(true);
    Title->setFont(bold);
    Subtitle = new QLabel(subtitle, this);
    Subtitle->setObjectName(QStringLiteral("HeaderSubtitle"));
    for (QLabel* label : {Title, Subtitle}) {
        label->setWordWrap(true);
        QPalette dark = label->palette();
        dark.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(dark);
    }
}

int HeaderBand::Fit(int width) {
    // Left of the emblem; a text too long for one line takes two.
    const int titleWidth = width - 16 - 69;
    Title->setGeometry(16, 9, titleWidth, std::max(18, Title->heightForWidth(titleWidth)));
    const int subtitleWidth = width - 32 - 63;
    const int subtitleTop = Title->geometry().bottom() + 3;
    Subtitle->setGeometry(32, subtitleTop, subtitleWidth,
                          std::max(18, Subtitle->heightForWidth(subtitleWidth)));
    setGeometry(0, 0, width, std::max(kHeight, Subtitle->geometry().bottom() + 11));
    return height();
}

void HeaderBand::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    // A small level meter in the corner: the program's emblem, as large
    // whatever room the texts take.
    const qreal unit = kHeight / 10.0;
    const qreal right = width() - 14;
    const qreal bottom = height() - 2 * unit;
    const int heights[] = {3, 5, 7, 4, 6};
    for (int i = 0; i < 5; ++i) {
        const QRectF bar(right - (5 - i) * 1.6 * unit, bottom - heights[i] * unit, unit,
                         heights[i] * unit);
        QLinearGradient shade(bar.bottomLeft(), bar.topLeft());
        shade.setColorAt(0, QColor(60, 170, 80));
        shade.setColorAt(1, QColor(230, 190, 40));
        painter.fillRect(bar, shade);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, height() - 2, width(), height() - 2);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(0, height() - 1, width(), height() - 1);
}

SidePicture::SidePicture(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SidePicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient shade(0, 0, 0, height());
    shade.setColorAt(0, kLightBlue);
    shade.setColorAt(1, kDeepBlue);
    painter.fillRect(rect(), shade);
    // A wave running down the strip.
    painter.translate(width() / 2.0, 0);
    painter.rotate(90);
    QPen pen(QColor(255, 255, 255, 150), 1.5);
    painter.setPen(pen);
    const QRectF band(8, -width() / 2.0 + 4, height() - 16, width() - 8);
    painter.drawPath(wavePath(band, 9, 0));
    pen.setColor(QColor(255, 255, 255, 70));
    painter.setPen(pen);
    painter.drawPath(wavePath(band, 13, 1.3));
}

BackgroundPicture::BackgroundPicture(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void BackgroundPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(4, 4, -4, -4);
    const struct {
        double cycles, phase;
        int alpha;
        double width;
    } waves[] = {{5, 0, 60, 2.0}, {7, 1.1, 40, 1.5}, {11, 2.3, 28, 1.0}};
    for (const auto& wave : waves) {
        QColor color = kLightBlue;
        color.setAlpha(wave.alpha);
        painter.setPen(QPen(color, wave.width));
        painter.drawPath(wavePath(box, wave.cycles, wave.phase));
    }
}
