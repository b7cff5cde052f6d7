#pragma once

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

// A private copy of the built program, so that its lock, settings and socket are the test's
// own. `data/conv` is linked in when asked for.
struct ProgramCopy {
    explicit ProgramCopy(bool withConverter = false) {
        ok = folder.isValid() &&
             QFile::copy(QStringLiteral(PELKORA_PROGRAM_DIR "/pelkora"), program());
        if (ok && withConverter)
            ok = QDir(folder.path()).mkpath(QStringLiteral("data")) &&
                 QFile::link(QStringLiteral(PELKORA_PROGRAM_DIR "/data/conv"),
                             folder.filePath(QStringLiteral("data/conv")));
    }
    [[nodiscard]] QString program() const { return folder.filePath(QStringLiteral("pelkora")); }
    [[nodiscard]] QString path() const { return folder.path(); }

    QTemporaryDir folder;
    bool ok = false;
};

// An environment with a home, configuration and runtime folder of the test's own, on the
// offscreen platform. `runtime` empty: no XDG_RUNTIME_DIR at all.
inline QProcessEnvironment PrivateEnvironment(const QString& home, const QString& runtime) {
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(QStringLiteral("HOME"), home);
    e.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    e.insert(QStringLiteral("TMPDIR"), home);
    e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    e.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty())
        e.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    // The window's desktop services stay off the user's session bus.
    e.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
             QStringLiteral("unix:path=") + home + QStringLiteral("/no-bus"));
    return e;
}
