#include "app/run/dos_outputs.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <memory>

namespace {

constexpr int kDeadlineMs = 60'000;

// Children written for the shell; "$1" ... are the arguments after the script.
// The producers' complaints about the pipe that head closes are not part of the output.
constexpr char kAlphabet[] =
    "yes abcdefghijklmnopqrstuvwxyz 2>/dev/null | tr -d '\\n' 2>/dev/null | head -c $1";
constexpr char kLinger[] = "printf bye; (i=0; while [ ! -e \"$1.release\" ] && [ $i -lt 2000 ]; "
                           "do sleep 0.01; i=$((i+1)); done; : >\"$1.gone\") &";
// Told to stop, it leaves a mark and ends.
constexpr char kTerm[] = "trap ': >\"$1\"; kill $!; exit 0' TERM; echo ready; sleep 30 & wait";

void SetChild(DOSOutputs& dos, const std::string& script, std::vector<std::string> args = {}) {
    args.insert(args.begin(), {"-c", script, "sh"});
    dos.setCommand(QString::fromStdString("sh -c " + script), "/bin/sh", std::move(args));
}

struct Runner {
    Runner() {
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
    DOSOutputs dos;
    std::vector<QByteArray> chunks;
    int over = 0;
};

// Starts a child that marks `mark` when told to stop; true once it is running.
bool StartStoppable(Runner& r, const QString& mark) {
    SetChild(r.dos, kTerm, {mark.toStdString()});
    return r.dos.Start() == StartError::None &&
           QTest::qWaitFor([&] { return !r.chunks.empty(); }, kDeadlineMs);
}

bool AppearsSoon(const QString& path) {
    return QTest::qWaitFor([&] { return QFile::exists(path); }, kDeadlineMs);
}

TEST(DOSOutputs, OutputArrivesCompleteAndInOrderALineAtATime) {
    Runner r;
    const int half = 26 * 201'649; // 5 MiB without a line end, ending on a whole alphabet
    SetChild(r.dos, std::string(kAlphabet) + "; " + kAlphabet + " >&2", {std::to_string(half)});
    const QByteArray result = r.dos.ExecuteCommand();
    EXPECT_EQ(r.over, 1);
    ASSERT_EQ(result.size(), 2 * half);
    EXPECT_EQ(r.joined(), result);
    for (std::size_t i = 0; i + 1 < r.chunks.size(); ++i)
        ASSERT_EQ(r.chunks[i].size(), DOSOutputs::kMaxLineBytes) << "an endless line in pieces";
    for (int i = 0; i < result.size(); i += 4099)
        ASSERT_EQ(result[i], static_cast<char>('a' + i % 26)) << "stdout and stderr in order";

    // Lines end at a line feed or a carriage return, however the writes fell; the last one
    // needs no end. The child finishes its second line only once the first lines have arrived.
    QTemporaryDir dir;
    const QString release = dir.filePath("release");
    SetChild(r.dos,
             "printf 'Duration: 1\\nsize= time=0.5\\rsize= ti'; i=0; "
             "while [ ! -e \"$1\" ] && [ $i -lt 3000 ]; do sleep 0.01; i=$((i+1)); done; "
             "printf 'me=1\\r\\nlast'",
             {release.toStdString()});
    r.chunks.clear();
    const auto connection = QObject::connect(&r.dos, &DOSOutputs::ReceiveOutputs, [&] {
        if (r.chunks.size() == 2)
            (void)QFile(release).open(QIODevice::WriteOnly);
    });
    r.dos.ExecuteCommand();
    QObject::disconnect(connection);
    EXPECT_EQ(r.chunks, (std::vector<QByteArray>{"Duration: 1\n", "size= time=0.5\r",
                                                 "size= time=1\r", "\n", "last"}));
}

TEST(DOSOutputs, ArgumentBytesReachTheChildExactlyAndItsExitStatusIsKept) {
    const std::vector<std::string> hostile = {"say \"hi\".wav", "-rf", "new\nline",  "caf\xc3\xa9",
                                              "bad\xff\xfe",    " ",   "$HOME;`x`|<"};
    Runner r;
    SetChild(r.dos, "printf '%s\\0' \"$@\"", hostile);
    QByteArray expected;
    for (const auto& h : hostile)
        expected += QByteArray::fromStdString(h) + '\0';
    EXPECT_EQ(r.dos.ExecuteCommand(), expected);
    EXPECT_TRUE(r.dos.lastSucceeded());

    SetChild(r.dos, "exit 3");
    r.dos.ExecuteCommand();
    EXPECT_FALSE(r.dos.lastSucceeded());
    EXPECT_EQ(r.dos.lastExitCode(), 3);
}

TEST(DOSOutputs, FailuresToStartAreReturnedAndRaiseNoEvent) {
    Runner r;
    StartError error = StartError::None;
    EXPECT_TRUE(r.dos.ExecuteCommand(&error).isEmpty());
    EXPECT_EQ(error, StartError::EmptyCommand);
    r.dos.setCommand("/nowhere/data/conv -i x", "/nowhere/data/conv", {"-i", "x"});
    EXPECT_EQ(r.dos.Start(), StartError::NotFound);
    EXPECT_EQ(StartErrorText(StartError::EmptyCommand), "Command Line empty");
    EXPECT_EQ(StartErrorText(StartError::NotFound), "File or command not found");
    EXPECT_EQ(r.over, 0);
    EXPECT_FALSE(r.dos.isRunning());
}

TEST(DOSOutputs, EndsWithItsOwnProcessNotWithAGrandchildHoldingThePipe) {
    QTemporaryDir dir;
    const QString marker = dir.filePath("grandchild");
    Runner r;
    SetChild(r.dos, kLinger, {marker.toStdString()});
    r.dos.ExecuteCommand();
    EXPECT_FALSE(QFile::exists(marker + ".gone")) << "waited for the grandchild";
    EXPECT_EQ(r.over, 1);
    EXPECT_EQ(r.joined(), QByteArray("bye"));
    QFile release(marker + ".release");
    ASSERT_TRUE(release.open(QIODevice::WriteOnly));
    EXPECT_TRUE(AppearsSoon(marker + ".gone"));
}

// Asked, not killed: the converter removes its temporary file on the way out.
TEST(DOSOutputs, DeletedByAHandlerOrDestroyedWhileRunningItStopsTheChild) {
    QTemporaryDir dir;
    auto* dos = new DOSOutputs;
    const QPointer<DOSOutputs> alive(dos);
    SetChild(*dos, kTerm, {dir.filePath("first").toStdString()});
    QObject::connect(dos, &DOSOutputs::ReceiveOutputs, dos, [dos] { delete dos; });
    EXPECT_TRUE(dos->ExecuteCommand().isEmpty());
    EXPECT_TRUE(alive.isNull());
    EXPECT_TRUE(QFile::exists(dir.filePath("first"))) << "the child got no SIGTERM";

    ASSERT_TRUE(StartStoppable(*std::make_unique<Runner>(), dir.filePath("second")));
    EXPECT_TRUE(AppearsSoon(dir.filePath("second"))) << "a runner destroyed mid-run left its child";
}

// A stop request reaches the child even when the program was started with SIGTERM ignored,
// which the child would otherwise inherit (and a shell then could not even trap).
TEST(DOSOutputs, AStopRequestReachesAChildOfAProgramThatIgnoresSigterm) {
    QTemporaryDir dir;
    struct sigaction ignore = {}, previous = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGTERM, &ignore, &previous);
    Runner r;
    const bool started = StartStoppable(r, dir.filePath("stopped"));
    sigaction(SIGTERM, &previous, nullptr);
    ASSERT_TRUE(started);
    r.dos.requestStop();
    EXPECT_TRUE(AppearsSoon(dir.filePath("stopped"))) << "the child ignored the request";
}

// A child outliving the program that started it would go on putting outputs in place for a run
// that is over. The kernel tells the child when the thread that started it ends, which lets the
// starter go away here without taking the test with it.
TEST(DOSOutputs, AChildIsToldToStopWhenItsStarterIsGone) {
    QTemporaryDir dir;
    std::unique_ptr<Runner> r;
    QThread* const main = QThread::currentThread();
    bool started = false;
    std::unique_ptr<QThread> starter(QThread::create([&] {
        r = std::make_unique<Runner>();
        started = StartStoppable(*r, dir.filePath("stopped"));
        r->dos.moveToThread(main); // the runner stays; only its starting thread goes
    }));
    starter->start();
    ASSERT_TRUE(starter->wait(kDeadlineMs));
    ASSERT_TRUE(started);
    EXPECT_TRUE(AppearsSoon(dir.filePath("stopped"))) << "the child was not told";
}

} // namespace
