#include "MessageBox.h"
#include "VolumeGuard.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Tests of the real sound server start the volume guard from their own executable.
    if (int code = 0; RunVolumeGuardIfAsked(argc, argv, &code))
        return code;
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    MessageBox::SetTestMode(true);
    return RUN_ALL_TESTS();
}
