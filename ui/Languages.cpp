#include "Languages.h"

#include "Common.h"
#include "HelpFiles.h"
#include "Logging.h"
#include "Shell.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {
// "de-DE" is tried as de_DE, then as de.
QStringList candidates(const QString& language) {
    QStringList names{QString(language).replace(QLatin1Char('-'), QLatin1Char('_'))};
    const QString code = language.section(QLatin1Char('-'), 0, 0);
    if (code != names.first())
        names << code;
    return names;
}
} // namespace

QStringList WantedLanguages(const QStringList& uiLanguages) {
    QStringList wanted;
    for (const QString& language : uiLanguages) {
        if (language == QLatin1String("C") || language.startsWith(QLatin1String("en")))
            break;
        for (const QString& name : candidates(language))
            if (!wanted.contains(name))
                wanted << name;
    }
    return wanted;
}

void LoadTranslations(QCoreApplication& app, const QStringList& uiLanguages) {
    const QStringList wanted = WantedLanguages(uiLanguages);
    QStringList folders;
    for (const std::string& folder : HelpFolders())
        folders << QString::fromStdString(folder)
                << QString::fromStdString(folder) + "translations";
    for (const QString& language : wanted) {
        auto* ours = new QTranslator(&app);
        bool found = false;
        for (const QString& folder : folders)
            if ((found = ours->load(QStringLiteral("tapewren_") + language, folder)))
                break;
        if (!found) {
            qCDebug(lcUi, "no catalogue for %s", qPrintable(language));
            delete ours;
            continue;
        }
        QCoreApplication::installTranslator(ours);
        // The file dialog's and the message boxes' own buttons.
        auto* qt = new QTranslator(&app);
        if (qt->load(QStringLiteral("qtbase_") + language,
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(qt);
        } else {
            qCWarning(lcUi, "Qt's own catalogue for %s is missing: its buttons stay in English",
                      qPrintable(language));
            delete qt;
        }
        return;
    }
    if (!wanted.isEmpty())
        qCWarning(lcUi, "no catalogue for %s: the program speaks English",
                  qPrintable(wanted.join(", ")));
}

std::string FindLocalHelpFile(const std::string& name) {
    for (const QString& language : WantedLanguages(QLocale::system().uiLanguages()))
        if (std::string page = FindHelpFile(language.toStdString() + "/" + name); !page.empty())
            return page;
    return FindHelpFile(name);
}

void OpenLocalHelp(const std::string& name) {
    if (const std::string page = FindLocalHelpFile(name); !page.empty())
        OpenWithShell(page);
    else
        qCWarning(lcUi, "%s is not installed", name.c_str());
}
