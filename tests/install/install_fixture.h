#pragma once

#include <QString>
#include <QStringList>

// One installation of the build tree, made with DESTDIR into a temporary folder and shared by
// every test of the run, as a packager would make it: cmake --install BUILD --prefix /usr.
namespace install_test {

inline constexpr char kAppId[] = "org.pelkora.Pelkora";

struct Result {
    bool started = false;
    int exitCode = -1;
    QString output; // standard output and error
};

// Runs a program to its end; a program that is still running after a generous deadline is
// killed and reported as not finished (started, exit code -1).
[[nodiscard]] Result run(const QString& program, const QStringList& arguments,
                         const QStringList& extraEnvironment = {});

// The DESTDIR folder; empty when the installation failed (installError() says why).
[[nodiscard]] const QString& destDir();
[[nodiscard]] const QString& installError();

// A path below the installed prefix, e.g. prefixed("lib/pelkora/pelkora").
[[nodiscard]] QString prefixed(const QString& relative);

// Whether a program can be found on PATH.
[[nodiscard]] bool onPath(const QString& program);

} // namespace install_test
