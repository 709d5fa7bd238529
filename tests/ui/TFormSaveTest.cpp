#include "TFormSave.h"
#include "Bass.h"
#include "DialogRunner.h"
#include "FakeDesktop.h"
#include "FakeMailClient.h"
#include "MSNPopUp.h"
#include "MessageBox.h"
#include "Mount.h"
#include "SimulatedBackend.h"
#include "TFormMain.h"
#include "TempFolder.h"
#include "ToneMp3.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {
class SaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        MessageBox::TakeShown();
        fs::create_directories(m_folder / "tmp");
        fs::create_directories(m_folder / "music");
        ASSERT_TRUE(WriteToneMp3(m_take));
        m_takeBytes = ReadFile(m_take);
    }

    std::unique_ptr<TFormSave> dialog(bool email = false) {
        TFormSave::Context c;
        c.tempFileName = m_take;
        c.emailAfterRecording = email;
        c.lastSaveDir = "/old/";
        c.showNotification = [this](const QString& text, const QString& link) {
            m_notes.push_back({text, link});
        };
        c.sendEmail = [this](QWidget* owner, const TEmail& mail) {
            m_mailOwners.push_back(owner);
            m_mailed.push_back(mail);
        };
        auto d = std::make_unique<TFormSave>(c);
        d->PanelSaveDlg->setDirectory(QString::fromStdString(m_folder / "music"));
        return d;
    }
    static void type(TFormSave& d, const QString& text) {
        d.PanelSaveDlg->FileNameEdit()->setText(text);
    }
    static void save(TFormSave& d, const QString& text) {
        type(d, text);
        d.PanelSaveDlg->accept();
    }
    std::vector<QString> shownTexts() {
        std::vector<QString> texts;
        for (const auto& m : MessageBox::TakeShown())
            texts.push_back(m.text);
        return texts;
    }
    std::string music(const std::string& name) { return m_folder / ("music/" + name); }

    TempFolder m_folder;
    std::string m_take = m_folder / "tmp/tmpfile1.mp3";
    std::string m_takeBytes;
    std::vector<std::pair<QString, QString>> m_notes;
    std::vector<TEmail> m_mailed;
    std::vector<QWidget*> m_mailOwners;
};

// The recorder's sound: the monitor input of a simulated card.
void simulateMonitorInput() {
    SimulatedBackend::Script script;
    script.inputs = {{"Monitor of Speakers", kInputWaveOutput, 100}};
    BASS_SetBackend(std::make_unique<SimulatedBackend>(script));
}
} // namespace

TEST_F(SaveTest, ANameWithoutExtensionGetsMp3AndTheSavedPopupLinksTheFile) {
    auto d = dialog();
    EXPECT_EQ(d->PanelSaveDlg->FileNameEdit()->text(), "type in a file name");
    EXPECT_EQ(d->BtnApply->text(), "Save with Tag");
    save(*d, "evening");
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(ReadFile(music("evening.mp3")), m_takeBytes);
    EXPECT_FALSE(fs::exists(m_take));
    ASSERT_EQ(m_notes.size(), 1u);
    EXPECT_EQ(m_notes[0].first, "File's been saved.\rClick to play now.");
    EXPECT_EQ(m_notes[0].second.toStdString(), music("evening.mp3"));
    EXPECT_EQ(d->LastSaveDir(), m_folder / "music/");
    EXPECT_TRUE(shownTexts().empty());
}

TEST_F(SaveTest, AnotherExtensionIsKeptAndTheHintIsNoName) {
    auto d = dialog();
    save(*d, "take.wav");
    EXPECT_EQ(ReadFile(music("take.wav")), m_takeBytes);
    ASSERT_TRUE(WriteToneMp3(m_take));
    auto second = dialog();
    second->PanelSaveDlg->accept();
    EXPECT_FALSE(fs::exists(music("type in a file name.mp3")));
    EXPECT_NE(second->result(), QDialog::Accepted);
    EXPECT_EQ(shownTexts(), std::vector<QString>{"Please specify a file name to save as."});
    EXPECT_TRUE(fs::exists(m_take));
}

TEST_F(SaveTest, PleaseSpecifyIsRefusedOnlyInThatCase) {
    auto d = dialog();
    save(*d, "My Please Specify take");
    EXPECT_NE(d->result(), QDialog::Accepted);
    ASSERT_EQ(shownTexts(), std::vector<QString>{"Please specify a file name to save as."});
    EXPECT_TRUE(fs::exists(m_take));
    EXPECT_EQ(d->LastSaveDir(), m_folder / "music/") << "set at every attempt";
    for (const char* name : {"two\nlines", "bell\x01", "unit\x1f", "del\x7f", "tab\tbed"}) {
        save(*d, name);
        EXPECT_NE(d->result(), QDialog::Accepted) << name;
        EXPECT_EQ(shownTexts(), std::vector<QString>{"A file name cannot contain control "
                                                     "characters such as a line break or a tab."});
    }
    EXPECT_TRUE(fs::exists(m_take));
    save(*d, "please specify");
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(fs::exists(music("please specify.mp3")));
}

// Escape, then Enter without reading: the take stays.
TEST_F(SaveTest, EnterOnTheLoseQuestionKeepsTheTake) {
    auto d = dialog();
    MessageBox::SetTestMode(false);
    QString asked;
    QTimer::singleShot(100, [&] {
        QWidget* box = QApplication::activeModalWidget();
        asked = qobject_cast<QMessageBox*>(box) ? qobject_cast<QMessageBox*>(box)->text() : "";
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(box, &enter);
    });
    d->PanelSaveDlg->reject();
    MessageBox::SetTestMode(true);
    EXPECT_THAT(asked.toStdString(), ::testing::HasSubstr("lose the sound data"));
    EXPECT_TRUE(fs::exists(m_take));
}

TEST_F(SaveTest, RefusedOverwriteLeavesBothFilesAndTheDialog) {
    WriteFile(music("old.mp3"), "keep me");
    auto d = dialog();
    MessageBox::SetNextAnswer(MessageBox::Answer::No);
    save(*d, "old.mp3");
    EXPECT_EQ(shownTexts(),
              std::vector<QString>{"File already exists, do you want to overwrite it?"});
    EXPECT_NE(d->result(), QDialog::Accepted);
    EXPECT_EQ(ReadFile(music("old.mp3")), "keep me");
    EXPECT_EQ(ReadFile(m_take), m_takeBytes);
    // The question is about the name ".mp3" is added to.
    MessageBox::SetNextAnswer(MessageBox::Answer::No);
    save(*d, "old");
    EXPECT_EQ(shownTexts(),
              std::vector<QString>{"File already exists, do you want to overwrite it?"});
    EXPECT_NE(d->result(), QDialog::Accepted);
    EXPECT_EQ(ReadFile(music("old.mp3")), "keep me");
    MessageBox::SetNextAnswer(MessageBox::Answer::Yes);
    save(*d, "old");
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(ReadFile(music("old.mp3")), m_takeBytes);
    EXPECT_FALSE(fs::exists(m_take));
}

TEST_F(SaveTest, TagSurvivesARefusedOverwriteAndIsWrittenOnce) {
    WriteFile(music("old.mp3"), "keep me");
    auto d = dialog();
    d->EditTitle->setText("Evening");
    d->ComboGenre->setCurrentIndex(17);
    type(*d, "old.mp3");
    MessageBox::SetNextAnswer(MessageBox::Answer::No);
    d->BtnApplyClick();
    MessageBox::SetNextAnswer(MessageBox::Answer::No);
    d->BtnApplyClick();
    EXPECT_EQ(ReadFile(m_take).size(), m_takeBytes.size() + 128) << "two presses, one tag";
    save(*d, "new.mp3");
    const std::string saved = ReadFile(music("new.mp3"));
    ASSERT_EQ(saved.size(), m_takeBytes.size() + 128);
    EXPECT_EQ(saved.substr(saved.size() - 128, 10), std::string("TAGEvening"));
    EXPECT_EQ(static_cast<uint8_t>(saved.back()), 17);
}

TEST_F(SaveTest, ClearedFieldsTagUnknownGenre) {
    auto d = dialog();
    d->EditTitle->setText("x");
    d->BtnClearClick();
    EXPECT_EQ(d->EditTitle->text(), "");
    EXPECT_EQ(d->ComboGenre->currentText(), "Unknown");
    type(*d, "plain");
    d->BtnApplyClick();
    EXPECT_EQ(static_cast<uint8_t>(ReadFile(music("plain.mp3")).back()), 255)
        << "no genre: 148 reads as \"Abstract\"";
}

// That the buttons and every other control show their texts whole is
// LayoutDesktopTest's, on real displays.
TEST_F(SaveTest, TagFieldsAreNamedByTheirLabels) {
    auto d = dialog();
    for (QLineEdit* field :
         {d->EditTitle, d->EditAlbum, d->EditArtist, d->EditComment, d->EditYear})
        EXPECT_FALSE(
            QAccessible::queryAccessibleInterface(field)->text(QAccessible::Name).isEmpty())
            << field->objectName().toStdString();
}

TEST_F(SaveTest, EnterInATagFieldSavesWithoutATag) {
    auto d = dialog();
    d->EditTitle->setText("Not written");
    type(*d, "entered");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(d->EditTitle, &enter);
    EXPECT_EQ(ReadFile(music("entered.mp3")), m_takeBytes);
}

TEST_F(SaveTest, CancelAsksAndYesDeletesTheTake) {
    auto d = dialog();
    MessageBox::SetNextAnswer(MessageBox::Answer::No);
    d->reject();
    EXPECT_EQ(shownTexts(),
              std::vector<QString>{"Are you sure you want to cancel saving and lose the sound data "
                                   "you just recorded?"});
    EXPECT_TRUE(fs::exists(m_take));
    EXPECT_EQ(d->LastSaveDir(), "/old/") << "no attempt, the old folder stays";
    MessageBox::SetNextAnswer(MessageBox::Answer::Yes);
    d->reject();
    EXPECT_EQ(d->result(), QDialog::Rejected);
    EXPECT_FALSE(fs::exists(m_take));
}

TEST_F(SaveTest, MissingTakeClosesWithItsMessageAndTagButtonStaysOpen) {
    fs::remove(m_take);
    auto d = dialog();
    type(*d, "gone");
    d->BtnApplyClick();
    EXPECT_EQ(shownTexts(), std::vector<QString>{"Unable to gain access to the record file. File "
                                                 "can't be saved."});
    EXPECT_NE(d->result(), QDialog::Accepted);
    save(*d, "gone");
    EXPECT_EQ(shownTexts(),
              std::vector<QString>{"Record data file is missing. File can't be saved!!"});
    EXPECT_EQ(d->result(), QDialog::Accepted) << "closes; nothing saved";
    EXPECT_FALSE(fs::exists(music("gone.mp3")));
}

TEST_F(SaveTest, PanelHandlesFoldersDotsAndWildcardsItself) {
    fs::create_directories(m_folder / "music/live");
    auto d = dialog();
    save(*d, "live");
    EXPECT_EQ(d->PanelSaveDlg->directory().absolutePath().toStdString(), m_folder / "music/live");
    save(*d, "..");
    EXPECT_EQ(d->PanelSaveDlg->directory().absolutePath().toStdString(), m_folder / "music");
    save(*d, ".");
    EXPECT_EQ(d->PanelSaveDlg->FileNameEdit()->text(), "");
    save(*d, "*.wav");
    EXPECT_TRUE(fs::exists(m_take)) << "none of these saves";
    EXPECT_NE(d->result(), QDialog::Accepted);
    d->PanelSaveDlg->FileNameEdit()->clear();
    d->PanelSaveDlg->accept();
    EXPECT_TRUE(shownTexts().empty()) << "an empty name does nothing";
}

TEST_F(SaveTest, EachSaveFailureSaysWhatIsWrongAndKeepsTheTakeAndTheDialog) {
    auto d = dialog();
    const auto refused = [&](const std::string& typed, const QString& text) {
        save(*d, QString::fromStdString(typed));
        EXPECT_EQ(shownTexts(), std::vector<QString>{text}) << typed;
        EXPECT_NE(d->result(), QDialog::Accepted) << typed;
        EXPECT_EQ(ReadFile(m_take), m_takeBytes) << typed;
        EXPECT_TRUE(m_notes.empty()) << typed;
    };
    refused(m_folder / "nowhere/take", "Unable to save file: the folder does not exist.");
    EXPECT_EQ(d->LastSaveDir(), "/old/") << "a missing folder is not remembered";
    refused(std::string(300, 'n'), "Unable to save file: the name is too long.");
    fs::create_directories(music("take.mp3"));
    refused("take", "Unable to save file: a folder of that name exists.");
    EXPECT_TRUE(fs::is_directory(music("take.mp3")));

    fs::create_directories(music("stick"));
    TestMount readOnly = TestMount::Tmpfs(music("stick"), "1m");
    if (readOnly.Ok() && readOnly.MakeReadOnly())
        refused("stick/take", "Unable to save file: the folder is read-only.");
    else
        ADD_FAILURE() << "cannot mount a read-only folder here";
    fs::create_directories(music("full"));
    TestMount full = TestMount::Tmpfs(music("full"), "4k");
    if (full.Ok()) {
        refused("full/take", "Unable to save file. Please check disk space.");
        EXPECT_TRUE(fs::is_empty(music("full"))) << "no partial copy left";
    } else {
        ADD_FAILURE() << "cannot mount a small disk here";
    }
    EXPECT_EQ(d->LastSaveDir(), music("full/"));

    save(*d, "at last");
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(ReadFile(music("at last.mp3")), m_takeBytes);
}

TEST_F(SaveTest, SaveWithTagThatCannotWriteTheTagSaysSoAndSavesNothing) {
    const auto refused = [&](const std::string& name, const QString& text) {
        const std::string before = ReadFile(m_take);
        auto d = dialog();
        type(*d, QString::fromStdString(name));
        d->BtnApplyClick();
        EXPECT_EQ(shownTexts(), std::vector<QString>{text});
        EXPECT_NE(d->result(), QDialog::Accepted) << "the dialog stays";
        EXPECT_FALSE(fs::exists(music(name + ".mp3")));
        EXPECT_EQ(ReadFile(m_take), before) << "the take as it was, no half tag";
    };
    WriteFile(m_take, "too short");
    refused("short", "Unable to write the tag: the recording is too short.");

    // A disk with no room left for the 128 bytes of the tag.
    fs::create_directories(m_folder / "disk");
    TestMount disk = TestMount::Tmpfs(m_folder / "disk", "64k");
    ASSERT_TRUE(disk.Ok()) << "cannot mount a small disk here";
    m_take = m_folder / "disk/tmpfile1.mp3";
    // Whole pages, so that the tag cannot slip into the last one's slack.
    WriteFile(m_take, m_takeBytes + std::string(4096 - m_takeBytes.size() % 4096, '\0'));
    {
        std::ofstream filler(m_folder / "disk/filler", std::ios::binary);
        const std::string page(4096, 'f');
        while (filler.write(page.data(), static_cast<std::streamsize>(page.size())) &&
               filler.flush()) {
        }
    }
    refused("tagged", "Unable to write the tag. Please check disk space.");
}

TEST_F(SaveTest, EmailModeMailsInsteadOfThePopup) {
    auto d = dialog(true);
    EXPECT_EQ(d->BtnApply->text(), "Tag && Email");
    save(*d, "mailme");
    EXPECT_TRUE(m_notes.empty());
    ASSERT_EQ(m_mailed.size(), 1u);
    const TEmail& mail = m_mailed[0];
    EXPECT_EQ(mail.Recipient, "recipient@example.com");
    EXPECT_EQ(mail.Subject, "Put your subject here");
    EXPECT_EQ(mail.Body,
              "Your message text goes here\r\n\r\n--\r\nCreate voice mail with Tapewren");
    EXPECT_EQ(mail.Attachments, std::vector<std::string>{music("mailme.mp3")});
    EXPECT_EQ(ReadFile(music("mailme.mp3")), m_takeBytes) << "saved before it is mailed";
    EXPECT_EQ(m_mailOwners, std::vector<QWidget*>{d.get()}) << "its boxes open on the dialog";
}

// The whole path from the recorder: the error box once, the take stays
// saved, and the windows come back whatever the client did.
TEST(MailFromTheRecorder, UnreachableClientShowsOneErrorAndKeepsTheFile) {
    TempFolder folder;
    simulateMonitorInput();
    fs::create_directories(folder / "music");
    for (const bool throws : {false, true}) {
        MessageBox::TakeShown();
        TFormMain form(folder.Path(), std::make_unique<FakeTray>(),
                       std::make_unique<FakeHotKeys>());
        ASSERT_TRUE(form.FormCreate());
        auto client = std::make_unique<FakeMailClient>();
        FakeMailClient& fake = *client;
        fake.reachable = false;
        fake.throws = throws;
        form.SetMailClient(std::move(client));
        bool dialogEnabledAfter = false;
        DialogRunner::SetAnswer<TFormSave>([&](TFormSave& d) {
            d.PanelSaveDlg->setDirectory(QString::fromStdString(folder / "music"));
            d.PanelSaveDlg->FileNameEdit()->setText("memo");
            try {
                d.PanelSaveDlg->accept();
            } catch (const std::exception&) {
            }
            dialogEnabledAfter = d.isEnabled() && form.isEnabled();
        });
        form.ToggleRecording(true);
        form.ToggleRecording(true);
        ASSERT_EQ(fake.mails.size(), 1u);
        EXPECT_FALSE(fake.windowsEnabledMeanwhile) << "windows are disabled while it composes";
        EXPECT_TRUE(dialogEnabledAfter) << "and enabled again, throws=" << throws;
        const std::string saved = folder / "music/memo.mp3";
        EXPECT_EQ(fake.mails[0].Attachments, std::vector<std::string>{saved});
        EXPECT_GT(fs::file_size(saved), 0u) << "the saved take stays";
        const auto shown = MessageBox::TakeShown();
        if (throws) {
            EXPECT_TRUE(shown.empty());
        } else {
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_EQ(shown[0].icon, MessageBox::Icon::Error);
            EXPECT_EQ(shown[0].caption, "Error");
            EXPECT_EQ(shown[0].text, "Error while trying to send email");
        }
        form.FormClose();
        fs::remove(saved);
    }
    BASS_SetBackend(nullptr);
}

TEST(SaveFromTheRecorder, LastDirOfAFailedAttemptReachesTheSettings) {
    TempFolder folder;
    simulateMonitorInput();
    fs::create_directories(folder / "music");
    WriteFile(folder / "music/old.mp3", "keep");
    WriteFile(folder / "quillby.ini", "[Recorder]\nLastDir=/gone/away/\n");
    {
        TFormMain form(folder.Path(), std::make_unique<FakeTray>(),
                       std::make_unique<FakeHotKeys>());
        ASSERT_TRUE(form.FormCreate());
        bool busyDuringDialog = false;
        DialogRunner::SetAnswer<TFormSave>([&](TFormSave& d) {
            busyDuringDialog = form.TrayIcon->IconIndex() == 37;
            d.PanelSaveDlg->setDirectory(QString::fromStdString(folder / "music"));
            MessageBox::SetNextAnswer(MessageBox::Answer::No);
            d.PanelSaveDlg->FileNameEdit()->setText("old.mp3");
            d.PanelSaveDlg->accept();
            MessageBox::SetNextAnswer(MessageBox::Answer::Yes);
            d.reject();
        });
        form.ToggleRecording(false);
        form.ToggleRecording(false);
        EXPECT_TRUE(busyDuringDialog);
        EXPECT_EQ(form.TrayIcon->IconIndex(), 36);
        EXPECT_EQ(form.CurrentSettings().lastSaveDir, folder / "music/");
        form.FormClose();
    }
    EXPECT_NE(ReadFile(folder / "quillby.ini").find("LastDir=" + (folder / "music/")),
              std::string::npos);
    EXPECT_TRUE(fs::is_empty(folder / "tmp")) << "the cancelled take is gone";
    MessageBox::TakeShown();
    BASS_SetBackend(nullptr);
}

TEST(SaveFromTheRecorder, CancelWithoutASaveAttemptKeepsTheStoredLastDirOnDisk) {
    TempFolder folder;
    simulateMonitorInput();
    fs::create_directories(folder / "music");
    // A folder that exists, and one that has gone: the dialog cannot open in
    // the second, and must not store where it opened instead.
    for (const std::string& stored : {folder / "music/", std::string("/gone/away/")}) {
        WriteFile(folder / "quillby.ini", "[Recorder]\nLastDir=" + stored + "\n");
        TFormMain form(folder.Path(), std::make_unique<FakeTray>(),
                       std::make_unique<FakeHotKeys>());
        ASSERT_TRUE(form.FormCreate());
        DialogRunner::SetAnswer<TFormSave>([&](TFormSave& d) {
            d.PanelSaveDlg->setDirectory(QString::fromStdString(folder.Path()));
            MessageBox::SetNextAnswer(MessageBox::Answer::Yes);
            d.reject();
        });
        form.ToggleRecording(false);
        form.ToggleRecording(false);
        EXPECT_NE(ReadFile(folder / "quillby.ini").find("LastDir=" + stored + "\n"),
                  std::string::npos)
            << ReadFile(folder / "quillby.ini");
        form.FormClose();
    }
    MessageBox::TakeShown();
    BASS_SetBackend(nullptr);
}

TEST(SaveFromTheRecorder, TheCloseBoxWhileRecordingOffersTheTakeAsExitDoes) {
    TempFolder folder;
    simulateMonitorInput();
    fs::create_directories(folder / "music");
    {
        TFormMain form(folder.Path(), std::make_unique<FakeTray>(),
                       std::make_unique<FakeHotKeys>());
        ASSERT_TRUE(form.FormCreate());
        bool closed = false;
        QObject::connect(&form, &TFormMain::closed, [&] { closed = true; });
        DialogRunner::SetAnswer<TFormSave>([&](TFormSave& d) {
            d.PanelSaveDlg->setDirectory(QString::fromStdString(folder / "music"));
            d.PanelSaveDlg->FileNameEdit()->setText("take");
            d.PanelSaveDlg->accept();
        });
        form.ToggleRecording(false);
        form.show();
        form.close(); // as Alt+F4 on the configuration window
        EXPECT_TRUE(closed);
        EXPECT_GT(fs::file_size(folder / "music/take.mp3"), 0u);
        EXPECT_TRUE(fs::is_empty(folder / "tmp")) << "nothing left for the next start";
    }
    MessageBox::TakeShown();
    BASS_SetBackend(nullptr);
}
