#include "gui/files/add_folder.h"

#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QWidget>

#include "core/files/folder_search.h"
#include "gui/dialogs/dialog_backend.h"

namespace {

// Processes pending events at most every kAddFolderEventInterval ms; says false once the
// owner window is gone.
class EventPump {
public:
    explicit EventPump(QWidget* owner) : owner_(owner), hadOwner_(owner != nullptr) {
        sinceLast_.start();
    }

    bool operator()() {
        if (sinceLast_.elapsed() < kAddFolderEventInterval)
            return true;
        return pumpNow();
    }

    bool pumpNow() {
        QCoreApplication::processEvents();
        sinceLast_.restart();
        return ownerAlive();
    }

    [[nodiscard]] bool ownerAlive() const { return !hadOwner_ || !owner_.isNull(); }

private:
    QPointer<QWidget> owner_;
    bool hadOwner_;
    QElapsedTimer sinceLast_;
};

void ShowHint(const FileListHooks& list, const char* text) {
    if (list.showDropHint)
        list.showDropHint(QCoreApplication::translate("FileList", text));
}

} // namespace

void AddFolder(dialogs::Backend& dialogs, QWidget* owner, const FileListHooks& list) {
    const QPointer<QWidget> guard(owner);
    const auto folder = dialogs.chooseFolder(
        owner, QCoreApplication::translate("AddFolder", kSelectFolderPrompt), QString());
    if (owner && guard.isNull())
        return;
    ShowHint(list, kSearchingFilesText);

    SearchOutcome outcome;
    if (folder && !folder->isEmpty()) {
        EventPump pump(owner);
        if (!pump.pumpNow())
            return; // let the hint show before the first listing
        // Kept apart until the search is over, so the list grows in one go.
        std::vector<QByteArray> found;
        const QByteArray native = QFile::encodeName(*folder);
        outcome = SearchFolder(
            std::filesystem::path(std::string(native.constData(), std::size_t(native.size()))),
            [&found](const std::string& path) {
                found.emplace_back(path.data(), qsizetype(path.size()));
            },
            [&pump] { return pump(); });
        if (!outcome.finished)
            return;
        for (const QByteArray& path : found) {
            if (list.addFileEntry)
                list.addFileEntry(path, native);
            if (!pump())
                return;
        }
    }

    ShowHint(list, kDropHintIdleText);
    if (list.updateDropHint)
        list.updateDropHint();
    const std::string leftOut = LeftOutText(outcome);
    if (!leftOut.empty() && list.reportLeftOut)
        list.reportLeftOut(QString::fromStdString(leftOut));
}
