#include "install/install_fixture.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace install_test {

namespace {

constexpr int kDeadlineMs = 120'000;

struct Installation {
    QTemporaryDir dir{QDir::tempPath() + QStringLiteral("/pelkora-install-XXXXXX")};
    QString root;
    QString error;

    Installation() {
        if (!dir.isValid()) {
            error = QStringLiteral("cannot create a temporary folder");
            return;
        }
        const Result r = run(QStringLiteral(PELKORA_CMAKE_COMMAND),
                             {QStringLiteral("--install"), QStringLiteral(PELKORA_BUILD_DIR),
                              QStringLiteral("--prefix"), QStringLiteral("/usr")},
                             {QStringLiteral("DESTDIR=") + dir.path()});
        if (r.exitCode != 0) {
            error = QStringLiteral("cmake --install failed:\n") + r.output;
            return;
        }
        root = dir.path();
    }
};

const Installation& installation() {
    static const Installation instance;
    return instance;
}

} // namespace

Result run(const QString& program, const QStringList& arguments,
           const QStringList& extraEnvironment) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QStringList environment = QProcess::systemEnvironment();
    environment << extraEnvironment;
    process.setEnvironment(environment);
    process.start(program, arguments);
    Result result;
    result.started = process.waitForStarted(kDeadlineMs);
    if (!result.started)
        return result;
    if (!process.waitForFinished(kDeadlineMs)) {
        process.kill();
        process.waitForFinished(kDeadlineMs);
        result.output = QString::fromLocal8Bit(process.readAll());
        return result;
    }
    result.output = QString::fromLocal8Bit(process.readAll());
    if (process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    return result;
}

const QString& destDir() {
    return installation().root;
}

const QString& installError() {
    return installation().error;
}

QString prefixed(const QString& relative) {
    return destDir() + QStringLiteral("/usr/") + relative;
}

bool onPath(const QString& program) {
    return !QStandardPaths::findExecutable(program).isEmpty();
}

} // namespace install_test
