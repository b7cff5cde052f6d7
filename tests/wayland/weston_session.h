#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// Why Wayland tests cannot run on this machine (weston or Qt's Wayland plugin missing), or
// empty when they can.
[[nodiscard]] QString MissingWaylandParts();

// A private weston: its own runtime folder and socket, ended with the session. The headless
// backend offers no seat, so nothing there can take a pointer; the X11 backend on a private
// Xvfb has one, driven by xdotool.
class WestonSession {
public:
    enum class Backend { Headless, X11 };

    explicit WestonSession(Backend backend);
    ~WestonSession();
    WestonSession(const WestonSession&) = delete;
    WestonSession& operator=(const WestonSession&) = delete;

    // False, with the reason in log(), when weston did not come up.
    [[nodiscard]] bool ok() const { return ok_; }
    [[nodiscard]] QString log() const;

    // For a program that is to show its windows on this weston: Wayland only, and a home,
    // settings and session bus of the test's own.
    [[nodiscard]] QProcessEnvironment clientEnvironment() const;
    // A folder inside the runtime folder for the test's files.
    [[nodiscard]] QString scratch() const { return runtime_.path(); }

    // The installed weston's major version, 0 when it does not say.
    static int majorVersion();
    // Runs xdotool on the X server (X11 backend only): weston passes its pointer on.
    bool xdotool(const QStringList& arguments);

private:
    bool startXvfb();

    QTemporaryDir runtime_;
    QString socket_;
    QString display_;
    std::unique_ptr<QProcess> xvfb_;
    std::unique_ptr<QProcess> weston_;
    QString problem_;
    bool ok_ = false;
};
