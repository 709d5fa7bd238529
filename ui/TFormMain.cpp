#include "TFormMain.h"

#include "Bass.h"
#include "Common.h"
#include "MessageBox.h"
#include "QualityPresets.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QSlider>
#include <QToolTip>

namespace {
constexpr int kIdleIcon = 36;

QSlider* makeSlider(QWidget* parent, const char* name, int minimum, int maximum) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(QString::fromLatin1(name));
    slider->setRange(minimum, maximum);
    slider->setSingleStep(1);
    slider->setPageStep(1);
    return slider;
}
} // namespace

TFormMain::TFormMain(std::string dataFolder, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint), m_dataFolder(std::move(dataFolder)),
      m_settings(m_dataFolder + "quillby.ini"), m_recorder(*this, m_dataFolder + "tmp") {
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("Tapewren"));
    setFixedSize(348, 508);

    ComboChannels = new QComboBox(this);
    ComboChannels->setObjectName(QStringLiteral("ComboChannels"));
    ComboChannels->setGeometry(23, 131, 162, 21);
    SliderQuality = makeSlider(this, "SliderQuality", 0, 76);
    SliderQuality->setGeometry(16, 208, 177, 41);
    SliderVolume = makeSlider(this, "SliderVolume", 1, 100);
    SliderVolume->setGeometry(16, 292, 177, 33);
    CheckStereo = new QCheckBox(QStringLiteral("Stereo"), this);
    CheckStereo->setObjectName(QStringLiteral("CheckStereo"));
    CheckStereo->setGeometry(204, 215, 73, 17);
    CheckVBR = new QCheckBox(QStringLiteral("VBR"), this);
    CheckVBR->setObjectName(QStringLiteral("CheckVBR"));
    CheckVBR->setGeometry(272, 215, 49, 17);

    MSNPopUp = new TMSNPopUp(this);
    MSNPopUp->Text = QStringLiteral("N/A");
    MSNPopUp->Title = QStringLiteral("Tapewren");
    MSNPopUp->TimeOut = 5;
    MSNPopUp->GradientColor1 = QColor(157, 157, 255);
    QFont sans(QStringLiteral("Sans Serif"));
    sans.setStyleHint(QFont::SansSerif);
    sans.setPixelSize(11);
    MSNPopUp->Font = sans;
    MSNPopUp->FontColor = QColor(64, 64, 64);
    MSNPopUp->HoverFont = sans;
    MSNPopUp->HoverFont.setUnderline(true);
    MSNPopUp->HoverFontColor = QColor(0, 0, 255);
    QFont title = sans;
    title.setPixelSize(13);
    title.setBold(true);
    MSNPopUp->TitleFont = title;
    MSNPopUp->TitleFontColor = QColor(0, 0, 0);
    MSNPopUp->Options = msnAutoOpenURL | msnSystemFont | msnCascadePopups | msnAllowScroll;

    connect(SliderQuality, &QSlider::valueChanged, this, &TFormMain::SliderQualityChange);
    connect(SliderVolume, &QSlider::valueChanged, this, &TFormMain::SliderVolumeChange);
}

void TFormMain::showSliderHint(QSlider* slider, const QString& text) {
    // Only for a user dragging in the visible window; loading values while
    // hidden keeps the start-up hints.
    if (!isVisible())
        return;
    slider->setToolTip(text);
    QToolTip::hideText();
    QToolTip::showText(QCursor::pos(), text, slider);
}

void TFormMain::SliderQualityChange() {
    showSliderHint(SliderQuality, QString::fromStdString(QualityHint(SliderQuality->value())));
}

void TFormMain::SliderVolumeChange() {
    showSliderHint(SliderVolume, QStringLiteral("%1%").arg(SliderVolume->value()));
}

TFormMain::~TFormMain() {
    if (m_audioOpen)
        ShutdownAudio();
}

void TFormMain::placeBottomRight() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.width() - width() - 5, area.height() - height() - 30);
}

bool TFormMain::FormCreate() {
    m_recorder.emailAfterRecording = false;
    placeBottomRight();
    SetTrayIconIndex(kIdleIcon);

    const DWORD version = BASS_GetVersion();
    if ((version & 0xFFFF) != 1 || (version >> 16) != 8) {
        MessageBox::Error(QStringLiteral("A required part of the software is missing, please "
                                         "re-install."));
        return false;
    }
    if (!BASS_RecordInit(-1) || !BASS_Init(-1, 44100, 0, this)) {
        BASS_RecordFree();
        BASS_Free();
        MessageBox::Error(QStringLiteral("Can not initiate defualt recording device."));
        return false;
    }
    m_audioOpen = true;

    ComboChannels->clear();
    for (int i = 0;; ++i) {
        const char* name = BASS_RecordGetInputName(i);
        if (!name)
            break;
        ComboChannels->addItem(QString::fromUtf8(name));
    }

    ActivateHotKeys();
    LoadSettings();
    SliderQuality->setToolTip(QString::fromStdString(StartupQualityHint(SliderQuality->value())));
    SliderVolume->setToolTip(QStringLiteral("%1%").arg(SliderVolume->value()));
    RecreateFolder(WorkingFolder());
    m_recorder.CreateStreams();
    ShowStartupBalloon();
    return true;
}

void TFormMain::SelectDefaultChannel() {
    int chosen = -1;
    for (int i = 0; chosen < 0; ++i) {
        const DWORD info = BASS_RecordGetInput(i);
        if (info == static_cast<DWORD>(-1))
            break;
        if ((info >> 24) == kInputWaveOutput)
            chosen = i;
    }
    for (int i = 0; chosen < 0; ++i) {
        const DWORD info = BASS_RecordGetInput(i);
        if (info == static_cast<DWORD>(-1))
            break;
        const char* name = BASS_RecordGetInputName(i);
        const QString lower = QString::fromUtf8(name ? name : "").toLower();
        if ((info >> 24) == kInputAnalog &&
            (lower.contains(QLatin1String("wave")) || lower.contains(QLatin1String("wav")) ||
             lower.contains(QLatin1String("stereo")) || lower.contains(QLatin1String("mix"))))
            chosen = i;
    }
    ComboChannels->setCurrentIndex(chosen >= 0 ? chosen : 0);
}

void TFormMain::LoadSettings() {
    const std::optional<RecorderSettings> stored = m_settings.Load();
    if (!stored) {
        SelectDefaultChannel();
        if (ComboChannels->currentIndex() < 0)
            ComboChannels->setCurrentIndex(0);
        const RecorderSettings defaults;
        SliderQuality->setValue(defaults.quality);
        SliderVolume->setValue(defaults.volume);
        CheckStereo->setChecked(defaults.stereo);
        CheckVBR->setChecked(defaults.vbr);
        hideWizardWelcome = defaults.hideWizardWelcome;
        lastSaveDir.clear();
        return;
    }
    const bool validChannel = stored->channel >= 0 && stored->channel < ComboChannels->count();
    ComboChannels->setCurrentIndex(validChannel ? stored->channel : -1);
    if (ComboChannels->currentIndex() < 0)
        SelectDefaultChannel();
    SliderQuality->setValue(stored->quality); // the sliders clamp to their ranges
    SliderVolume->setValue(stored->volume);
    CheckStereo->setChecked(stored->stereo);
    CheckVBR->setChecked(stored->vbr);
    hideWizardWelcome = stored->hideWizardWelcome;
    popupShowCount = stored->popupShowCount;
    lastSaveDir = stored->lastSaveDir;
}

RecorderSettings TFormMain::CurrentSettings() const {
    RecorderSettings s;
    s.channel = ComboChannels->currentIndex();
    s.quality = SliderQuality->value();
    s.volume = SliderVolume->value();
    s.stereo = CheckStereo->isChecked();
    s.vbr = CheckVBR->isChecked();
    s.hideWizardWelcome = hideWizardWelcome;
    s.popupShowCount = popupShowCount;
    s.lastSaveDir = lastSaveDir;
    return s;
}

void TFormMain::MenuExitClick() {
    // A running take is finished and offered for saving first.
    if (m_recorder.IsActive())
        ToggleRecording(false);
    close();
}

void TFormMain::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TFormMain::FormClose() {
    if (m_closed)
        return;
    m_closed = true;
    // A program that cannot be quit would be worse than settings not kept:
    // say so, and go on closing.
    if (!m_settings.SaveAtExit(CurrentSettings()))
        MessageBox::Error(QString::fromStdString(m_settings.WriteErrorText()));
    ShutdownAudio();
    emit closed();
}

void TFormMain::ShutdownAudio() {
    m_recorder.FreeStreams();
    BASS_RecordFree();
    BASS_Stop();
    BASS_Free();
    m_audioOpen = false;
}

void TFormMain::SetTrayIconIndex(int) {}

void TFormMain::ActivateHotKeys() {}

void TFormMain::ShowStartupBalloon() {}

RecorderHost::Settings TFormMain::RecordingSettings() {
    Settings s;
    s.channel = ComboChannels->currentIndex();
    s.quality = SliderQuality->value();
    s.volume = SliderVolume->value();
    s.stereo = CheckStereo->isChecked();
    s.vbr = CheckVBR->isChecked();
    return s;
}

void TFormMain::ShowError(const std::string& text) {
    MessageBox::Error(QString::fromStdString(text));
}

void TFormMain::ShowNotification(const std::string& text) {
    ShowNotification(QString::fromStdString(text), QString());
}

void TFormMain::ShowNotification(const QString& text, const QString& link) {
    MSNPopUp->Text = text;
    MSNPopUp->URL = link;
    if (!link.isEmpty()) {
        MSNPopUp->Options |= msnAllowHyperlink;
        MSNPopUp->TextCursor = QCursor(Qt::PointingHandCursor);
    } else {
        MSNPopUp->Options &= ~msnAllowHyperlink;
        MSNPopUp->TextCursor = QCursor(Qt::ArrowCursor);
    }
    MSNPopUp->PresentPopup();
}

void TFormMain::UpdateLevelIcon(uint32_t) {}

void TFormMain::EnterTrayBusyMode() {}

void TFormMain::LeaveTrayBusyMode() {}

void TFormMain::RunSaveDialog(const std::string&, bool) {}

void TFormMain::SaveLastDir() {
    if (!m_settings.SaveLastDir(lastSaveDir))
        MessageBox::Error(QString::fromStdString(m_settings.WriteErrorText()));
}
