#pragma once

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <functional>

class QLabel;
class QFrame;
class QTimer;

enum TMSNPopupOption : unsigned {
    msnAutoOpenURL = 1u << 0,
    msnSystemFont = 1u << 1,
    msnCascadePopups = 1u << 2,
    msnAllowScroll = 1u << 3,
    msnAllowHyperlink = 1u << 4,
};
enum TGradientOrientation { mbHorizontal, mbVertical };
enum TBackgroundDrawMethod { dmActualSize, dmTile, dmFit };

// The side of the screen the taskbar is on.
enum TaskbarEdgeValue {
    edgeUndetermined = -1,
    edgeLeft = 0,
    edgeTop = 1,
    edgeRight = 2,
    edgeBottom = 3
};

// Where the panel is: the side on which the work area falls short of the
// screen. A desktop without a panel is treated as one with it at the bottom.
TaskbarEdgeValue TaskbarEdgeOf(const QRect& screen, const QRect& workArea);

// Row r of n of the vertical gradient, each channel rounded half away from zero.
QColor GradientRowColor(const QColor& c1, const QColor& c2, int row, int rows);

class TfrmMSNPopUp;

// Slide-in messages above the taskbar; several stack above one another.
class TMSNPopUp : public QObject {
    Q_OBJECT
public:
    explicit TMSNPopUp(QWidget* owner);
    ~TMSNPopUp() override;

    QString Text = QStringLiteral("text");
    QString URL = QStringLiteral("https://example.invalid/");
    QString Title = QStringLiteral("title");
    int Width = 148;
    int Height = 121;
    int TimeOut = 10;    // seconds fully out
    int ScrollSpeed = 9; // pixels per step
    int PopupStartX = 16;
    int PopupStartY = 2;
    int PopupMarge = 2;
    QPixmap IconBitmap;
    int IconLeft = 8;
    int IconTop = 8;
    QColor GradientColor1{153, 204, 255};
    QColor GradientColor2{255, 255, 255};
    TGradientOrientation GradientOrientation = mbVertical;
    QPixmap BackgroundImage;
    TBackgroundDrawMethod BackgroundDrawMethod = dmActualSize;
    QFont Font;
    QFont HoverFont;
    QFont TitleFont;
    QColor FontColor{0, 0, 0};
    QColor HoverFontColor{0, 0, 255};
    QColor TitleFontColor{0, 0, 0};
    Qt::Alignment TextAlignment = Qt::AlignHCenter;
    QCursor TextCursor{Qt::ArrowCursor};
    unsigned Options = msnAutoOpenURL | msnCascadePopups | msnAllowScroll | msnAllowHyperlink;
    std::function<void()> OnClick;
    std::function<void(const QString& url)> OnURLClick;

    // False when no further popup fits; then nothing is shown.
    bool PresentPopup();

    int openPopupCount = 0;
    int cascadeOffset = 0;
    TaskbarEdgeValue lastTaskbarEdge = edgeUndetermined;

    // The screen and its work area; tests put a computed desktop here.
    std::function<std::pair<QRect, QRect>()> ScreenAreas;

    // Called by a popup window that closes for good.
    void PopupClosed();

private:
    QWidget* m_owner;
};

// One message window; destroys itself when it closes.
class TfrmMSNPopUp : public QWidget {
    Q_OBJECT
public:
    TfrmMSNPopUp(TMSNPopUp& settings, QWidget* owner);
    ~TfrmMSNPopUp() override;

    // Places, paints and starts showing the window.
    void ShowPopup();
    void LayoutText();

    int ownOffset = 0;
    bool closeFrees = true;

    // One step of the slide in and out; public so that tests can step them.
    void ScrollStep();
    void ScrollDownStep();
    void ExitTimerFired();

    QLabel* lblText = nullptr;
    QLabel* lblTitle = nullptr;
    QTimer* tmrScroll = nullptr;
    QTimer* tmrExit = nullptr;
    QTimer* tmrScrollDown = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paintBackground();
    void textClicked();
    void otherClicked();
    void closePopup();
    QRect workArea() const;

    QPointer<TMSNPopUp> m_component;
    QString m_text;
    QString m_url;
    QString m_title;
    int m_width;
    int m_height;
    int m_timeOut;
    int m_scrollSpeed;
    int m_startX;
    int m_startY;
    QPixmap m_icon;
    int m_iconLeft;
    int m_iconTop;
    QColor m_color1;
    QColor m_color2;
    TGradientOrientation m_orientation;
    QPixmap m_background;
    TBackgroundDrawMethod m_drawMethod;
    QFont m_font;
    QFont m_hoverFont;
    QColor m_fontColor;
    QColor m_hoverColor;
    bool m_allowScroll;
    bool m_allowHyperlink;
    bool m_autoOpen;
    std::function<void()> m_onClick;
    std::function<void(const QString&)> m_onURLClick;
    std::function<std::pair<QRect, QRect>()> m_screenAreas;
    TaskbarEdgeValue m_edge = edgeBottom;
    bool m_hovering = false;

    QFrame* pnlBorder = nullptr;
    QLabel* imgGradient = nullptr;
    QLabel* imgMsn = nullptr;
    QLabel* imgIcon = nullptr;
};
