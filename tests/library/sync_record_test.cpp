// The sync record on real SQLite files: what it refuses to open, what it stores, which
// claims count as alive.
#include "app/library/sync_record.h"

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <initializer_list>

#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class SyncRecordTest : public ::testing::Test {
protected:
    std::unique_ptr<SyncRecord> open(QString* error = nullptr) const {
        return SyncRecord::Open(folder, error);
    }
    std::string recordPath() const { return folder.toStdString() + "/" + SyncRecord::kFileName; }

    QTemporaryDir dir;
    QByteArray folder = QFile::encodeName(dir.path());
};

// Runs SQL on the file at `path` by hand, as another program would.
void Execute(const std::string& path, std::initializer_list<const char*> statements) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "by-hand");
        db.setDatabaseName(QString::fromStdString(path));
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        for (const char* statement : statements)
            EXPECT_TRUE(query.exec(statement)) << statement;
        db.close();
    }
    QSqlDatabase::removeDatabase("by-hand");
}

SyncEntry Done(const QByteArray& key, const QByteArray& output) {
    SyncEntry e;
    e.key = key;
    e.sourceSize = 1234;
    e.sourceMtimeNs = 1'700'000'000'123'456'789;
    e.fingerprint = "format=.mp3";
    e.naming = "\nflat";
    e.output = output;
    e.outputSize = 99;
    e.outputMtimeNs = e.sourceMtimeNs;
    e.done = true;
    return e;
}

TEST_F(SyncRecordTest, WhatIsNoRecordOfOursIsRefusedAndLeftAsItWas) {
    const std::string garbage(4096, 'x');
    std::ofstream(recordPath(), std::ios::binary) << garbage;
    QString error;
    EXPECT_FALSE(open(&error));
    EXPECT_TRUE(error.contains(SyncRecord::kFileName)) << error.toStdString();
    EXPECT_EQ(ReadFile(recordPath()), garbage);

    // Some other program's database.
    fs::remove(recordPath());
    Execute(recordPath(), {"CREATE TABLE songs (name TEXT)"});
    EXPECT_FALSE(open(&error));
    EXPECT_TRUE(error.contains("some other program")) << error.toStdString();

    fs::remove(recordPath());
    fs::create_symlink(dir.filePath("elsewhere").toStdString(), recordPath());
    EXPECT_FALSE(open(&error));
    EXPECT_FALSE(fs::exists(dir.filePath("elsewhere").toStdString())) << "written through a link";

    EXPECT_FALSE(SyncRecord::Open(folder + "/missing", &error));
    EXPECT_FALSE(error.isEmpty());

    if (::geteuid() != 0) { // root writes anywhere
        fs::remove(recordPath());
        fs::permissions(dir.path().toStdString(), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(open(&error));
        fs::permissions(dir.path().toStdString(), fs::perms::owner_all);
    }
}

// A record of the first version, as the program of the last release left it.
void MakeFirstVersionRecord(const std::string& path) {
    Execute(path,
            {"CREATE TABLE sources (key BLOB PRIMARY KEY NOT NULL, source_size INTEGER NOT NULL, "
             "source_mtime_ns INTEGER NOT NULL, fingerprint BLOB, naming BLOB, output BLOB NOT "
             "NULL UNIQUE, output_size INTEGER NOT NULL, output_mtime_ns INTEGER NOT NULL, done "
             "INTEGER NOT NULL, owner_host TEXT, owner_boot TEXT, owner_pid INTEGER NOT NULL)",
             "PRAGMA application_id=1349219193", "PRAGMA user_version=1",
             "INSERT INTO sources VALUES (CAST('a.wav' AS BLOB), 1234, 1700000000123456789, "
             "CAST('format=.mp3' AS BLOB), CAST(X'0A666C6174' AS BLOB), CAST('a.mp3' AS BLOB), "
             "99, 1700000000123456789, 1, NULL, NULL, 0)",
             "INSERT INTO sources VALUES (CAST('b.wav' AS BLOB), 1, 2, NULL, NULL, "
             "CAST('b.mp3' AS BLOB), 0, 0, 0, 'elsewhere', 'x', 7)"});
}

// The last release's records open and keep every row; a newer program's are left alone.
TEST_F(SyncRecordTest, AFirstVersionRecordIsUpdatedAndANewerOneRefused) {
    MakeFirstVersionRecord(recordPath());
    {
        auto record = open();
        ASSERT_TRUE(record);
        EXPECT_EQ(record->find("a.wav"), Done("a.wav", "a.mp3"));
        const auto claim = record->find("b.wav");
        ASSERT_TRUE(claim);
        EXPECT_FALSE(SyncRecord::OwnerAlive(*claim)) << "a claim of unknown age is left over";
        ASSERT_TRUE(record->begin());
        EXPECT_TRUE(record->put(SyncRecord::ClaimedBySelf(Done("c.wav", "c.mp3"))));
        ASSERT_TRUE(record->commit());
    }
    auto again = open();
    ASSERT_TRUE(again) << "opened a second time";
    EXPECT_GT(again->find("c.wav")->claimedAtNs, 0);
    again.reset();

    Execute(recordPath(), {"PRAGMA user_version=99"});
    const std::string before = ReadFile(recordPath());
    QString error;
    EXPECT_FALSE(open(&error));
    EXPECT_TRUE(error.contains("newer version")) << error.toStdString();
    EXPECT_EQ(ReadFile(recordPath()), before);
}

TEST_F(SyncRecordTest, EntriesKeepTheirBytesAndNoTwoHoldOneOutput) {
    {
        auto record = open();
        ASSERT_TRUE(record);
        ASSERT_TRUE(record->begin());
        // Not UTF-8: a file name is bytes.
        EXPECT_TRUE(record->put(Done("sub/\xff\xfe.wav", "a.mp3")));
        EXPECT_TRUE(record->put(Done("b.wav", "b.mp3")));
        EXPECT_FALSE(record->put(Done("c.wav", "a.mp3"))) << "an output held by another key";
        EXPECT_TRUE(record->outputHeldByOther("a.mp3", "b.wav"));
        EXPECT_FALSE(record->outputHeldByOther("a.mp3", "sub/\xff\xfe.wav"));
        EXPECT_FALSE(record->outputHeldByOther("c.mp3", "b.wav"));
        // A key's own entry is replaced, the other keeps its output.
        EXPECT_TRUE(record->put(Done("b.wav", "b (2).mp3")));
        ASSERT_TRUE(record->commit());
    }
    auto again = open();
    ASSERT_TRUE(again) << "reopened";
    EXPECT_EQ(again->find("sub/\xff\xfe.wav"), Done("sub/\xff\xfe.wav", "a.mp3"));
    EXPECT_EQ(again->find("b.wav")->output, "b (2).mp3");
    EXPECT_FALSE(again->find("c.wav"));
    EXPECT_FALSE(again->find("sub/\xff\xfe"));

    // What is not committed is not kept.
    ASSERT_TRUE(again->begin());
    ASSERT_TRUE(again->remove("b.wav"));
    again->rollback();
    EXPECT_TRUE(again->find("b.wav"));

    // The snapshot a run starts from holds every finished entry as stored, and no claim.
    ASSERT_TRUE(again->begin());
    SyncEntry other = Done("c.wav", "c.mp3");
    other.sourceSize = 7;
    other.outputSize = 8;
    other.outputMtimeNs = 9;
    other.fingerprint = "format=.flac";
    ASSERT_TRUE(again->put(other));
    ASSERT_TRUE(again->put(SyncRecord::ClaimedBySelf(Done("d.wav", "d.mp3"))));
    ASSERT_TRUE(again->commit());
    QString error;
    std::optional<SyncSnapshot> snapshot;
    ASSERT_TRUE(SyncRecord::ReadSnapshot(folder, snapshot, error)) << error.toStdString();
    ASSERT_TRUE(snapshot);
    EXPECT_EQ(snapshot->size(), 3);
    for (const QByteArray key : {"sub/\xff\xfe.wav", "b.wav", "c.wav"}) {
        ASSERT_TRUE(snapshot->find(key)) << key.toStdString();
        EXPECT_EQ(*snapshot->find(key), *again->find(key)) << key.toStdString();
    }
    EXPECT_FALSE(snapshot->find("d.wav"));
}

TEST(SyncClaims, OnlyALiveProcessOfThisMachineHoldsAClaim) {
    SyncEntry claim = SyncRecord::ClaimedBySelf(Done("a.wav", "a.mp3"));
    EXPECT_FALSE(claim.done);
    EXPECT_FALSE(SyncRecord::OwnerAlive(claim)) << "this process's leftover";

    claim.ownerPid = ::getppid();
    EXPECT_TRUE(SyncRecord::OwnerAlive(claim));
    const SyncEntry restarted = [&] {
        SyncEntry e = claim;
        e.ownerBoot = "another-boot";
        return e;
    }();
    EXPECT_FALSE(SyncRecord::OwnerAlive(restarted));
    SyncEntry remote = claim;
    remote.ownerHost = QSysInfo::machineHostName() + ".elsewhere";
    remote.ownerPid = 1'999'999'999;
    EXPECT_TRUE(SyncRecord::OwnerAlive(remote)) << "another machine's cannot be checked";
    constexpr qint64 kHourNs = 3600LL * 1'000'000'000;
    remote.claimedAtNs -= 7 * kHourNs;
    EXPECT_FALSE(SyncRecord::OwnerAlive(remote)) << "longer ago than any one file takes";
    remote.claimedAtNs += 8 * kHourNs;
    EXPECT_TRUE(SyncRecord::OwnerAlive(remote)) << "a clock an hour ahead";

    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);
    claim.ownerPid = child;
    EXPECT_FALSE(SyncRecord::OwnerAlive(claim)) << "a process that is gone";

    SyncEntry done = claim;
    done.done = true;
    done.ownerPid = ::getppid();
    EXPECT_FALSE(SyncRecord::OwnerAlive(done)) << "a finished entry is nobody's claim";
}

} // namespace
