#include "ui/main_controller.h"

#include "dialogs/dialog_backend.h"
#include "engine/dos_outputs.h"
#include "filelist/add_file.h"
#include "filelist/add_folder.h"
#include "filelist/file_list.h"
#include "filelist/file_list_view.h"
#include "platform/message_box.h"
#include "platform/shell.h"
#include "settings/options_controller.h"
#include "settings/settings_io.h"
#include "ui/frm_main.h"
#include "ui/frm_menu.h"
#include "ui/frm_options.h"
#include "ui/product_info.h"
#include "ui/widgets.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QUrl>

namespace {

constexpr int kToolbarIndexes[] = {0, 1, 2, 3, 4, 6};

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

MainController::MainController(frmMain& window, QString programFolder, QObject* parent)
    : QObject(parent), window_(window), programFolder_(std::move(programFolder)),
      objDOS_(new DOSOutputs(this)) {
    batch_ = new BatchRun(*this, *objDOS_, programFolder_, this);
    dialogs_.Init(&window_);

    FileList* list = window_.fileList();
    hooks_.addFileEntry = [list](const QByteArray& path) { list->AddFileEntry(path); };
    hooks_.updateDropHint = [list] { list->UpdateDropHint(); };
    hooks_.showDropHint = [list](const QString& text) { list->ShowDropHint(text); };
    addFile_ = std::make_unique<AddFileCommand>(dialogs_, hooks_);

    commands_.addFile = [this] { addFile_->run(); };
    commands_.addFolder = [this] { AddFolder(&window_, hooks_); };
    commands_.removeSelected = [list] { list->RemoveSelected(); };
    commands_.options = [this] { ShowOptions(); };
    commands_.help = [this] { Help(); };
    commands_.about = [this] { About(); };
    commands_.exit = [this] { Exit(); };
    connectWindow();
}

MainController::~MainController() = default;

QString MainController::defaultOutputFolder() const {
    return programFolder_ + QStringLiteral("/output");
}

void MainController::Load() {
    window_.setProgressWidth(0);
    window_.cmbBR()->setCurrentIndex(7);
    window_.cmbR()->setCurrentIndex(1);
    window_.cmbChannel()->setCurrentIndex(1);
    window_.cmbOF()->setCurrentIndex(0);
    window_.txtPath()->setText(defaultOutputFolder());

    settings::ReadSetupFile(settings::SetupFilePath(programFolder_),
                            {window_.cmbBR(), window_.cmbR(), window_.cmbChannel(),
                             window_.txtPath(), window_.cmbOF()});
    if (window_.txtPath()->text().isEmpty())
        window_.txtPath()->setText(defaultOutputFolder());

    window_.lblVersion()->setText(settings::ProgramVersionText());
    window_.lblWeb()->setText(QStringLiteral("Pelkora"));
    settings::ReadOptionsFile(settings::OptionsFilePath(programFolder_));
}

void MainController::connectWindow() {
    for (int index : kToolbarIndexes)
        if (index != 1) // the Remove popup is the window's own
            connect(window_.imgToolbar(index), &ImageButton::clicked, this,
                    [this, index] { imgToolbar_Click(index); });
    for (int i = 0; i < 3; ++i)
        connect(window_.imgMenu(i), &ImageButton::clicked, this, [this, i] { imgMenu_Click(i); });

    connect(window_.imgStart(), &ImageButton::clicked, batch_, &BatchRun::Start);
    connect(window_.imgConvert(), &ImageButton::clicked, batch_, &BatchRun::Start);
    connect(window_.imgAdd(), &ImageButton::clicked, this, [this] { commands_.addFile(); });
    connect(window_.picDrag(), &DropZone::clicked, this,
            [this] { DropZoneClick(&window_, hooks_); });
    connect(window_.imgHelp(), &ImageButton::clicked, this, [this] { commands_.help(); });
    connect(window_.imgExit(), &ImageButton::clicked, this, [this] { commands_.exit(); });
    connect(window_.imgBrowse(), &ImageButton::clicked, this, &MainController::Browse);
    connect(window_.lblWeb(), &LinkLabel::clicked, this,
            [] { platform::shell().openUrl(QUrl(FromView(product::kHomePage))); });
    connect(window_.lblFeed(), &LinkLabel::clicked, this, [] {
        platform::shell().openUrl(QUrl(QString::fromStdString(product::FeedbackLink())));
    });
    window_.lblWeb()->setToolTip(FromView(product::kHomePage));

    connect(window_.menus(), &frmMenu::commandWord, this, &MainController::setTxtAction);
    connect(&window_, &frmMain::addFileRequested, this, [this] { commands_.addFile(); });
    connect(&window_, &frmMain::helpRequested, this, [this] { commands_.help(); });
    connect(&window_, &frmMain::exitRequested, this, [this] { commands_.exit(); });
}

void MainController::setTxtAction(const QString& word) {
    if (word == txtAction_)
        return; // no change, no change event
    txtAction_ = word;
    txtAction_Change();
}

void MainController::txtAction_Change() {
    // Each test reads the word again: a command may have changed it meanwhile.
    if (txtAction_ == QLatin1String("RemoveSelected"))
        commands_.removeSelected();
    if (txtAction_ == QLatin1String("A"))
        commands_.about();
    if (txtAction_ == QLatin1String("AddaFile"))
        commands_.addFile();
    if (txtAction_ == QLatin1String("menuAddaFolder"))
        imgToolbar_Click(6);
    if (txtAction_ == QLatin1String("menuExit"))
        commands_.exit();
    if (txtAction_ == QLatin1String("menuHelp"))
        commands_.help();
    if (txtAction_ == QLatin1String("menuOption"))
        imgToolbar_Click(2);
    setTxtAction(QString());
}

void MainController::imgToolbar_Click(int index) {
    switch (index) {
    case 0:
        commands_.addFile();
        break;
    case 6:
        commands_.addFolder();
        break;
    case 1:
        window_.menus()->menuRemove()->popup(QCursor::pos());
        break;
    case 2:
        commands_.options();
        break;
    case 3:
        commands_.help();
        break;
    case 4:
        commands_.exit();
        break;
    default:
        break;
    }
}

void MainController::imgMenu_Click(int index) {
    QMenu* menus[] = {window_.menus()->menuFile(), window_.menus()->menuOptions(),
                      window_.menus()->menuAbout()};
    if (index < 0 || index > 2)
        return;
    // Directly below the left edge of the title.
    const QWidget* title = window_.imgMenu(index);
    const QPoint below(title->x(), title->y() + title->height());
    menus[index]->popup(window_.mapToGlobal(below));
}

void MainController::ShowOptions() {
    frmOptions dialog(&window_);
    settings::OptionsController controller({dialog.cmbSR(), dialog.chkMC(), dialog.txtFromH(),
                                            dialog.txtFromM(), dialog.txtFromS(), dialog.txtToH(),
                                            dialog.txtToM(), dialog.txtToS()},
                                           settings::OptionsFilePath(programFolder_));
    controller.Load();
    connect(dialog.imgOK(), &ImageButton::clicked, &dialog, [&] {
        if (controller.imgOK_Click())
            dialog.accept();
    });
    connect(dialog.imgBack(), &ImageButton::clicked, &dialog, &QDialog::reject);
    connect(dialog.imgExit(), &ImageButton::clicked, &dialog, &QDialog::reject);
    dialog.exec();
}

void MainController::Help() {
    platform::shell().openUrl(
        QUrl::fromLocalFile(programFolder_ + QLatin1Char('/') + FromView(product::kTutorialPage)));
    window_.imgHelp()->clearPicture();
}

void MainController::About() {
    platform::messageBoxes().show(QString::fromStdString(product::AboutText()),
                                  platform::MsgIcon::None, platform::applicationTitle());
}

void MainController::Browse() {
    const auto chosen = dialogs::backend().chooseFolder(
        &window_, QString::fromLatin1(kSelectFolderPrompt), window_.txtPath()->text());
    window_.txtPath()->setText(chosen && !chosen->isEmpty() ? *chosen : defaultOutputFolder());
}

void MainController::Exit() {
    // Not being able to save the choices is no reason to keep the program open.
    (void)settings::WriteSetupFile(
        settings::SetupFilePath(programFolder_),
        {window_.cmbBR(), window_.cmbR(), window_.cmbChannel(), window_.txtPath(), window_.cmbOF()},
        QFile::encodeName(defaultOutputFolder()));
    emit exitRequested();
}

// --- the batch run's view of the window

int MainController::count() const {
    return window_.fileList()->count();
}

QByteArray MainController::firstPath() const {
    return window_.fileList()->path(0);
}

void MainController::removeFirst() {
    window_.fileList()->RemoveFirstEntry();
}

ConversionSettings MainController::settings() const {
    const auto& options = settings::Module1();
    ConversionSettings s;
    s.formatIndex = static_cast<std::int16_t>(window_.cmbOF()->currentIndex());
    s.bitrate = window_.cmbBR()->currentText().toStdString();
    s.sampleRate = window_.cmbR()->currentText().toStdString();
    s.channelIndex = static_cast<std::int16_t>(window_.cmbChannel()->currentIndex());
    s.outputFolder = settings::OutputFolder(window_.txtPath()).toStdString();
    s.cutEnabled = options.CutEnabled != 0;
    s.cutStart = options.CutStart;
    s.cutLength = options.CutLength;
    return s;
}

bool MainController::finishSoundOn() const {
    return settings::Module1().FinishSound == 0;
}

void MainController::setRunning(bool running) {
    const bool enabled = !running;
    if (running)
        window_.resetLooks(); // nothing that cannot be clicked may look lit
    for (int index : kToolbarIndexes)
        window_.imgToolbar(index)->setEnabled(enabled);
    for (int i = 0; i < 3; ++i)
        window_.imgMenu(i)->setEnabled(enabled);
    window_.imgConvert()->setEnabled(enabled);
    window_.lblFeed()->setEnabled(enabled);
    if (enabled) {
        window_.imgAdd()->setEnabled(true);
        window_.imgRemove()->setEnabled(true);
        window_.imgStart()->setEnabled(true);
        window_.imgBrowse()->setEnabled(true);
    } else {
        // The Start action behind the Convert face must not start a second run either.
        window_.imgStart()->setEnabled(false);
    }
}

void MainController::showProgress(float widthTwips, const QString& caption) {
    window_.setProgressWidth(widthTwips);
    window_.lblPB()->setText(caption);
}

void MainController::showDropZone() {
    window_.picDrag()->setVisible(true);
}
