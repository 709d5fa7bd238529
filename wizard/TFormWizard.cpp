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
constexpr int kPageHeight = 265;
constexpr int kHeaderHeight = 57;
constexpr int kStripWidth = 36;
constexpr int kButtonY = 273;
const QColor kLevelGreen(0, 170, 60);
const QColor kVolumeBlue(30, 90, 210);

// The texts keep the line breaks they were written with; a label breaks at "\n".
QString lines(const char* text) {
    return QCoreApplication::translate("TFormWizard", text)
        .replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

QLabel* wrappedLabel(const char* text, QWidget* parent, const QRect& geometry) {
    auto* label = new QLabel(lines(text), parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

QPushButton* button(const char* name, const char* text, QWidget* parent, const QRect& geometry) {
    auto* b = new QPushButton(lines(text), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setGeometry(geometry);
    b->setAutoDefault(false);
    return b;
}
} // namespace

TFormWizard::TFormWizard(QWidget* parent) : QDialog(parent), m_optimizer(*this) {
    setObjectName(QStringLiteral("FormWizard"));
    setWindowTitle(QStringLiteral("Tapewren"));
    setFixedSize(445, 307);

    Wizard = new QStackedWidget(this);
    Wizard->setObjectName(QStringLiteral("Wizard"));
    Wizard->setGeometry(0, 0, width(), kPageHeight);
    Wizard->addWidget(makeWelcomePage());
    Wizard->addWidget(makeOptPage());
    Wizard->addWidget(makeDecidePage());

    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    divider->setGeometry(0, kPageHeight, width(), 2);

    BtnBack = button("BtnBack", QT_TR_NOOP("Back"), this, {179, kButtonY, 78, 26});
    BtnNext = button("BtnNext", QT_TR_NOOP("Next"), this, {271, kButtonY, 78, 26});
    BtnFinish = button("BtnFinish", QT_TR_NOOP("Finish"), this, {356, kButtonY, 77, 26});
    CheckW1 = new QCheckBox(tr("Don't show this page again"), this);
    CheckW1->setObjectName(QStringLiteral("CheckW1"));
    // Its right edge where it stands; a longer text, as some languages have,
    // grows to the left rather than being cut.
    const int checkWidth = std::max(width() - 256 - 4, CheckW1->sizeHint().width());
    CheckW1->setGeometry(width() - 4 - checkWidth, 278, checkWidth, 17);

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
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("PageWelcome"));
    auto* header =
        new HeaderBand(tr("Tapewren Sound Optimizer"), tr("This is a simple 2-step wizard"), page);
    header->setGeometry(0, 0, width(), kHeaderHeight);
    (new SidePicture(page))
        ->setGeometry(0, kHeaderHeight, kStripWidth, kPageHeight - kHeaderHeight);
    auto* imageBG = new BackgroundPicture(page);
    imageBG->setObjectName(QStringLiteral("ImageBG"));
    imageBG->setGeometry(kStripWidth + 8, 196, 240, 64);
    const int x = kStripWidth + 12;
    const int w = width() - x - 10;
    wrappedLabel(
        QT_TR_NOOP("People using other recorder software often end up with \r\ndistorted results "
                   "because it's hard to find the proper recording volume level."),
        page, {x, 66, w, 46});
    wrappedLabel(
        QT_TR_NOOP(
            "Tapewren's sophisticated smart-detect technology will help you to determine the "
            "ideal recording volume level which will ensure the best sound quality."),
        page, {x, 116, w, 46});
    wrappedLabel(
        QT_TR_NOOP("To get best sound quality, it is recommended to run this wizard each time you "
                   "change the input channel."),
        page, {x, 166, w, 32});
    BtnStart = button("BtnStart", QT_TR_NOOP("Start the Wizard"), page, {300, 222, 130, 26});
    return page;
}

QWidget* TFormWizard::makeOptPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("PageOPT"));
    (new SidePicture(page))->setGeometry(0, 0, kStripWidth, kPageHeight);
    const int x = kStripWidth + 12;
    const int w = width() - x - 10;
    wrappedLabel(
        QT_TR_NOOP("1. Pick the right recording channel.\r\n2. Play audio file, speak into the "
                   "microphone or turn on\r\nthe connected input sound source.\r\n3. Optimization "
                   "starts automatically."),
        page, {x, 6, w, 66});

    auto* channelGroup = new QGroupBox(tr("Recording Channel to Use"), page);
    channelGroup->setGeometry(x, 74, w, 90);
    ComboRecChannel = new NamedComboBox(channelGroup);
    ComboRecChannel->setObjectName(QStringLiteral("ComboRecChannel"));
    ComboRecChannel->setAccessibleName(channelGroup->title());
    ComboRecChannel->setGeometry(10, 22, w - 20, 24);
    auto* left = new QLabel(tr("Left"), channelGroup);
    left->setGeometry(10, 52, 40, 14);
    GaugeLeft = new Gauge(kLevelGreen, false, channelGroup);
    GaugeLeft->setObjectName(QStringLiteral("GaugeLeft"));
    GaugeLeft->setGeometry(52, 53, w - 62, 12);
    left->setBuddy(GaugeLeft);
    auto* right = new QLabel(tr("Right"), channelGroup);
    right->setGeometry(10, 70, 40, 14);
    GaugeRight = new Gauge(kLevelGreen, false, channelGroup);
    GaugeRight->setObjectName(QStringLiteral("GaugeRight"));
    GaugeRight->setGeometry(52, 71, w - 62, 12);
    right->setBuddy(GaugeRight);

    auto* volumeGroup = new QGroupBox(tr("Recording Volume"), page);
    volumeGroup->setGeometry(x, 168, w, 50);
    GaugeVOL = new Gauge(kVolumeBlue, true, volumeGroup);
    GaugeVOL->setObjectName(QStringLiteral("GaugeVOL"));
    GaugeVOL->setGeometry(10, 22, w - 20, 18);

    wrappedLabel(
        QT_TR_NOOP("You may click the \"Next\" button, when the above\r\nblue volume bar stops "
                   "progressing."),
        page, {x, 224, w, 36});
    return page;
}

QWidget* TFormWizard::makeDecidePage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("PageDecide"));
    auto* header = new HeaderBand(tr("Manual Finetune (Optional)"),
                                  tr("You may skip this step and click \"Finish\" directly"), page);
    header->setGeometry(0, 0, width(), kHeaderHeight);
    (new SidePicture(page))
        ->setGeometry(0, kHeaderHeight, kStripWidth, kPageHeight - kHeaderHeight);
    GroupW3 = new QGroupBox(tr("Volume to Use"), page);
    GroupW3->setObjectName(QStringLiteral("GroupW3"));
    GroupW3->setGeometry(kStripWidth + 24, 84, 360, 64);
    SliderVOL = new QSlider(Qt::Horizontal, GroupW3);
    SliderVOL->setObjectName(QStringLiteral("SliderVOL"));
    SliderVOL->setRange(1, 100);
    SliderVOL->setSingleStep(1);
    SliderVOL->setValue(1);
    SliderVOL->setGeometry(12, 26, 336, 26);
    auto* imageBG1 = new BackgroundPicture(page);
    imageBG1->setObjectName(QStringLiteral("ImageBG1"));
    imageBG1->setGeometry(kStripWidth + 24, 164, 360, 90);
    return page;
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
    BtnNext->move(356, kButtonY);
    BtnFinish->hide();
    CheckW1->hide();
    ComboRecChannelChange();
}

void TFormWizard::PageDecidePage() {
    SliderVOL->setValue(m_optimizer.Volume());
    GroupW3->setTitle(tr("Volume to Use: %1").arg(PercentText(SliderVOL->value())));
    BtnBack->show();
    BtnBack->move(271, kButtonY);
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
