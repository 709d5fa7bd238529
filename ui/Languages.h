#pragma once

#include <QStringList>

#include <string>

class QCoreApplication;

// The desktop's languages (LANGUAGE, LC_MESSAGES, LANG), most wanted first,
// as far as the first English one: past it the source texts win.
QStringList WantedLanguages(const QStringList& uiLanguages);

// Installs the catalogue of the first wanted language (of the desktop's
// uiLanguages) found beside the executable or in the installed data folder,
// and Qt's own texts for it; where none is, the English one.
void LoadTranslations(QCoreApplication& app, const QStringList& uiLanguages);

// The guide or FAQ page in the first wanted language that has one
// ("de/Tapewren.html"), else the English one; empty when there is none.
std::string FindLocalHelpFile(const std::string& name);
// Opens that page; a missing page is not worth a message.
void OpenLocalHelp(const std::string& name);
