#pragma once

#include <QString>
#include <QStringList>

// A file-type filter in Qt's form: one "Description (patterns)" entry per pair.
struct NameFilters {
    QStringList filters;
    QString selected; // the first pair, or empty without any
};

// Converts "description|pattern|description|pattern..." into Qt's name filters with the
// first pair selected. Patterns separated by ";" become one entry; "*.*" matches every file,
// also names without a dot. An unpaired last description is dropped.
[[nodiscard]] NameFilters ConvertFilter(const QString& filter);
