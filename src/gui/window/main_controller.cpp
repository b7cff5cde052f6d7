#include "gui/window/main_controller.h"

#include "app/services/message_box.h"
#include "core/engine/time_left.h"
#include "core/naming/tag_reader.h"
#include "core/system/run_status_text.h"
#include "gui/dialogs/dialog_backend.h"
#include "gui/dialogs/options_controller.h"
#include "gui/files/add_file.h"
#include "gui/files/add_folder.h"
#include "gui/files/file_list_view.h"
#include "gui/services/shell.h"
#include "gui/services/sound.h"
#include "gui/window/accessibility.h"
#include "gui/window/frm_main.h"
#include "gui/window/frm_menu.h"
#include "gui/window/frm_options.h"
#include "gui/window/product_info.h"
#include "gui/window/run_display.h"
#include "gui/window/widgets.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QUrl>

#include <sys/stat.h>

namespace {

constexpr int kToolbarIndexes[] = {0, 1, 2, 3, 4, 6};
// Waiting files whose headers are read for their lengths as a run starts.
constexpr int kLengthsReadPerRun = 200;

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

MainController::MainController(QString programFolder, platform::Services services, QObject* parent)
    : QObject(parent), programFolder_(std::move(programFolder)), services_(services),
      place_(settings::FindSettingsPlace(programFolder_)),
      window_(std::make_unique<frmMain>(list_)), dialogs_(services.dialogs) {
    dialogs_.Init(window_.get());
    FileList* list = &list_;
    batch_ = new BatchRun(list_, choices_, programFolder_, this);
    // What failed stays in the list, marked, for the next Convert.
    batch_->setKeepFailed(true);
    window_->installEventFilter(this);
    statusTick_.setInterval(1000);
    connect(&statusTick_, &QTimer::timeout, this, &MainController::showRunningStatus);

    hooks_.addFileEntry = [list](const QByteArray& path, const QByteArray& root) {
        list->AddFileEntry(path, root);
    };
    hooks_.updateDropHint = [list] { list->UpdateDropHint(); };
    hooks_.showDropHint = [list](const QString& text) { list->ShowDropHint(text); };
    hooks_.reportLeftOut = [this](const QString& text) { ReportLeftOut(text); };
    // After the drop or hand-over that added the files has returned.
    connect(list, &FileList::searchLeftOut, this, &MainController::ReportLeftOut,
            Qt::QueuedConnection);
    addFile_ = std::make_unique<AddFileCommand>(dialogs_, hooks_);

    commands_.addFile = [this] { addFile_->run(); };
    commands_.addFolder = [this] { AddFolder(services_.dialogs, window_.get(), hooks_); };
    commands_.removeSelected = [list] { list->RemoveSelected(); };
    commands_.options = [this] { ShowOptions(); };
    commands_.help = [this] { Help(); };
    commands_.about = [this] { About(); };
    commands_.exit = [this] { Exit(); };
    connectWindow();
    bindChoices();
}

MainController::~MainController() = default;

void MainController::Load() {
    window_->setProgressWidth(0);
    choices_.set(settings::ReadChoices(place_, services_.boxes));
    showChoices();
    window_->lblVersion()->setText(settings::ProgramVersionText());
    window_->lblWeb()->setText(QStringLiteral("Pelkora"));
}

void MainController::bindChoices() {
    connect(&choices_, &Choices::changed, this, &MainController::showChoices);
    connect(window_->cmbOF(), &QComboBox::currentIndexChanged, &choices_, &Choices::setFormatIndex);
    connect(window_->cmbBR(), &QComboBox::currentIndexChanged, this, [this](int index) {
        // The list may hold only some of the bitrates: its items know their place in all.
        if (index >= 0)
            choices_.setBitrateIndex(window_->cmbBR()->itemData(index).toInt());
    });
    connect(window_->cmbR(), &QComboBox::currentIndexChanged, &choices_, &Choices::setRateIndex);
    connect(window_->cmbChannel(), &QComboBox::currentIndexChanged, &choices_,
            &Choices::setChannelIndex);
    connect(window_->txtPath(), &QLineEdit::textChanged, this, [this](const QString& text) {
        // A folder is bytes and need not be UTF-8: while the box shows the stored folder, the
        // stored bytes stand.
        if (text != QFile::decodeName(choices_.value().outputFolder))
            choices_.setOutputFolder(QFile::encodeName(text));
    });
}

void MainController::showChoices() {
    const ConversionChoices& c = choices_.value();
    window_->cmbOF()->setCurrentIndex(c.formatIndex);
    window_->showBitrates(c.formatIndex);
    window_->cmbBR()->setCurrentIndex(window_->cmbBR()->findData(c.bitrateIndex));
    window_->cmbR()->setCurrentIndex(c.rateIndex);
    window_->cmbChannel()->setCurrentIndex(c.channelIndex);
    const QString folder = QFile::decodeName(c.outputFolder);
    if (window_->txtPath()->text() != folder)
        window_->txtPath()->setText(folder);
}

void MainController::connectWindow() {
    for (int index : kToolbarIndexes)
        if (index != 1) // the Remove popup is the window's own
            connect(window_->imgToolbar(index), &ImageButton::clicked, this,
                    [this, index] { imgToolbar_Click(index); });
    for (int i = 0; i < 3; ++i)
        connect(window_->imgMenu(i), &ImageButton::clicked, this, [this, i] { imgMenu_Click(i); });

    connect(window_->imgStart(), &ImageButton::clicked, this, &MainController::Start);
    connect(window_->imgConvert(), &ImageButton::clicked, this, [this] {
        if (batch_->isActive())
            Stop();
        else
            Start();
    });
    connect(window_.get(), &frmMain::stopRequested, this, &MainController::Stop);
    connect(window_->imgAdd(), &ImageButton::clicked, this, [this] { commands_.addFile(); });
    connect(window_->picDrag(), &DropZone::clicked, this,
            [this] { DropZoneClick(services_.dialogs, window_.get(), hooks_); });
    connect(window_->imgHelp(), &ImageButton::clicked, this, [this] { commands_.help(); });
    connect(window_->imgExit(), &ImageButton::clicked, this, [this] { commands_.exit(); });
    connect(window_->imgBrowse(), &ImageButton::clicked, this, &MainController::Browse);
    connect(window_->lblWeb(), &LinkLabel::clicked, this,
            [this] { services_.shell.openUrl(QUrl(FromView(product::kHomePage))); });
    connect(window_->lblFeed(), &LinkLabel::clicked, this, [this] {
        services_.shell.openUrl(QUrl(QString::fromStdString(product::FeedbackLink())));
    });
    window_->lblWeb()->setToolTip(FromView(product::kHomePage));

    connect(window_->menus(), &frmMenu::commandWord, this, &MainController::setTxtAction);
    connect(window_.get(), &frmMain::addFileRequested, this, [this] { commands_.addFile(); });
    connect(window_.get(), &frmMain::helpRequested, this, [this] { commands_.help(); });
    connect(window_.get(), &frmMain::exitRequested, this, [this] { commands_.exit(); });

    connect(batch_, &BatchRun::fileProgress, this, [this](const QByteArray&, double fraction) {
        if (showsOneFile())
            showShare(fraction);
    });
    connect(batch_, &BatchRun::runProgress, this, [this](double fraction) {
        if (!showsOneFile())
            showShare(fraction);
    });
    connect(batch_, &BatchRun::runFinished, this, &MainController::runFinished);

    connect(batch_, &BatchRun::fileLength, this, [this](const QByteArray& path, double seconds) {
        if (timeLeft_)
            timeLeft_->setLength(path.toStdString(), seconds);
        showRunningStatus();
    });
    connect(batch_, &BatchRun::fileProgress, this, [this](const QByteArray& path, double fraction) {
        if (timeLeft_)
            timeLeft_->setProgress(path.toStdString(), fraction);
    });
    connect(batch_, &BatchRun::fileStarted, this, [this] { showRunningStatus(); });
    connect(batch_, &BatchRun::fileFinished, this,
            [this](const QByteArray& path, const QByteArray&, const FileOutcome& outcome) {
                ++filesEnded_;
                if (timeLeft_)
                    timeLeft_->finish(path.toStdString(),
                                      outcome.kind != FileOutcome::Kind::Failed);
                showRunningStatus();
            });
    connect(&list_, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { noteWaitingFiles(first, last); });
}

void MainController::startStatus() {
    runClock_.start();
    timeLeft_ = std::make_unique<TimeLeft>(0.0);
    filesEnded_ = 0;
    lengthsRead_ = 0;
    noteWaitingFiles(0, list_.count() - 1);
    window_->lblStatus()->clear();
    statusTick_.start();
}

void MainController::noteWaitingFiles(int first, int last) {
    if (!timeLeft_ || !batch_->isActive())
        return;
    // The headers of the first files tell their lengths; past those, reading every header of a
    // long list would hold up the window, and a file counts by its size until its converter
    // tells its length.
    for (int row = std::max(first, 0); row <= last && row < list_.count(); ++row) {
        const std::string path = list_.path(row).toStdString();
        const bool probe = lengthsRead_ < kLengthsReadPerRun;
        if (probe)
            ++lengthsRead_;
        struct stat info = {};
        const std::uint64_t bytes =
            ::stat(path.c_str(), &info) == 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
        timeLeft_->add(path, probe ? ReadPlayingSeconds(path) : std::nullopt, bytes);
    }
}

double MainController::runSeconds() const {
    return static_cast<double>(runClock_.elapsed()) / 1000.0;
}

void MainController::showRunningStatus() {
    if (!batch_->isActive() || !timeLeft_)
        return;
    const int files = batch_->filesInRun();
    const int file = std::min(filesEnded_ + 1, files);
    window_->lblStatus()->setText(QString::fromStdString(
        run_status::Running(file, files, timeLeft_->secondsLeft(runSeconds()))));
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
        accessibility::popUp(*window_->menus()->menuRemove(), *window_->imgToolbar(1));
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
    QMenu* menus[] = {window_->menus()->menuFile(), window_->menus()->menuOptions(),
                      window_->menus()->menuAbout()};
    if (index < 0 || index > 2)
        return;
    // Directly below the left edge of the title.
    const QWidget* title = window_->imgMenu(index);
    const QPoint below(title->x(), title->y() + title->height());
    accessibility::popUp(*menus[index], *title, window_->mapToGlobal(below));
}

void MainController::ShowOptions() {
    frmOptions dialog(window_.get());
    settings::OptionsController controller(
        {dialog.cmbSR(), dialog.chkMC(), dialog.txtFromH(), dialog.txtFromM(), dialog.txtFromS(),
         dialog.txtToH(), dialog.txtToM(), dialog.txtToS(), dialog.cmbJobs(), dialog.chkKeep(),
         dialog.cmbNames(), dialog.lblNameExample(), dialog.chkSync(), dialog.chkReplayGain(),
         dialog.chkOpenFolder()},
        choices_, place_, services_.boxes);
    if (list_.count() > 0)
        controller.setExampleInput(list_.path(0), list_.root(0));
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
    services_.shell.openUrl(
        QUrl::fromLocalFile(programFolder_ + QLatin1Char('/') + FromView(product::kTutorialPage)));
    window_->imgHelp()->clearPicture();
}

void MainController::About() {
    services_.boxes.show(product::ShownAboutText(), platform::MsgIcon::None,
                         platform::applicationTitle());
}

void MainController::ReportLeftOut(const QString& text) {
    services_.boxes.show(text, platform::MsgIcon::Exclamation, platform::applicationTitle());
}

void MainController::Browse() {
    const auto chosen = services_.dialogs.chooseFolder(
        window_.get(), QCoreApplication::translate("AddFolder", kSelectFolderPrompt),
        window_->txtPath()->text());
    // Cancel keeps the folder chosen before.
    if (chosen && !chosen->isEmpty())
        choices_.setOutputFolder(QFile::encodeName(*chosen));
}

bool MainController::eventFilter(QObject* watched, QEvent* event) {
    // Closing the window from outside during a run goes through Exit's question.
    if (watched == window_.get() && event->type() == QEvent::Close && batch_->isActive()) {
        event->ignore();
        QTimer::singleShot(0, this, [this] { commands_.exit(); });
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void MainController::Exit() {
    if (batch_->isActive()) {
        if (!services_.boxes.ask(tr("Stop converting and exit?"), platform::applicationTitle()))
            return;
        // The run may have ended while the question was open.
        Stop();
    }
    // Whatever is left stops here: every converter removes its temporary file.
    batch_->stop();
    // Not being able to save the choices is no reason to keep the program open.
    (void)settings::WriteSetup(place_, choices_.value(), services_.boxes);
    emit exitRequested();
}

void MainController::Start() {
    if (runActive_)
        return;
    if (!batch_->Start()) {
        services_.boxes.show(tr("Please add a file"), platform::MsgIcon::Exclamation, tr("Add"));
        return;
    }
    runActive_ = true;
    setRunning(true);
    startStatus();
}

void MainController::Stop() {
    if (!batch_->isActive())
        return;
    const int files = batch_->filesInRun();
    batch_->stop();
    statusTick_.stop();
    timeLeft_.reset();
    const int converted = batch_->report().converted;
    // No folder, no sound and no box: the user chose to end here.
    window_->picDrag()->setVisible(true);
    setRunning(false);
    showProgressText(0.0, QStringLiteral("0%"));
    window_->lblStatus()->setText(QString::fromStdString(run_status::Stopped(converted, files)));
    runActive_ = false;
    emit runEnded();
}

void MainController::runFinished(const RunReport& report) {
    statusTick_.stop();
    timeLeft_.reset();
    window_->setStopFace(false);
    if (report.aborted()) {
        window_->lblStatus()->clear();
        // The converter could not be started, or the sync record not used. The list stays.
        services_.boxes.show(report.abortText(), platform::MsgIcon::Critical,
                             platform::applicationTitle());
        setRunning(false);
        showProgressText(0.0, QStringLiteral("0%"));
        runActive_ = false;
        emit runEnded();
        return;
    }
    window_->lblStatus()->setText(QString::fromStdString(
        run_status::Finished(report.converted, static_cast<int>(report.failures.size()),
                             static_cast<int>(report.warnings.size()), runSeconds())));
    if (choices_.value().openFolderWhenDone)
        services_.shell.openUrl(QUrl::fromLocalFile(QFile::decodeName(report.outputFolder)));
    if (choices_.value().playsFinishSound()) {
        services_.sound.playToEnd(programFolder_ + QStringLiteral("/sound.wav"),
                                  [this, report] { restoreWindow(report); });
        return;
    }
    restoreWindow(report);
}

void MainController::restoreWindow(const RunReport& report) {
    window_->picDrag()->setVisible(true);
    setRunning(false);
    showProgressText(0.0, tr("Done."));
    runActive_ = false;
    const QString text = run_display::ReportText(report);
    // Files left up to date are news, not a warning.
    const bool troubled =
        !report.failures.empty() || !report.warnings.empty() || !report.renamings.empty();
    if (!text.isEmpty())
        services_.boxes.show(
            text, troubled ? platform::MsgIcon::Exclamation : platform::MsgIcon::Information,
            platform::applicationTitle());
    emit runEnded();
}

void MainController::setRunning(bool running) {
    const bool enabled = !running;
    if (running)
        window_->resetLooks(); // nothing that cannot be clicked may look lit
    for (int index : kToolbarIndexes)
        window_->imgToolbar(index)->setEnabled(enabled);
    for (int i = 0; i < 3; ++i)
        window_->imgMenu(i)->setEnabled(enabled);
    // Convert is Stop while the run goes on.
    window_->setStopFace(running);
    window_->lblFeed()->setEnabled(enabled);
    if (enabled) {
        window_->imgAdd()->setEnabled(true);
        window_->imgRemove()->setEnabled(true);
        window_->imgStart()->setEnabled(true);
        window_->imgBrowse()->setEnabled(true);
    } else {
        // The Start action behind the Convert face must not start a second run either.
        window_->imgStart()->setEnabled(false);
    }
}

bool MainController::showsOneFile() const {
    return choices_.value().jobs <= 1 && batch_->runningCount() <= 1;
}

void MainController::showShare(double fraction) {
    showProgressText(fraction, run_display::Caption(fraction));
}

void MainController::showProgressText(double fraction, const QString& caption) {
    window_->setProgressWidth(run_display::BarWidthTwips(fraction));
    window_->lblPB()->setText(caption);
}
