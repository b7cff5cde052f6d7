#pragma once

#include <QFile>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

// A private copy of the built program: its lock, settings and socket are the test's own.
struct ProgramCopy {
    [[nodiscard]] QString program() const { return folder.filePath(QStringLiteral("pelkora")); }
    [[nodiscard]] QString path() const { return folder.path(); }

    QTemporaryDir folder;
    bool ok =
        folder.isValid() && QFile::copy(QStringLiteral(PELKORA_PROGRAM_DIR "/pelkora"), program());
};

// Home, settings and runtime folder of the test's own, off the user's desktop and bus.
inline QProcessEnvironment PrivateEnvironment(const QString& home, const QString& runtime) {
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(QStringLiteral("HOME"), home);
    e.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    e.insert(QStringLiteral("TMPDIR"), home);
    e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    e.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty())
        e.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    e.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
             QStringLiteral("unix:path=") + home + QStringLiteral("/no-bus"));
    return e;
}
