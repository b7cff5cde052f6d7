#include "app/library/sync_record.h"

#include <QAtomicInteger>
#include <QDeadlineTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QThread>
#include <QVariant>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>

#include <sqlite3.h>

#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace {

// "Pksy": tells our record from any other SQLite file someone put there.
constexpr qint64 kApplicationId = 0x506b7379;
// Long enough for another process's short transactions on a loaded machine.
constexpr int kBusyTimeoutMs = 60'000;
// 2: claims carry the time they were made.
constexpr int kRecordVersion = 2;
// No conversion of one file takes this long: another machine's older claim is left over.
constexpr qint64 kForeignClaimNs = 6LL * 3600 * 1'000'000'000;

qint64 NowNs() {
    timespec now = {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<qint64>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

QAtomicInteger<quint64> nextConnection;

QString BootId() {
    QFile file(QStringLiteral("/proc/sys/kernel/random/boot_id"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readAll().trimmed());
}

// Whether the folder is on a file system that other machines write too. WAL keeps its index in
// shared memory, which only works among the processes of one machine.
bool OnNetworkFileSystem(const QByteArray& folder) {
    struct statfs fs = {};
    if (::statfs(folder.constData(), &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0x6969UL:     // NFS
    case 0xFF534D42UL: // CIFS
    case 0xFE534D42UL: // SMB2 and 3
    case 0x517BUL:     // SMB
    case 0x65735546UL: // FUSE (sshfs and the like)
    case 0x6B414653UL: // AFS
    case 0x564C0000UL: // CODA
    case 0x01021997UL: // 9P
    case 0x00C36400UL: // CEPH
    case 0x47504653UL: // GPFS
    case 0x0BD00BD0UL: // Lustre
        return true;
    default:
        return false;
    }
}

// Two processes making the record at once may both hold a read lock when each asks to change
// the journal; SQLite then refuses one at once rather than let both wait, so it asks again
// until the other is done.
bool SetJournalMode(QSqlQuery& query, const QString& mode) {
    const QDeadlineTimer deadline(kBusyTimeoutMs);
    while (!query.exec(QStringLiteral("PRAGMA journal_mode=%1").arg(mode))) {
        const QString code = query.lastError().nativeErrorCode();
        const bool busy = code == QLatin1String("5") || code == QLatin1String("6");
        if (!busy || deadline.hasExpired())
            return false;
        query.finish();
        QThread::msleep(5);
    }
    query.finish();
    return true;
}

QString ErrorOf(const QSqlQuery& query) {
    return query.lastError().text();
}

} // namespace

SyncRecord::SyncRecord(QString connection, QByteArray folder)
    : connection_(std::move(connection)), folder_(std::move(folder)) {}

SyncRecord::~SyncRecord() {
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
}

std::unique_ptr<SyncRecord> SyncRecord::Open(const QByteArray& outputFolder, QString* error) {
    const QByteArray path = outputFolder + '/' + kFileName;
    const QString shown = QFile::decodeName(path);
    const auto fail = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("the sync record %1 cannot be used: %2").arg(shown, why);
        return nullptr;
    };
    // SQLite would follow a link to wherever it points.
    struct stat st = {};
    if (::lstat(path.constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return fail(QStringLiteral("it is not a plain file"));

    const QString connection = QStringLiteral("pelkora-sync-%1-%2")
                                   .arg(::getpid())
                                   .arg(nextConnection.fetchAndAddOrdered(1));
    std::unique_ptr<SyncRecord> record(new SyncRecord(connection, outputFolder));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        if (!db.isValid())
            return fail(QStringLiteral("the SQLite driver of Qt SQL is missing"));
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
        db.setDatabaseName(shown);
        if (!db.open())
            return fail(db.lastError().text());
    }
    // A file that is no database fails its first statement.
    QSqlQuery query(QSqlDatabase::database(connection, false));
    if (!query.exec(QStringLiteral("PRAGMA application_id")) || !query.next())
        return fail(ErrorOf(query));
    query.finish();
    // WAL lets readers go on while one process writes; NORMAL still never corrupts the file.
    // On a share written from several machines only the rollback journal and the share's
    // own locks keep the record whole.
    const bool shared = OnNetworkFileSystem(outputFolder);
    if (!SetJournalMode(query, shared ? QStringLiteral("DELETE") : QStringLiteral("WAL")) ||
        !query.exec(shared ? QStringLiteral("PRAGMA synchronous=FULL")
                           : QStringLiteral("PRAGMA synchronous=NORMAL")))
        return fail(ErrorOf(query));
    if (!record->begin())
        return fail(record->lastError());
    // Read again under the lock: another process may have made the record meanwhile.
    if (!query.exec(QStringLiteral("PRAGMA application_id")) || !query.next()) {
        record->rollback();
        return fail(ErrorOf(query));
    }
    const qint64 id = query.value(0).toLongLong();
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !query.next()) {
        record->rollback();
        return fail(ErrorOf(query));
    }
    const bool empty = query.value(0).toLongLong() == 0;
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        record->rollback();
        return fail(ErrorOf(query));
    }
    const qint64 version = query.value(0).toLongLong();
    if (empty && id == 0) {
        const bool made =
            query.exec(
                QStringLiteral("CREATE TABLE sources (key BLOB PRIMARY KEY NOT NULL, "
                               "source_size INTEGER NOT NULL, source_mtime_ns INTEGER NOT NULL, "
                               "fingerprint BLOB, naming BLOB, "
                               "output BLOB NOT NULL UNIQUE, output_size INTEGER NOT NULL, "
                               "output_mtime_ns INTEGER NOT NULL, done INTEGER NOT NULL, "
                               "owner_host TEXT, owner_boot TEXT, owner_pid INTEGER NOT NULL, "
                               "claimed_at_ns INTEGER NOT NULL DEFAULT 0)")) &&
            query.exec(QStringLiteral("PRAGMA application_id=%1").arg(kApplicationId)) &&
            query.exec(QStringLiteral("PRAGMA user_version=%1").arg(kRecordVersion));
        if (!made) {
            const QString why = ErrorOf(query);
            record->rollback();
            return fail(why);
        }
    } else if (id != kApplicationId) {
        record->rollback();
        return fail(QStringLiteral("it is a database of some other program"));
    } else if (version > kRecordVersion) {
        record->rollback();
        return fail(QStringLiteral("it was made by a newer version of Pelkora"));
    } else if (version < kRecordVersion) {
        // The first version's claims have no time: they count as left over.
        const bool updated =
            query.exec(QStringLiteral(
                "ALTER TABLE sources ADD COLUMN claimed_at_ns INTEGER NOT NULL DEFAULT 0")) &&
            query.exec(QStringLiteral("PRAGMA user_version=%1").arg(kRecordVersion));
        if (!updated) {
            const QString why = ErrorOf(query);
            record->rollback();
            return fail(why);
        }
    }
    query.finish();
    if (!record->commit())
        return fail(record->lastError());
    return record;
}

bool SyncRecord::exec(const QString& statement) {
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (query.exec(statement))
        return true;
    lastError_ = ErrorOf(query);
    return false;
}

bool SyncRecord::begin() {
    // Taking the write lock at once: a deferred transaction that later needs it can fail
    // without waiting when another process holds it.
    return exec(QStringLiteral("BEGIN IMMEDIATE"));
}

bool SyncRecord::commit() {
    if (exec(QStringLiteral("COMMIT")))
        return true;
    rollback();
    return false;
}

void SyncRecord::rollback() {
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.exec(QStringLiteral("ROLLBACK"));
}

namespace {

constexpr const char* kEntryColumns =
    "key, source_size, source_mtime_ns, fingerprint, naming, output, output_size, "
    "output_mtime_ns, done, owner_host, owner_boot, owner_pid, claimed_at_ns";

SyncEntry EntryOf(const QSqlQuery& query) {
    SyncEntry e;
    e.key = query.value(0).toByteArray();
    e.sourceSize = query.value(1).toLongLong();
    e.sourceMtimeNs = query.value(2).toLongLong();
    e.fingerprint = query.value(3).toByteArray();
    e.naming = query.value(4).toByteArray();
    e.output = query.value(5).toByteArray();
    e.outputSize = query.value(6).toLongLong();
    e.outputMtimeNs = query.value(7).toLongLong();
    e.done = query.value(8).toLongLong() != 0;
    e.ownerHost = query.value(9).toString();
    e.ownerBoot = query.value(10).toString();
    e.ownerPid = query.value(11).toLongLong();
    e.claimedAtNs = query.value(12).toLongLong();
    return e;
}

} // namespace

std::optional<SyncEntry> SyncRecord::find(const QByteArray& key) {
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.prepare(
        QStringLiteral("SELECT %1 FROM sources WHERE key = ?").arg(QLatin1String(kEntryColumns)));
    query.addBindValue(key);
    if (!query.exec()) {
        lastError_ = ErrorOf(query);
        return std::nullopt;
    }
    if (!query.next())
        return std::nullopt;
    return EntryOf(query);
}

std::optional<std::vector<SyncEntry>> SyncRecord::entries() {
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT %1 FROM sources").arg(QLatin1String(kEntryColumns)))) {
        lastError_ = ErrorOf(query);
        return std::nullopt;
    }
    std::vector<SyncEntry> all;
    while (query.next())
        all.push_back(EntryOf(query));
    return all;
}

namespace {

QByteArray BlobOf(sqlite3_stmt* statement, int column) {
    const void* bytes = sqlite3_column_blob(statement, column);
    const int size = sqlite3_column_bytes(statement, column);
    return bytes ? QByteArray(static_cast<const char*>(bytes), size) : QByteArray();
}

// The finished entries read through SQLite's own interface: a library of many thousands is read
// at every run, and Qt's rows of variants cost several times the reading itself.
std::optional<SyncSnapshot> ReadDirectly(const QSqlDatabase& db, QString& error) {
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) {
        error = QStringLiteral("the SQL driver is not SQLite's");
        return std::nullopt;
    }
    sqlite3* connection = *static_cast<sqlite3* const*>(handle.constData());
    sqlite3_stmt* statement = nullptr;
    const char* text = "SELECT key, source_size, source_mtime_ns, fingerprint, naming, output, "
                       "output_size, output_mtime_ns FROM sources WHERE done <> 0";
    if (!connection || sqlite3_prepare_v2(connection, text, -1, &statement, nullptr) != SQLITE_OK) {
        error = QString::fromUtf8(sqlite3_errmsg(connection));
        sqlite3_finalize(statement);
        return std::nullopt;
    }
    SyncSnapshot snapshot;
    // Made to size at once: growing a table of many thousands rehashes it again and again.
    if (sqlite3_stmt* count = nullptr;
        sqlite3_prepare_v2(connection, "SELECT count(*) FROM sources", -1, &count, nullptr) ==
        SQLITE_OK) {
        if (sqlite3_step(count) == SQLITE_ROW)
            snapshot.reserve(sqlite3_column_int64(count, 0));
        sqlite3_finalize(count);
    }
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        SyncEntry entry;
        entry.key = BlobOf(statement, 0);
        entry.sourceSize = sqlite3_column_int64(statement, 1);
        entry.sourceMtimeNs = sqlite3_column_int64(statement, 2);
        entry.fingerprint = BlobOf(statement, 3);
        entry.naming = BlobOf(statement, 4);
        entry.output = BlobOf(statement, 5);
        entry.outputSize = sqlite3_column_int64(statement, 6);
        entry.outputMtimeNs = sqlite3_column_int64(statement, 7);
        entry.done = true;
        snapshot.add(std::move(entry));
    }
    if (step != SQLITE_DONE)
        error = QString::fromUtf8(sqlite3_errmsg(connection));
    sqlite3_finalize(statement);
    if (step != SQLITE_DONE)
        return std::nullopt;
    return snapshot;
}

} // namespace

std::optional<SyncSnapshot> SyncRecord::snapshot() {
    QString error;
    if (auto read = ReadDirectly(QSqlDatabase::database(connection_, false), error))
        return read;
    lastError_ = error;
    return std::nullopt;
}

bool SyncRecord::ReadSnapshot(const QByteArray& outputFolder, std::optional<SyncSnapshot>& snapshot,
                              QString& error) {
    const std::unique_ptr<SyncRecord> record = Open(outputFolder, &error);
    if (!record)
        return false;
    snapshot = record->snapshot();
    return true;
}

void SyncSnapshot::add(SyncEntry entry) {
    // Neighbouring entries nearly always share their choices.
    share(entry.fingerprint, lastFingerprint_);
    share(entry.naming, lastNaming_);
    const QByteArray key = entry.key;
    entries_.insert(key, std::move(entry));
}

const SyncEntry* SyncSnapshot::find(const QByteArray& key) const {
    const auto found = entries_.constFind(key);
    return found == entries_.cend() ? nullptr : &found.value();
}

void SyncSnapshot::share(QByteArray& text, QByteArray& last) {
    if (text == last)
        text = last;
    else
        last = text;
}

bool SyncRecord::outputHeldByOther(const QByteArray& output, const QByteArray& key) {
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.prepare(QStringLiteral("SELECT 1 FROM sources WHERE output = ? AND key <> ?"));
    query.addBindValue(output);
    query.addBindValue(key);
    if (!query.exec()) {
        lastError_ = ErrorOf(query);
        return true; // a name that cannot be checked is not used
    }
    return query.next();
}

bool SyncRecord::put(const SyncEntry& e) {
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    // Not INSERT OR REPLACE: that would drop another entry holding the same output.
    query.prepare(QStringLiteral(
        "INSERT INTO sources (key, source_size, source_mtime_ns, fingerprint, naming, output, "
        "output_size, output_mtime_ns, done, owner_host, owner_boot, owner_pid, claimed_at_ns) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT(key) DO UPDATE SET "
        "source_size = excluded.source_size, source_mtime_ns = excluded.source_mtime_ns, "
        "fingerprint = excluded.fingerprint, naming = excluded.naming, output = excluded.output, "
        "output_size = excluded.output_size, output_mtime_ns = excluded.output_mtime_ns, "
        "done = excluded.done, owner_host = excluded.owner_host, "
        "owner_boot = excluded.owner_boot, owner_pid = excluded.owner_pid, "
        "claimed_at_ns = excluded.claimed_at_ns"));
    // Blobs throughout: a byte string bound as text would be stored as text.
    for (const QVariant& value :
         {QVariant(e.key), QVariant(e.sourceSize), QVariant(e.sourceMtimeNs),
          QVariant(e.fingerprint), QVariant(e.naming), QVariant(e.output), QVariant(e.outputSize),
          QVariant(e.outputMtimeNs), QVariant(e.done ? 1 : 0), QVariant(e.ownerHost),
          QVariant(e.ownerBoot), QVariant(e.ownerPid), QVariant(e.claimedAtNs)})
        query.addBindValue(value);
    if (query.exec())
        return true;
    lastError_ = ErrorOf(query);
    return false;
}

bool SyncRecord::remove(const QByteArray& key) {
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.prepare(QStringLiteral("DELETE FROM sources WHERE key = ?"));
    query.addBindValue(key);
    if (query.exec())
        return true;
    lastError_ = ErrorOf(query);
    return false;
}

SyncEntry SyncRecord::ClaimedBySelf(SyncEntry entry) {
    entry.done = false;
    entry.ownerHost = QSysInfo::machineHostName();
    entry.ownerBoot = BootId();
    entry.ownerPid = ::getpid();
    entry.claimedAtNs = NowNs();
    return entry;
}

bool SyncRecord::OwnerAlive(const SyncEntry& entry) {
    if (entry.done)
        return false;
    // Another machine's cannot be asked; clocks that disagree a little change nothing.
    if (entry.ownerHost != QSysInfo::machineHostName())
        return entry.claimedAtNs > 0 && std::llabs(NowNs() - entry.claimedAtNs) < kForeignClaimNs;
    // Since a restart every number may name some other process.
    if (entry.ownerBoot != BootId())
        return false;
    if (entry.ownerPid == ::getpid() || entry.ownerPid <= 0)
        return false;
    return ::kill(static_cast<pid_t>(entry.ownerPid), 0) == 0 || errno == EPERM;
}
