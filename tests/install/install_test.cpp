// The program as a packager installs it: cmake --install into a temporary DESTDIR.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>

namespace {

constexpr int kDeadlineMs = 120'000;
const QString kAppId = QStringLiteral("org.pelkora.Pelkora");

struct Result {
    int exitCode = -1; // also when it did not end in time
    QString output;    // standard output and error
};

Result Execute(const QString& program, const QStringList& arguments,
               const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
               const QString& folder = QString()) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    const bool ended = process.waitForFinished(kDeadlineMs);
    process.kill();
    process.waitForFinished(kDeadlineMs);
    return {ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAll())};
}

class Installed : public testing::Test {
protected:
    // One installation shared by every test of the run.
    static void SetUpTestSuite() {
        destDir = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/pelkora-install-XXXXXX");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DESTDIR", destDir->path());
        const Result r = Execute(PELKORA_CMAKE_COMMAND,
                                 {"--install", PELKORA_BUILD_DIR, "--prefix", "/usr"}, env);
        installError = r.exitCode == 0 ? QString() : QStringLiteral("install failed:\n") + r.output;
    }
    void SetUp() override {
        ASSERT_TRUE(destDir->isValid());
        ASSERT_TRUE(installError.isEmpty()) << installError.toStdString();
    }
    static QString prefixed(const QString& relative) {
        return destDir->path() + QStringLiteral("/usr/") + relative;
    }
    static QString desktopFile() { return prefixed("share/applications/" + kAppId + ".desktop"); }
    static QString metainfoFile() { return prefixed("share/metainfo/" + kAppId + ".metainfo.xml"); }
    static QString readText(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    static void TearDownTestSuite() { destDir.reset(); }

    static inline std::unique_ptr<QTemporaryDir> destDir;
    static inline QString installError;
};

TEST_F(Installed, ProgramFolderWithARelativeLinkInBin) {
    for (const char* executable : {"lib/pelkora/pelkora", "lib/pelkora/data/conv"}) {
        const QFileInfo info(prefixed(executable));
        EXPECT_TRUE(info.isFile() && !info.isSymLink() && info.isExecutable()) << executable;
    }
    for (const char* file :
         {"lib/pelkora/sound.wav", "lib/pelkora/help/tutorial.html",
          "lib/pelkora/translations/pelkora_de.qm", "lib/pelkora/translations/pelkora_fr.qm",
          "lib/pelkora/translations/pelkora_es.qm"})
        EXPECT_GT(QFileInfo(prefixed(file)).size(), 0) << file;
    // Relative, so that the tree works under DESTDIR and wherever the prefix is moved.
    EXPECT_EQ(std::filesystem::read_symlink(prefixed("bin/pelkora").toStdString()),
              "../lib/pelkora/pelkora");
    const Result man = Execute("gzip", {"-dc", prefixed("share/man/man1/pelkora.1.gz")});
    EXPECT_TRUE(man.output.startsWith(".TH PELKORA 1") && man.output.contains("\\-\\-batch"))
        << man.output.toStdString();
}

TEST_F(Installed, DesktopEntryMetainfoAndIconsPointAtTheInstalledProgram) {
    // The rest of both files is their validators' (below).
    const QString entry = readText(desktopFile());
    for (const char* line : {"\nExec=pelkora %F\n", "\nIcon=org.pelkora.Pelkora\n", "audio/flac;"})
        EXPECT_TRUE(entry.contains(QLatin1String(line))) << line;
    const QString xml = readText(metainfoFile());
    for (const QString& part :
         {QStringLiteral("<launchable type=\"desktop-id\">%1.desktop</launchable>").arg(kAppId),
          QStringLiteral("<binary>pelkora</binary>"),
          QStringLiteral("<release version=\"%1\"").arg(PELKORA_PROJECT_VERSION)})
        EXPECT_TRUE(xml.contains(part)) << part.toStdString();

    EXPECT_TRUE(
        QSvgRenderer(prefixed("share/icons/hicolor/scalable/apps/" + kAppId + ".svg")).isValid());
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QImageReader reader(prefixed(
            QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kAppId)));
        EXPECT_EQ(reader.format(), QByteArray("png")) << size;
        const QImage image = reader.read();
        ASSERT_EQ(image.size(), QSize(size, size)) << reader.errorString().toStdString();
        // Drawn: an opaque tile in the middle, transparent corners.
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255) << size;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << size;
    }
}

TEST_F(Installed, DesktopFilesPassTheirValidatorsWhereInstalled) {
    // desktop-file-validate says nothing of a clean file, not even a hint.
    const auto validate = [](const QString& program, QStringList arguments, bool silent) {
        if (QStandardPaths::findExecutable(program).isEmpty())
            return false;
        const Result r = Execute(program, arguments);
        EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
        EXPECT_TRUE(!silent || r.output.trimmed().isEmpty()) << r.output.toStdString();
        return true;
    };
    const bool desktop = validate("desktop-file-validate", {desktopFile()}, true);
    const bool metainfo =
        validate("appstreamcli", {"validate", "--no-net", "--no-color", metainfoFile()}, false);
    if (!desktop && !metainfo)
        GTEST_SKIP() << "desktop-file-validate and appstreamcli are not installed";
}

// Through the link, without a display: the program finds its converter by its own real path.
TEST_F(Installed, TheInstalledProgramConvertsHeadless) {
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const Result tone = Execute("ffmpeg", {"-nostdin", "-loglevel", "error", "-f", "lavfi", "-i",
                                           "sine=duration=1", work.filePath("tone.wav")});
    ASSERT_EQ(tone.exitCode, 0) << tone.output.toStdString();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    env.insert("HOME", work.path());
    env.insert("XDG_CONFIG_HOME", work.filePath(".config"));
    const Result r =
        Execute(prefixed("bin/pelkora"),
                {"--batch", "--format", "flac", "--output", "OUT", "tone.wav"}, env, work.path());
    EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
    QFile converted(work.filePath("OUT/tone.flac"));
    ASSERT_TRUE(converted.open(QIODevice::ReadOnly));
    EXPECT_EQ(converted.read(4), QByteArray("fLaC"));
    EXPECT_GT(converted.size(), 1000);
}

} // namespace
