// Where settings, lock and output go when the program folder cannot be written: the user's
// own folders. (The whole-road tests run from a writable one, where all stays beside it.)
#include "app/settings/settings_store.h"

#include "common/platform_fakes.h"
#include "common/qt_files.h"
#include "dialogs/fake_dialogs.h"
#include "gui/window/frm_main.h"
#include "gui/window/main_controller.h"
#include "platform/program_copy.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace settings;

namespace {

constexpr int kDeadlineMs = 60'000;

// A home of the test's own, set for this process; a program folder, read-only or not.
class SettingsPlaceTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid() && program.isValid());
        for (const char* name : {"HOME", "XDG_CONFIG_HOME"})
            saved.emplace_back(name, qgetenv(name));
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config()));
    }
    void TearDown() override {
        ::chmod(QFile::encodeName(program.path()).constData(), 0700);
        for (const auto& [name, value] : saved)
            qputenv(name, value);
    }
    QString config() const { return home.filePath(QStringLiteral(".config")); }
    QString own() const { return config() + QStringLiteral("/pelkora"); }

    // The window's Exit with FLAC chosen: it writes setup.ini wherever the settings live.
    void exitWithFlac() {
        FakeMessageBoxes boxes;
        FakeShell shell;
        FakeSound sound;
        FakeDialogs dialogs;
        MainController controller(program.path(), {boxes, shell, sound, dialogs});
        controller.Load();
        controller.choices().setFormatIndex(4);
        controller.Exit();
        EXPECT_TRUE(boxes.shown.empty());
    }

    QTemporaryDir home, program;
    std::vector<std::pair<const char*, QByteArray>> saved;
};

} // namespace

TEST_F(SettingsPlaceTest, ReadOnlyProgramFolderKeepsEverythingInTheUsersFolders) {
    ASSERT_EQ(::chmod(QFile::encodeName(program.path()).constData(), 0555), 0);
    EXPECT_FALSE(IsPortableFolder(program.path())); // by its mode, even for root
    const SettingsPlace place = FindSettingsPlace(program.path());
    EXPECT_FALSE(place.portable);
    EXPECT_EQ(place.folder, own());
    EXPECT_EQ(QFile::permissions(own()) & 0x0777, 0x0700) << "for its owner only";
    const QByteArray music = QFile::encodeName(home.path()) + "/Music/Pelkora";
    EXPECT_EQ(place.defaultOutput, music);

    exitWithFlac();
    EXPECT_EQ(readFile(own() + "/setup.ini"),
              "\"7\"\r\n\"1\"\r\n\"1\"\r\n\"" + music + "\"\r\n\"4\"\r\n");
    EXPECT_EQ(contents(program.path()), QStringList());
    FakeMessageBoxes boxes;
    EXPECT_EQ(ReadChoices(FindSettingsPlace(program.path()), boxes).formatIndex, 4); // next start
    EXPECT_TRUE(boxes.shown.empty());

    // The music folder the user named takes the output.
    writeFile(config() + QStringLiteral("/user-dirs.dirs"),
              "# written by xdg-user-dirs-update\nXDG_MUSIC_DIR=\"$HOME/Tunes\"\n");
    EXPECT_EQ(FindSettingsPlace(program.path()).defaultOutput,
              QFile::encodeName(home.path()) + "/Tunes/Pelkora");
}

// A copy of the user's own keeps everything beside it; an installed program does not, even
// for root, who may write anywhere.
TEST_F(SettingsPlaceTest, OnlyTheUsersOwnWritableFolderOutsideTheSystemIsPortable) {
    const QString folder = program.path();
    const QString parent = QFileInfo(folder).absolutePath();
    EXPECT_TRUE(IsPortableFolder(folder, {}));
    EXPECT_TRUE(IsPortableFolder(folder, {folder + "x", "/usr"})) << "a name that only starts so";
    EXPECT_FALSE(IsPortableFolder(folder, {parent})) << "below a system folder, as /usr/lib";
    EXPECT_FALSE(IsPortableFolder(folder, {folder}));
    EXPECT_FALSE(IsPortableFolder(home.filePath("missing"), {}));
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
    EXPECT_TRUE(IsPortableFolder(folder, {}));
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
    EXPECT_FALSE(IsPortableFolder(folder, {}));
    if (::geteuid() == 0) {
        // Someone else's folder that anyone may write to is still an installation.
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0777), 0);
        ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), 65534, 65534), 0);
        EXPECT_FALSE(IsPortableFolder(folder, {}));
        ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), 0, 0), 0);
    }
}

// A settings folder that is a link is used where it leads, and its mode is not changed.
TEST_F(SettingsPlaceTest, ALinkedSettingsFolderIsUsedButNeverChmodded) {
    ASSERT_EQ(::chmod(QFile::encodeName(program.path()).constData(), 0555), 0);
    const QString kept = home.filePath(QStringLiteral("dotfiles"));
    ASSERT_TRUE(QDir().mkpath(kept) && QDir().mkpath(config()));
    ASSERT_EQ(::chmod(QFile::encodeName(kept).constData(), 0755), 0);
    ASSERT_TRUE(QFile::link(kept, own()));
    const SettingsPlace place = FindSettingsPlace(program.path());
    EXPECT_EQ(place.problem, QString());
    EXPECT_EQ(QFile::permissions(kept) & 0x0777, 0x0755);
    exitWithFlac();
    EXPECT_TRUE(QFile::exists(kept + "/setup.ini"));
    EXPECT_TRUE(QFileInfo(own()).isSymLink());
}

// A settings folder of another user (root's, left by a start with sudo) is named, and
// nothing is read from it or written to it.
TEST_F(SettingsPlaceTest, SomeoneElsesSettingsFolderIsNamedAndNotUsed) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give a folder away";
    ASSERT_EQ(::chmod(QFile::encodeName(program.path()).constData(), 0555), 0);
    ASSERT_TRUE(QDir().mkpath(own()));
    writeFile(own() + "/setup.ini", "\"7\"\r\n\"1\"\r\n\"1\"\r\n\"/x\"\r\n\"2\"\r\n");
    ASSERT_EQ(::chown(QFile::encodeName(own()).constData(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(own()).constData(), 0755), 0);

    const SettingsPlace place = FindSettingsPlace(program.path());
    EXPECT_TRUE(place.problem.startsWith("The settings folder " + own() +
                                         " cannot be used: it belongs to nobody, not to root"))
        << place.problem.toStdString();
    EXPECT_EQ(QFile::permissions(own()) & 0x0777, 0x0755) << "someone else's mode is theirs";
    FakeMessageBoxes boxes;
    EXPECT_EQ(ReadChoices(place, boxes).formatIndex, 0);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, place.problem);
    EXPECT_FALSE(WriteSetup(place, ConversionChoices{}, boxes));
    EXPECT_EQ(readFile(own() + "/setup.ini"), "\"7\"\r\n\"1\"\r\n\"1\"\r\n\"/x\"\r\n\"2\"\r\n");
    EXPECT_EQ(contents(own()), QStringList{QStringLiteral("setup.ini")});
}

// The real program from a read-only folder: its lock lies with its settings, and a second
// start finds it there.
TEST(InstalledStart, TheLockLiesInTheUsersSettingsFolder) {
    ProgramCopy copy;
    ASSERT_TRUE(copy.ok);
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    ASSERT_EQ(::chmod(QFile::encodeName(copy.path()).constData(), 0555), 0);
    const QString lock = home.filePath(QStringLiteral(".config/pelkora/.pelkora.lock"));

    QProcess first;
    first.setProcessEnvironment(PrivateEnvironment(home.path(), home.path()));
    first.start(copy.program(), {});
    const bool locked = QTest::qWaitFor(
        [&] { return QFileInfo::exists(lock) || first.state() == QProcess::NotRunning; },
        kDeadlineMs);
    EXPECT_TRUE(locked && QFileInfo::exists(lock)) << first.readAllStandardError().constData();

    QProcess second;
    second.setProcessEnvironment(first.processEnvironment());
    second.start(copy.program(), {});
    EXPECT_TRUE(second.waitForFinished(kDeadlineMs));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished(kDeadlineMs);
    EXPECT_EQ(contents(copy.path()), QStringList{QStringLiteral("pelkora")});
    ::chmod(QFile::encodeName(copy.path()).constData(), 0700);
}

// The batch mode of the real program, as a user whose settings folder root made with sudo -E:
// it says so and converts with the defaults.
TEST(InstalledStart, ASettingsFolderLeftByRootIsNamedToTheUser) {
    if (::geteuid() != 0 || !QFileInfo::exists(QStringLiteral("/usr/bin/setpriv")))
        GTEST_SKIP() << "needs root and setpriv to start the program as another user";
    ProgramCopy copy;
    QTemporaryDir home;
    ASSERT_TRUE(copy.ok && home.isValid());
    const QByteArray homePath = QFile::encodeName(home.path());
    ASSERT_EQ(::chmod(QFile::encodeName(copy.path()).constData(), 0755), 0);
    ASSERT_EQ(::chown(homePath.constData(), 65534, 65534), 0);
    const QString own = home.filePath(QStringLiteral(".config/pelkora"));
    ASSERT_TRUE(QDir().mkpath(own) && QDir(home.path()).mkdir(QStringLiteral("in")));
    ASSERT_EQ(::chown((homePath + "/.config").constData(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(own).constData(), 0700), 0);

    QProcess batch;
    batch.setProcessEnvironment(PrivateEnvironment(home.path(), home.path()));
    batch.start(QStringLiteral("/usr/bin/setpriv"),
                {"--reuid=65534", "--regid=65534", "--clear-groups", "--", copy.program(),
                 "--batch", home.filePath(QStringLiteral("in"))});
    ASSERT_TRUE(batch.waitForFinished(kDeadlineMs));
    const QByteArray errors = batch.readAllStandardError();
    EXPECT_EQ(batch.exitCode(), 0) << errors.constData();
    EXPECT_TRUE(errors.startsWith("pelkora: The settings folder " + QFile::encodeName(own) +
                                  " cannot be used: it belongs to root, not to nobody (left by "
                                  "a start with sudo?). Give it back with \"sudo chown -R "
                                  "nobody: " +
                                  QFile::encodeName(own) + "\", or remove it."))
        << errors.constData();
    EXPECT_EQ(contents(copy.path()), QStringList{QStringLiteral("pelkora")});
}

// A pipe for pelkora.ini does not hold up the start.
TEST(PortableStart, APipeForSettingsIsNamedAndLeftAlone) {
    ProgramCopy copy;
    QTemporaryDir home;
    ASSERT_TRUE(copy.ok && home.isValid());
    const QString ini = copy.folder.filePath(QStringLiteral("pelkora.ini"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(ini).constData(), 0600), 0);
    const QByteArray named = "pelkora: " + QFile::encodeName(ini) +
                             ": not an ordinary file, so it is ignored and left as it is; the "
                             "defaults are used.\n";

    QProcess batch;
    batch.setProcessEnvironment(PrivateEnvironment(home.path(), home.path()));
    batch.start(copy.program(), {"--batch", home.path()});
    const bool ended = batch.waitForFinished(kDeadlineMs);
    if (!ended)
        batch.kill();
    EXPECT_TRUE(ended) << "held up by the pipe";
    EXPECT_TRUE(batch.readAllStandardError().startsWith(named));
    EXPECT_TRUE(QFileInfo(ini).exists() && !QFileInfo(ini).isFile()) << "the pipe stays";
}
