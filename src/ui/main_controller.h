#pragma once

#include "dialogs/common_dialogs.h"
#include "engine/batch_run.h"
#include "filelist/list_hooks.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class AddFileCommand;
class DOSOutputs;
class frmMain;

// The main window's behaviour: start-up, the batch run, and every command its buttons,
// menus, links and keys reach. The window itself only shows and reports clicks.
class MainController final : public QObject, private BatchSource {
    Q_OBJECT
public:
    // The command procedures. Tests may replace any of them before the controller is used.
    struct Commands {
        std::function<void()> addFile, addFolder, removeSelected, options, help, about, exit;
    };

    MainController(frmMain& window, QString programFolder, QObject* parent = nullptr);
    ~MainController() override;

    // The window's load step: defaults, settings files, labels.
    void Load();

    // A menu choice arrives as its command word; the words are tested in a fixed order and
    // the word is cleared afterwards, so the same entry chosen twice runs twice.
    void setTxtAction(const QString& word);
    [[nodiscard]] const QString& txtAction() const { return txtAction_; }

    void imgToolbar_Click(int index);
    void imgMenu_Click(int index);
    void Exit();
    void Browse();

    [[nodiscard]] Commands& commands() { return commands_; }
    [[nodiscard]] BatchRun& batch() { return *batch_; }
    [[nodiscard]] DOSOutputs& objDOS() { return *objDOS_; }
    [[nodiscard]] QString defaultOutputFolder() const;

signals:
    // Exit has saved the settings; the program ends.
    void exitRequested();

private:
    void txtAction_Change();
    void connectWindow();
    void ShowOptions();
    void Help();
    void About();

    // BatchSource
    [[nodiscard]] int count() const override;
    [[nodiscard]] QByteArray firstPath() const override;
    void removeFirst() override;
    [[nodiscard]] ConversionSettings settings() const override;
    [[nodiscard]] bool finishSoundOn() const override;
    void setRunning(bool running) override;
    void showProgress(float widthTwips, const QString& caption) override;
    void showDropZone() override;

    frmMain& window_;
    QString programFolder_;
    QString txtAction_;
    Commands commands_;
    CCommonDialogs dialogs_;
    FileListHooks hooks_;
    std::unique_ptr<AddFileCommand> addFile_;
    DOSOutputs* objDOS_;
    BatchRun* batch_;
};
