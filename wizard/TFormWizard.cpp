#include "TFormWizard.h"

#include "Bass.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSlider>

TFormWizard::TFormWizard(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormWizard"));
    setWindowTitle(QStringLiteral("Tapewren"));
    setFixedSize(445, 307);
    ComboRecChannel = new QComboBox(this);
    ComboRecChannel->setObjectName(QStringLiteral("ComboRecChannel"));
    SliderVOL = new QSlider(Qt::Horizontal, this);
    SliderVOL->setObjectName(QStringLiteral("SliderVOL"));
    SliderVOL->setRange(1, 100);
    CheckW1 = new QCheckBox(QStringLiteral("Don't show this page again"), this);
    CheckW1->setObjectName(QStringLiteral("CheckW1"));
}

TFormWizard::~TFormWizard() = default;

bool TFormWizard::FormCreate() {
    return true;
}

void TFormWizard::SetActivePage(int page) {
    m_page = page;
}

int TFormWizard::ActivePage() const {
    return m_page;
}
