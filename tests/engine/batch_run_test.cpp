#include "engine/batch_run.h"

#include "common/platform_fakes.h"
#include "engine/dos_outputs.h"
#include "engine/progress_parser.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

namespace {

// The window as the run sees it, with a log of what it was told.
class FakeWindow final : public BatchSource {
public:
    int count() const override { return static_cast<int>(files.size()); }
    QByteArray firstPath() const override { return files.front(); }
    void removeFirst() override {
        removed.push_back(files.front());
        files.erase(files.begin());
    }
    ConversionSettings settings() const override { return choices; }
    bool finishSoundOn() const override { return soundOn; }
    void setRunning(bool running) override { log.push_back(running ? "disable" : "enable"); }
    void showProgress(float width, const QString& caption) override {
        widths.push_back(width);
        captions.push_back(caption);
    }
    void showDropZone() override { log.push_back("dropzone"); }

    std::vector<QByteArray> files, removed;
    ConversionSettings choices;
    bool soundOn = false;
    std::vector<std::string> log;
    std::vector<float> widths;
    std::vector<QString> captions;
};

class BatchRunTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(program.path()).mkpath("data"));
        ASSERT_TRUE(QFile::copy(FAKE_CONV, program.filePath("data/conv")));
        window.choices.formatIndex = 3;
        window.choices.outputFolder = QFile::encodeName(out.filePath("converted")).toStdString();
    }

    QByteArray input(const char* name) { return QFile::encodeName(in.filePath(name)); }

    void RunToEnd(BatchRun& run) {
        QEventLoop loop;
        QObject::connect(&run, &BatchRun::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        run.Start();
        if (run.isActive())
            loop.exec();
    }

    QString output(const char* name) { return out.filePath(QStringLiteral("converted/") + name); }

    QTemporaryDir program, in, out;
    FakeMessageBoxes boxes;
    FakeShell shell;
    FakeSound sound;
    FakeWindow window;
    DOSOutputs dos;
};

TEST_F(BatchRunTest, ConvertsInListOrderThenOpensFolderPlaysSoundAndSaysDone) {
    window.files = {input("one.wav"), input("two.x.flac"), input("three")};
    window.soundOn = true;
    BatchRun run(window, dos, program.path());
    RunToEnd(run);

    EXPECT_EQ(window.removed,
              (std::vector<QByteArray>{input("one.wav"), input("two.x.flac"), input("three")}));
    EXPECT_TRUE(window.files.empty());
    for (const char* name : {"one.wav", "two.wav", "three.wav"})
        EXPECT_TRUE(QFile::exists(output(name))) << name << " in a folder the run created";
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], QUrl::fromLocalFile(out.filePath("converted")));
    EXPECT_EQ(sound.played, std::vector<QString>{program.path() + "/sound.wav"});
    EXPECT_EQ(window.log, (std::vector<std::string>{"disable", "dropzone", "enable"}));
    ASSERT_FALSE(window.captions.empty());
    EXPECT_EQ(window.captions.back(), "Done.");
    EXPECT_EQ(window.widths.back(), 0.0f);
    EXPECT_NE(std::find(window.captions.begin(), window.captions.end(), "50%"),
              window.captions.end())
        << "progress shown from the converter's output";
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(BatchRunTest, FilesAddedAndChoicesChangedDuringTheRunApplyFromTheNextFile) {
    window.files = {input("slow1.wav"), input("slow2.wav")};
    BatchRun run(window, dos, program.path());
    QObject::connect(&dos, &DOSOutputs::ReceiveOutputs, [&] {
        if (window.removed.empty() && window.files.size() == 2) {
            window.files.push_back(input("dropped.wav"));
            window.choices.formatIndex = 0; // MP3 from the next file on
        }
    });
    RunToEnd(run);
    EXPECT_TRUE(QFile::exists(output("slow1.wav")));
    EXPECT_TRUE(QFile::exists(output("slow2.mp3")));
    EXPECT_TRUE(QFile::exists(output("dropped.mp3")));
    EXPECT_FALSE(QFile::exists(output("slow2.wav")));
    EXPECT_TRUE(sound.played.empty()) << "sound off";
}

TEST_F(BatchRunTest, CutToTheEndMeasuresTheRestOfTheFile) {
    window.files = {input("slow.wav")}; // its two progress lines come apart
    window.choices.cutEnabled = true;
    window.choices.cutStart = 2;
    window.choices.cutLength = 0;
    BatchRun run(window, dos, program.path());
    RunToEnd(run);
    // The fake file lasts 10 s, so 8 s are left after the cut start: "time=5.00" is 5/8 of it.
    ASSERT_GE(window.captions.size(), 3u);
    EXPECT_EQ(window.captions[0].toStdString(), "62.5%");
    EXPECT_FLOAT_EQ(window.widths[0], kProgressBarFullWidth * 5.0f / 8.0f);
    EXPECT_EQ(window.captions[1].toStdString(), "100%");
}

TEST(FailureReport, ListsTwentyThenCounts) {
    std::vector<BatchRun::Failure> failures;
    for (int i = 0; i < 23; ++i)
        failures.push_back({QByteArray("/m/f") + QByteArray::number(i), "bad"});
    const QString text = BatchRun::FailureReport(failures);
    EXPECT_TRUE(text.contains("/m/f19"));
    EXPECT_FALSE(text.contains("/m/f20"));
    EXPECT_TRUE(text.endsWith("and 3 more"));
}

} // namespace
