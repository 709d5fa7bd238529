#include "TFormWizard.h"

#include "Bass.h"
#include "Common.h"
#include "DialogRunner.h"
#include "Gauge.h"
#include "MessageBox.h"
#include "NamedComboBox.h"
#include "SoundSystem.h"
#include "WizardArt.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>

#include <algorithm>

namespace {
// The English texts' sizes: the least each part takes. Longer texts, larger
// fonts and other languages make the parts grow from the font's metrics.
constexpr int kWidth = 445;
constexpr int kPageHeight = 265;
constexpr int kStripWidth = 36;
constexpr int kTextLeft = kStripWidth + 12;
constexpr int kButtonHeight = 26;
const QColor kLevelGreen(0, 170, 60);
const QColor kVolumeBlue(30, 90, 210);

// The texts keep the line breaks they were written with; a label breaks at "\n".
QString lines(const char* text) {
    return QCoreApplication::translate("TFormWizard", text)
        .replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

// At y across the page's text column, as tall as its lines need and at
// least minHeight; gives the y just below it.
int wrappedLabel(const char* text, QWidget* parent, int y, int minHeight) {
    auto* label = new QLabel(lines(text), parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const int width = kWidth - kTextLeft - 10;
    label->setGeometry(kTextLeft, y, width, std::max(minHeight, label->heightForWidth(width)));
    return y + label->height();
}

QPushButton* button(const char* name, const char* text, QWidget* parent, int minWidth) {
    auto* b = new QPushButton(lines(text), parent);
    b->setObjectName(QString::fromUtf8(name));
    // The text and a margin of the font's height; not the style's size,
    // which asks for 80 pixels however short the text.
    const QFontMetrics metrics = b->fontMetrics();
    b->resize(std::max(minWidth, metrics.horizontalAdvance(b->text()) + metrics.height()),
              std::max(kButtonHeight, metrics.height() + 8));
    b->setAutoDefault(false);
    return b;
}

// Pages taller than the English one push the buttons down.
QWidget* resizedPage(QWidget* page, int contentEnd) {
    page->resize(kWidth, std::max(kPageHeight, contentEnd + 5));
    return page;
}
} // namespace

TFormWizard::TFormWizard(QWidget* parent) : QDialog(parent), m_optimizer(*this) {
    setObjectName(QStringLiteral("FormWizard"));
    setWindowTitle(QStringLiteral("Tapewren"));

    Wizard = new QStackedWidget(this);
    Wizard->setObjectName(QStringLiteral("Wizard"));
    const QList<QWidget*> pages{makeWelcomePage(), makeOptPage(), makeDecidePage()};
    int height = 0;
    for (QWidget* page : pages)
        height = std::max(height, page->height());
    // The tallest page sets them all; their strips run down to the divider.
    for (QWidget* page : pages) {
        Wizard->addWidget(page);
        for (auto* strip : page->findChildren<SidePicture*>())
            strip->resize(strip->width(), height - strip->y());
    }
    Wizard->setGeometry(0, 0, kWidth, height);

    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    divider->setGeometry(0, height, kWidth, 2);

    const int buttonY = height + 8;
    BtnBack = button("BtnBack", QT_TR_NOOP("Back"), this, 78);
    BtnNext = button("BtnNext", QT_TR_NOOP("Next"), this, 78);
    BtnFinish = button("BtnFinish", QT_TR_NOOP("Finish"), this, 77);
    // Next and Finish take turns at the right; Back stands left of Finish.
    for (QPushButton* last : {BtnNext, BtnFinish})
        last->move(std::min(kWidth - 89, kWidth - 11 - last->width()), buttonY);
    BtnBack->move(BtnFinish->x() - 7 - BtnBack->width(), buttonY);
    CheckW1 = new QCheckBox(tr("Don't show this page again"), this);
    CheckW1->setObjectName(QStringLiteral("CheckW1"));
    // Its right edge where it stands; a longer text, as some languages have,
    // grows to the left rather than being cut.
    const int checkWidth = std::max(kWidth - 256 - 4, CheckW1->sizeHint().width());
    CheckW1->setGeometry(kWidth - 4 - checkWidth, buttonY + 5, checkWidth,
                         std::max(17, CheckW1->fontMetrics().height()));
    setFixedSize(kWidth, std::max(BtnNext->geometry().bottom(), CheckW1->geometry().bottom()) + 9);

    connect(BtnStart, &QPushButton::clicked, this, &TFormWizard::BtnStartClick);
    connect(BtnNext, &QPushButton::clicked, this, &TFormWizard::BtnNextClick);
    connect(BtnBack, &QPushButton::clicked, this, &TFormWizard::BtnBackClick);
    connect(BtnFinish, &QPushButton::clicked, this, &TFormWizard::BtnFinishClick);
    // The user's pick only: the configuration window sets the index before
    // the channel page starts the search itself.
    connect(ComboRecChannel, &QComboBox::activated, this, &TFormWizard::ComboRecChannelChange);
    m_inputChoice = std::make_unique<InputChoice>(*ComboRecChannel);
    connect(SliderVOL, &QSlider::valueChanged, this, &TFormWizard::SliderVOLChange);

    GaugeVOL->setValue(m_optimizer.Volume());
    PageWelcomePage();
}

QWidget* TFormWizard::makeWelcomePage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("PageWelcome"));
    auto* header =
        new HeaderBand(tr("Tapewren Sound Optimizer"), tr("This is a simple 2-step wizard"), page);
    const int headerHeight = header->Fit(kWidth);
    (new SidePicture(page))->setGeometry(0, headerHeight, kStripWidth, kPageHeight);
    auto* imageBG = new BackgroundPicture(page);
    imageBG->setObjectName(QStringLiteral("ImageBG"));
    int y = wrappedLabel(
        QT_TR_NOOP("People using other recorder software often end up with \r\ndistorted results "
                   "because it's hard to find the proper recording volume level."),
        page, headerHeight + 9, 46);
    y = wrappedLabel(
        QT_TR_NOOP(
            "Tapewren's sophisticated smart-detect technology will help you to determine the "
            "ideal recording volume level which will ensure the best sound quality."),
        page, y + 4, 46);
    y = wrappedLabel(
        QT_TR_NOOP("To get best sound quality, it is recommended to run this wizard each time you "
                   "change the input channel."),
        page, y + 4, 32);
    imageBG->setGeometry(kStripWidth + 8, y - 2, 240, 64);
    BtnStart = button("BtnStart", QT_TR_NOOP("Start the Wizard"), page, 130);
    BtnStart->move(430 - BtnStart->width(), y + 24);
    return resizedPage(page, BtnStart->geometry().bottom() + 1);
}

QWidget* TFormWizard::makeOptPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("PageOPT"));
    (new SidePicture(page))->setGeometry(0, 0, kStripWidth, kPageHeight);
    const int w = kWidth - kTextLeft - 10;
    const int groupTop =
        wrappedLabel(
            QT_TR_NOOP(
                "1. Pick the right recording channel.\r\n2. Play audio file, speak into the "
                "microphone or turn on\r\nthe connected input sound source.\r\n3. Optimization "
                "starts automatically."),
            page, 6, 66) +
        2;

    auto* channelGroup = new QGroupBox(tr("Recording Channel to Use"), page);
    // Below the group's title, however tall the font makes it.
    const int top = std::max(22, channelGroup->fontMetrics().height() + 6);
    ComboRecChannel = new NamedComboBox(channelGroup);
    ComboRecChannel->setObjectName(QStringLiteral("ComboRecChannel"));
    ComboRecChannel->setAccessibleName(channelGroup->title());
    ComboRecChannel->setGeometry(10, top, w - 20, 24);
    // The bars start where the longer of their names ends, and a gap that
    // grows with the font on.
    auto* left = new QLabel(tr("Left"), channelGroup);
    auto* right = new QLabel(tr("Right"), channelGroup);
    const QFontMetrics metrics = left->fontMetrics();
    const int row = std::max(14, metrics.height());
    const int gap = metrics.height() * 3 / 5;
    const int barX = std::max({52, 10 + metrics.horizontalAdvance(left->text()) + gap,
                               10 + metrics.horizontalAdvance(right->text()) + gap});
    const int leftY = top + 24 + 6;
    const int rightY = leftY + row + 4;
    left->setGeometry(10, leftY, barX - 12, row);
    right->setGeometry(10, rightY, barX - 12, row);
    GaugeLeft = new Gauge(kLevelGreen, false, channelGroup);
    GaugeLeft->setObjectName(QStringLiteral("GaugeLeft"));
    GaugeLeft->setGeometry(barX, leftY + (row - 12) / 2, w - 10 - barX, 12);
    left->setBuddy(GaugeLeft);
    GaugeRight = new Gauge(kLevelGreen, false, channelGroup);
    GaugeRight->setObjectName(QStringLiteral("GaugeRight"));
    GaugeRight->setGeometry(barX, rightY + (row - 12) / 2, w - 10 - barX, 12);
    right->setBuddy(GaugeRight);
    channelGroup->setGeometry(kTextLeft, groupTop, w, rightY + row + 6);

    auto* volumeGroup = new QGroupBox(tr("Recording Volume"), page);
    GaugeVOL = new Gauge(kVolumeBlue, true, volumeGroup);
    GaugeVOL->setObjectName(QStringLiteral("GaugeVOL"));
    const int barHeight = std::max(18, GaugeVOL->fontMetrics().height() + 2);
    GaugeVOL->setGeometry(10, top, w - 20, barHeight);
    volumeGroup->setGeometry(kTextLeft, channelGroup->geometry().bottom() + 5, w,
                             top + barHeight + 10);

    const int bottom = wrappedLabel(
        QT_TR_NOOP("You may click the \"Next\" button, when the above\r\nblue volume bar stops "
                   "progressing."),
        page, volumeGroup->geometry().bottom() + 7, 36);
    return resizedPage(page, bottom);
}

QWidget* TFormWizard::makeDecidePage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("PageDecide"));
    auto* header = new HeaderBand(tr("Manual Finetune (Optional)"),
                                  tr("You may skip this step and click \"Finish\" directly"), page);
    const int headerHeight = header->Fit(kWidth);
    (new SidePicture(page))->setGeometry(0, headerHeight, kStripWidth, kPageHeight);
    GroupW3 = new QGroupBox(tr("Volume to Use"), page);
    GroupW3->setObjectName(QStringLiteral("GroupW3"));
    SliderVOL = new QSlider(Qt::Horizontal, GroupW3);
    SliderVOL->setObjectName(QStringLiteral("SliderVOL"));
    SliderVOL->setRange(1, 100);
    SliderVOL->setSingleStep(1);
    SliderVOL->setValue(1);
    const int top = std::max(26, GroupW3->fontMetrics().height() + 10);
    SliderVOL->setGeometry(12, top, 336, 26);
    GroupW3->setGeometry(kStripWidth + 24, headerHeight + 27, 360, top + 38);
    auto* imageBG1 = new BackgroundPicture(page);
    imageBG1->setObjectName(QStringLiteral("ImageBG1"));
    imageBG1->setGeometry(kStripWidth + 24, GroupW3->geometry().bottom() + 17, 360, 90);
    return resizedPage(page, imageBG1->geometry().bottom() + 7);
}

TFormWizard::~TFormWizard() {
    FormDestroy();
}

bool TFormWizard::FormCreate() {
    if (!OpenSoundSystem(this)) {
        MessageBox::Fatal(tr(kNoDeviceText), tr("Error"));
        EndProgramAtOnce();
        return false;
    }
    m_inputChoice->Fill();
    FollowInputChanges(this);
    SetActivePage(PageWelcome);
    return true;
}

void TFormWizard::RefreshInputs() {
    // Stopped first: the search sets volumes by index, and the indexes are
    // about to move.
    const bool searching = BASS_ChannelIsActive(kRecordChannel) != BASS_ACTIVE_STOPPED;
    if (searching)
        BASS_ChannelStop(kRecordChannel);
    const QString gone = m_inputChoice->Refresh();
    if (!gone.isEmpty()) {
        ComboRecChannel->setCurrentIndex(InputChoice::DefaultIndex());
        const QString text = InputChoice::GoneText(gone, ComboRecChannel->currentText());
        if (ShowInputGone)
            ShowInputGone(text);
        else
            MessageBox::Error(text, QStringLiteral("Tapewren"), this);
    }
    if (searching)
        ComboRecChannelChange();
}

void TFormWizard::FormDestroy() {
    CloseSoundSystem();
}

void TFormWizard::AbandonOpen() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* wizard = qobject_cast<TFormWizard*>(window))
            wizard->done(QDialog::Rejected); // not close(), which keeps the volume
}

bool TFormWizard::RunFor(QWidget* owner, Exchange& exchange,
                         std::function<void(const QString&)> showInputGone) {
    TFormWizard wizard(owner);
    wizard.ShowInputGone = std::move(showInputGone);
    if (!wizard.FormCreate())
        return false;
    wizard.ComboRecChannel->setCurrentIndex(
        wizard.ComboRecChannel->findData(exchange.channel, Qt::UserRole, Qt::MatchExactly));
    wizard.SliderVOL->setValue(exchange.volume);
    wizard.CheckW1->setChecked(exchange.hideWelcome);
    wizard.SetActivePage(exchange.hideWelcome ? PageOPT : PageWelcome);
    DialogRunner::Run(wizard);
    exchange.volume = wizard.SliderVOL->value();
    exchange.channel = wizard.m_inputChoice->SelectedName();
    exchange.hideWelcome = wizard.CheckW1->isChecked();
    return true;
}

void TFormWizard::SetActivePage(int page) {
    if (page < PageWelcome || page > PageDecide)
        return;
    m_page = page;
    Wizard->setCurrentIndex(page);
    switch (page) {
    case PageWelcome:
        PageWelcomePage();
        BtnStart->setFocus();
        break;
    case PageOPT:
        PageOPTPage();
        ComboRecChannel->setFocus();
        break;
    case PageDecide:
        PageDecidePage();
        SliderVOL->setFocus();
        break;
    }
}

int TFormWizard::ActivePage() const {
    return m_page;
}

void TFormWizard::PageWelcomePage() {
    BtnBack->hide();
    BtnNext->hide();
    BtnFinish->hide();
    CheckW1->show();
}

void TFormWizard::PageOPTPage() {
    BtnBack->hide();
    BtnNext->show();
    BtnFinish->hide();
    CheckW1->hide();
    ComboRecChannelChange();
}

void TFormWizard::PageDecidePage() {
    SliderVOL->setValue(m_optimizer.Volume());
    GroupW3->setTitle(tr("Volume to Use: %1").arg(PercentText(SliderVOL->value())));
    BtnBack->show();
    BtnNext->hide();
    BtnFinish->show();
}

void TFormWizard::BtnStartClick() {
    SetActivePage(m_page + 1);
}

void TFormWizard::BtnNextClick() {
    SetActivePage(m_page + 1);
    Wizard->repaint();
}

void TFormWizard::BtnBackClick() {
    SetActivePage(m_page - 1);
}

void TFormWizard::BtnFinishClick() {
    close();
}

void TFormWizard::ComboRecChannelChange() {
    m_inputChoice->ChooseSelected();
    m_optimizer.ComboRecChannelChange(ComboRecChannel->currentIndex());
}

void TFormWizard::SliderVOLChange(int value) {
    GroupW3->setTitle(tr("Volume to Use: %1").arg(PercentText(value)));
}

void TFormWizard::closeEvent(QCloseEvent* event) {
    // No cancel: the close box ends the wizard like Finish, and both keep
    // the volume: the slider's once the fine-tune page is reached, else the
    // one the search set. Any other end gives them back.
    if (m_page == PageDecide)
        m_optimizer.Settle(SliderVOL->value());
    BASS_RecordKeepVolumes();
    event->accept();
    done(QDialog::Accepted);
}

void TFormWizard::ShowError(const std::string& text) {
    MessageBox::Error(QCoreApplication::translate("VolumeOptimizer", text.c_str()),
                      QStringLiteral("Tapewren"), this);
}

void TFormWizard::ShowLevels(int left, int right) {
    GaugeLeft->setValue(left);
    GaugeRight->setValue(right);
}

void TFormWizard::ShowVolume(int percent) {
    GaugeVOL->setValue(percent);
}
