#pragma once

#include "gui/window/skin.h"
#include "gui/window/skinned_window.h"

#include <QWidget>

#include <array>

class FileList;
class FileListView;
class DropZone;
class FitLabel;
class ImageButton;
class LinkLabel;
class ProgressFill;
class QComboBox;
class QLabel;
class QLineEdit;
class frmMenu;

// The main window. It shows the file list it is given; the commands behind most buttons are
// connected from outside through the buttons' clicked() signals and the request signals below.
class frmMain final : public SkinnedWindow<QWidget> {
    Q_OBJECT
public:
    explicit frmMain(FileList& list, QWidget* parent = nullptr);
    ~frmMain() override;

    // Image buttons. imgToolbar takes the toolbar's own numbering (0, 6, 1, 2, 3, 4 from left
    // to right) and gives nullptr for any other index.
    [[nodiscard]] ImageButton* imgToolbar(int index) const;
    [[nodiscard]] ImageButton* imgMenu(int index) const;
    [[nodiscard]] ImageButton* imgConvert() const { return imgConvert_; }
    [[nodiscard]] ImageButton* imgHelp() const { return imgHelp_; }
    [[nodiscard]] ImageButton* imgMin() const { return imgMin_; }
    [[nodiscard]] ImageButton* imgExit() const { return imgExit_; }
    [[nodiscard]] ImageButton* imgBrowse() const { return imgBrowse_; }
    [[nodiscard]] ImageButton* picButtonOF() const { return picButtonOF_; }
    [[nodiscard]] ImageButton* picButtonBR() const { return picButtonBR_; }
    [[nodiscard]] ImageButton* picButtonR() const { return picButtonR_; }
    [[nodiscard]] ImageButton* picButtonChannel() const { return picButtonChannel_; }
    // Reached only through code: their clicks are the Add-file, Remove-selected and Start
    // commands.
    [[nodiscard]] ImageButton* imgAdd() const { return imgAdd_; }
    [[nodiscard]] ImageButton* imgRemove() const { return imgRemove_; }
    [[nodiscard]] ImageButton* imgStart() const { return imgStart_; }

    [[nodiscard]] QComboBox* cmbOF() const { return cmbOF_; }
    // Each item carries its position in choices::kBitrates as its data.
    [[nodiscard]] QComboBox* cmbBR() const { return cmbBR_; }
    [[nodiscard]] QComboBox* cmbR() const { return cmbR_; }
    [[nodiscard]] QComboBox* cmbChannel() const { return cmbChannel_; }
    [[nodiscard]] QLineEdit* txtPath() const { return txtPath_; }

    [[nodiscard]] ProgressFill* imgPB() const { return imgPB_; }
    // Width of the progress fill in twips; shown at twips / 15 pixels, within the track.
    void setProgressWidth(float twips);
    [[nodiscard]] FitLabel* lblPB() const { return lblPB_; }
    // The run's line beside the bar.
    [[nodiscard]] QLabel* lblStatus() const { return lblStatus_; }
    // The Convert button says Stop during a run.
    void setStopFace(bool stop);
    [[nodiscard]] bool showsStop() const { return stopFace_; }
    [[nodiscard]] FitLabel* lblVersion() const { return lblVersion_; }
    [[nodiscard]] LinkLabel* lblWeb() const { return lblWeb_; }
    [[nodiscard]] LinkLabel* lblFeed() const { return lblFeed_; }

    [[nodiscard]] DropZone* picDrag() const { return picDrag_; }
    [[nodiscard]] QWidget* picText() const { return picText_; }
    [[nodiscard]] FitLabel* lblText() const { return lblText_; }
    [[nodiscard]] FileListView* LV() const { return LV_; }
    [[nodiscard]] FileList* fileList() const { return list_; }

    [[nodiscard]] frmMenu* menus() const { return menus_; }
    [[nodiscard]] const skin::MainPictures& pictures() const { return pictures_; }

    void resetLooks() override;
    // Fills the bitrate list with the format's bitrates, when it holds others, with no
    // selection and no signal; the caller selects.
    void showBitrates(int formatIndex);

signals:
    void addFileRequested();
    void helpRequested();
    void exitRequested();
    // Esc: the run, if one is going, is to stop.
    void stopRequested();

private:
    void buildArt();
    void buildControls();
    void connectLooks();
    void buildShortcuts();
    void showHint();
    void setFeedEmphasis(bool on);
    // The Convert button's face at rest: painted on the background, or Stop.
    void restConvertFace();

    FileList* list_;
    skin::MainPictures pictures_;

    std::array<ImageButton*, 7> imgToolbar_{};
    std::array<ImageButton*, 3> imgMenu_{};
    ImageButton* imgConvert_ = nullptr;
    ImageButton* imgHelp_ = nullptr;
    ImageButton* imgMin_ = nullptr;
    ImageButton* imgExit_ = nullptr;
    ImageButton* imgBrowse_ = nullptr;
    ImageButton* picButtonOF_ = nullptr;
    ImageButton* picButtonBR_ = nullptr;
    ImageButton* picButtonR_ = nullptr;
    ImageButton* picButtonChannel_ = nullptr;
    ImageButton* imgAdd_ = nullptr;
    ImageButton* imgRemove_ = nullptr;
    ImageButton* imgStart_ = nullptr;
    QComboBox* cmbOF_ = nullptr;
    QComboBox* cmbBR_ = nullptr;
    QComboBox* cmbR_ = nullptr;
    QComboBox* cmbChannel_ = nullptr;
    QLineEdit* txtPath_ = nullptr;
    ProgressFill* imgPB_ = nullptr;
    FitLabel* lblPB_ = nullptr;
    QLabel* lblStatus_ = nullptr;
    bool stopFace_ = false;
    FitLabel* lblVersion_ = nullptr;
    LinkLabel* lblWeb_ = nullptr;
    LinkLabel* lblFeed_ = nullptr;
    DropZone* picDrag_ = nullptr;
    QWidget* picText_ = nullptr;
    FitLabel* lblText_ = nullptr;
    FileListView* LV_ = nullptr;
    frmMenu* menus_ = nullptr;
    bool feedEmphasis_ = false;
};
