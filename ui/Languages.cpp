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

namespace {
bool installCatalogue(QCoreApplication& app, const QString& language, const QStringList& folders) {
    auto* ours = new QTranslator(&app);
    for (const QString& folder : folders)
        if (ours->load(QStringLiteral("tapewren_") + language, folder)) {
            QCoreApplication::installTranslator(ours);
            return true;
        }
    delete ours;
    return false;
}
} // namespace

void LoadTranslations(QCoreApplication& app, const QStringList& uiLanguages) {
    const QStringList wanted = WantedLanguages(uiLanguages);
    QStringList folders;
    for (const std::string& folder : HelpFolders())
        folders << QString::fromStdString(folder)
                << QString::fromStdString(folder) + "translations";
    // Built into the program: English's plural forms alone.
    folders << QStringLiteral(":/translations");
    for (const QString& language : wanted) {
        if (!installCatalogue(app, language, folders)) {
            qCDebug(lcUi, "no catalogue for %s", qPrintable(language));
            continue;
        }
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
    // The source texts are English; its catalogue holds only their plural
    // forms ("1 more minute", "9 more minutes").
    if (!installCatalogue(app, QStringLiteral("en"), folders))
        qCWarning(lcUi, "the English catalogue is missing: counts read \"minute(s)\"");
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
