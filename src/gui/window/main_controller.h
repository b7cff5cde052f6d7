#pragma once

#include "app/files/file_list.h"
#include "app/run/batch_run.h"
#include "app/settings/choices.h"
#include "app/settings/settings_store.h"
#include "gui/dialogs/common_dialogs.h"
#include "gui/files/list_hooks.h"
#include "gui/services/services.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class AddFileCommand;
class TimeLeft;
class frmMain;

// The main window's behaviour: start-up, the batch run, and every command its buttons,
// menus, links and keys reach. It owns the file list, the window that shows it and the run.
// The choices live in a Choices object the window's controls are bound to; the run is the
// core's BatchRun, whose progress and end this face shows.
class MainController final : public QObject {
    Q_OBJECT
public:
    // The command procedures. Tests may replace any of them before the controller is used.
    struct Commands {
        std::function<void()> addFile, addFolder, removeSelected, options, help, about, exit;
    };

    MainController(QString programFolder, platform::Services services, QObject* parent = nullptr);
    ~MainController() override;

    // The window's load step: defaults, settings files, labels.
    void Load();

    // A menu choice arrives as its command word; the words are tested in a fixed order and
    // the word is cleared afterwards, so the same entry chosen twice runs twice.
    void setTxtAction(const QString& word);
    [[nodiscard]] const QString& txtAction() const { return txtAction_; }

    void imgToolbar_Click(int index);
    void imgMenu_Click(int index);
    // The Start action behind Convert.
    void Start();
    // Stop, behind the Convert button and Esc during a run: the running converters end and
    // remove their temporary files; finished outputs and the entries not converted stay.
    void Stop();
    // During a run, asks first; No leaves the run going and the program open.
    void Exit();
    void Browse();

    [[nodiscard]] frmMain& window() { return *window_; }
    [[nodiscard]] FileList& fileList() { return list_; }
    [[nodiscard]] Commands& commands() { return commands_; }
    [[nodiscard]] BatchRun& batch() { return *batch_; }
    [[nodiscard]] Choices& choices() { return choices_; }
    [[nodiscard]] const settings::SettingsPlace& place() const { return place_; }
    // From Start until the window is restored after the run (the sound included).
    [[nodiscard]] bool runActive() const { return runActive_; }

signals:
    // The run is over and the window restored (after the sound and before the report box).
    void runEnded();
    // Exit has saved the settings; the program ends.
    void exitRequested();

private:
    void txtAction_Change();
    void connectWindow();
    void bindChoices();
    void showChoices();
    void ShowOptions();
    void Help();
    void About();
    // What a folder search left out, said in a box.
    void ReportLeftOut(const QString& text);

    void setRunning(bool running);
    // One file at a time shows that file's share, several the run's.
    [[nodiscard]] bool showsOneFile() const;
    void showShare(double fraction);
    void showProgressText(double fraction, const QString& caption);
    void runFinished(const RunReport& report);
    void restoreWindow(const RunReport& report);
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The status line: the file in progress and the time left, then how the run ended.
    void startStatus();
    void noteWaitingFiles(int first, int last);
    void showRunningStatus();
    [[nodiscard]] double runSeconds() const;

    QString programFolder_;
    platform::Services services_;
    settings::SettingsPlace place_;
    Choices choices_;
    FileList list_;
    std::unique_ptr<frmMain> window_;
    QString txtAction_;
    Commands commands_;
    CCommonDialogs dialogs_;
    FileListHooks hooks_;
    std::unique_ptr<AddFileCommand> addFile_;
    BatchRun* batch_;
    bool runActive_ = false;
    std::unique_ptr<TimeLeft> timeLeft_;
    QElapsedTimer runClock_;
    QTimer statusTick_;
    int filesEnded_ = 0;
    int lengthsRead_ = 0;
};
