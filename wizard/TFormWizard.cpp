#include "TFormWizard.h"

TFormWizard::TFormWizard(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FormWizard"));
    setWindowTitle(QStringLiteral("Tapewren"));
    resize(480, 360);
}
