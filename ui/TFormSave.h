#pragma once

#include "TEmail.h"

#include <QDialog>
#include <QFileDialog>

#include <functional>
#include <string>

class QComboBox;
class QLineEdit;
class QPushButton;
class TFormSave;

// The file-save panel: a file dialog used as a widget, whose Save and
// Cancel go to the save-as dialog's handlers instead of closing it.
class TSavePanel : public QFileDialog {
    Q_OBJECT
public:
    explicit TSavePanel(TFormSave& form);
    QSize sizeHint() const override;
    QLineEdit* FileNameEdit() const;
    QPushButton* SaveButton() const;
    void SetSaveCaption(const QString& caption);
    // What the panel does when Save is pressed: folders, wildcards and the
    // like are handled here; a file name goes to the save handler.
    void accept() override;
    void reject() override;

private:
    TFormSave& m_form;
};

// The save-as dialog that turns a finished take into the user's file.
class TFormSave : public QDialog {
    Q_OBJECT
public:
    // What the file-name field holds until the user types a name.
    static constexpr const char* kNameHint = QT_TR_NOOP("type in a file name");
    struct Context {
        std::string tempFileName;
        bool emailAfterRecording = false;
        std::string lastSaveDir;
        std::function<void(const QString& text, const QString& link)> showNotification;
        // owner: the window the mail step's messages belong to.
        std::function<void(QWidget* owner, const TEmail& mail)> sendEmail;
    };

    explicit TFormSave(Context context, QWidget* parent = nullptr);

    void FormCreate();
    void BtnClearClick();
    void BtnApplyClick();
    // fileName: the panel's folder and typed name. DefaultAction arrives
    // true; clearing it keeps the dialog open.
    void PanelSaveDlgOpenButtonClick(const QString& fileName, bool& DefaultAction);
    void PanelSaveDlgCancelButtonClick(bool& DefaultAction);

    // The folder of the last Save attempt; written to the settings after.
    const std::string& LastSaveDir() const { return m_context.lastSaveDir; }
    const std::string& SaveTargetPath() const { return m_saveTargetPath; }

    TSavePanel* PanelSaveDlg = nullptr;
    QLineEdit* EditTitle = nullptr;
    QLineEdit* EditAlbum = nullptr;
    QLineEdit* EditArtist = nullptr;
    QLineEdit* EditComment = nullptr;
    QComboBox* ComboGenre = nullptr;
    QLineEdit* EditYear = nullptr;
    QPushButton* BtnClear = nullptr;
    QPushButton* BtnApply = nullptr;

    // Places the dialog at the bottom right of the primary screen.
    void PlaceBottomRight();

    // Esc and the window manager's close both ask as Cancel does.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* buildTagArea();

    Context m_context;
    std::string m_saveTargetPath;
};
