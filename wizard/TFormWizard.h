#pragma once

#include <QWidget>

// The sound optimizer's window.
class TFormWizard : public QWidget {
    Q_OBJECT
public:
    explicit TFormWizard(QWidget* parent = nullptr);
};
