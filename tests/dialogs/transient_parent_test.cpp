// Every dialog and box the window opens with the desktop's own dialogs is transient for the
// window it belongs to, so that the desktop places it over that window, also where no window
// has the focus or another one has it.
#include "gui/desktop/desktop_services.h"
#include "gui/window/frm_main.h"
#include "gui/window/frm_options.h"
#include "gui/window/main_controller.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <vector>

namespace {

// A dialog as it was seen open: its kind and the window it is transient for.
struct Seen {
    QString kind;
    QWindow* transientParent = nullptr;
};

// Closes every dialog that opens, noting how it was opened, unless `leaveOpen` says otherwise.
class DialogWatch {
public:
    DialogWatch() {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
        timer_.start();
    }
    std::function<bool(QDialog*)> leaveOpen;
    std::vector<Seen> seen;

private:
    void look() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QDialog*>(w);
            if (dialog == nullptr || !dialog->isVisible() || dialog->windowHandle() == nullptr ||
                handled_.contains(dialog))
                continue;
            handled_.append(dialog);
            seen.push_back({kindOf(dialog), dialog->windowHandle()->transientParent()});
            if (!leaveOpen || !leaveOpen(dialog))
                dialog->reject();
        }
    }
    static QString kindOf(const QDialog* dialog) {
        if (qobject_cast<const QMessageBox*>(dialog) != nullptr)
            return QStringLiteral("box");
        if (qobject_cast<const QFileDialog*>(dialog) != nullptr)
            return QStringLiteral("files");
        if (qobject_cast<const frmOptions*>(dialog) != nullptr)
            return QStringLiteral("options");
        return QString::fromLatin1(dialog->metaObject()->className());
    }

    QTimer timer_;
    QList<QPointer<QDialog>> handled_;
};

} // namespace

TEST(TransientParents, EveryDialogTheWindowOpensBelongsToTheWindowItRisesOver) {
    QTemporaryDir program;
    ASSERT_TRUE(program.isValid());
    platform::DesktopServices desktop;
    MainController controller(program.path(), desktop.services());
    frmMain& window = controller.window();
    desktop.setMainWindow(&window);
    controller.Load();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // The focus is elsewhere (on Wayland it may be nowhere): dialogs may not go by it.
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    QWindow* main = window.windowHandle();

    struct Case {
        const char* what;
        std::function<void()> open;
        QString kind;
    };
    const std::vector<Case> cases = {
        {"About", [&] { controller.commands().about(); }, "box"},
        {"Add File", [&] { controller.commands().addFile(); }, "files"},
        {"Add Folder", [&] { controller.commands().addFolder(); }, "files"},
        {"output folder", [&] { controller.Browse(); }, "files"},
        {"Options", [&] { controller.commands().options(); }, "options"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DialogWatch watch;
        c.open();
        ASSERT_EQ(watch.seen.size(), 1u);
        EXPECT_EQ(watch.seen[0].kind, c.kind);
        EXPECT_EQ(watch.seen[0].transientParent, main);
    }

    // A box raised while Options is open stays over Options, which stays over the window.
    DialogWatch watch;
    QWindow* options = nullptr;
    watch.leaveOpen = [&](QDialog* dialog) {
        if (qobject_cast<frmOptions*>(dialog) == nullptr)
            return false;
        options = dialog->windowHandle();
        // From the event loop, as Options' own checks raise their boxes.
        QTimer::singleShot(0, dialog, [&desktop, dialog] {
            desktop.services().boxes.show(QStringLiteral("x"), platform::MsgIcon::Exclamation,
                                          QStringLiteral("t"));
            dialog->reject();
        });
        return true;
    };
    controller.commands().options();
    ASSERT_EQ(watch.seen.size(), 2u);
    EXPECT_EQ(watch.seen[0].transientParent, main);
    EXPECT_EQ(watch.seen[1].kind, "box");
    EXPECT_EQ(watch.seen[1].transientParent, options);
}
