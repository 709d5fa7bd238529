#include "TrayImages.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>

int LevelBand(uint32_t value) {
    if (value <= 18)
        return 0;
    return std::min<int>(5, 1 + static_cast<int>(value - 19) / 22);
}

int LevelIconIndex(uint32_t level) {
    const uint32_t left = level & 0xFFFF, right = level >> 16;
    if (left > 128 || right > 128)
        return 0;
    return 6 * LevelBand(left) + LevelBand(right);
}

namespace {
void drawMeterRow(QPainter& p, int top, int lit) {
    for (int segment = 0; segment < 5; ++segment) {
        const QColor colour = segment < lit ? QColor(0, 255, 0) : QColor(0, 80, 0);
        p.fillRect(1 + segment * 3, top, 2, 6, colour);
    }
}

QPixmap drawRec(const QColor& background, const QColor& letters) {
    QPixmap image(16, 16);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(background);
    p.setPen(background.darker(150));
    p.drawRoundedRect(QRectF(0.5, 2.5, 15, 11), 2, 2);
    QFont font;
    font.setPixelSize(7);
    font.setBold(true);
    p.setFont(font);
    p.setPen(letters);
    p.drawText(QRect(0, 2, 16, 12), Qt::AlignCenter, QStringLiteral("REC"));
    return image;
}
} // namespace

QPixmap DrawTrayImage(int index) {
    index = std::clamp(index, 0, kTrayImageCount - 1);
    if (index == kIdleIcon)
        return drawRec(QColor(30, 80, 200), Qt::white);
    if (index == kBusyIcon)
        return drawRec(QColor(210, 30, 30), QColor(255, 230, 0));
    QPixmap image(16, 16);
    image.fill(Qt::black);
    QPainter p(&image);
    drawMeterRow(p, 1, index / 6); // left channel above
    p.fillRect(0, 7, 16, 2, QColor(128, 128, 128));
    drawMeterRow(p, 9, index % 6); // right channel below
    return image;
}

const QIcon& TrayIconImage(int index) {
    // Never freed: pixmaps must not outlive the application object, which a
    // static's destructor would run after.
    static const auto* icons = [] {
        auto* drawn = new std::array<QIcon, kTrayImageCount>;
        for (int i = 0; i < kTrayImageCount; ++i)
            (*drawn)[static_cast<size_t>(i)] = QIcon(DrawTrayImage(i));
        return drawn;
    }();
    return (*icons)[static_cast<size_t>(std::clamp(index, 0, kTrayImageCount - 1))];
}

namespace {
// The launcher's icon (data/io.github.tapewren.Tapewren.svg), drawn on its
// 128-unit grid: Qt reads SVG only with a plugin that few installations have.
QPixmap drawProgramIcon(int size) {
    QPixmap image(size, size);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 128.0, size / 128.0);
    p.setPen(QPen(QColor(0x14, 0x36, 0x85), 4));
    p.setBrush(QColor(0x1e, 0x50, 0xc8));
    p.drawRoundedRect(QRectF(6, 22, 116, 84), 14, 14);
    p.setPen(QPen(Qt::white, 3));
    p.setBrush(QColor(0xe8, 0x32, 0x2b));
    p.drawEllipse(QPointF(64, 44), 11, 11);
    QPainterPath letters;
    letters.moveTo(22, 94); // R
    letters.lineTo(22, 64);
    letters.lineTo(34, 64);
    letters.arcTo(QRectF(26, 64, 16, 16), 90, -180);
    letters.lineTo(22, 80);
    letters.moveTo(33, 80);
    letters.lineTo(41, 94);
    letters.moveTo(72, 64); // E
    letters.lineTo(54, 64);
    letters.lineTo(54, 94);
    letters.lineTo(72, 94);
    letters.moveTo(54, 79);
    letters.lineTo(68, 79);
    // C: the long way round from (106, 68) to (106, 90) on a circle of 14.
    const QPointF centre(106 - std::sqrt(14.0 * 14 - 11.0 * 11), 79);
    const double start = std::atan2(-(68 - centre.y()), 106 - centre.x()) * 180 / M_PI;
    letters.moveTo(106, 68);
    letters.arcTo(QRectF(centre.x() - 14, centre.y() - 14, 28, 28), start, 360 - 2 * start);
    p.setPen(QPen(Qt::white, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(letters);
    return image;
}
} // namespace

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(drawProgramIcon(size));
    return icon;
}
