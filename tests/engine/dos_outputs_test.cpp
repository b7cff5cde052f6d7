#include "engine/dos_outputs.h"

#include "common/platform_fakes.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <memory>

namespace {

struct Recorder {
    explicit Recorder(DOSOutputs& dos) {
        QObject::connect(&dos, &DOSOutputs::ReceiveOutputs,
                         [this](const QByteArray& chunk) { chunks.push_back(chunk); });
        QObject::connect(&dos, &DOSOutputs::CommandOver, [this] { ++over; });
    }
    QByteArray joined() const {
        QByteArray all;
        for (const auto& c : chunks)
            all += c;
        return all;
    }
    std::vector<QByteArray> chunks;
    int over = 0;
};

void SetChild(DOSOutputs& dos, std::vector<std::string> args) {
    QString text = QStringLiteral(TEST_CHILD);
    for (const auto& a : args)
        text += ' ' + QString::fromStdString(a);
    dos.setCommand(text, TEST_CHILD, std::move(args));
}

TEST(DOSOutputs, LargeOutputArrivesCompleteInOrderInChunksOfAtMost1024Bytes) {
    FakeMessageBoxes boxes;
    DOSOutputs dos{boxes};
    Recorder rec(dos);
    const int size = 10 * 1024 * 1024;
    SetChild(dos, {"bytes", std::to_string(size)});
    const QByteArray result = dos.ExecuteCommand();

    EXPECT_EQ(rec.over, 1);
    ASSERT_EQ(result.size(), size);
    EXPECT_EQ(dos.Outputs(), result);
    EXPECT_EQ(rec.joined(), result);
    for (const auto& c : rec.chunks) {
        ASSERT_LE(c.size(), DOSOutputs::kChunkSize);
        ASSERT_GT(c.size(), 0);
    }
    for (int i = 0; i < size; i += 4099)
        ASSERT_EQ(result[i], static_cast<char>('a' + i % 26))
            << "stdout and stderr joined in order";
    EXPECT_TRUE(dos.lastSucceeded());
}

TEST(DOSOutputs, SilentCommandEndsOnceAndLastOutputIsNotDropped) {
    FakeMessageBoxes boxes;
    DOSOutputs dos{boxes};
    Recorder rec(dos);
    SetChild(dos, {"silent"});
    EXPECT_TRUE(dos.ExecuteCommand().isEmpty());
    EXPECT_EQ(rec.over, 1);
    EXPECT_TRUE(rec.chunks.empty());

    SetChild(dos, {"slow"});
    EXPECT_EQ(dos.ExecuteCommand(), QByteArray("firstlast"));
    EXPECT_EQ(rec.over, 2);
    EXPECT_EQ(dos.CommandLine(), QStringLiteral(TEST_CHILD " slow")) << "the text is kept";
}

TEST(DOSOutputs, EndsWithItsOwnProcessNotWithOthersHoldingThePipe) {
    // The child exits at once; its own child keeps the pipe open until released.
    QTemporaryDir dir;
    const QString marker = dir.filePath("grandchild");
    FakeMessageBoxes boxes;
    DOSOutputs dos{boxes};
    Recorder rec(dos);
    SetChild(dos, {"linger", marker.toStdString()});
    dos.ExecuteCommand();
    EXPECT_FALSE(QFile::exists(marker + ".gone")) << "waited for the grandchild's end";
    EXPECT_EQ(rec.over, 1);
    EXPECT_EQ(rec.joined(), QByteArray("bye"));
    QFile release(marker + ".release");
    ASSERT_TRUE(release.open(QIODevice::WriteOnly));
    // Leave no stray process behind.
    for (int i = 0; i < 3000 && !QFile::exists(marker + ".gone"); ++i)
        QThread::msleep(10);
}

TEST(DOSOutputs, FailuresToStartShowTheirMessageAndRaiseNoEvent) {
    FakeMessageBoxes boxes;
    DOSOutputs dos{boxes};
    Recorder rec(dos);

    EXPECT_TRUE(dos.ExecuteCommand().isEmpty());
    dos.setCommand("/nowhere/data/conv -i x", "/nowhere/data/conv", {"-i", "x"});
    EXPECT_TRUE(dos.ExecuteCommand().isEmpty());
    dos.setCommand("text only", "", {});
    EXPECT_FALSE(dos.Start()) << "a bare text is never split into a command";

    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[0].text, "Command Line empty");
    EXPECT_EQ(boxes.shown[1].text, "File or command not found");
    EXPECT_EQ(boxes.shown[1].icon, platform::MsgIcon::Critical);
    EXPECT_EQ(boxes.shown[1].title, "Pelkora");
    EXPECT_EQ(rec.over, 0);
    EXPECT_TRUE(rec.chunks.empty());
    EXPECT_FALSE(dos.isRunning());
}

TEST(DOSOutputs, HostileArgumentsReachTheChildByteForByte) {
    QTemporaryDir dir;
    const std::string file = dir.filePath("args").toStdString();
    const std::vector<std::string> hostile = {
        "say \"hi\".wav", "-rf",         "a:b:c.wav", "new\nline",
        "caf\xc3\xa9",    "bad\xff\xfe", " ",         "$HOME;`x`"};
    std::vector<std::string> args = {"args", file};
    args.insert(args.end(), hostile.begin(), hostile.end());
    FakeMessageBoxes boxes;
    DOSOutputs dos{boxes};
    SetChild(dos, args);
    dos.ExecuteCommand();

    QFile f(QString::fromStdString(file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray expected;
    for (const auto& h : hostile)
        expected += QByteArray::fromStdString(h) + '\0';
    EXPECT_EQ(f.readAll(), expected);
}

TEST(DOSOutputs, ExitStatusIsKeptForTheCaller) {
    FakeMessageBoxes boxes;
    DOSOutputs dos{boxes};
    SetChild(dos, {"exit", "3"});
    dos.ExecuteCommand();
    EXPECT_FALSE(dos.lastSucceeded());
    EXPECT_EQ(dos.lastExitCode(), 3);
    SetChild(dos, {"exit", "0"});
    dos.ExecuteCommand();
    EXPECT_TRUE(dos.lastSucceeded());
}

TEST(DOSOutputs, StartReturnsAtOnceAndEventsFollowFromTheEventLoop) {
    FakeMessageBoxes boxes;
    DOSOutputs dos{boxes};
    Recorder rec(dos);
    SetChild(dos, {"slow"});
    ASSERT_TRUE(dos.Start());
    EXPECT_TRUE(rec.chunks.empty()) << "nothing is read before the event loop runs";
    EXPECT_EQ(rec.over, 0);
    EXPECT_TRUE(dos.isRunning());
    EXPECT_FALSE(dos.Start()) << "one command at a time";
    QEventLoop loop;
    QObject::connect(&dos, &DOSOutputs::CommandOver, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(rec.over, 1) << "the command did not end within a minute";
    EXPECT_EQ(rec.joined(), QByteArray("firstlast"));
    EXPECT_FALSE(dos.isRunning());
}

TEST(DOSOutputs, DestroyedByAHandlerDuringARunAsksTheChildToStop) {
    // Asked, not killed: the converter removes its temporary file on the way out.
    QTemporaryDir dir;
    const QString stopped = dir.filePath("stopped");
    FakeMessageBoxes boxes;
    auto* dos = new DOSOutputs(boxes);
    const QPointer<DOSOutputs> alive(dos);
    SetChild(*dos, {"term", stopped.toStdString()});
    QObject::connect(dos, &DOSOutputs::ReceiveOutputs, dos, [dos] { delete dos; });
    EXPECT_TRUE(dos->ExecuteCommand().isEmpty());
    EXPECT_TRUE(alive.isNull());
    EXPECT_TRUE(QFile::exists(stopped)) << "the child got no SIGTERM";
}

} // namespace
