#include "settings/settings_io.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
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
class SetupFile : public testing::Test {
protected:
    void SetUp() override {
        cmbBR.addItems(
            {"32", "48", "56", "64", "80", "96", "112", "128", "192", "224", "256", "320"});
        cmbR.addItems({"48000", "44100", "32000", "24000", "22050", "16000", "12050", "8000"});
        cmbChannel.addItems({"Mono", "Stereo"});
        cmbOF.addItems({"MP3", "WMA", "OGG", "WAV", "FLAC", "AC3", "AAC", "AMR", "MPG"});
        cmbBR.setCurrentIndex(7);
        cmbR.setCurrentIndex(1);
        cmbChannel.setCurrentIndex(1);
        txtPath.setText(defaultFolder);
    }
    QString path() const { return SetupFilePath(dir.path()); }
    void read() { ReadSetupFile(path(), {&cmbBR, &cmbR, &cmbChannel, &txtPath, &cmbOF}); }
    WriteResult write(const QString& file) {
        return WriteSetupFile(file, {&cmbBR, &cmbR, &cmbChannel, &txtPath, &cmbOF});
    }

    QTemporaryDir dir;
    const QString defaultFolder = dir.filePath("output");
    QComboBox cmbBR, cmbR, cmbChannel, cmbOF;
    QLineEdit txtPath;
};

} // namespace

TEST_F(SetupFile, WorkedExampleByteForByteAndBack) {
    read(); // no file yet: the defaults stand
    EXPECT_EQ(cmbBR.currentText() + cmbR.currentText() + cmbChannel.currentText(),
              "12844100Stereo");
    EXPECT_EQ(txtPath.text(), defaultFolder);

    txtPath.setText("C:\\Audio Tools\\output");
    ASSERT_TRUE(write(path()));
    EXPECT_EQ(readFile(path()),
              "\"7\"\r\n\"1\"\r\n\"1\"\r\n\"C:\\Audio Tools\\output\"\r\n\"0\"\r\n");

    cmbR.setCurrentIndex(-1);
    txtPath.setText(QStringLiteral("/home/a/Music, Old/out ä"));
    ASSERT_TRUE(write(path()));
    EXPECT_TRUE(readFile(path()).contains("\"7\"\r\n\"-1\"\r\n"));
    cmbR.setCurrentIndex(3);
    cmbBR.setCurrentIndex(0);
    txtPath.clear();
    read();
    EXPECT_EQ(cmbBR.currentIndex(), 7);
    EXPECT_EQ(cmbR.currentIndex(), -1);
    EXPECT_EQ(txtPath.text(), QStringLiteral("/home/a/Music, Old/out ä"));
}

TEST_F(SetupFile, RecordsThatDoNotFitLeaveTheirControlAlone) {
    writeFile(path(), "\"12\"\r\n\"abc\"\r\n\"0\"\r\n\"/music\"\r\n\"9\"\r\n");
    read();
    EXPECT_EQ(cmbBR.currentText(), "128"); // the list has indexes 0 to 11
    EXPECT_EQ(cmbR.currentText(), "44100");
    EXPECT_EQ(cmbChannel.currentText(), "Mono");
    EXPECT_EQ(txtPath.text(), "/music");
    EXPECT_EQ(cmbOF.currentText(), "MP3"); // 9 is past MPG

    writeFile(path(), "\"5\"\r\n\"2\"\r\n\"1\"\r\n\"/mnt/Aud"); // truncated
    read();
    EXPECT_EQ(cmbBR.currentIndex(), 5);
    EXPECT_EQ(cmbR.currentIndex(), 2);
    EXPECT_EQ(txtPath.text(), "/music");
}

TEST_F(SetupFile, UnwritableFolderIsReportedAndLosesNothing) {
    writeFile(dir.filePath("plain"), "x");
    const WriteResult below = write(SetupFilePath(dir.filePath("plain")));
    EXPECT_FALSE(below);
    EXPECT_FALSE(below.error.empty());

    ASSERT_TRUE(write(path()));
    const QByteArray before = readFile(path());
    txtPath.setText("/music/\"live\"");
    EXPECT_FALSE(write(path()));
    EXPECT_EQ(readFile(path()), before);
    EXPECT_EQ(QDir(dir.path()).count(), 4u); // ".", "..", plain, setup.ini
}

TEST(OptionsFile, ReadsIntoTheGlobalsAndWritesThem) {
    QTemporaryDir dir;
    const QString path = OptionsFilePath(dir.path());
    OptionsRecords o{1, 1, 12, 34};
    ReadOptionsFile(path, o); // first run: sound on, cutter off
    EXPECT_EQ(o.FinishSound + o.CutEnabled, 0);
    EXPECT_EQ(o.CutStart, 12);

    writeFile(path, "1\r\nabc\r\n90.5\r\n91.5\r\n");
    ReadOptionsFile(path, o);
    EXPECT_EQ(o.FinishSound, 1);
    EXPECT_EQ(o.CutEnabled, 0);
    EXPECT_EQ(o.CutStart, 90);
    EXPECT_EQ(o.CutLength, 92);

    ASSERT_TRUE(WriteOptionsFile(path, OptionsRecords{0, 1, 90, 45}));
    EXPECT_EQ(readFile(path), "0\r\n1\r\n90\r\n45\r\n");
}

TEST(VersionLabel, PlainDecimalParts) {
    EXPECT_EQ(VersionText(2, 0, 1), "Ver 2.0.1");
    EXPECT_EQ(ProgramVersionText(), QStringLiteral("Ver %1.%2.%3")
                                        .arg(PELKORA_VERSION_MAJOR)
                                        .arg(PELKORA_VERSION_MINOR)
                                        .arg(PELKORA_VERSION_PATCH));
}
