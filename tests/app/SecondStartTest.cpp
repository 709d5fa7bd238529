#include "Bass.h"
#include "DialogRunner.h"
#include "FakeDesktop.h"
#include "HandOver.h"
#include "MSNPopUp.h"
#include "MessageBox.h"
#include "Program.h"
#include "SimulatedBackend.h"
#include "TFormMain.h"
#include "TFormSave.h"
#include "TFormWizard.h"
#include "TempFolder.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {
class SecondStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        SimulatedBackend::Script script;
        script.inputs = {{"Monitor of Speakers", kInputWaveOutput, 100}};
        BASS_SetBackend(std::make_unique<SimulatedBackend>(script));
        m_form = std::make_unique<TFormMain>(m_folder.Path(), std::make_unique<FakeTray>(),
                                             std::make_unique<FakeHotKeys>());
        ASSERT_TRUE(m_form->FormCreate());
        // Every stopped take is thrown away: Cancel, then Yes.
        DialogRunner::SetAnswer<TFormSave>([](TFormSave& dialog) {
            MessageBox::SetNextAnswer(MessageBox::Answer::Yes);
            dialog.reject();
        });
    }
    void TearDown() override {
        if (m_form->TheRecorder().IsActive())
            m_form->ToggleRecording(false);
        m_form.reset();
        BASS_SetBackend(nullptr);
    }

    TempFolder m_folder;
    std::unique_ptr<TFormMain> m_form;
};
} // namespace

TEST_F(SecondStartTest, ASecondStartIsAnsweredAsADoubleClickOrTheOptimizerButtonWouldBe) {
    int wizards = 0;
    DialogRunner::SetAnswer<TFormWizard>([&](TFormWizard& wizard) {
        ++wizards;
        wizard.reject();
    });
    AnswerSecondStart(*m_form, HandOverRequest::Show);
    EXPECT_TRUE(m_form->isVisible()) << "ready: the configuration window";
    EXPECT_EQ(m_form->TrayIcon->IconIndex(), 37);
    AnswerSecondStart(*m_form, HandOverRequest::Show);
    EXPECT_TRUE(m_form->isVisible());
    AnswerSecondStart(*m_form, HandOverRequest::Optimizer);
    EXPECT_EQ(wizards, 1) << "from within the open window";
    m_form->BtnCancelClick();
    AnswerSecondStart(*m_form, HandOverRequest::Optimizer);
    EXPECT_EQ(wizards, 2) << "ready: the window, then the optimizer over it";
    EXPECT_TRUE(m_form->isVisible());
    m_form->BtnCancelClick();

    m_form->ToggleRecording(false);
    AnswerSecondStart(*m_form, HandOverRequest::Optimizer);
    EXPECT_EQ(wizards, 2) << "the optimizer would take the sound system from the take";
    EXPECT_TRUE((BASS_ChannelIsActive(kRecordChannel) != BASS_ACTIVE_STOPPED));
    EXPECT_FALSE(m_form->isVisible());
    EXPECT_EQ(m_form->MSNPopUp->Text, "Configuration is disabled while recording is in progress.");
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<TfrmMSNPopUp*>(w))
            delete w;
}
