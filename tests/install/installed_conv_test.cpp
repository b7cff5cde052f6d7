// The converter as installed: it runs from the program folder with nothing of the build tree.
#include "install/install_fixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <cmath>

namespace install_test {
namespace {

// One second of a 440 Hz tone, 16-bit mono PCM at 44.1 kHz.
QByteArray toneWav() {
    constexpr int kRate = 44100;
    QByteArray samples;
    for (int i = 0; i < kRate; ++i) {
        const auto v = static_cast<qint16>(8000 * std::sin(2 * M_PI * 440 * i / kRate));
        char bytes[2];
        qToLittleEndian(v, bytes);
        samples.append(bytes, 2);
    }
    QByteArray wav;
    auto put32 = [&](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        wav.append(b, 4);
    };
    auto put16 = [&](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        wav.append(b, 2);
    };
    wav.append("RIFF");
    put32(36 + static_cast<quint32>(samples.size()));
    wav.append("WAVEfmt ");
    put32(16);
    put16(1);
    put16(1);
    put32(kRate);
    put32(kRate * 2);
    put16(2);
    put16(16);
    wav.append("data");
    put32(static_cast<quint32>(samples.size()));
    return wav + samples;
}

TEST(InstalledConverter, ConvertsAWav) {
    ASSERT_FALSE(destDir().isEmpty()) << installError().toStdString();
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString input = work.filePath(QStringLiteral("tone.wav"));
    QFile file(input);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(toneWav()) > 0);
    file.close();

    const struct {
        const char* name;
        QByteArray magic;
    } outputs[] = {{"tone.flac", "fLaC"}, {"tone.ogg", "OggS"}};
    for (const auto& out : outputs) {
        const QString output = work.filePath(QString::fromLatin1(out.name));
        const Result r = run(prefixed(QStringLiteral("lib/pelkora/data/conv")),
                             {QStringLiteral("-i"), input, QStringLiteral("-y"), output});
        ASSERT_EQ(r.exitCode, 0) << out.name << ": " << r.output.toStdString();
        QFile converted(output);
        ASSERT_TRUE(converted.open(QIODevice::ReadOnly)) << out.name;
        EXPECT_TRUE(converted.read(4) == out.magic) << out.name;
        EXPECT_GT(converted.size(), 1000) << out.name;
    }
    // Nothing else: no part files left behind.
    EXPECT_EQ(QDir(work.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

// The installed program converts without a display, through the link on PATH's folder.
TEST(InstalledProgram, ConvertsHeadlessWithoutADisplay) {
    ASSERT_FALSE(destDir().isEmpty()) << installError().toStdString();
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    QFile file(work.filePath(QStringLiteral("tone.wav")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(toneWav()) > 0);
    file.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("HOME"), work.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), work.filePath(QStringLiteral(".config")));
    QProcess program;
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(work.path());
    program.start(prefixed(QStringLiteral("bin/pelkora")),
                  {QStringLiteral("--batch"), QStringLiteral("--format"), QStringLiteral("flac"),
                   QStringLiteral("--output"), QStringLiteral("OUT"), QStringLiteral("tone.wav")});
    ASSERT_TRUE(program.waitForFinished(120'000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAll().toStdString();
    QFile converted(work.filePath(QStringLiteral("OUT/tone.flac")));
    ASSERT_TRUE(converted.open(QIODevice::ReadOnly));
    EXPECT_EQ(converted.read(4), QByteArray("fLaC"));
    EXPECT_GT(converted.size(), 1000);
}

} // namespace
} // namespace install_test
