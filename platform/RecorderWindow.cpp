#include "RecorderWindow.h"

#include "Alert.h"

#include "TextLines.h"

#include "DesktopNotifications.h"

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <functional>

namespace {
constexpr int kWidth = 260;
constexpr int kHeight = 300;
constexpr int kImage = 128; // the 16-pixel image, eight times over
constexpr int kMargin = 10;
} // namespace

// The face records, as the tray icon does: a button to the keyboard and to a
// screen reader, drawn as the icon's image and hint. Mouse clicks act on the
// press, as the icon's do; Space, Enter and a screen reader's press act
// through clicked().
class FaceButton : public QAbstractButton {
public:
    std::function<void()> pressed, doubleClicked;
    // The window's height follows the lines of the hint or the balloon.
    std::function<void()> textChanged;
    QMenu* menu = nullptr;

    explicit FaceButton(QWidget* parent) : QAbstractButton(parent) {
        setObjectName(QStringLiteral("Face"));
        setFocusPolicy(Qt::StrongFocus);
        SetRecording(false);
        QObject::connect(this, &QAbstractButton::clicked, this, [this] { press(); });
        m_balloonTimer.setSingleShot(true);
        QObject::connect(&m_balloonTimer, &QTimer::timeout, this, [this] { SetBalloon({}, {}); });
        // A label rather than painted text: its lines are measured, and the
        // window grows until the last of them shows. Clicks go to the face.
        m_balloon = new QLabel(this);
        m_balloon->setObjectName(QStringLiteral("Balloon"));
        // An alert from the start: Qt keeps the role it first gave a part.
        m_balloon->setProperty(kAccessibleAlert, true);
        m_balloon->setWordWrap(true);
        m_balloon->setTextFormat(Qt::RichText);
        m_balloon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_balloon->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_balloon->setContentsMargins(6, 4, 6, 4);
        QPalette colours = m_balloon->palette();
        colours.setColor(QPalette::WindowText, palette().toolTipText().color());
        m_balloon->setPalette(colours);
        m_balloon->hide();
    }

    void SetRecording(bool recording) {
        setAccessibleName(recording ? QCoreApplication::translate("RecorderWindow", "Stop")
                                    : QCoreApplication::translate("RecorderWindow", "Record"));
    }
    void SetImage(const QIcon& icon) {
        // Blown up pixel for pixel: smoothing would blur the meter's segments.
        m_image = icon.pixmap(16, 16).scaled(kImage, kImage, Qt::IgnoreAspectRatio,
                                             Qt::FastTransformation);
        update(imageRect());
    }
    void SetHint(const QString& hint) {
        m_hint = TextLines(hint);
        setToolTip(m_hint);
        setAccessibleDescription(m_hint);
        if (textChanged)
            textChanged();
        update(textRect());
    }
    void SetBalloon(const QString& title, const QString& text, int seconds = 0) {
        const QString lines = TextLines(text);
        m_balloon->setText(
            QStringLiteral("<b>%1</b><br>%2")
                .arg(title.toHtmlEscaped(),
                     lines.toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>"))));
        // Hidden first, so that a screen reader hears a new text as a new
        // alert.
        m_balloon->hide();
        if (!lines.isEmpty()) {
            MarkAsAlert(m_balloon, title, lines);
            m_balloon->show();
            AnnounceAlert(m_balloon);
        }
        if (seconds > 0)
            m_balloonTimer.start(seconds * 1000);
        else
            m_balloonTimer.stop();
        if (textChanged)
            textChanged();
        update(textRect());
    }
    // How far the text goes below the image: the balloon's lines when it
    // shows, else the hint's, and the fixed room at least.
    int TextHeight() const {
        const int width = kWidth - 2 * kMargin;
        if (m_balloon->isVisibleTo(this))
            return m_balloon->heightForWidth(width) + 1;
        return fontMetrics()
            .boundingRect(QRect(0, 0, width, 10000), Qt::AlignHCenter | Qt::TextWordWrap, m_hint)
            .height();
    }
    static int TextTop() { return imageRect().bottom() + kMargin; }
    void SetTextBottom(int y) {
        m_textBottom = y;
        m_balloon->setGeometry(textRect());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        p.drawPixmap(imageRect(), m_image);
        if (hasFocus()) {
            // Solid and in the text's colour: a dotted line in the
            // highlight's is lost on many a palette.
            p.setPen(QPen(palette().color(QPalette::WindowText), 2));
            p.drawRect(imageRect().adjusted(-4, -4, 4, 4));
        }
        const QRect text = textRect();
        if (m_balloon->isHidden()) {
            p.setPen(palette().color(QPalette::WindowText));
            p.drawText(text, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, m_hint);
            return;
        }
        // The balloon's frame; its label writes the lines inside.
        p.setPen(palette().toolTipText().color());
        p.setBrush(palette().toolTipBase());
        p.drawRoundedRect(text.adjusted(0, 0, -1, -1), 6, 6);
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton)
            press();
    }
    void mouseReleaseEvent(QMouseEvent*) override {}
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && doubleClicked)
            doubleClicked();
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            click();
        else if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)
            popupMenu(mapToGlobal(imageRect().center()));
        else
            QAbstractButton::keyPressEvent(event);
    }
    void contextMenuEvent(QContextMenuEvent* event) override {
        popupMenu(event->reason() == QContextMenuEvent::Keyboard ? mapToGlobal(imageRect().center())
                                                                 : event->globalPos());
    }

private:
    void press() {
        // Read: a click puts the hint back, which while recording counts the
        // time.
        SetBalloon({}, {});
        if (pressed)
            pressed();
    }
    void popupMenu(const QPoint& at) {
        if (menu)
            menu->popup(at);
    }
    static QRect imageRect() { return {(kWidth - kImage) / 2, kMargin + 6, kImage, kImage}; }
    QRect textRect() const {
        const int top = imageRect().bottom() + kMargin;
        return {kMargin, top, kWidth - 2 * kMargin, m_textBottom - 4 - top};
    }

    QPixmap m_image;
    QString m_hint;
    QLabel* m_balloon = nullptr;
    int m_textBottom = kHeight;
    QTimer m_balloonTimer;
};

// A main window: to a screen reader a frame, where a plain widget would be a
// filler it skips.
class RecorderWindow::Face : public QMainWindow {
public:
    std::function<void()> closed;
    FaceButton* button;

    Face() : button(new FaceButton(this)) {
        setObjectName(QStringLiteral("RecorderWindow"));
        setWindowTitle(QStringLiteral("Tapewren"));
        setFixedSize(kWidth, kHeight);
        setCentralWidget(button);
        m_menuButton =
            new QPushButton(QCoreApplication::translate("RecorderWindow", "&Menu"), this);
        m_menuButton->setObjectName(QStringLiteral("BtnMenu"));
        m_menuButton->adjustSize();
        m_menuButton->move(kWidth - kMargin - m_menuButton->width(),
                           kHeight - kMargin - m_menuButton->height());
        m_menuButton->setEnabled(false);
        button->textChanged = [this] { fit(); };
        fit();
    }

    void SetMenu(QMenu* menu) {
        button->menu = menu;
        m_menuButton->setMenu(menu);
        m_menuButton->setEnabled(menu != nullptr);
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        // The program decides: Exit may first finish a take and ask for
        // its name, with this window still there.
        event->ignore();
        if (closed)
            closed();
    }

private:
    // The image, the text and the menu button: the fixed room at least, more
    // for longer lines. At the bottom of the screen it grows upwards.
    void fit() {
        const int menu = m_menuButton->height();
        const int height =
            std::max(kHeight, FaceButton::TextTop() + button->TextHeight() + 4 + kMargin + menu);
        const int grown = height - this->height();
        setFixedSize(kWidth, height);
        m_menuButton->move(kWidth - kMargin - m_menuButton->width(), height - kMargin - menu);
        button->SetTextBottom(m_menuButton->y());
        if (isVisible() && grown != 0)
            move(x(), y() - grown);
    }

    QPushButton* m_menuButton = nullptr;
};

RecorderWindow::RecorderWindow(QDBusConnection bus)
    : m_face(std::make_unique<Face>()), m_bus(std::move(bus)) {
    m_face->button->pressed = [this] { emit leftClicked(); };
    m_face->button->doubleClicked = [this] { emit doubleClicked(); };
    m_face->closed = [this] { emit closeRequested(); };
    if (DesktopNotifications::Available(m_bus))
        m_notifications = std::make_unique<DesktopNotifications>(m_bus);
}

RecorderWindow::~RecorderWindow() = default;

QWidget* RecorderWindow::Window() const {
    return m_face.get();
}

QString RecorderWindow::WhereText() {
    return tr("Tapewren is in its own window (this desktop shows no tray icons).");
}

void RecorderWindow::SetIcon(const QIcon& icon) {
    m_face->button->SetImage(icon);
}

void RecorderWindow::SetToolTip(const QString& text) {
    m_face->button->SetHint(text);
}

void RecorderWindow::SetRecording(bool recording) {
    m_face->button->SetRecording(recording);
}

void RecorderWindow::SetVisible(bool visible) {
    if (!visible) {
        m_face->hide();
        return;
    }
    // Where the tray would be: the bottom right of the work area.
    if (!m_placed)
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            m_face->move(area.right() - kWidth - 40, area.bottom() - m_face->height() - 60);
            m_placed = true;
        }
    m_face->show();
}

void RecorderWindow::SetMenu(QMenu* menu) {
    m_face->SetMenu(menu);
}

void RecorderWindow::ShowBalloon(const QString& title, const QString& text, int seconds,
                                 BalloonIcon icon, const QString& summary) {
    if (m_notifications)
        m_notifications->Show(summary.isEmpty() ? title : summary,
                              TextLines(text) + QLatin1Char('\n') + WhereText(), seconds, icon);
    else
        m_face->button->SetBalloon(title, text, seconds);
}

void RecorderWindow::HideBalloon() {
    m_face->button->SetBalloon({}, {});
}
