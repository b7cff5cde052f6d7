// Where settings, lock and output go when the program folder cannot be written: the user's
// own folders. (The whole-road tests run from a writable one, where all stays beside it.)
#include "settings/settings_store.h"

#include "common/platform_fakes.h"
#include "dialogs/fake_dialogs.h"
#include "platform/program_copy.h"
#include "ui/frm_main.h"
#include "ui/main_controller.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace settings;

namespace {

constexpr int kDeadlineMs = 60'000;

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList contents(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

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
        frmMain window;
        MainController controller(window, program.path(), {boxes, shell, sound, dialogs});
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
    QFile dirs(config() + QStringLiteral("/user-dirs.dirs"));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write("# written by xdg-user-dirs-update\nXDG_MUSIC_DIR=\"$HOME/Tunes\"\n");
    dirs.close();
    EXPECT_EQ(FindSettingsPlace(program.path()).defaultOutput,
              QFile::encodeName(home.path()) + "/Tunes/Pelkora");
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
