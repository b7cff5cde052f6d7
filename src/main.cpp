#include "app/files/file_list.h"
#include "app/headless/headless_run.h"
#include "app/headless/stop_signals.h"
#include "app/settings/settings_store.h"
#include "app/system/single_instance.h"
#include "app/system/translations.h"
#include "core/batch/batch_arguments.h"
#include "core/batch/batch_texts.h"
#include "core/system/display_check.h"
#include "core/system/runtime_dir.h"
#include "core/system/window_arguments.h"
#include "core/text/translate.h"
#include "gui/desktop/bring_to_front.h"
#include "gui/desktop/desktop_progress.h"
#include "gui/desktop/desktop_services.h"
#include "gui/desktop/instance_channel.h"
#include "gui/window/frm_main.h"
#include "gui/window/main_controller.h"

#include <QApplication>
#include <QDBusConnection>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kHandOverDeadlineMs = 10'000;
constexpr int kExitUsage = 2;
constexpr int kExitNotTaken = 1;

void PrintError(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
}

// Empty when it cannot be read (removed, or no longer reachable).
std::string CurrentFolder() {
    std::string folder(4096, '\0');
    while (::getcwd(folder.data(), folder.size()) == nullptr) {
        if (errno != ERANGE)
            return {};
        folder.resize(folder.size() * 2);
    }
    folder.resize(std::char_traits<char>::length(folder.c_str()));
    return folder;
}

// The files and folders of the command line that exist; each missing one is named on
// standard error. Nullopt after a usage error, which has been printed.
std::optional<std::vector<QByteArray>> CommandLinePaths(int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    const auto parsed = platform::ParseWindowArguments(arguments, CurrentFolder());
    if (const auto* error = std::get_if<platform::WindowUsageError>(&parsed)) {
        PrintError(error->message);
        return std::nullopt;
    }
    std::vector<QByteArray> paths;
    for (const std::string& path : std::get<std::vector<std::string>>(parsed)) {
        struct stat st = {};
        if (::stat(path.c_str(), &st) == 0)
            paths.push_back(QByteArray::fromStdString(path));
        else
            PrintError("pelkora: " +
                       translation::Fill(PK_TR("HeadlessRun", "%1: no such file or folder"),
                                         {headless::SafeText(path)}));
    }
    return paths;
}

} // namespace

int main(int argc, char** argv) {
    // The batch mode needs no display: it must not even try to open one.
    if (headless::IsBatchInvocation(argc, argv)) {
        // A stop signal ends it even while its start blocks.
        CatchStopSignals();
        return RunHeadless(argc, argv);
    }

    // Qt would abort without a display; say what to do instead.
    if (const std::string text = platform::NoDisplayText(
            [](const char* name) { return static_cast<const char*>(std::getenv(name)); },
            std::vector<std::string>(argv + 1, argv + argc));
        !text.empty()) {
        PrintError(text);
        return kExitUsage;
    }
    platform::ProvideRuntimeDir();
    QApplication app(argc, argv); // takes Qt's own options out of argv
    InstallTranslations(app, QCoreApplication::applicationDirPath());
    const auto paths = CommandLinePaths(argc, argv);
    if (!paths)
        return kExitUsage;

    const QString programFolder = QCoreApplication::applicationDirPath();
    const settings::SettingsPlace place = settings::FindSettingsPlace(programFolder);
    auto lock = std::make_unique<platform::SingleInstanceLock>(place.folder);
    // A second copy ends before it shows anything or touches a settings file; its files go
    // to the copy that runs.
    if (lock->anotherCopyRuns()) {
        if (paths->empty())
            return 0;
        switch (platform::HandToRunningCopy(place.folder, lock, *paths, kHandOverDeadlineMs)) {
        case platform::HandOver::Delivered:
            return 0;
        case platform::HandOver::NotTaken:
            PrintError("pelkora: " +
                       QCoreApplication::translate(
                           "main", "another copy is running but did not take the files")
                           .toStdString());
            return kExitNotTaken;
        case platform::HandOver::LockFreed:
            break;
        }
    }

    platform::DesktopServices desktop;
    MainController controller(programFolder, desktop.services());
    QObject::connect(&controller, &MainController::exitRequested, &app, &QApplication::quit);
    frmMain& window = controller.window();
    desktop.setMainWindow(&window);
    FileList& list = controller.fileList();

    platform::InstanceServer server;
    (void)server.listen(platform::InstanceSocketPath(place.folder));
    QObject::connect(&server, &platform::InstanceServer::pathsReceived, &window,
                     [&](const std::vector<QByteArray>& received) {
                         list.AddPaths(received);
                         platform::BringToFront(window);
                     });
    const platform::DesktopProgress desktopProgress(controller.batch(), list, window,
                                                    QDBusConnection::sessionBus());

    controller.Load();
    window.show();
    if (!paths->empty())
        list.AddPaths(*paths);
    return app.exec();
}
