#include "MSNPopUp.h"

#include "TextLines.h"

#include "Alert.h"
#include "Common.h"
#include "Shell.h"

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <cmath>

namespace {
constexpr int kStepMs = 25;
constexpr int kBevel = 2;

// The strip along the bottom: yellow, red, blue and green segments.
QPixmap msnStrip() {
    QPixmap strip(138, 3);
    QPainter p(&strip);
    const QColor colours[] = {{255, 204, 0}, {230, 40, 40}, {40, 90, 220}, {40, 170, 60}};
    for (int i = 0; i < 4; ++i)
        p.fillRect(i * 138 / 4, 0, 138 / 4 + 1, 3, colours[i]);
    return strip;
}

int roundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

std::pair<QRect, QRect> primaryScreenAreas() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {QRect(0, 0, 1024, 768), QRect(0, 0, 1024, 768)};
    return {screen->geometry(), screen->availableGeometry()};
}
} // namespace

TaskbarEdgeValue TaskbarEdgeOf(const QRect& screen, const QRect& workArea) {
    if (workArea.left() > screen.left())
        return edgeLeft;
    if (workArea.top() > screen.top())
        return edgeTop;
    if (workArea.right() < screen.right())
        return edgeRight;
    return edgeBottom;
}

QColor GradientRowColor(const QColor& c1, const QColor& c2, int row, int rows) {
    const auto channel = [&](int a, int b) {
        if (rows <= 0)
            return a;
        return static_cast<int>(std::lround(a + static_cast<double>(b - a) * row / rows));
    };
    return QColor(channel(c1.red(), c2.red()), channel(c1.green(), c2.green()),
                  channel(c1.blue(), c2.blue()));
}

TMSNPopUp::TMSNPopUp(QWidget* owner)
    : QObject(owner), ScreenAreas(&primaryScreenAreas), m_owner(owner) {
    HoverFont.setUnderline(true);
    TitleFont.setBold(true);
}

TMSNPopUp::~TMSNPopUp() = default;

bool TMSNPopUp::PresentPopup() {
    const auto [screen, area] = ScreenAreas();
    const TaskbarEdgeValue edge = TaskbarEdgeOf(screen, area);
    if (edge != lastTaskbarEdge) {
        lastTaskbarEdge = edge;
        openPopupCount = 0;
    }
    const int right = area.x() + area.width();
    const int bottom = area.y() + area.height();
    if (openPopupCount <= 0) {
        cascadeOffset = 0;
    } else {
        bool fits = true;
        switch (edge) {
        case edgeLeft:
            fits = cascadeOffset + Width + PopupStartX <= right;
            break;
        case edgeTop:
            fits = cascadeOffset + Height + PopupStartY <= bottom;
            break;
        case edgeRight:
        case edgeBottom:
            fits = bottom - (cascadeOffset + Height + PopupStartY) >= 0;
            break;
        case edgeUndetermined:
            break;
        }
        if (!fits)
            return false;
    }
    ++openPopupCount;
    auto* popup = new TfrmMSNPopUp(*this, m_owner);
    popup->ShowPopup();
    return true;
}

void TMSNPopUp::PopupClosed() {
    if (openPopupCount > 0)
        --openPopupCount;
}

TfrmMSNPopUp::TfrmMSNPopUp(TMSNPopUp& s, QWidget*)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::X11BypassWindowManagerHint | Qt::WindowDoesNotAcceptFocus),
      m_component(&s), m_text(s.Text), m_url(s.URL), m_title(s.Title), m_width(s.Width),
      m_height(s.Height), m_timeOut(s.TimeOut), m_scrollSpeed(s.ScrollSpeed),
      m_startX(s.PopupStartX), m_startY(s.PopupStartY), m_icon(s.IconBitmap),
      m_iconLeft(s.IconLeft), m_iconTop(s.IconTop), m_color1(s.GradientColor1),
      m_color2(s.GradientColor2), m_orientation(s.GradientOrientation),
      m_background(s.BackgroundImage), m_drawMethod(s.BackgroundDrawMethod), m_font(s.Font),
      m_hoverFont(s.HoverFont), m_fontColor(s.FontColor), m_hoverColor(s.HoverFontColor),
      m_allowScroll(s.Options & msnAllowScroll), m_allowHyperlink(s.Options & msnAllowHyperlink),
      m_autoOpen(s.Options & msnAutoOpenURL), m_onClick(s.OnClick), m_onURLClick(s.OnURLClick),
      m_screenAreas(s.ScreenAreas) {
    setObjectName(QStringLiteral("frmMSNPopUp"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::NoFocus);
    MarkAsAlert(this, m_title, TextLines(m_text));

    pnlBorder = new QFrame(this);
    pnlBorder->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnlBorder->setLineWidth(kBevel);
    pnlBorder->setGeometry(0, 0, m_width, m_height);
    imgGradient = new QLabel(pnlBorder);
    imgGradient->setGeometry(kBevel, kBevel, m_width - 2 * kBevel, m_height - 2 * kBevel);
    imgMsn = new QLabel(pnlBorder);
    imgMsn->setScaledContents(true);
    imgMsn->setGeometry(kBevel, m_height - kBevel - 3, m_width - 2 * kBevel, 3);
    imgIcon = new QLabel(pnlBorder);
    imgIcon->move(3, 8);
    lblTitle = new QLabel(m_title, pnlBorder);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setAttribute(Qt::WA_TranslucentBackground);
    lblTitle->setFont(s.TitleFont);
    QPalette titlePalette = lblTitle->palette();
    titlePalette.setColor(QPalette::WindowText, s.TitleFontColor);
    lblTitle->setPalette(titlePalette);
    lblTitle->move(48, 8);
    lblTitle->adjustSize();
    lblText = new QLabel(pnlBorder);
    lblText->setObjectName(QStringLiteral("lblText"));
    lblText->setWordWrap(true);
    lblText->setTextFormat(Qt::PlainText);
    lblText->setAlignment(s.TextAlignment | Qt::AlignVCenter);
    lblText->setAttribute(Qt::WA_TranslucentBackground);
    lblText->setCursor(s.TextCursor);
    for (QWidget* part : {static_cast<QWidget*>(imgGradient), static_cast<QWidget*>(imgIcon),
                          static_cast<QWidget*>(lblTitle), static_cast<QWidget*>(lblText)})
        part->installEventFilter(this);

    tmrScroll = new QTimer(this);
    tmrScroll->setInterval(kStepMs);
    connect(tmrScroll, &QTimer::timeout, this, &TfrmMSNPopUp::ScrollStep);
    tmrExit = new QTimer(this);
    tmrExit->setSingleShot(true);
    connect(tmrExit, &QTimer::timeout, this, &TfrmMSNPopUp::ExitTimerFired);
    tmrScrollDown = new QTimer(this);
    tmrScrollDown->setInterval(kStepMs);
    connect(tmrScrollDown, &QTimer::timeout, this, &TfrmMSNPopUp::ScrollDownStep);
}

TfrmMSNPopUp::~TfrmMSNPopUp() {
    if (closeFrees && m_component)
        m_component->PopupClosed();
}

QRect TfrmMSNPopUp::workArea() const {
    return m_screenAreas().second;
}

void TfrmMSNPopUp::ShowPopup() {
    const auto [screen, area] = m_screenAreas();
    const int right = area.x() + area.width();
    const int bottom = area.y() + area.height();
    resize(m_width, m_height);
    m_edge = TaskbarEdgeOf(screen, area);
    closeFrees = true;

    const int offset = m_component ? m_component->cascadeOffset : 0;
    QPoint place;
    switch (m_edge) {
    case edgeLeft:
        place = {area.x() + m_startX, bottom - m_startY - m_height - offset};
        break;
    case edgeTop:
        place = {right - m_width - m_startX, area.y() + m_startY + offset};
        break;
    default:
        place = {right - m_width - m_startX, bottom - m_startY - m_height - offset};
        break;
    }
    ownOffset = offset;
    if (m_component)
        m_component->cascadeOffset = (m_component->Options & msnCascadePopups)
                                         ? offset + m_height + m_component->PopupMarge
                                         : 0;

    paintBackground();
    if (m_icon.isNull()) {
        lblTitle->move(8, 8);
    } else {
        imgIcon->setPixmap(m_icon);
        imgIcon->move(m_iconLeft, m_iconTop);
        imgIcon->adjustSize();
    }

    // The parts keep their full-size layout while the window grows and
    // shrinks around them; they are clipped, never laid out again.
    setGeometry(QRect(place, QSize(m_width, m_height)));
    if (m_allowScroll) {
        switch (m_edge) {
        case edgeLeft:
            setGeometry(place.x(), place.y(), 1, m_height);
            break;
        case edgeTop:
            setGeometry(place.x(), place.y(), m_width, 1);
            break;
        case edgeRight:
            setGeometry(place.x() + m_width, place.y(), 1, m_height);
            break;
        default:
            setGeometry(place.x(), place.y() + m_height, m_width, 1);
            break;
        }
        tmrScroll->start();
    } else {
        tmrExit->start(m_timeOut * 1000);
    }
    m_hovering = true;
    LayoutText();
    m_hovering = false;
    LayoutText();
    show();
    AnnounceAlert(this);
}

void TfrmMSNPopUp::paintBackground() {
    const QSize size = imgGradient->size();
    QPixmap face(size);
    QPainter p(&face);
    if (m_background.isNull()) {
        imgMsn->setPixmap(msnStrip());
        const int n = m_orientation == mbVertical ? size.height() : size.width();
        for (int r = 0; r <= n; ++r) {
            p.setPen(GradientRowColor(m_color1, m_color2, r, n));
            if (m_orientation == mbVertical)
                p.drawLine(0, r, size.width(), r);
            else
                p.drawLine(r, 0, r, size.height());
        }
    } else {
        face.fill(Qt::transparent);
        if (m_drawMethod == dmTile)
            p.drawTiledPixmap(face.rect(), m_background);
        else if (m_drawMethod == dmFit)
            p.drawPixmap(face.rect(), m_background);
        else
            p.drawPixmap(0, 0, m_background);
    }
    p.end();
    imgGradient->setPixmap(face);
}

void TfrmMSNPopUp::LayoutText() {
    const bool hover = m_hovering && m_allowHyperlink;
    lblText->setFont(hover ? m_hoverFont : m_font);
    QPalette palette = lblText->palette();
    palette.setColor(QPalette::WindowText, hover ? m_hoverColor : m_fontColor);
    lblText->setPalette(palette);
    lblText->setText(TextLines(m_text));
    const int panelWidth = m_width, panelHeight = m_height;
    const int labelWidth = panelWidth - 15;
    const int labelHeight = lblText->heightForWidth(labelWidth);
    lblText->setGeometry(roundHalfEven((panelWidth - labelWidth) / 2.0),
                         roundHalfEven((panelHeight - labelHeight) / 2.0), labelWidth, labelHeight);
}

void TfrmMSNPopUp::ScrollStep() {
    const QRect area = workArea();
    const int right = area.x() + area.width(), bottom = area.y() + area.height();
    QRect g = geometry();
    const int s = m_scrollSpeed;
    bool finished = false;
    switch (m_edge) {
    case edgeLeft:
        finished = g.width() + s >= m_width;
        g.setWidth(finished ? m_width : g.width() + s);
        break;
    case edgeTop:
        finished = g.height() + s >= m_height;
        g.setHeight(finished ? m_height : g.height() + s);
        break;
    case edgeRight:
        finished = g.width() + s >= m_width;
        if (finished)
            g = QRect(right - m_startX - m_width, g.y(), m_width, g.height());
        else
            g = QRect(g.x() - s, g.y(), g.width() + s, g.height());
        break;
    default:
        finished = g.height() + s >= m_height;
        if (finished)
            g = QRect(g.x(), bottom - m_startY - m_height - ownOffset, g.width(), m_height);
        else
            g = QRect(g.x(), g.y() - s, g.width(), g.height() + s);
        break;
    }
    setGeometry(g);
    if (finished) {
        tmrScroll->stop();
        tmrExit->start(m_timeOut * 1000);
    }
}

void TfrmMSNPopUp::ExitTimerFired() {
    tmrExit->stop();
    tmrScrollDown->start();
}

void TfrmMSNPopUp::ScrollDownStep() {
    QRect g = geometry();
    const int s = m_scrollSpeed;
    switch (m_edge) {
    case edgeLeft:
        if (g.width() - s <= 0)
            return closePopup();
        g.setWidth(g.width() - s);
        break;
    case edgeTop:
        if (g.height() - s <= 0)
            return closePopup();
        g.setHeight(g.height() - s);
        break;
    case edgeRight:
        if (g.width() - s <= 0)
            return closePopup();
        g = QRect(g.x() + s, g.y(), g.width() - s, g.height());
        break;
    default:
        if (g.height() - s <= 0)
            return closePopup();
        g = QRect(g.x(), g.y() + s, g.width(), g.height() - s);
        break;
    }
    setGeometry(g);
}

bool TfrmMSNPopUp::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblText && m_allowHyperlink &&
        (event->type() == QEvent::Enter || event->type() == QEvent::Leave)) {
        m_hovering = event->type() == QEvent::Enter;
        LayoutText();
        return false;
    }
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (watched == lblText && mouse->button() == Qt::LeftButton)
        textClicked();
    else
        otherClicked();
    return true;
}

void TfrmMSNPopUp::textClicked() {
    closeFrees = false;
    if (m_allowHyperlink) {
        if (m_onURLClick)
            m_onURLClick(m_url);
        if (m_autoOpen)
            OpenWithShell(m_url.toStdString());
    } else if (m_onClick) {
        m_onClick();
    }
    closeFrees = true;
    closePopup();
}

void TfrmMSNPopUp::otherClicked() {
    closeFrees = false;
    if (m_onClick)
        m_onClick();
    closeFrees = true;
    closePopup();
}

void TfrmMSNPopUp::closePopup() {
    tmrScroll->stop();
    tmrExit->stop();
    tmrScrollDown->stop();
    if (closeFrees)
        close(); // deletes the window, which lowers the open count
    else
        hide();
}
