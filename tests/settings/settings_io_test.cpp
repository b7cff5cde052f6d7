#include "settings/settings_io.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QStringList>
#include <QTemporaryDir>

using namespace settings;

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// The main window's five setup controls with their fixed lists and start-up defaults.
class SetupFixture : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        cmbBR.addItems(
            {"32", "48", "56", "64", "80", "96", "112", "128", "192", "224", "256", "320"});
        cmbR.addItems({"48000", "44100", "32000", "24000", "22050", "16000", "12050", "8000"});
        cmbChannel.addItems({"Mono", "Stereo"});
        cmbOF.addItems({"MP3", "WMA", "OGG", "WAV", "FLAC", "AC3", "AAC", "AMR", "MPG"});
        cmbBR.setCurrentIndex(7);
        cmbR.setCurrentIndex(1);
        cmbChannel.setCurrentIndex(1);
        cmbOF.setCurrentIndex(0);
        txtPath.setText(dir.filePath("output"));
    }

    SetupControls controls() { return {&cmbBR, &cmbR, &cmbChannel, &txtPath, &cmbOF}; }
    QString setupPath() const { return SetupFilePath(dir.path()); }

    QTemporaryDir dir;
    QComboBox cmbBR, cmbR, cmbChannel, cmbOF;
    QLineEdit txtPath;
};

} // namespace

TEST_F(SetupFixture, MissingFileLeavesTheDefaults) {
    ReadSetupFile(setupPath(), controls());
    EXPECT_EQ(cmbBR.currentText(), "128");
    EXPECT_EQ(cmbR.currentText(), "44100");
    EXPECT_EQ(cmbChannel.currentText(), "Stereo");
    EXPECT_EQ(cmbOF.currentText(), "MP3");
    EXPECT_EQ(txtPath.text(), dir.filePath("output"));
}

TEST_F(SetupFixture, WritesTheWorkedExampleAndReadsItBack) {
    txtPath.setText("C:\\Audio Tools\\output");
    ASSERT_TRUE(WriteSetupFile(setupPath(), controls()));
    EXPECT_EQ(readFile(setupPath()),
              "\"7\"\r\n\"1\"\r\n\"1\"\r\n\"C:\\Audio Tools\\output\"\r\n\"0\"\r\n");

    cmbBR.setCurrentIndex(0);
    cmbOF.setCurrentIndex(8);
    txtPath.clear();
    ReadSetupFile(setupPath(), controls());
    EXPECT_EQ(cmbBR.currentIndex(), 7);
    EXPECT_EQ(cmbOF.currentIndex(), 0);
    EXPECT_EQ(txtPath.text(), "C:\\Audio Tools\\output");
}

TEST_F(SetupFixture, NoSelectionAndCommasRoundTrip) {
    cmbR.setCurrentIndex(-1);
    txtPath.setText(QStringLiteral("/home/a/Music, Old/out ä"));
    ASSERT_TRUE(WriteSetupFile(setupPath(), controls()));
    EXPECT_TRUE(readFile(setupPath()).contains("\r\n\"-1\"\r\n"));

    cmbR.setCurrentIndex(3);
    txtPath.clear();
    ReadSetupFile(setupPath(), controls());
    EXPECT_EQ(cmbR.currentIndex(), -1);
    EXPECT_EQ(txtPath.text(), QStringLiteral("/home/a/Music, Old/out ä"));
}

TEST_F(SetupFixture, RecordsThatDoNotFitLeaveTheirControlAlone) {
    writeFile(setupPath(), "\"12\"\r\n\"abc\"\r\n\"0\"\r\n\"/music\"\r\n\"9\"\r\n");
    ReadSetupFile(setupPath(), controls());
    EXPECT_EQ(cmbBR.currentText(), "128"); // the list has indexes 0 to 11
    EXPECT_EQ(cmbR.currentText(), "44100");
    EXPECT_EQ(cmbChannel.currentText(), "Mono");
    EXPECT_EQ(txtPath.text(), "/music");
    EXPECT_EQ(cmbOF.currentText(), "MP3"); // 9 is past MPG

    writeFile(setupPath(), "\"-1\"\r\n\"-2\"\r\n\"1\"\r\n\"\"\r\n\"3\"\r\n");
    ReadSetupFile(setupPath(), controls());
    EXPECT_EQ(cmbBR.currentIndex(), -1);
    EXPECT_EQ(cmbR.currentText(), "44100");
    EXPECT_EQ(txtPath.text(), ""); // the caller falls back to the default folder
    EXPECT_EQ(cmbOF.currentText(), "WAV");
}

TEST_F(SetupFixture, TruncatedFileAppliesOnlyWholeRecords) {
    writeFile(setupPath(), "\"3\"\r\n\"2\"\r\n\"0\"\r\n\"/mnt/Aud");
    ReadSetupFile(setupPath(), controls());
    EXPECT_EQ(cmbBR.currentIndex(), 3);
    EXPECT_EQ(cmbR.currentIndex(), 2);
    EXPECT_EQ(cmbChannel.currentIndex(), 0);
    EXPECT_EQ(txtPath.text(), dir.filePath("output"));
    EXPECT_EQ(cmbOF.currentIndex(), 0);

    writeFile(setupPath(), "");
    cmbBR.setCurrentIndex(5);
    ReadSetupFile(setupPath(), controls());
    EXPECT_EQ(cmbBR.currentIndex(), 5);
}

TEST_F(SetupFixture, UnwritableProgramFolderIsReportedNotCrashed) {
    writeFile(dir.filePath("plain"), "x");
    const QString path = SetupFilePath(dir.filePath("plain"));
    const WriteResult result = WriteSetupFile(path, controls());
    EXPECT_FALSE(result);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{"plain"});

    // A folder text the file cannot hold keeps the previous file intact.
    ASSERT_TRUE(WriteSetupFile(setupPath(), controls()));
    const QByteArray before = readFile(setupPath());
    txtPath.setText("/music/\"live\"");
    EXPECT_FALSE(WriteSetupFile(setupPath(), controls()));
    EXPECT_EQ(readFile(setupPath()), before);
}

TEST(OptionsFile, ReadsIntoTheGlobalsAndWritesThem) {
    QTemporaryDir dir;
    const QString path = OptionsFilePath(dir.path());
    OptionsRecords o{1, 1, 12, 34};
    ReadOptionsFile(path, o); // first run
    EXPECT_EQ(o.FinishSound, 0);
    EXPECT_EQ(o.CutEnabled, 0);
    EXPECT_EQ(o.CutStart, 12);
    EXPECT_EQ(o.CutLength, 34);

    writeFile(path, "1\r\nabc\r\n90.5\r\n91.5\r\n");
    ReadOptionsFile(path, o);
    EXPECT_EQ(o.FinishSound, 1);
    EXPECT_EQ(o.CutEnabled, 0);
    EXPECT_EQ(o.CutStart, 90);
    EXPECT_EQ(o.CutLength, 92);

    ASSERT_TRUE(WriteOptionsFile(path, OptionsRecords{0, 1, 90, 45}));
    EXPECT_EQ(readFile(path), "0\r\n1\r\n90\r\n45\r\n");
}

TEST(VersionLabel, ComesFromTheBuildsVersion) {
    EXPECT_EQ(ProgramVersionText(), QStringLiteral("Ver %1.%2.%3")
                                        .arg(PELKORA_VERSION_MAJOR)
                                        .arg(PELKORA_VERSION_MINOR)
                                        .arg(PELKORA_VERSION_PATCH));
}
