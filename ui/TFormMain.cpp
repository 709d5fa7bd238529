#include "TFormMain.h"

#include "Accessible.h"
#include "Autostart.h"
#include "Bass.h"
#include "Common.h"
#include "ConfigFace.h"
#include "FlatControls.h"
#include "HelpFiles.h"
#include "ImageButton.h"
#include "ImageSlider.h"
#include "InputChoice.h"
#include "Languages.h"
#include "LeftTakes.h"
#include "LinkLabel.h"
#include "Logging.h"
#include "MessageBox.h"
#include "MoveFile.h"
#include "QualityPresets.h"
#include "SendEmail.h"
#include "Shell.h"
#include "TFormSave.h"
#include "TFormWizard.h"
#include "TextLines.h"
#include "TrayImages.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QShowEvent>

#include <cstdio>
#include <limits>

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QSlider>
#include <QToolTip>

namespace {
constexpr TShortCut kRecordShortCut = 0xC04F; // Ctrl+Alt+O
constexpr TShortCut kPauseShortCut = 0xC050;  // Ctrl+Alt+P
// How long the start-up balloon waits for the desktop to bind its keys.
constexpr int kKeysAnswerMs = 2000;
const char* const kProductPage = "https://github.com/tapewren/tapewren";
const char* const kSupportPage = "https://github.com/tapewren/tapewren/issues";

// Where no volume is stored. The desktop's volume scale is cubic: a fixed
// low default would make a take silent and turn the input down for every
// other program. The input's own volume records what the user already hears.
int inputVolume(int input) {
    const DWORD info = BASS_RecordGetInput(input);
    return info == static_cast<DWORD>(-1) ? 10 : static_cast<int>(info & 0xFFFF);
}

QSlider* makeSlider(QWidget* parent, const char* name, int minimum, int maximum) {
    auto* slider = new ImageSlider(parent, minimum, maximum);
    slider->setObjectName(QString::fromLatin1(name));
    return slider;
}
} // namespace

TFormMain::TFormMain(const ProgramFiles& files, std::unique_ptr<TrayBackend> tray,
                     std::unique_ptr<HotKeyBackend> hotKeys)
    : QWidget(nullptr, Qt::FramelessWindowHint), m_takesFolder(files.takesFolder),
      m_settings(files.settingsFile),
      m_hotKeys(hotKeys ? std::move(hotKeys) : CreateSystemHotKeys()),
      m_recorder(*this, m_takesFolder) {
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("Tapewren"));
    setFixedSize(348, 508);
    setFont(FaceFont(11));

    ImageBG = new ConfigFace(this);
    ImageBG->setGeometry(0, 0, 348, 508);
    ComboChannels = new FlatComboBox(this, "ComboChannels");
    ComboChannels->setGeometry(23, 131, 162, 21);
    m_inputChoice = std::make_unique<InputChoice>(*ComboChannels);
    connect(ComboChannels, &QComboBox::activated, this,
            [this] { m_inputChoice->ChooseSelected(); });
    SliderQuality = makeSlider(this, "SliderQuality", 0, 76);
    SliderQuality->setGeometry(16, 208, 177, 41);
    SliderVolume = makeSlider(this, "SliderVolume", 1, 100);
    SliderVolume->setGeometry(16, 292, 177, 33);
    CheckStereo = new FlatCheckBox(this, "CheckStereo", tr("Stereo"));
    CheckStereo->setGeometry(204, 215, 73, 17);
    CheckVBR = new FlatCheckBox(this, "CheckVBR", tr("VBR"));
    CheckVBR->setGeometry(272, 215, 49, 17);
    Image1 = new ImageButton(this, "Image1", ImageButton::Look::Optimizer, tr("Optimizer"));
    Image1->setGeometry(205, 293, 108, 27);
    connect(Image1, &ImageButton::clicked, this, &TFormMain::BtnVolOptClick);

    LabelVersion = new LinkLabel(this, "LabelVersion", QStringLiteral("Tapewren 2.95"));
    LabelVersion->move(43, 373);
    connect(LabelVersion, &LinkLabel::clicked, this, &TFormMain::LabelVersionClick);
    LabelFAQ = new LinkLabel(this, "LabelFAQ", tr("Frequently Asked Questions"));
    LabelFAQ->move(43, 397);
    connect(LabelFAQ, &LinkLabel::clicked, this, &TFormMain::LabelFAQClick);
    LabelSupport = new LinkLabel(this, "LabelSupport", tr("Getting Support"));
    LabelSupport->move(42, 421);
    connect(LabelSupport, &LinkLabel::clicked, this, &TFormMain::LabelSupportClick);

    ImageHelp = new ImageButton(this, "ImageHelp", ImageButton::Look::Help, tr("Help"));
    ImageHelp->setGeometry(28, 454, 36, 36);
    connect(ImageHelp, &ImageButton::clicked, this, &TFormMain::MenuHelpClick);
    ImageBtnApply = new ImageButton(this, "ImageBtnApply", ImageButton::Look::Apply, tr("Apply"));
    ImageBtnApply->setGeometry(132, 462, 74, 30);
    connect(ImageBtnApply, &ImageButton::clicked, this, &TFormMain::BtnOKClick);
    ImageBtnCancel =
        new ImageButton(this, "ImageBtnCancel", ImageButton::Look::Cancel, tr("Cancel"));
    ImageBtnCancel->setGeometry(241, 462, 74, 30);
    connect(ImageBtnCancel, &ImageButton::clicked, this, &TFormMain::BtnCancelClick);

    // The captions are painted on the face, so the controls carry them.
    InstallAccessibleRoles();
    ComboChannels->setAccessibleName(tr("Recording Channel"));
    SliderQuality->setAccessibleName(tr("Quality"));
    SliderVolume->setAccessibleName(tr("Recording volume"));
    // As the face reads: top to bottom, left to right.
    QWidget* const order[] = {ComboChannels, SliderQuality, CheckStereo,   CheckVBR,
                              SliderVolume,  Image1,        LabelVersion,  LabelFAQ,
                              LabelSupport,  ImageHelp,     ImageBtnApply, ImageBtnCancel};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    TrayIcon = new TCoolTrayIcon(tray ? std::move(tray) : CreateSystemTray(), this);
    TrayIcon->OnClick = [this] { TrayIconClick(); };
    TrayIcon->OnDblClick = [this] { TrayIconDblClick(); };
    TrayIcon->OnClose = [this] { MenuExitClick(); };
    buildMenu();
    TimerHint = new QTimer(this);
    TimerHint->setInterval(10000);
    connect(TimerHint, &QTimer::timeout, this, &TFormMain::TimerHintTimer);
    m_meter.setInterval(kMeterIntervalMs);
    connect(&m_meter, &QTimer::timeout, this, &TFormMain::meterTick);

    RecordHotKey = std::make_unique<TJvApplicationHotKey>(*m_hotKeys);
    RecordHotKey->SetHotKey(kRecordShortCut);
    RecordHotKey->Name = "Record/Stop";
    RecordHotKey->OnHotKey = [this] {
        // Whatever a single click does in the tray's current mode.
        if (TrayIcon->OnClick)
            TrayIcon->OnClick();
    };
    PauseHotKey = std::make_unique<TJvApplicationHotKey>(*m_hotKeys);
    PauseHotKey->SetHotKey(kPauseShortCut);
    PauseHotKey->Name = "Pause/Resume";
    PauseHotKey->OnHotKey = [this] { PauseHotKeyHotKey(); };
    m_hotKeys->SetSettledHandler([this](int id, const HotKeyBackend::Outcome& outcome) {
        RecordHotKey->Settle(id, outcome);
        PauseHotKey->Settle(id, outcome);
        UpdateHotKeyStatus();
        if (m_balloonDue) {
            ShowStartupBalloon();
        } else if (m_balloonRetell && !HotKeysPending(*RecordHotKey, *PauseHotKey)) {
            m_balloonRetell = false;
            TellStartup();
        }
    });
    m_hotKeys->SetPressedHandler([this](int id) {
        RecordHotKey->Dispatch(id);
        PauseHotKey->Dispatch(id);
    });

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
    SliderQualityChange();
    SliderVolumeChange();
}

void TFormMain::showSliderHint(QSlider* slider, const QString& text) {
    slider->setAccessibleDescription(TextLines(text));
    // Only for a user dragging in the visible window; loading values while
    // hidden keeps the start-up hints.
    if (!isVisible())
        return;
    slider->setToolTip(TextLines(text));
    QToolTip::hideText();
    QToolTip::showText(QCursor::pos(), TextLines(text), slider);
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
    // The keys let go of their backend before it goes.
    RecordHotKey.reset();
    PauseHotKey.reset();
}

void TFormMain::buildMenu() {
    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName(QStringLiteral("PopupMenu"));
    const auto item = [this](const char* name, const QString& caption, auto handler) {
        QAction* action = PopupMenu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    MenuPause = item("MenuPause", tr("&Pause"), [this] { TogglePause(); });
    MenuStop = item("MenuStop", tr("&Stop"), [this] { ToggleRecording(false); });
    PopupMenu->addSeparator();
    MenuRecord =
        item("MenuRecord", tr("&Record Now  [Tray Click]"), [this] { ToggleRecording(false); });
    MenuRecordEmail =
        item("MenuRecordEmail", tr("Record and &Email"), [this] { ToggleRecording(true); });
    PopupMenu->addSeparator();
    MenuConfig =
        item("MenuConfig", tr("&Config...  [Tray Doulble-Click]"), [this] { TrayIconDblClick(); });
    MenuAutostart =
        item("MenuAutostart", tr("Start with the &desktop"), [this] { MenuAutostartClick(); });
    MenuAutostart->setCheckable(true);
    PopupMenu->addSeparator();
    MenuHelp = item("MenuHelp", tr("&Help..."), [this] { MenuHelpClick(); });
    PopupMenu->addSeparator();
    MenuExit = item("MenuExit", tr("E&xit"), [this] { MenuExitClick(); });
    connect(PopupMenu, &QMenu::aboutToShow, this, &TFormMain::PopupMenuPopup);
    TrayIcon->SetPopupMenu(PopupMenu);
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
    TrayIcon->SetVisible(true);

    const DWORD version = BASS_GetVersion();
    if ((version & 0xFFFF) != 1 || (version >> 16) != 8) {
        MessageBox::Fatal(tr("A required part of the software is missing, please "
                             "re-install."));
        return false;
    }
    if (!BASS_RecordInit(-1) || !BASS_Init(-1, 44100, 0, this)) {
        BASS_RecordFree();
        BASS_Free();
        MessageBox::Fatal(tr("Can not initiate defualt recording device."));
        return false;
    }
    m_audioOpen = true;
    FollowInputChanges(this);
    m_inputChoice->Fill();

    ActivateHotKeys();
    LoadSettings();
    SliderQuality->setToolTip(
        TextLines(QString::fromStdString(StartupQualityHint(SliderQuality->value()))));
    SliderVolume->setToolTip(QStringLiteral("%1%").arg(SliderVolume->value()));
    m_leftTakes = KeepLeftTakes(WorkingFolder());
    m_recorder.CreateStreams();
    ShowStartupBalloon();
    // Once the tray is up and the program answers clicks.
    if (!m_leftTakes.empty())
        QMetaObject::invokeMethod(this, &TFormMain::OfferLeftTakes, Qt::QueuedConnection);
    return true;
}

void TFormMain::RefreshInputs() {
    if (!m_audioOpen)
        return;
    const QString gone = m_inputChoice->Refresh();
    if (gone.isEmpty())
        return;
    SelectDefaultChannel();
    ShowNotification(InputChoice::GoneText(gone, ComboChannels->currentText()), QString());
}

void TFormMain::SelectDefaultChannel() {
    ComboChannels->setCurrentIndex(std::max(InputChoice::DefaultIndex(), 0));
}

void TFormMain::LoadSettings() {
    // Writing over a file we could not read would lose what it holds.
    m_settingsUnreadable = !m_settings.Readable();
    if (m_settingsUnreadable)
        MessageBox::Error(QString::fromStdString(m_settings.ReadErrorText()));
    const std::optional<RecorderSettings> stored = m_settings.Load();
    if (!stored) {
        SelectDefaultChannel();
        if (ComboChannels->currentIndex() < 0)
            ComboChannels->setCurrentIndex(0);
        m_inputChoice->ChooseSelected();
        const RecorderSettings defaults;
        SliderQuality->setValue(defaults.quality);
        SliderVolume->setValue(inputVolume(ComboChannels->currentIndex()));
        CheckStereo->setChecked(defaults.stereo);
        CheckVBR->setChecked(defaults.vbr);
        hideWizardWelcome = defaults.hideWizardWelcome;
        lastSaveDir.clear();
        return;
    }
    // The name, where stored, tells the input: its index moves as others come and go.
    const QString name = QString::fromStdString(stored->channelName);
    const bool validChannel = stored->channel >= 0 && stored->channel < ComboChannels->count();
    if (name.isEmpty())
        ComboChannels->setCurrentIndex(validChannel ? stored->channel : -1);
    const bool gone = !name.isEmpty() && !m_inputChoice->Choose(name);
    if (ComboChannels->currentIndex() < 0)
        SelectDefaultChannel();
    if (name.isEmpty())
        m_inputChoice->ChooseSelected();
    if (gone)
        ShowNotification(InputChoice::GoneText(name, ComboChannels->currentText()), QString());
    SliderQuality->setValue(stored->quality); // the sliders clamp to their ranges
    SliderVolume->setValue(stored->volume.value_or(inputVolume(ComboChannels->currentIndex())));
    CheckStereo->setChecked(stored->stereo);
    CheckVBR->setChecked(stored->vbr);
    hideWizardWelcome = stored->hideWizardWelcome;
    popupShowCount = stored->popupShowCount;
    lastSaveDir = stored->lastSaveDir;
}

RecorderSettings TFormMain::CurrentSettings() const {
    RecorderSettings s;
    s.channel = ComboChannels->currentIndex();
    s.channelName = m_inputChoice->Chosen().toStdString();
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

void TFormMain::ExitRequested() {
    if (!m_saveDialog && !MessageBox::AnyOpen()) {
        MenuExitClick();
        return;
    }
    // Nobody may be there to answer (a log-out): what waits for an answer
    // closes as if answered, a take stays whole on disk for the next start,
    // and nothing more is asked.
    m_endingWithoutAsking = true;
    MessageBox::DismissAll();
    if (m_saveDialog)
        m_saveDialog->done(QDialog::Rejected);
    else if (!m_closed) // else the closing goes on once its box is gone
        QMetaObject::invokeMethod(this, &TFormMain::MenuExitClick, Qt::QueuedConnection);
}

void TFormMain::OfferLeftTakes() {
    std::vector<LeftTake> takes;
    takes.swap(m_leftTakes);
    for (const LeftTake& take : takes) {
        // A take begun meanwhile comes first; the rest wait for the next start.
        if (m_closed || m_endingWithoutAsking || m_recorder.IsActive())
            return;
        if (PathExists(take.path))
            m_recorder.OfferTake(take.path, false,
                                 take.readError.empty() ? std::string() : UnreadableTakeText(take));
    }
}

void TFormMain::closeEvent(QCloseEvent* event) {
    // The close box (Alt+F4) ends the program as Exit does, take and all.
    if (!m_closed && m_recorder.IsActive())
        ToggleRecording(false);
    FormClose();
    event->accept();
}

void TFormMain::FormClose() {
    if (m_closed)
        return;
    m_closed = true;
    // A program that cannot be quit would be worse than settings not kept:
    // say so, and go on closing.
    if (!m_settingsUnreadable && !m_settings.SaveAtExit(CurrentSettings()))
        MessageBox::Error(QString::fromStdString(m_settings.WriteErrorText()));
    ShutdownAudio();
    emit closed();
}

void TFormMain::ShutdownAudio() {
    TrayIcon->Enabled = false;
    TrayIcon->SetVisible(false);
    m_meter.stop();
    m_recorder.FreeStreams();
    BASS_RecordSetServerProc(nullptr, nullptr);
    BASS_RecordFree();
    BASS_Stop();
    BASS_Free();
    m_audioOpen = false;
}

void TFormMain::SetTrayIconIndex(int index) {
    TrayIcon->SetIconIndex(index);
    // The hint follows the state; while recording it counts the time too.
    if (index < kIdleIcon)
        m_meter.start();
    else
        m_meter.stop();
    refreshHint();
}

void TFormMain::ActivateHotKeys() {
    RecordHotKey->SetActive(true);
    PauseHotKey->SetActive(true);
    UpdateHotKeyStatus();
}

void TFormMain::UpdateHotKeyStatus() {
    HotKeyStatusText = HotKeyStatusLines(*RecordHotKey, *PauseHotKey);
    // The balloon is easy to miss; a terminal keeps the news.
    if (RecordHotKey->Status() == TJvApplicationHotKey::State::Failed ||
        PauseHotKey->Status() == TJvApplicationHotKey::State::Failed)
        qCWarning(lcUi, "%s",
                  qPrintable(QString(HotKeyStatusText).replace(QStringLiteral("\r\n"), "; ")));
}

void TFormMain::ShowStartupBalloon() {
    using State = TJvApplicationHotKey::State;
    // The desktop's answer on its keys comes soon after the start; the
    // balloon waits for it a little, so as to say what is true, and says it
    // again should the answer come later.
    if (HotKeysPending(*RecordHotKey, *PauseHotKey) && !m_balloonWaited) {
        m_balloonWaited = true;
        m_balloonDue = true;
        QTimer::singleShot(kKeysAnswerMs, this, [this] {
            if (m_balloonDue)
                ShowStartupBalloon();
        });
        return;
    }
    m_balloonDue = false;
    if (popupShowCount >= 6 && RecordHotKey->Status() == State::Set &&
        PauseHotKey->Status() == State::Set)
        return;
    // The count comes from the settings file, which may hold any number.
    if (popupShowCount < std::numeric_limits<int>::max())
        ++popupShowCount;
    TellStartup();
    m_balloonRetell = HotKeysPending(*RecordHotKey, *PauseHotKey);
}

void TFormMain::TellStartup() {
    TrayIcon->ShowBalloon(QStringLiteral("Tapewren"),
                          tr("Single click to record/stop\r\n") + HotKeyStatusText +
                              tr("\r\nDouble-click to configure,\r\nRight click to get "
                                 "a menu."),
                          10, TrayBackend::BalloonIcon::Information);
    TimerHint->start();
}

void TFormMain::TimerHintTimer() {
    TimerHint->stop();
    TrayIcon->HideBalloon();
}

void TFormMain::TrayIconClick() {
    ToggleRecording(false);
}

void TFormMain::TrayIconDblClick() {
    if (BASS_ChannelIsActive(kRecordChannel) != BASS_ACTIVE_STOPPED) {
        ShowNotification(tr("Configuration is disabled while recording is in progress."),
                         QString());
        return;
    }
    EnterTrayBusyMode();
    ShowMainWindow();
}

QString TFormMain::TrayIconMouseEnter() {
    if (BASS_ChannelIsActive(kRecordChannel) != BASS_ACTIVE_STOPPED) {
        const QualityPreset& preset = QualityPresetAt(SliderQuality->value());
        const auto elapsed = static_cast<int32_t>(TickCount() - m_recorder.recordStartTick);
        return tr("Tapewren(TM)\r\nTotal Time: ") +
               QString::fromStdString(FormatDuration(elapsed)) + tr("\r\nFile Size: ") +
               QString::number(m_recorder.encodedByteCount / 1024) + tr(" KB\r\nSource: ") +
               ComboChannels->currentText() + tr("\r\nQuality: ") +
               tr("%1 hz / %2 kbps").arg(preset.sampleRate).arg(preset.bitRate) +
               tr("\r\nVolume: ") + QString::number(SliderVolume->value()) + QStringLiteral("%");
    }
    if (TrayIcon->IconIndex() == kIdleIcon)
        return tr("Tapewren(TM)\r\nClick once to start recording.\r\nDouble-click to configure.");
    return tr("Tapewren(TM)\r\nRecording is disabled when\r\nconfig window is active.");
}

void TFormMain::refreshHint() {
    TrayIcon->SetHint(TrayIconMouseEnter());
}

void TFormMain::meterTick() {
    UpdateLevelIcon(BASS_ChannelGetLevel(kRecordChannel));
    // Building the hint costs more than the rest of the tick, and its time and
    // size change about once a second.
    const auto elapsed = static_cast<int32_t>(TickCount() - m_recorder.recordStartTick);
    const std::pair shown{RoundedSeconds(elapsed), m_recorder.encodedByteCount / 1024};
    if (shown == m_hintShown)
        return;
    m_hintShown = shown;
    refreshHint();
}

void TFormMain::PopupMenuPopup() {
    const DWORD state = BASS_ChannelIsActive(kRecordChannel);
    const bool idle = state == BASS_ACTIVE_STOPPED;
    MenuStop->setEnabled(!idle);
    MenuPause->setEnabled(!idle);
    MenuAutostart->setChecked(IsAutostartOn());
    MenuRecord->setEnabled(idle);
    MenuRecordEmail->setEnabled(idle);
    MenuConfig->setEnabled(idle);
    if (state == BASS_ACTIVE_PLAYING || state == BASS_ACTIVE_STALLED)
        MenuPause->setText(tr("&Pause"));
    else if (state == BASS_ACTIVE_PAUSED)
        MenuPause->setText(tr("&Resume"));
}

void TFormMain::ToggleRecording(bool email) {
    m_recorder.ToggleRecording(email);
    refreshHint();
}

void TFormMain::TogglePause() {
    m_recorder.TogglePause();
    refreshHint();
}

void TFormMain::PauseHotKeyHotKey() {
    TogglePause();
}

void TFormMain::ShowMainWindow() {
    if (isMinimized())
        showNormal();
    show();
    BringApplicationToFront();
}

void TFormMain::HideMainWindow() {
    hide();
}

void TFormMain::BringApplicationToFront() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && !qobject_cast<TfrmMSNPopUp*>(window)) {
            if (window->isMinimized())
                window->showNormal();
            window->raise();
            window->activateWindow();
        }
}

void TFormMain::MenuAutostartClick() {
    const bool on = !IsAutostartOn();
    if (!SetAutostart(on, QCoreApplication::applicationFilePath().toStdString()))
        MessageBox::Error(tr("Unable to write to %1").arg(QString::fromStdString(AutostartFile())));
    MenuAutostart->setChecked(IsAutostartOn());
}

void TFormMain::MenuHelpClick() {
    // A missing guide is not worth a message.
    const std::string guide = FindLocalHelpFile("Tapewren.html");
    if (!guide.empty())
        OpenWithShell(nullptr, guide);
}

void TFormMain::LabelFAQClick() {
    const std::string faq = FindLocalHelpFile("faq.htm");
    if (!faq.empty())
        OpenWithShell(nullptr, faq);
}

void TFormMain::LabelSupportClick() {
    OpenWithShell(nullptr, kSupportPage);
}

void TFormMain::LabelVersionClick() {
    OpenWithShell(this, kProductPage);
}

void TFormMain::BtnVolOptClick() {
    // The wizard opens the sound system for itself.
    BASS_RecordFree();
    BASS_Free();
    m_audioOpen = false;
    QString chosen;
    {
        TFormWizard wizard(this);
        wizard.ShowInputGone = [this](const QString& text) { ShowNotification(text, QString()); };
        if (!wizard.FormCreate()) {
            // Fatal: shown, and the program is ending without its settings.
            m_closed = true;
            return;
        }
        wizard.ComboRecChannel->setCurrentIndex(
            wizard.ComboRecChannel->findText(ComboChannels->currentText(), Qt::MatchExactly));
        wizard.SliderVOL->setValue(100);
        wizard.CheckW1->setChecked(hideWizardWelcome);
        wizard.SetActivePage(wizard.CheckW1->isChecked() ? TFormWizard::PageOPT
                                                         : TFormWizard::PageWelcome);
        if (WizardDriver)
            WizardDriver(wizard);
        else
            wizard.exec();
        // Also after an error inside the wizard: what it shows is what we keep.
        SliderVolume->setValue(wizard.SliderVOL->value());
        // By name: inputs may have come and gone while the wizard was open. A
        // wizard that could list no inputs has no choice to give back; the
        // user's own choice stays rather than becoming "none".
        chosen = wizard.ComboRecChannel->currentIndex() >= 0 ? wizard.ComboRecChannel->currentText()
                                                             : m_inputChoice->Chosen();
        hideWizardWelcome = wizard.CheckW1->isChecked();
        BASS_RecordFree();
        BASS_Free();
    }
    if (!BASS_RecordInit(-1) || !BASS_Init(-1, 44100, 0, this)) {
        BASS_RecordFree();
        BASS_Free();
        MessageBox::Fatal(tr("Can not re-initiate defualt recording device."));
        // Ending at once writes nothing; should the end be deferred, closing
        // must not write the settings either.
        m_closed = true;
        EndProgramAtOnce();
        return;
    }
    m_audioOpen = true;
    FollowInputChanges(this);
    m_inputChoice->Refresh();
    if (!m_inputChoice->Choose(chosen) && ComboChannels->currentIndex() < 0)
        SelectDefaultChannel();
}

void TFormMain::BtnOKClick() {
    HideMainWindow();
    LeaveTrayBusyMode();
    const QualityPreset& preset = QualityPresetAt(SliderQuality->value());
    ShowNotification(tr("Channel: ") + ComboChannels->currentText() + tr("\rSample Rate: ") +
                         QString::number(preset.sampleRate) + tr("hz\rBit Rate: ") +
                         QString::number(preset.bitRate) + tr("kbps ") +
                         (CheckVBR->isChecked() ? QStringLiteral("[VBR]") : QString()) +
                         tr("\rVolume: ") + QString::number(SliderVolume->value()) +
                         QStringLiteral("%    ") +
                         (CheckStereo->isChecked() ? tr("[Stereo]") : QString()),
                     QString());
}

void TFormMain::BtnCancelClick() {
    HideMainWindow();
    LeaveTrayBusyMode();
}

void TFormMain::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        BtnCancelClick();
    else
        QWidget::keyPressEvent(event);
}

void TFormMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormShow();
}

void TFormMain::FormShow() {
    SliderQuality->setFocus();
    raise();
    activateWindow();
}

void TFormMain::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Minimizing puts the program back in the tray, as Cancel does: hidden
    // while busy, the tray would answer no click until the window came back.
    // Over the optimizer the window must wait for it, so it stays.
    if (event->type() == QEvent::WindowStateChange && isMinimized() &&
        !QApplication::activeModalWidget())
        BtnCancelClick();
}

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

void TFormMain::UpdateLevelIcon(uint32_t level) {
    TrayIcon->SetLevelIconIndex(LevelIconIndex(level));
}

void TFormMain::EnterTrayBusyMode() {
    TrayIcon->SetAutoPopup(false);
    SetTrayIconIndex(kBusyIcon);
    TrayIcon->OnClick = [this] { BringApplicationToFront(); };
    TrayIcon->OnDblClick = [this] { BringApplicationToFront(); };
}

void TFormMain::LeaveTrayBusyMode() {
    TrayIcon->SetAutoPopup(true);
    TrayIcon->OnClick = [this] { TrayIconClick(); };
    TrayIcon->OnDblClick = [this] { TrayIconDblClick(); };
    SetTrayIconIndex(kIdleIcon);
}

void TFormMain::RunSaveDialog(const std::string& tempFileName, bool email) {
    if (m_endingWithoutAsking)
        return;
    TFormSave::Context context;
    context.tempFileName = tempFileName;
    context.emailAfterRecording = email;
    context.lastSaveDir = lastSaveDir;
    context.showNotification = [this](const QString& text, const QString& link) {
        ShowNotification(text, link);
    };
    context.sendEmail = [this](QWidget* owner, const TEmail& mail) { SendEmail(owner, mail); };
    TFormSave dialog(std::move(context));
    if (!lastSaveDir.empty() && QDir(QString::fromStdString(lastSaveDir)).exists())
        dialog.PanelSaveDlg->setDirectory(QString::fromStdString(lastSaveDir));
    m_saveDialog = &dialog;
    if (SaveDialogDriver)
        SaveDialogDriver(dialog);
    else
        dialog.exec();
    m_saveDialog = nullptr;
    lastSaveDir = dialog.LastSaveDir();
    if (m_endingWithoutAsking)
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void TFormMain::SendEmail(QWidget* owner, const TEmail& mail) {
    // Made on first use: most runs never mail, and the session bus is only
    // needed then.
    if (!m_mailClient)
        m_mailClient = std::make_unique<DesktopMailClient>();
    ::SendEmail(owner, mail, *m_mailClient);
}

void TFormMain::SaveLastDir() {
    if (!m_settingsUnreadable && !m_settings.SaveLastDir(lastSaveDir))
        MessageBox::Error(QString::fromStdString(m_settings.WriteErrorText()));
}
