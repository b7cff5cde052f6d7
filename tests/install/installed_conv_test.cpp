// The converter as installed: it runs from the program folder with nothing of the build tree.
#include "install/install_fixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
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

} // namespace
} // namespace install_test
