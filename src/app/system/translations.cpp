#include "app/system/translations.h"

#include "core/text/translate.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Whether the messages locale is C or POSIX (C.UTF-8 too), as the C library decides it: the
// first of LC_ALL, LC_MESSAGES and LANG that is set.
bool MessagesInC() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (value.isEmpty())
            continue;
        return value == u"C" || value == u"POSIX" || value.startsWith(u"C.");
    }
    return false;
}

std::string TranslateForCore(const char* context, const char* source) {
    return QCoreApplication::translate(context, source).toStdString();
}

} // namespace

QString InstallTranslations(QCoreApplication& app, const QString& programFolder) {
    const QLocale locale;
    QString loaded;
    // Under C the program speaks as written, whatever LANGUAGE asks (as gettext does).
    if (locale.language() == QLocale::C || MessagesInC()) {
        translation::SetTranslator(&TranslateForCore);
        return loaded;
    }
    // The program's texts first: a file of the user's language found there decides it.
    auto* own = new QTranslator(&app);
    if (own->load(locale, QStringLiteral("pelkora"), QStringLiteral("_"),
                  programFolder + QStringLiteral("/translations"))) {
        QCoreApplication::installTranslator(own);
        loaded = own->language();
        // Qt's own texts only beside ours, so that its dialogs never speak a language the
        // rest of the window does not.
        auto* qt = new QTranslator(&app);
        if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(qt);
        else
            delete qt;
    } else {
        delete own;
    }
    translation::SetTranslator(&TranslateForCore);
    return loaded;
}
