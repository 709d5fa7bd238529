#include "ConfigWindow.h"

#include "Accessible.h"
#include "Common.h"
#include "ConfigFace.h"
#include "FlatControls.h"
#include "ImageButton.h"
#include "ImageSlider.h"
#include "InputChoice.h"
#include "LinkLabel.h"
#include "QualityPresets.h"
#include "SoundSystem.h"
#include "TextLines.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QSlider>
#include <QToolTip>

#include <iterator>

namespace {
// The slider's range is the setting's: a stored value is read within it.
QSlider* makeSlider(QWidget* parent, const char* name, std::pair<int, int> range) {
    auto* slider = new ImageSlider(parent, range.first, range.second);
    slider->setObjectName(QString::fromLatin1(name));
    return slider;
}
} // namespace

ConfigWindow::ConfigWindow(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint) {
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
    SliderQuality = makeSlider(this, "SliderQuality", SettingsFile::Range("Quality"));
    SliderQuality->setGeometry(16, 208, 177, 41);
    SliderVolume = makeSlider(this, "SliderVolume", SettingsFile::Range("Volume"));
    SliderVolume->setGeometry(16, 292, 177, 33);
    // The texts' widths from the font, so that no language runs one control
    // into the next; where they are short the face keeps its places.
    auto* stereo = new FlatCheckBox(this, "CheckStereo", tr("Stereo"));
    stereo->setGeometry(204, 215, stereo->TextWidth(), 17);
    auto* vbr = new FlatCheckBox(this, "CheckVBR", tr("VBR"));
    vbr->setGeometry(std::max(272, stereo->geometry().right() + 9), 215, vbr->TextWidth(), 17);
    CheckStereo = stereo;
    CheckVBR = vbr;
    Image1 = new ImageButton(this, "Image1", ImageButton::Look::Optimizer, tr("Optimizer"));
    Image1->setGeometry(205, 293, std::max(108, Image1->TextWidth()), 27);

    LabelVersion = new LinkLabel(this, "LabelVersion", QStringLiteral("Tapewren 2.95"));
    LabelVersion->move(43, 373);
    LabelFAQ = new LinkLabel(this, "LabelFAQ", tr("Frequently Asked Questions"));
    LabelFAQ->move(43, 397);
    LabelSupport = new LinkLabel(this, "LabelSupport", tr("Getting Support"));
    LabelSupport->move(42, 421);
    LabelCommandKeys = new LinkLabel(this, "LabelCommandKeys", tr("Add hotkeys to GNOME"));
    // Right-aligned within the box, as long as the language needs.
    LabelCommandKeys->move(330 - LabelCommandKeys->width(), 373);
    LabelCommandKeys->hide();

    ImageHelp = new ImageButton(this, "ImageHelp", ImageButton::Look::Help, tr("Help"));
    ImageHelp->setGeometry(28, 454, 36, 36);
    ImageBtnApply = new ImageButton(this, "ImageBtnApply", ImageButton::Look::Apply, tr("Apply"));
    ImageBtnCancel =
        new ImageButton(this, "ImageBtnCancel", ImageButton::Look::Cancel, tr("Cancel"));
    // Wider to the left where a text needs it, their right edges kept.
    for (const auto& [button, right] :
         {std::pair(ImageBtnApply, 206), std::pair(ImageBtnCancel, 315)}) {
        const int width = std::max(74, button->TextWidth());
        button->setGeometry(right - width, 462, width, 30);
    }

    // The captions are painted on the face, so the controls carry them.
    InstallAccessibleRoles();
    ComboChannels->setAccessibleName(tr("Recording Channel"));
    SliderQuality->setAccessibleName(tr("Quality"));
    SliderVolume->setAccessibleName(tr("Recording volume"));
    // As the face reads: top to bottom, left to right.
    QWidget* const order[] = {ComboChannels, SliderQuality, CheckStereo,  CheckVBR,
                              SliderVolume,  Image1,        LabelVersion, LabelCommandKeys,
                              LabelFAQ,      LabelSupport,  ImageHelp,    ImageBtnApply,
                              ImageBtnCancel};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

ConfigWindow::~ConfigWindow() = default;

void ConfigWindow::SelectDefaultChannel() {
    ComboChannels->setCurrentIndex(std::max(InputChoice::DefaultIndex(), 0));
}

QString ConfigWindow::ShowSettings(const std::optional<RecorderSettings>& stored) {
    const RecorderSettings settings = stored.value_or(RecorderSettings{});
    // The name, where stored, tells the input: its index moves as others come and go.
    const QString name = QString::fromStdString(settings.channelName);
    if (!stored) {
        SelectDefaultChannel();
        if (ComboChannels->currentIndex() < 0)
            ComboChannels->setCurrentIndex(0);
    } else if (name.isEmpty()) {
        const bool valid = settings.channel >= 0 && settings.channel < ComboChannels->count();
        ComboChannels->setCurrentIndex(valid ? settings.channel : -1);
    }
    const bool gone = !name.isEmpty() && !m_inputChoice->Choose(name);
    if (ComboChannels->currentIndex() < 0)
        SelectDefaultChannel();
    if (name.isEmpty())
        m_inputChoice->ChooseSelected();
    SliderQuality->setValue(settings.quality); // the sliders clamp to their ranges
    // Where no volume is stored: the desktop's volume scale is cubic, so a
    // fixed low default would make a take silent and turn the input down for
    // every other program; the input's own volume records what the user hears.
    SliderVolume->setValue(settings.volume.value_or(InputVolume(ComboChannels->currentIndex())));
    CheckStereo->setChecked(settings.stereo);
    CheckVBR->setChecked(settings.vbr);
    return gone ? name : QString();
}

RecorderSettings ConfigWindow::ShownSettings() const {
    RecorderSettings s;
    s.channel = ComboChannels->currentIndex();
    s.channelName = m_inputChoice->Chosen().toStdString();
    s.quality = SliderQuality->value();
    s.volume = SliderVolume->value();
    s.stereo = CheckStereo->isChecked();
    s.vbr = CheckVBR->isChecked();
    return s;
}

void ConfigWindow::ShowSliderHint(QSlider* slider, const QString& text) {
    slider->setAccessibleDescription(TextLines(text));
    // Only for a user dragging in the visible window; loading values while
    // hidden keeps the start-up hints.
    if (!isVisible())
        return;
    slider->setToolTip(TextLines(text));
    QToolTip::hideText();
    // Under the thumb where the keys moved it; the pointer may be anywhere.
    const auto* drawn = qobject_cast<ImageSlider*>(slider);
    const QPoint at =
        slider->isSliderDown() || !drawn
            ? QCursor::pos()
            : slider->mapToGlobal(QPoint(drawn->ThumbCentre(slider->value()), slider->height()));
    QToolTip::showText(at, TextLines(text), slider);
}

void ConfigWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        emit CancelRequested();
    else
        QWidget::keyPressEvent(event);
}

void ConfigWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    emit Shown();
}

void ConfigWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Minimizing puts the program back in the tray, as Cancel does: hidden
    // while busy, the tray would answer no click until the window came back.
    // Over the optimizer the window must wait for it, so it stays.
    if (event->type() == QEvent::WindowStateChange && isMinimized() &&
        !QApplication::activeModalWidget())
        emit CancelRequested();
}

void ConfigWindow::PlaceBottomRight() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.width() - width() - 5, area.height() - height() - 30);
}

void ConfigWindow::ShowStartupHints() {
    SliderQuality->setToolTip(
        TextLines(QString::fromStdString(StartupQualityHint(SliderQuality->value()))));
    SliderVolume->setToolTip(VolumeText(SliderVolume->value()));
}

QString ConfigWindow::SummaryText() const {
    const QualityPreset& preset = QualityPresetAt(SliderQuality->value());
    // One text, so that a translation may order it as its language wants.
    return QCoreApplication::translate(
               "TFormMain", "Channel: %1\rSample Rate: %2hz\rBit Rate: %3kbps %4\rVolume: %5    %6")
        .arg(ComboChannels->currentText(), QString::number(preset.sampleRate),
             QString::number(preset.bitRate),
             CheckVBR->isChecked() ? QStringLiteral("[VBR]") : QString(),
             VolumeText(SliderVolume->value()),
             CheckStereo->isChecked() ? QCoreApplication::translate("TFormMain", "[Stereo]")
                                      : QString());
}

QString ConfigWindow::VolumeText(int percent) {
    return PercentText(percent);
}
