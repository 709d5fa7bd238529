#include "TFormSave.h"

#include "Accessible.h"
#include "FlatControls.h"
#include "MessageBox.h"
#include "MoveFile.h"
#include "SharedIcons.h"
#include "TID3v1.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace {
// Painted by the style sheet rather than as a picture, so that it spans the
// dialog at whatever width the texts need.
QLabel* banner(QWidget* parent) {
    auto* image = new QLabel(QStringLiteral("Tapewren"), parent);
    image->setObjectName(QStringLiteral("Image1"));
    // Named whatever it is drawn with, text or picture.
    image->setAccessibleName(QStringLiteral("Tapewren"));
    image->setStyleSheet(QStringLiteral(
        "QLabel { color: white; padding-left: 16px; background: qlineargradient(x1: 0, y1: 0, "
        "x2: 1, y2: 0, stop: 0 rgb(40, 70, 160), stop: 1 rgb(157, 157, 255)); }"));
    QFont font;
    font.setPixelSize(26);
    font.setBold(true);
    image->setFont(font);
    image->setFixedHeight(68);
    image->setMinimumWidth(432);
    return image;
}

// As wide as its longest entry needs, measured in the text field the style
// leaves beside the arrow (the size the style asks for is a little short).
void fitEntries(QComboBox& combo) {
    QStyleOptionComboBox option;
    option.initFrom(&combo);
    option.rect = QRect(0, 0, 400, combo.sizeHint().height());
    const QRect field = combo.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, &combo);
    int widest = 0;
    for (int i = 0; i < combo.count(); ++i)
        widest = std::max(widest, combo.fontMetrics().horizontalAdvance(combo.itemText(i)));
    combo.setMinimumWidth(widest + option.rect.width() - field.width() + 2);
}

// Captions and fields apart by a part of the font's height, which grows
// with the desktop's font where the style's spacing stays.
int CaptionSpacing(const QWidget& widget) {
    return std::max(6, widget.fontMetrics().height() * 3 / 5);
}

QFrame* divider(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}
} // namespace

TSavePanel::TSavePanel(TFormSave& form) : QFileDialog(&form), m_form(form) {
    setObjectName(QStringLiteral("PanelSaveDlg"));
    setWindowFlags(Qt::Widget);
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::DontConfirmOverwrite);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setViewMode(QFileDialog::Detail);
    setNameFilter(tr("MP3 Files (*.MP3 *.mp3)"));
    setLabelText(QFileDialog::FileName, tr("File &name:"));
    // This label shows no accelerator, so it would show the "&" itself.
    setLabelText(QFileDialog::FileType, tr("Files of type:"));
    setLabelText(QFileDialog::Reject, tr("Cancel"));
    setSizeGripEnabled(false);
    // Its captions apart from their fields as the tag area's are.
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->setHorizontalSpacing(CaptionSpacing(*this));
    // Its whole text, "MP3 Files (*.MP3 *.mp3)", whatever room Save's caption takes.
    if (auto* types = findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
        fitEntries(*types);
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    setDirectory(QDir(music).exists() ? music : QDir::homePath());
    if (QLineEdit* edit = FileNameEdit())
        edit->setText(TFormSave::tr(TFormSave::kNameHint));
}

// Its lists would make the dialog wide; it stays as narrow as its texts allow.
QSize TSavePanel::sizeHint() const {
    return minimumSizeHint();
}

QLineEdit* TSavePanel::FileNameEdit() const {
    return findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

QPushButton* TSavePanel::SaveButton() const {
    auto* box = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    return box ? box->button(QDialogButtonBox::Save) : nullptr;
}

void TSavePanel::SetSaveCaption(const QString& caption) {
    setLabelText(QFileDialog::Accept, caption);
}

void TSavePanel::accept() {
    QLineEdit* edit = FileNameEdit();
    const QString text = edit ? edit->text() : QString();
    if (text.isEmpty())
        return;
    if (text == QLatin1String(".")) {
        edit->clear();
        return;
    }
    if (text == QLatin1String("..")) {
        QDir up(directory());
        up.cdUp();
        setDirectory(up);
        edit->clear();
        return;
    }
    if (text == QLatin1String("/") || text == QLatin1String("\\")) {
        setDirectory(QDir::rootPath());
        edit->clear();
        return;
    }
    if (text.contains(QChar('*')) || text.contains(QChar('?'))) {
        setNameFilter(text);
        return;
    }
    const QString candidate = QDir(directory()).absoluteFilePath(text);
    if (QFileInfo(candidate).isDir()) {
        setDirectory(candidate);
        edit->clear();
        return;
    }
    bool defaultAction = true;
    m_form.PanelSaveDlgOpenButtonClick(candidate, defaultAction);
    if (defaultAction)
        m_form.done(QDialog::Accepted);
}

void TSavePanel::reject() {
    bool defaultAction = true;
    m_form.PanelSaveDlgCancelButtonClick(defaultAction);
    if (defaultAction)
        m_form.done(QDialog::Rejected);
}

TFormSave::TFormSave(Context context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint),
      m_context(std::move(context)) {
    ShareStandardIcons();
    setObjectName(QStringLiteral("FormSave"));
    setWindowTitle(tr("Save as"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // As large as the texts need in the desktop's font, which on GNOME's
    // Wayland is a size larger than under X11, and no larger.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(banner(this));
    layout->addWidget(divider(this));
    PanelSaveDlg = new TSavePanel(*this);
    PanelSaveDlg->setFixedHeight(std::max(247, PanelSaveDlg->minimumSizeHint().height()));
    layout->addWidget(PanelSaveDlg);
    layout->addWidget(divider(this));
    layout->addWidget(buildTagArea());
    FormCreate();
    // The folder last saved to, while it is still there.
    const QString last = QString::fromStdString(m_context.lastSaveDir);
    if (!last.isEmpty() && QDir(last).exists())
        PanelSaveDlg->setDirectory(last);
}

QWidget* TFormSave::buildTagArea() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("PanelTag"));
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(8, 0, 11, 11);
    grid->setVerticalSpacing(3);
    grid->setHorizontalSpacing(CaptionSpacing(*panel));
    auto* heading = new QLabel(tr("MP3 Tag Writer"), panel);
    heading->setObjectName(QStringLiteral("Label1"));
    QFont headingFont;
    headingFont.setPixelSize(16);
    headingFont.setBold(true);
    headingFont.setUnderline(true);
    heading->setFont(headingFont);
    heading->setAlignment(Qt::AlignCenter);
    heading->setMinimumHeight(32);
    grid->addWidget(heading, 0, 0, 1, 6);
    // Columns: captions, the genre, the year's caption, the year, a gap, the buttons.
    const auto caption = [panel, grid](const char* label, QWidget* field, int row, int column) {
        auto* text = new QLabel(tr(label), panel);
        text->setBuddy(field); // its name to a screen reader
        grid->addWidget(text, row, column);
    };
    const auto edit = [&](const char* name, const char* label, int row) {
        auto* field = new QLineEdit(panel);
        field->setObjectName(QString::fromLatin1(name));
        caption(label, field, row, 0);
        grid->addWidget(field, row, 1, 1, 3);
        return field;
    };
    EditTitle = edit("EditTitle", QT_TR_NOOP("Title:"), 1);
    EditAlbum = edit("EditAlbum", QT_TR_NOOP("Album:"), 2);
    EditArtist = edit("EditArtist", QT_TR_NOOP("Artist:"), 3);
    EditComment = edit("EditComment", QT_TR_NOOP("Comment:"), 4);
    ComboGenre = new NamedComboBox(panel);
    ComboGenre->setObjectName(QStringLiteral("ComboGenre"));
    for (const char* name : GenreNames)
        ComboGenre->addItem(QString::fromLatin1(name));
    // Not as wide as the longest of the 148 names: the list shows them whole.
    ComboGenre->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ComboGenre->setMinimumContentsLength(12);
    caption(QT_TR_NOOP("Genre:"), ComboGenre, 5, 0);
    grid->addWidget(ComboGenre, 5, 1);
    ComboGenre->setAccessibleName(tr("Genre"));
    InstallAccessibleRoles();
    EditYear = new QLineEdit(panel);
    EditYear->setObjectName(QStringLiteral("EditYear"));
    // Four digits and the frame's margins.
    EditYear->setFixedWidth(EditYear->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 22);
    caption(QT_TR_NOOP("Year:"), EditYear, 5, 2);
    grid->addWidget(EditYear, 5, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(4, 8);
    BtnClear = new QPushButton(tr("Cl&ear"), panel);
    BtnClear->setObjectName(QStringLiteral("BtnClear"));
    BtnApply = new QPushButton(panel);
    BtnApply->setObjectName(QStringLiteral("BtnApply"));
    grid->addWidget(BtnClear, 4, 5);
    grid->addWidget(BtnApply, 5, 5);
    grid->setColumnMinimumWidth(5, 81);
    for (QPushButton* button : {BtnClear, BtnApply})
        button->setAutoDefault(false); // Enter saves; it never tags
    connect(BtnClear, &QPushButton::clicked, this, &TFormSave::BtnClearClick);
    connect(BtnApply, &QPushButton::clicked, this, &TFormSave::BtnApplyClick);
    QWidget::setTabOrder(EditTitle, EditAlbum);
    QWidget::setTabOrder(EditAlbum, EditArtist);
    QWidget::setTabOrder(EditArtist, EditComment);
    QWidget::setTabOrder(EditComment, ComboGenre);
    QWidget::setTabOrder(ComboGenre, EditYear);
    QWidget::setTabOrder(EditYear, BtnClear);
    QWidget::setTabOrder(BtnClear, BtnApply);
    return panel;
}

void TFormSave::FormCreate() {
    const bool email = m_context.emailAfterRecording;
    PanelSaveDlg->SetSaveCaption(email ? tr("Save && Email") : tr("Save"));
    BtnApply->setText(email ? tr("Tag && Email") : tr("Save with Tag"));
    BtnClearClick();
}

void TFormSave::PlaceBottomRight() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        const QSize outer = frameGeometry().size();
        move(area.width() - outer.width() - 5, area.height() - outer.height() - 30);
    }
}

void TFormSave::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceBottomRight();
    raise();
    activateWindow();
    if (QLineEdit* edit = PanelSaveDlg->FileNameEdit()) {
        edit->setFocus();
        edit->selectAll();
    }
}

void TFormSave::keyPressEvent(QKeyEvent* event) {
    // Enter anywhere presses the panel's Save, as the form's default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        PanelSaveDlg->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFormSave::reject() {
    PanelSaveDlg->reject();
}

void TFormSave::BtnClearClick() {
    for (QLineEdit* field : {EditTitle, EditArtist, EditAlbum, EditComment, EditYear})
        field->clear();
    ComboGenre->setCurrentIndex(kGenreUnknown);
}

void TFormSave::BtnApplyClick() {
    if (!PathExists(m_context.tempFileName)) {
        MessageBox::Error(tr("Unable to gain access to the record file. File can't be saved."));
        return;
    }
    TID3v1 tag;
    tag.SetTitle(EditTitle->text());
    tag.SetAlbum(EditAlbum->text());
    tag.SetArtist(EditArtist->text());
    tag.SetComment(EditComment->text());
    tag.SetYear(EditYear->text());
    tag.SetGenre(GenreCode(ComboGenre->currentIndex()));
    // The user asked for a tag: saving without it would pass unnoticed.
    if (!tag.WriteTag(m_context.tempFileName)) {
        const int error = errno;
        MessageBox::Error(QString::fromStdString(TagFailureText(m_context.tempFileName, error)));
        return;
    }
    PanelSaveDlg->accept();
}

void TFormSave::PanelSaveDlgOpenButtonClick(const QString& fileName, bool& DefaultAction) {
    const std::string name = fileName.toStdString();
    // A folder that is not there would only send the next dialog astray.
    if (QFileInfo(QString::fromStdString(FolderOf(name))).isDir())
        m_context.lastSaveDir = FolderOf(name);
    if (!PathExists(m_context.tempFileName)) {
        MessageBox::Error(tr("Record data file is missing. File can't be saved!!"));
        return;
    }
    const QString typed = QFileInfo(fileName).fileName();
    // The hint the field starts with is no name the user gave.
    if (typed.isEmpty() || typed == tr(kNameHint) ||
        fileName.contains(QLatin1String("Please Specify"))) {
        MessageBox::Show(MessageBox::Icon::Information, QStringLiteral("Tapewren"),
                         tr("Please specify a file name to save as."));
        DefaultAction = false;
        return;
    }
    // A pasted line break or tab would make a name no file manager shows right.
    if (std::any_of(fileName.begin(), fileName.end(),
                    [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; })) {
        MessageBox::Error(tr("A file name cannot contain control characters such as a line "
                             "break or a tab."));
        DefaultAction = false;
        return;
    }
    m_saveTargetPath = ::SaveTargetPath(name);
    const TEmail mail = VoiceMail(m_saveTargetPath);
    // Not a question of overwriting: a folder is never replaced.
    if (QFileInfo(QString::fromStdString(m_saveTargetPath)).isDir()) {
        MessageBox::Error(QString::fromStdString(SaveFailureText(EISDIR)));
        DefaultAction = false;
        return;
    }
    const bool exists = PathExists(m_saveTargetPath);
    if (exists && !MessageBox::Confirm(tr("File already exists, do you want to overwrite it?"))) {
        DefaultAction = false;
        return;
    }
    int error = 0;
    if (!MoveFile(m_context.tempFileName, m_saveTargetPath, exists, &error)) {
        MessageBox::Error(QString::fromStdString(SaveFailureText(error)));
        DefaultAction = false;
        return;
    }
    const QString saved = QString::fromStdString(m_saveTargetPath);
    if (m_context.emailAfterRecording) {
        if (m_context.sendEmail)
            m_context.sendEmail(this, mail);
    } else if (m_context.showNotification) {
        m_context.showNotification(tr("File's been saved.\rClick to play now."), saved);
    }
}

void TFormSave::PanelSaveDlgCancelButtonClick(bool& DefaultAction) {
    if (MessageBox::Confirm(tr("Are you sure you want to cancel saving and lose the "
                               "sound data you just recorded?"))) {
        DefaultAction = true;
        ::unlink(m_context.tempFileName.c_str());
    } else {
        DefaultAction = false;
    }
}
