// The installed tree: the program folder as one unit, the link that starts it, and the desktop
// files that point at it.
#include "install/install_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>

namespace install_test {
namespace {

// The keys of the [Desktop Entry] group (values kept raw: ';' lists, %F field codes).
QMap<QString, QString> desktopEntry(const QString& path) {
    QMap<QString, QString> keys;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return keys;
    bool inGroup = false;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('[')))
            inGroup = line == QStringLiteral("[Desktop Entry]");
        else if (inGroup && line.contains(QLatin1Char('=')))
            keys.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1));
    }
    return keys;
}

class InstallTree : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(destDir().isEmpty()) << installError().toStdString(); }

    static QString desktopFile() {
        return prefixed(QStringLiteral("share/applications/%1.desktop").arg(kAppId));
    }
    static QString metainfoFile() {
        return prefixed(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(kAppId));
    }
};

TEST_F(InstallTree, ProgramFolderIsOneUnit) {
    for (const char* executable : {"lib/pelkora/pelkora", "lib/pelkora/data/conv"}) {
        const QFileInfo info(prefixed(QString::fromLatin1(executable)));
        EXPECT_TRUE(info.isFile() && !info.isSymLink() && info.isExecutable()) << executable;
    }
    for (const char* file : {"lib/pelkora/sound.wav", "lib/pelkora/help/tutorial.html"}) {
        const QFileInfo info(prefixed(QString::fromLatin1(file)));
        EXPECT_TRUE(info.isFile() && info.size() > 0) << file;
    }
}

// The program finds its folder through its own real path, so bin/ holds only a link, and a
// relative one: the tree must work under DESTDIR and wherever the prefix is moved.
TEST_F(InstallTree, BinHoldsRelativeLinkIntoProgramFolder) {
    const QFileInfo link(prefixed(QStringLiteral("bin/pelkora")));
    ASSERT_TRUE(link.isSymLink());
    EXPECT_EQ(QFile::symLinkTarget(link.filePath()).toStdString(),
              QFileInfo(prefixed(QStringLiteral("lib/pelkora/pelkora")))
                  .canonicalFilePath()
                  .toStdString());
    EXPECT_EQ(std::filesystem::read_symlink(link.filePath().toStdString()).string(),
              "../lib/pelkora/pelkora");
}

// Started through the link, the program takes lib/pelkora as its folder: the lock beside its
// settings appears there.
TEST_F(InstallTree, ProgramStartedThroughLinkUsesProgramFolder) {
    const QString lock = prefixed(QStringLiteral("lib/pelkora/.pelkora.lock"));
    ASSERT_FALSE(QFileInfo::exists(lock));
    QProcess program;
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(prefixed(QStringLiteral("bin/pelkora")), {});
    ASSERT_TRUE(program.waitForStarted());
    const QDeadlineTimer deadline(60'000);
    // Polled: the lock is the only sign of the program's choice of folder.
    while (!QFileInfo::exists(lock) && !deadline.hasExpired())
        if (program.waitForFinished(20))
            break;
    const bool found = QFileInfo::exists(lock);
    program.kill();
    program.waitForFinished();
    QFile::remove(lock);
    EXPECT_TRUE(found) << "no lock in the program folder; program output:\n"
                       << program.readAll().toStdString();
}

TEST_F(InstallTree, DesktopEntryStartsInstalledProgramWithItsIcon) {
    const auto entry = desktopEntry(desktopFile());
    EXPECT_EQ(entry.value(QStringLiteral("Type")), QStringLiteral("Application"));
    const QString exec = entry.value(QStringLiteral("Exec"));
    EXPECT_EQ(exec, QStringLiteral("pelkora %F"));
    EXPECT_TRUE(QFileInfo(prefixed(QStringLiteral("bin/") + exec.section(QLatin1Char(' '), 0, 0)))
                    .isExecutable());
    const QString icon = entry.value(QStringLiteral("Icon"));
    EXPECT_EQ(icon, QString::fromLatin1(kAppId));
    EXPECT_TRUE(QFileInfo::exists(
        prefixed(QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(icon))));
    EXPECT_EQ(entry.value(QStringLiteral("Terminal")), QStringLiteral("false"));
    // Opening a music file or a video from a file manager offers the program.
    const QStringList mimeTypes = entry.value(QStringLiteral("MimeType")).split(QLatin1Char(';'));
    for (const char* type :
         {"audio/mpeg", "audio/x-wav", "audio/flac", "audio/ogg", "video/mp4", "video/x-matroska"})
        EXPECT_TRUE(mimeTypes.contains(QString::fromLatin1(type))) << type;
}

TEST_F(InstallTree, MetainfoNamesTheInstalledDesktopEntryAndBinary) {
    QFile file(metainfoFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString xml = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(xml.contains(QStringLiteral("<id>%1</id>").arg(kAppId)));
    const QRegularExpression launchable(
        QStringLiteral("<launchable type=\"desktop-id\">([^<]+)</launchable>"));
    const auto match = launchable.match(xml);
    ASSERT_TRUE(match.hasMatch());
    EXPECT_TRUE(
        QFileInfo::exists(prefixed(QStringLiteral("share/applications/") + match.captured(1))));
    EXPECT_TRUE(xml.contains(QStringLiteral("<binary>pelkora</binary>")));
    EXPECT_TRUE(
        xml.contains(QStringLiteral("<release version=\"%1\"").arg(PELKORA_PROJECT_VERSION)));
}

TEST_F(InstallTree, ManPageIsCompressedAndReadable) {
    const QString page = prefixed(QStringLiteral("share/man/man1/pelkora.1.gz"));
    const Result r = run(QStringLiteral("gzip"), {QStringLiteral("-dc"), page});
    ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
    EXPECT_TRUE(r.output.startsWith(QStringLiteral(".TH PELKORA 1")));
    EXPECT_TRUE(r.output.contains(QStringLiteral("\\-\\-batch")));
}

TEST_F(InstallTree, DesktopEntryPassesValidator) {
    if (!onPath(QStringLiteral("desktop-file-validate")))
        GTEST_SKIP() << "desktop-file-validate is not installed (package desktop-file-utils)";
    const Result r = run(QStringLiteral("desktop-file-validate"), {desktopFile()});
    EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
    EXPECT_TRUE(r.output.trimmed().isEmpty()) << r.output.toStdString();
}

TEST_F(InstallTree, MetainfoPassesValidator) {
    if (!onPath(QStringLiteral("appstreamcli")))
        GTEST_SKIP() << "appstreamcli is not installed (package appstream)";
    const Result r =
        run(QStringLiteral("appstreamcli"), {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                             QStringLiteral("--no-color"), metainfoFile()});
    EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
}

} // namespace
} // namespace install_test
