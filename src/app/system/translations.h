#pragma once

#include <QString>

class QCoreApplication;

// Loads the program's texts and Qt's own (its dialogs and buttons) in the locale's language,
// and hands the core its lookup. Both faces call it once their application object exists.
// English needs nothing loaded: a language without a file shows the texts as written.
// Returns the languages loaded ("de"), for tests; empty in English.
QString InstallTranslations(QCoreApplication& app, const QString& programFolder);
