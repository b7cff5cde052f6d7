// pelkora --batch --sync with the real program and converter: what a rerun leaves alone, what
// it converts or moves, a killed run resumed, and two runs into one folder at once.
#include "headless/cli_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <set>

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using namespace cli;

constexpr const char* kRecord = ".pelkora-sync.sqlite";

// Sorted files below a folder (no folders, not the record), relative to it.
Names Files(const std::string& folder) {
    Names names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file() &&
            !entry.path().filename().string().starts_with(".pelkora-sync"))
            names.push_back(fs::relative(entry.path(), folder).string());
    std::sort(names.begin(), names.end());
    return names;
}

struct Stamp {
    ino_t inode;
    std::int64_t mtimeNs;
    bool operator==(const Stamp&) const = default;
};

Stamp StampOf(const std::string& path) {
    struct stat st = {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return {st.st_ino, std::int64_t(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

std::map<std::string, Stamp> Stamps(const std::string& folder) {
    std::map<std::string, Stamp> stamps;
    for (const std::string& name : Files(folder))
        stamps[name] = StampOf(folder + "/" + name);
    return stamps;
}

// The record as another reader sees it: rows by key, "output done".
std::map<std::string, std::string> RecordRows(const std::string& folder) {
    std::map<std::string, std::string> rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "reader");
        db.setDatabaseName(QString::fromStdString(folder + "/" + kRecord));
        EXPECT_TRUE(db.open());
        QSqlQuery check(db);
        EXPECT_TRUE(check.exec("PRAGMA integrity_check") && check.next());
        EXPECT_EQ(check.value(0).toString(), "ok");
        QSqlQuery query(db);
        EXPECT_TRUE(query.exec("SELECT key, output, done FROM sources"));
        while (query.next())
            rows[query.value(0).toByteArray().toStdString()] =
                query.value(1).toByteArray().toStdString() + " " +
                query.value(2).toString().toStdString();
        db.close();
    }
    QSqlDatabase::removeDatabase("reader");
    return rows;
}

// Whether SQLite finds the record whole, or there is none yet.
bool RecordWhole(const std::string& folder) {
    if (!fs::exists(folder + "/" + kRecord))
        return true;
    bool whole = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "checker");
        db.setDatabaseName(QString::fromStdString(folder + "/" + kRecord));
        QSqlQuery check(db);
        whole = db.open() && check.exec("PRAGMA integrity_check") && check.next() &&
                check.value(0).toString() == "ok";
    }
    QSqlDatabase::removeDatabase("checker");
    return whole;
}

// Entries recorded as done, read while a run may be writing; 0 before there is a record.
int DoneCount(const std::string& folder) {
    if (!fs::exists(folder + "/" + kRecord))
        return 0;
    int count = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "watcher");
        db.setConnectOptions("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=10000");
        db.setDatabaseName(QString::fromStdString(folder + "/" + kRecord));
        QSqlQuery query(db);
        if (db.open() && query.exec("SELECT count(*) FROM sources WHERE done = 1") && query.next())
            count = query.value(0).toInt();
    }
    QSqlDatabase::removeDatabase("watcher");
    return count;
}

// Every run is a synchronised one into `out`.
class SyncCli : public ProgramCopy {
protected:
    std::unique_ptr<QProcess> start(const std::vector<std::string>& args) const {
        std::vector<std::string> all{"--sync", "--output", out};
        all.insert(all.end(), args.begin(), args.end());
        return ProgramCopy::start(all);
    }
    Finished Sync(const std::vector<std::string>& args) const { return Finish(*start(args)); }
};

TEST_F(SyncCli, ARerunConvertsOnlyWhatIsNewOrChangedAndLeavesTheRestUntouched) {
    fs::create_directories(in + "/sub");
    for (const std::string name : {"a.wav", "b.wav", "sub/c.wav"})
        MakeTone(in + "/" + name, 1);
    const Names sources = Files(in);
    Finished run = Sync({"--format", "mp3", in});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, "3 converted\n")) << run.err;
    EXPECT_EQ(Files(out), (Names{"a.mp3", "b.mp3", "c.mp3"}));
    EXPECT_EQ(StampOf(out + "/c.mp3").mtimeNs, StampOf(in + "/sub/c.wav").mtimeNs)
        << "an output carries its source's time";
    EXPECT_EQ(Files(in), sources) << "nothing is written among the sources";

    auto before = Stamps(out);
    run = Sync({"--format", "mp3", in});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, "0 converted, 3 up to date\n")) << run.err;
    EXPECT_TRUE(Contains(run.err, "a.wav \u2192 a.mp3: up to date")) << run.err;
    EXPECT_EQ(Stamps(out), before) << "rewritten";

    // A changed source (same size, new time), a new one; the rest stays.
    MakeTone(in + "/b.wav", 1, 44100, 880);
    MakeTone(in + "/sub/d.wav", 1);
    run = Sync({"--format", "mp3", in});
    EXPECT_TRUE(Contains(run.err, "2 converted, 2 up to date\n")) << run.err;
    auto after = Stamps(out);
    EXPECT_EQ(after["a.mp3"], before["a.mp3"]);
    EXPECT_EQ(after["c.mp3"], before["c.mp3"]);
    EXPECT_NE(after["b.mp3"], before["b.mp3"]);
    EXPECT_EQ(after["b.mp3"].mtimeNs, StampOf(in + "/b.wav").mtimeNs);

    // An output changed or removed since it was made is made again.
    std::ofstream(out + "/a.mp3", std::ios::app) << "edited";
    fs::remove(out + "/c.mp3");
    run = Sync({"--format", "mp3", in});
    EXPECT_TRUE(Contains(run.err, "2 converted, 2 up to date\n")) << run.err;
    EXPECT_EQ(Files(out), (Names{"a.mp3", "b.mp3", "c.mp3", "d.mp3"}));

    // Choices that shape the audio convert everything again; a new format replaces the old.
    run = Sync({"--format", "mp3", "--bitrate", "64", in});
    EXPECT_TRUE(Contains(run.err, "4 converted\n")) << run.err;
    run = Sync({"--format", "flac", "--bitrate", "64", in});
    EXPECT_TRUE(Contains(run.err, "4 converted\n")) << run.err;
    EXPECT_EQ(Files(out), (Names{"a.flac", "b.flac", "c.flac", "d.flac"}));
    EXPECT_EQ(RecordRows(out), (std::map<std::string, std::string>{{"a.wav", "a.flac 1"},
                                                                   {"b.wav", "b.flac 1"},
                                                                   {"sub/c.wav", "c.flac 1"},
                                                                   {"sub/d.wav", "d.flac 1"}}));
}

TEST_F(SyncCli, ANewNameMovesTheOutputsWithoutConvertingThem) {
    fs::create_directories(in + "/sub");
    MakeTone(in + "/a.wav", 1);
    MakeTone(in + "/sub/c.wav", 1);
    Finished run = Sync({"--format", "ogg", "--keep-tree", in});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto before = Stamps(out);
    ASSERT_EQ(Files(out), (Names{"a.ogg", "sub/c.ogg"}));

    const std::string report = root.filePath("run.csv").toStdString();
    const auto statuses = [&report] {
        std::ifstream file(report);
        std::multiset<std::string> found;
        for (std::string line; std::getline(file, line);)
            for (const char* status : {",renamed,", ",up-to-date,", ",converted,"})
                if (Contains(line, status))
                    found.insert(status);
        return found;
    };
    run = Sync({"--format", "ogg", "--name", "moved/{stem}", "--report", report, in});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, "0 converted, 2 up to date\n")) << run.err;
    EXPECT_EQ(statuses(), (std::multiset<std::string>{",renamed,", ",renamed,"}));
    EXPECT_EQ(Files(out), (Names{"moved/a.ogg", "moved/c.ogg"}));
    EXPECT_EQ(StampOf(out + "/moved/a.ogg"), before.at("a.ogg"));
    EXPECT_EQ(StampOf(out + "/moved/c.ogg"), before.at("sub/c.ogg"));
    EXPECT_FALSE(fs::exists(out + "/sub")) << "the emptied folder stays";

    run = Sync({"--format", "ogg", "--name", "moved/{stem}", "--report", report, in});
    EXPECT_TRUE(Contains(run.err, "0 converted, 2 up to date\n")) << run.err;
    EXPECT_EQ(statuses(), (std::multiset<std::string>{",up-to-date,", ",up-to-date,"}));
}

TEST_F(SyncCli, ARecordThatCannotBeUsedStopsTheRunBeforeAnything) {
    MakeTone(in + "/a.wav", 1);
    fs::create_directories(out);
    const std::string garbage(3000, 'g');
    {
        std::ofstream file(out + "/" + kRecord, std::ios::binary);
        file << garbage;
    }
    const Finished run = Sync({"--format", "mp3", in});
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_TRUE(
        Contains(run.err, "pelkora: the sync record " + out + "/" + kRecord + " cannot be used"))
        << run.err;
    EXPECT_EQ(Files(out), Names{});
    std::ifstream file(out + "/" + kRecord, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), garbage);
}

// Files named on their own are known by their names: two of one name would take turns
// replacing one output, so the second is refused.
TEST_F(SyncCli, TwoSourcesOfOneKeyInOneRunAreConvertedOnce) {
    fs::create_directories(in + "/other");
    MakeTone(in + "/a.wav", 1);
    MakeTone(in + "/other/a.wav", 2);
    const Finished run = Sync({"--format", "wav", in + "/a.wav", in + "/other/a.wav"});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_TRUE(Contains(run.err, "1 converted, 1 failed\n  " + in +
                                      "/other/a.wav: another file of this run has the same path "
                                      "below its folder (a.wav)"))
        << run.err;
    EXPECT_EQ(Files(out), Names{"a.wav"});
    EXPECT_EQ(fs::file_size(out + "/a.wav"), fs::file_size(in + "/a.wav"));
}

TEST_F(SyncCli, AKilledRunIsResumedAndItsRecordStaysReadable) {
    constexpr int kFiles = 6;
    for (int i = 0; i < kFiles; ++i)
        MakeTone(in + "/t" + std::to_string(i) + ".flac", 60);
    auto process = start({"--format", "mp3", "-j", "1", in});
    // Killed once one file is recorded and the next is under way.
    QTRY_VERIFY_WITH_TIMEOUT(DoneCount(out) >= 1, kDeadlineMs);
    ASSERT_EQ(::kill(static_cast<pid_t>(process->processId()), SIGKILL), 0);
    Finish(*process);

    const Finished run = Sync({"--format", "mp3", "-j", "2", in});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, " up to date\n")) << "the finished output is kept: " << run.err;
    Names expected;
    for (int i = 0; i < kFiles; ++i)
        expected.push_back("t" + std::to_string(i) + ".mp3");
    EXPECT_EQ(Files(out), expected) << "a half-written output is left";
    const auto rows = RecordRows(out);
    EXPECT_EQ(rows.size(), std::size_t(kFiles));
    for (const auto& [key, row] : rows)
        EXPECT_TRUE(row.ends_with(" 1")) << key << " " << row;
    EXPECT_TRUE(Contains(Sync({"--format", "mp3", in}).err, "0 converted, 6 up to date\n"));
}

// Killed again and again at moments spread over a run (starting, reading the record, between
// and inside conversions): the record stays whole, and the next run finishes what is left with
// every output complete.
TEST_F(SyncCli, RunsKilledAtAnyMomentResumeWithEveryOutputWhole) {
    constexpr int kFiles = 16, kKills = 8;
    for (int i = 0; i < kFiles; ++i)
        MakeTone(in + "/s" + std::to_string(10 + i) + ".wav", 1);
    std::mt19937 random(20261208);
    std::string moments;
    for (int kill = 0; kill < kKills; ++kill) {
        const int delayMs = std::uniform_int_distribution<int>(0, 500)(random);
        moments += std::to_string(delayMs) + " ms, ";
        auto process = start({"--format", "mp3", "-j", "2", in});
        ASSERT_TRUE(process->waitForStarted(kDeadlineMs));
        const auto pid = static_cast<pid_t>(process->processId());
        ASSERT_GT(pid, 0);
        QTest::qWait(delayMs);
        // A run that ended already has been reaped: its number may be another's by now.
        if (process->state() != QProcess::NotRunning) {
            ::kill(pid, SIGKILL);
            Finish(*process);
        }
        ASSERT_TRUE(RecordWhole(out)) << "after kills at " << moments;
    }
    const Finished run = Sync({"--format", "mp3", "-j", "2", in});
    EXPECT_EQ(run.exitCode, 0) << run.err << "\nkills at " << moments;
    Names expected;
    for (int i = 0; i < kFiles; ++i)
        expected.push_back("s" + std::to_string(10 + i) + ".mp3");
    EXPECT_EQ(Files(out), expected) << "kills at " << moments;
    for (const std::string& name : Files(out))
        EXPECT_NEAR(Seconds(out + "/" + name), 1.0, 0.1) << name << ", kills at " << moments;
    const auto rows = RecordRows(out);
    EXPECT_EQ(rows.size(), std::size_t(kFiles));
    for (const auto& [key, row] : rows)
        EXPECT_TRUE(row.ends_with(" 1")) << key << " " << row;
}

// Sources of different keys whose outputs have one name: each run claims its names in the
// record, so the " (2)" rule holds between them as within one run.
TEST_F(SyncCli, TwoRunsAtOnceIntoOneFolderNeverWriteOneNameTwice) {
    constexpr int kFiles = 5;
    const std::string first = in + "/first", second = in + "/second";
    fs::create_directories(second + "/sub");
    fs::create_directories(first);
    for (int i = 0; i < kFiles; ++i) {
        MakeTone(first + "/s" + std::to_string(i) + ".wav", 2);
        MakeTone(second + "/sub/s" + std::to_string(i) + ".wav", 2);
    }
    auto one = start({"--format", "mp3", "-j", "2", first});
    auto two = start({"--format", "mp3", "-j", "2", second});
    const Finished a = Finish(*one), b = Finish(*two);
    EXPECT_EQ(a.exitCode, 0) << a.err;
    EXPECT_EQ(b.exitCode, 0) << b.err;
    Names expected;
    for (int i = 0; i < kFiles; ++i) {
        expected.push_back("s" + std::to_string(i) + " (2).mp3");
        expected.push_back("s" + std::to_string(i) + ".mp3");
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Files(out), expected);
    const auto rows = RecordRows(out);
    EXPECT_EQ(rows.size(), std::size_t(2 * kFiles));

    // The same folder twice at once: every source converted once in all.
    fs::remove_all(out);
    one = start({"--format", "mp3", "-j", "2", first});
    two = start({"--format", "mp3", "-j", "2", first});
    const Finished c = Finish(*one), d = Finish(*two);
    EXPECT_EQ(Files(out), (Names{"s0.mp3", "s1.mp3", "s2.mp3", "s3.mp3", "s4.mp3"}))
        << c.err << d.err;
    EXPECT_TRUE(Contains(Sync({"--format", "mp3", first}).err, "0 converted, 5 up to date\n"));
}

// The recipe for many machines, on this one: GNU parallel starts shards at once, and a
// machine that mounts the library elsewhere takes the last share. Tracks of one name in every
// album make the shards compete for the same output names.
TEST_F(SyncCli, ShardsTogetherConvertEverySourceOnceWhereverTheLibraryIsMounted) {
    constexpr int kAlbums = 4, kTracks = 3;
    for (int album = 0; album < kAlbums; ++album) {
        fs::create_directories(in + "/album" + std::to_string(album));
        for (int track = 1; track <= kTracks; ++track)
            MakeTone(in + "/album" + std::to_string(album) + "/0" + std::to_string(track) + ".wav",
                     1);
    }
    const std::string elsewhere = root.filePath("mounted-elsewhere").toStdString();
    fs::create_directory_symlink(in, elsewhere);

    QProcess parallel;
    parallel.setProcessEnvironment(environment());
    parallel.start("parallel",
                   {"--will-cite", QString::fromStdString(program + "/pelkora"), "--batch",
                    "--sync", "--shard", "{}/3", "--format", "mp3", "--output",
                    QString::fromStdString(out), QString::fromStdString(in), ":::", "1", "2"});
    const Finished both = Finish(parallel);
    ASSERT_EQ(both.exitCode, 0) << both.out << both.err;
    const Finished last = Sync({"--shard", "3/3", "--format", "mp3", elsewhere});
    ASSERT_EQ(last.exitCode, 0) << last.err;

    int converted = 0;
    for (const std::string& text : {both.out + both.err, last.err})
        for (std::size_t at = text.find(" converted"); at != std::string::npos;
             at = text.find(" converted", at + 1))
            converted += std::atoi(text.substr(text.rfind('\n', at) + 1).c_str());
    EXPECT_EQ(converted, kAlbums * kTracks) << both.err << last.err;
    Names expected;
    for (int track = 1; track <= kTracks; ++track)
        for (const std::string suffix : {"", " (2)", " (3)", " (4)"})
            expected.push_back("0" + std::to_string(track) + suffix + ".mp3");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Files(out), expected);
    std::set<std::string> outputs;
    for (const auto& [key, row] : RecordRows(out))
        EXPECT_TRUE(outputs.insert(row).second) << key << " shares " << row;
    EXPECT_EQ(outputs.size(), std::size_t(kAlbums * kTracks));
    EXPECT_TRUE(Contains(Sync({"--format", "mp3", elsewhere}).err, "0 converted, 12 up to date\n"));
}

// Only an output the record describes as it was made goes; the user's own files and outputs
// changed since stay.
TEST_F(SyncCli, PruneTrashesTheUnchangedOutputsOfVanishedSources) {
    fs::create_directories(in + "/gone");
    fs::create_directories(in + "/edited");
    for (const std::string name : {"keep.wav", "gone/a.wav", "edited/b.wav"})
        MakeTone(in + "/" + name, 1);
    Finished run = Sync({"--format", "mp3", "--keep-tree", in});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto trashedSize = fs::file_size(out + "/gone/a.mp3");
    fs::remove(in + "/gone/a.wav");
    fs::remove(in + "/edited/b.wav");
    WriteFile(out + "/mine.txt", "not an output");
    std::ofstream(out + "/edited/b.mp3", std::ios::app) << "the user's tag";

    const std::string report = root.filePath("run.csv").toStdString();
    run = Sync({"--format", "mp3", "--keep-tree", "--prune", "--report", report, in});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, "0 converted, 1 up to date, 1 pruned\n")) << run.err;
    EXPECT_TRUE(Contains(run.err, "pruned: " + out + "/gone/a.mp3\n")) << run.err;
    EXPECT_TRUE(Contains(run.err, out + "/edited/b.mp3: changed since it was made; left in place"))
        << run.err;
    EXPECT_EQ(Files(out), (Names{"edited/b.mp3", "keep.mp3", "mine.txt"}));
    EXPECT_FALSE(fs::exists(out + "/gone")) << "the emptied folder stays";
    const std::string trash = home + "/.local/share/Trash";
    EXPECT_EQ(Files(trash + "/files"), Names{"a.mp3"});
    EXPECT_EQ(fs::file_size(trash + "/files/a.mp3"), trashedSize);
    EXPECT_TRUE(fs::exists(trash + "/info/a.mp3.trashinfo"));
    EXPECT_EQ(RecordRows(out), (std::map<std::string, std::string>{{"keep.wav", "keep.mp3 1"}}));
    EXPECT_TRUE(Contains(ReadFile(report), "gone/a.wav," + out + "/gone/a.mp3,pruned,"))
        << ReadFile(report);

    // Nothing is left to prune; the changed output is no longer the record's.
    run = Sync({"--format", "mp3", "--keep-tree", "--prune", in});
    EXPECT_TRUE(Contains(run.err, "0 converted, 1 up to date\n")) << run.err;
    EXPECT_EQ(Files(out), (Names{"edited/b.mp3", "keep.mp3", "mine.txt"}));
}

// A source the search did not list but that is still below a given folder is not gone.
TEST_F(SyncCli, PruneLeavesOutputsOfSourcesStillInAGivenFolder) {
    const std::string library = in + "/library";
    fs::create_directories(library + "/linked");
    MakeTone(library + "/linked/a.wav", 1);
    MakeTone(library + "/b.wav", 1);
    ASSERT_EQ(Sync({"--format", "wav", library}).exitCode, 0);
    // Links to folders are not searched, yet the file is there through one.
    fs::rename(library + "/linked", in + "/elsewhere");
    fs::create_directory_symlink(in + "/elsewhere", library + "/linked");
    const Finished run = Sync({"--format", "wav", "--prune", library});
    EXPECT_TRUE(Contains(run.err, "0 converted, 1 up to date\n")) << run.err;
    EXPECT_EQ(Files(out), (Names{"a.wav", "b.wav"}));
}

TEST_F(SyncCli, PruneWithoutSyncIsBadUsage) {
    MakeTone(in + "/a.wav", 1);
    const Finished run = Batch({"--prune", "--format", "mp3", "--output", out, in});
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_TRUE(Contains(run.err, "--prune needs --sync")) << run.err;
    EXPECT_FALSE(fs::exists(out));
}

} // namespace
