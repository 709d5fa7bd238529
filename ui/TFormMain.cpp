#include "TFormMain.h"

#include "Autostart.h"
#include "Bass.h"
#include "CommandKeysOffer.h"
#include "Common.h"
#include "DialogRunner.h"
#include "ImageButton.h"
#include "InputChoice.h"
#include "Languages.h"
#include "LinkLabel.h"
#include "Logging.h"
#include "MSNPopUp.h"
#include "MessageBox.h"
#include "MoveFile.h"
#include "ProgramPopup.h"
#include "QualityPresets.h"
#include "SendEmail.h"
#include "Shell.h"
#include "SoundSystem.h"
#include "StartupBalloon.h"
#include "TFormSave.h"
#include "TFormWizard.h"
#include "TrayImages.h"
#include "TrayMeter.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QMenu>
#include <QSlider>

namespace {
constexpr TShortCut kRecordShortCut = 0xC04F; // Ctrl+Alt+O
constexpr TShortCut kPauseShortCut = 0xC050;  // Ctrl+Alt+P
const char* const kProductPage = "https://github.com/tapewren/tapewren";
const char* const kSupportPage = "https://github.com/tapewren/tapewren/issues";
} // namespace

TFormMain::TFormMain(const ProgramFiles& files, std::unique_ptr<TrayBackend> tray,
                     std::unique_ptr<HotKeyBackend> hotKeys)
    : m_takesFolder(files.takesFolder), m_settings(files.settingsFile),
      m_hotKeys(hotKeys ? std::move(hotKeys) : CreateSystemHotKeys()),
      m_recorder(*this, m_takesFolder) {
    // Queued, as the optimizer is modal: a screen reader's press of the
    // button is answered first, not when the optimizer closes.
    connect(Image1, &ImageButton::clicked, this, &TFormMain::BtnVolOptClick, Qt::QueuedConnection);
    connect(LabelVersion, &LinkLabel::clicked, this, &TFormMain::LabelVersionClick);
    connect(LabelFAQ, &LinkLabel::clicked, this, &TFormMain::LabelFAQClick);
    connect(LabelSupport, &LinkLabel::clicked, this, &TFormMain::LabelSupportClick);
    connect(ImageHelp, &ImageButton::clicked, this, &TFormMain::MenuHelpClick);
    connect(ImageBtnApply, &ImageButton::clicked, this, &TFormMain::BtnOKClick);
    connect(ImageBtnCancel, &ImageButton::clicked, this, &TFormMain::BtnCancelClick);
    connect(this, &ConfigWindow::CancelRequested, this, &TFormMain::BtnCancelClick);
    connect(this, &ConfigWindow::Shown, this, &TFormMain::FormShow);

    TrayIcon = new TCoolTrayIcon(tray ? std::move(tray) : CreateSystemTray(), this);
    TrayIcon->OnClick = [this] { TrayIconClick(); };
    TrayIcon->OnDblClick = [this] { TrayIconDblClick(); };
    TrayIcon->OnClose = [this] { MenuExitClick(); };
    BuildTrayMenu(*TrayIcon, {[this] { TogglePause(); }, [this] { ToggleRecording(false); },
                              [this] { ToggleRecording(false); }, [this] { ToggleRecording(true); },
                              [this] { TrayIconDblClick(); }, [this] { MenuAutostartClick(); },
                              [this] { MenuHelpClick(); }, [this] { MenuExitClick(); },
                              [this] { TrayIcon->OnClick(); }});
    connect(PopupMenu, &QMenu::aboutToShow, this, &TFormMain::PopupMenuPopup);
    m_meter = new TrayMeter(
        *TrayIcon, m_recorder, [this] { return TrayIconMouseEnter(); }, this);
    TimerHint = new QTimer(this);
    TimerHint->setInterval(10000);
    connect(TimerHint, &QTimer::timeout, this, &TFormMain::TimerHintTimer);

    // The record key does whatever a single click does in the tray's current mode.
    RecordHotKey = std::make_unique<TJvApplicationHotKey>(
        *m_hotKeys, kRecordShortCut, QT_TRANSLATE_NOOP("HotKeys", "Record/Stop"), [this] {
            if (TrayIcon->OnClick)
                TrayIcon->OnClick();
        });
    PauseHotKey = std::make_unique<TJvApplicationHotKey>(
        *m_hotKeys, kPauseShortCut, QT_TRANSLATE_NOOP("HotKeys", "Pause/Resume"),
        [this] { PauseHotKeyHotKey(); });
    m_balloon = new StartupBalloon(
        *RecordHotKey, *PauseHotKey, popupShowCount, [this] { tellStartup(); }, this);
    ListenToHotKeys(*m_hotKeys, *RecordHotKey, *PauseHotKey, [this] {
        UpdateHotKeyStatus();
        m_balloon->KeySettled();
    });
    ConnectCommandKeysOffer(*this, *LabelCommandKeys, *m_hotKeys, *RecordHotKey, *PauseHotKey,
                            [this] { UpdateHotKeyStatus(); });

    MSNPopUp = CreateProgramPopup(this);
    connect(SliderQuality, &QSlider::valueChanged, this, &TFormMain::SliderQualityChange);
    connect(SliderVolume, &QSlider::valueChanged, this, &TFormMain::SliderVolumeChange);
    SliderQualityChange();
    SliderVolumeChange();
}

void TFormMain::SliderQualityChange() {
    ShowSliderHint(SliderQuality, QString::fromStdString(QualityHint(SliderQuality->value())));
}

void TFormMain::SliderVolumeChange() {
    ShowSliderHint(SliderVolume, VolumeText(SliderVolume->value()));
}

TFormMain::~TFormMain() {
    if (m_audioOpen)
        ShutdownAudio();
    // The keys let go of their backend before it goes.
    RecordHotKey.reset();
    PauseHotKey.reset();
}

bool TFormMain::FormCreate() {
    m_recorder.emailAfterRecording = false;
    PlaceBottomRight();
    m_meter->ShowIcon(kIdleIcon);
    TrayIcon->SetVisible(true);

    if (!openAudio()) {
        MessageBox::Fatal(tr("Can not initiate defualt recording device."));
        return false;
    }
    Inputs().Fill();

    ActivateHotKeys();
    LoadSettings();
    ShowStartupHints();
    m_leftTakes = KeepLeftTakes(m_takesFolder);
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
    const QString gone = Inputs().Refresh();
    if (gone.isEmpty())
        return;
    SelectDefaultChannel();
    ShowNotification(InputChoice::GoneText(gone, ComboChannels->currentText()), QString());
}

void TFormMain::LoadSettings() {
    // Writing over a file we could not read would lose what it holds.
    m_settingsUnreadable = !m_settings.Readable();
    if (m_settingsUnreadable)
        MessageBox::Error(QString::fromStdString(m_settings.ReadErrorText()));
    const std::optional<RecorderSettings> stored = m_settings.Load();
    if (const QString gone = ShowSettings(stored); !gone.isEmpty())
        ShowNotification(InputChoice::GoneText(gone, ComboChannels->currentText()), QString());
    const RecorderSettings kept = stored.value_or(RecorderSettings{});
    hideWizardWelcome = kept.hideWizardWelcome;
    popupShowCount = kept.popupShowCount;
    lastSaveDir = kept.lastSaveDir;
}

RecorderSettings TFormMain::CurrentSettings() const {
    RecorderSettings s = ShownSettings();
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
    // Nobody may be there to answer (a log-out): what waits for an answer
    // closes as if answered, a take stays whole on disk for the next start,
    // and nothing more is asked.
    m_endingWithoutAsking = true;
    MessageBox::DismissAll();
    TFormWizard::AbandonOpen();
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

bool TFormMain::openAudio() {
    m_audioOpen = OpenSoundSystem(this);
    if (m_audioOpen)
        FollowInputChanges(this);
    return m_audioOpen;
}

void TFormMain::ShutdownAudio() {
    TrayIcon->Enabled = false;
    TrayIcon->SetVisible(false);
    m_meter->Stop();
    m_recorder.FreeStreams();
    CloseSoundSystem();
    m_audioOpen = false;
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

void TFormMain::tellStartup() {
    TrayIcon->ShowBalloon(QStringLiteral("Tapewren"),
                          StartupBalloonText(HotKeyStatusText, TrayIcon->MenuOnClick()), 10,
                          TrayBackend::BalloonIcon::Information,
                          StartupBalloonSummary(*RecordHotKey, *PauseHotKey));
    TimerHint->start();
}

void TFormMain::ShowStartupBalloon() {
    m_balloon->Request();
}

void TFormMain::TimerHintTimer() {
    TimerHint->stop();
    TrayIcon->HideBalloon();
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
    if (BASS_ChannelIsActive(kRecordChannel) != BASS_ACTIVE_STOPPED)
        return RecordingHint(m_recorder, ComboChannels->currentText(), SliderQuality->value(),
                             SliderVolume->value());
    if (TrayIcon->IconIndex() == kIdleIcon)
        return TrayIcon->MenuOnClick()
                   ? tr("Tapewren(TM)\r\nClick for the menu: Record is its first item.")
                   : tr("Tapewren(TM)\r\nClick once to start recording.\r\nDouble-click to "
                        "configure.");
    return tr("Tapewren(TM)\r\nRecording is disabled when\r\nconfig window is active.");
}

void TFormMain::PopupMenuPopup() {
    UpdateTrayMenu(BASS_ChannelIsActive(kRecordChannel), IsAutostartOn(), TrayIcon->MenuOnClick());
}

void TFormMain::ToggleRecording(bool email) {
    m_recorder.ToggleRecording(email);
    m_meter->RefreshHint();
}

void TFormMain::TogglePause() {
    m_recorder.TogglePause();
    m_meter->RefreshHint();
}

void TFormMain::ShowMainWindow() {
    if (isMinimized())
        showNormal();
    show();
    BringApplicationToFront();
}

void TFormMain::MenuAutostartClick() {
    const bool on = !IsAutostartOn();
    if (!SetAutostart(on, QCoreApplication::applicationFilePath().toStdString()))
        MessageBox::Error(tr("Unable to write to %1").arg(QString::fromStdString(AutostartFile())));
    MenuAutostart->setChecked(IsAutostartOn());
}

void TFormMain::MenuHelpClick() {
    OpenLocalHelp("Tapewren.html");
}

void TFormMain::LabelFAQClick() {
    OpenLocalHelp("faq.htm");
}

void TFormMain::LabelSupportClick() {
    OpenWithShell(kSupportPage);
}

void TFormMain::LabelVersionClick() {
    OpenWithShell(kProductPage);
}

void TFormMain::BtnVolOptClick() {
    // The wizard opens the sound system for itself.
    CloseSoundSystem();
    m_audioOpen = false;
    TFormWizard::Exchange exchange{Inputs().SelectedName(), 100, hideWizardWelcome};
    if (!TFormWizard::RunFor(this, exchange,
                             [this](const QString& text) { ShowNotification(text, QString()); })) {
        // Fatal: shown, and the program is ending without its settings.
        m_closed = true;
        return;
    }
    // Also after an error inside the wizard: what it shows is what we keep,
    // unless it was abandoned and gave the volume back.
    if (!m_endingWithoutAsking)
        SliderVolume->setValue(exchange.volume);
    hideWizardWelcome = exchange.hideWelcome;
    // By name: inputs may have come and gone while the wizard was open. A
    // wizard that could list no inputs has no choice to give back; the
    // user's own choice stays rather than becoming "none".
    const QString chosen = exchange.channel.isEmpty() ? Inputs().Chosen() : exchange.channel;
    if (!openAudio()) {
        MessageBox::Fatal(tr("Can not re-initiate defualt recording device."));
        // Ending at once writes nothing; should the end be deferred, closing
        // must not write the settings either.
        m_closed = true;
        EndProgramAtOnce();
        return;
    }
    Inputs().Refresh();
    if (!Inputs().Choose(chosen) && ComboChannels->currentIndex() < 0)
        SelectDefaultChannel();
}

void TFormMain::BtnOKClick() {
    HideMainWindow();
    LeaveTrayBusyMode();
    ShowNotification(SummaryText(), QString());
}

void TFormMain::BtnCancelClick() {
    HideMainWindow();
    LeaveTrayBusyMode();
}

void TFormMain::FormShow() {
    // The first control, where a keyboard user starts reading the window.
    ComboChannels->setFocus();
    raise();
    activateWindow();
}

RecorderHost::Settings TFormMain::RecordingSettings() {
    const RecorderSettings shown = ShownSettings();
    return {shown.channel, shown.quality, SliderVolume->value(), shown.stereo, shown.vbr};
}

void TFormMain::ShowNotification(const QString& text, const QString& link) {
    PresentProgramPopup(*MSNPopUp, text, link);
}

void TFormMain::TakeChanged(Take take) {
    // A paused take keeps its meter: the icon shows what the last look saw.
    if (take == Take::Idle)
        m_meter->ShowIcon(kIdleIcon);
    else if (TrayIcon->IconIndex() >= kIdleIcon)
        m_meter->ShowIcon(0); // silence, until the meter's first look
    else
        m_meter->RefreshHint();
}

void TFormMain::EnterTrayBusyMode() {
    TrayIcon->SetAutoPopup(false);
    m_meter->ShowIcon(kBusyIcon);
    TrayIcon->OnClick = [this] { BringApplicationToFront(); };
    TrayIcon->OnDblClick = [this] { BringApplicationToFront(); };
}

void TFormMain::LeaveTrayBusyMode() {
    TrayIcon->SetAutoPopup(true);
    TrayIcon->OnClick = [this] { TrayIconClick(); };
    TrayIcon->OnDblClick = [this] { TrayIconDblClick(); };
    m_meter->ShowIcon(kIdleIcon);
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
    context.sendEmail = [this](QWidget* owner, const TEmail& mail) {
        SendEmail(owner, mail, m_mailClient);
    };
    TFormSave dialog(std::move(context));
    m_saveDialog = &dialog;
    DialogRunner::Run(dialog);
    m_saveDialog = nullptr;
    lastSaveDir = dialog.LastSaveDir();
    if (m_endingWithoutAsking)
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void TFormMain::SaveLastDir() {
    if (!m_settingsUnreadable && !m_settings.SaveLastDir(lastSaveDir))
        MessageBox::Error(QString::fromStdString(m_settings.WriteErrorText()));
}
