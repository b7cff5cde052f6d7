#include "wayland/weston_session.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kStartDeadlineMs = 60'000;
constexpr int kStopDeadlineMs = 10'000;

void Stop(QProcess* process) {
    if (process == nullptr || process->state() == QProcess::NotRunning)
        return;
    process->terminate();
    if (!process->waitForFinished(kStopDeadlineMs)) {
        process->kill();
        process->waitForFinished(kStopDeadlineMs);
    }
}

// Weston 10 takes --use-pixman, later ones --renderer=pixman; its help tells which.
QString PixmanOption() {
    QProcess help;
    help.start(QStringLiteral("weston"), {QStringLiteral("--help")});
    help.waitForFinished(kStopDeadlineMs);
    const QByteArray text = help.readAllStandardOutput() + help.readAllStandardError();
    return text.contains("--renderer") ? QStringLiteral("--renderer=pixman")
                                       : QStringLiteral("--use-pixman");
}

} // namespace

int WestonSession::majorVersion() {
    QProcess version;
    version.start(QStringLiteral("weston"), {QStringLiteral("--version")});
    version.waitForFinished(kStopDeadlineMs);
    // "weston 10.0.1"
    const QList<QByteArray> words = version.readAllStandardOutput().trimmed().split(' ');
    return words.size() == 2 ? words[1].split('.').value(0).toInt() : 0;
}

QString MissingWaylandParts() {
    QStringList missing;
    if (QStandardPaths::findExecutable(QStringLiteral("weston")).isEmpty())
        missing << QStringLiteral("weston is not installed");
    const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                         QStringLiteral("/platforms"));
    if (platforms.entryList({QStringLiteral("libqwayland*")}, QDir::Files).isEmpty())
        missing << QStringLiteral("Qt's Wayland platform plugin (qt6-wayland) is not installed");
    return missing.join(QStringLiteral("; "));
}

WestonSession::WestonSession(Backend backend)
    : socket_(QStringLiteral("pelkora-test-%1").arg(::getpid())) {
    // libwayland and Qt insist on a runtime folder only its owner can enter.
    if (!runtime_.isValid() ||
        ::chmod(QFile::encodeName(runtime_.path()).constData(), S_IRWXU) != 0) {
        problem_ = QStringLiteral("no private runtime folder");
        return;
    }
    QStringList arguments = {QStringLiteral("--socket=") + socket_,
                             QStringLiteral("--no-config"),
                             QStringLiteral("--idle-time=0"),
                             QStringLiteral("--width=1024"),
                             QStringLiteral("--height=768"),
                             QStringLiteral("--log=") + runtime_.filePath("weston.log")};
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("DISPLAY"));
    if (backend == Backend::Headless) {
        arguments << QStringLiteral("--backend=headless-backend.so");
    } else {
        if (!startXvfb())
            return;
        environment.insert(QStringLiteral("DISPLAY"), display_);
        arguments << QStringLiteral("--backend=x11-backend.so") << PixmanOption();
    }
    weston_ = std::make_unique<QProcess>();
    weston_->setProcessEnvironment(environment);
    weston_->setProcessChannelMode(QProcess::MergedChannels);
    weston_->start(QStringLiteral("weston"), arguments);
    const QString socket = runtime_.filePath(socket_);
    ok_ = QTest::qWaitFor(
        [&] { return QFileInfo::exists(socket) || weston_->state() == QProcess::NotRunning; },
        kStartDeadlineMs);
    ok_ = ok_ && weston_->state() == QProcess::Running && QFileInfo::exists(socket);
    if (!ok_)
        problem_ = QStringLiteral("weston did not open its socket");
}

WestonSession::~WestonSession() {
    Stop(weston_.get());
    Stop(xvfb_.get());
}

bool WestonSession::startXvfb() {
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) {
        problem_ = QStringLiteral("Xvfb is not installed");
        return false;
    }
    // Xvfb picks a free display and writes its number once it takes clients.
    const QString numberFile = runtime_.filePath(QStringLiteral("xvfb-display"));
    xvfb_ = std::make_unique<QProcess>();
    xvfb_->setProcessChannelMode(QProcess::MergedChannels);
    xvfb_->start(QStringLiteral("/bin/sh"),
                 {QStringLiteral("-c"),
                  QStringLiteral("exec Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 "
                                 "3>\"$0\""),
                  numberFile});
    QByteArray number;
    const bool up = QTest::qWaitFor(
        [&] {
            QFile file(numberFile);
            if (file.open(QIODevice::ReadOnly))
                number = file.readAll();
            return number.endsWith('\n') || xvfb_->state() == QProcess::NotRunning;
        },
        kStartDeadlineMs);
    if (!up || !number.endsWith('\n')) {
        problem_ =
            QStringLiteral("Xvfb did not start: ") + QString::fromLocal8Bit(xvfb_->readAll());
        return false;
    }
    display_ = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
    return true;
}

QString WestonSession::log() const {
    QFile file(runtime_.filePath(QStringLiteral("weston.log")));
    QString text = problem_;
    if (file.open(QIODevice::ReadOnly))
        text += QStringLiteral("\nweston's log:\n") + QString::fromLocal8Bit(file.readAll());
    if (weston_ != nullptr)
        text += QString::fromLocal8Bit(weston_->readAll());
    return text;
}

QProcessEnvironment WestonSession::clientEnvironment() const {
    const QString home = runtime_.filePath(QStringLiteral("home"));
    QDir().mkpath(home);
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
    e.insert(QStringLiteral("WAYLAND_DISPLAY"), socket_);
    e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    e.remove(QStringLiteral("DISPLAY"));
    e.insert(QStringLiteral("HOME"), home);
    e.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    e.insert(QStringLiteral("TMPDIR"), home);
    e.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
             QStringLiteral("unix:path=") + home + QStringLiteral("/no-bus"));
    return e;
}

bool WestonSession::xdotool(const QStringList& arguments) {
    QProcess tool;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(QStringLiteral("DISPLAY"), display_);
    tool.setProcessEnvironment(e);
    tool.start(QStringLiteral("xdotool"), arguments);
    return tool.waitForFinished(kStopDeadlineMs) && tool.exitStatus() == QProcess::NormalExit &&
           tool.exitCode() == 0;
}
