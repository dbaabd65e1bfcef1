#include "backup/archive.h"

#include "backup/serverdump.h"
#include "backup/workfolder.h"
#include "data/store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>
#include <zip.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace Archive {
namespace {

const QString databaseName = QStringLiteral("Tennistables.sqlite");
const QString dumpName = QStringLiteral("Tennistables.dump");

bool onServer()
{
    try {
        return Store::engine() == Engine::PostgreSQL;
    } catch (const StoreError& e) {
        throw ArchiveError(e.message());
    }
}

// The entry that holds the store of this desk's engine.
QString storeEntry(bool server)
{
    return server ? dumpName : databaseName;
}

QString zipMessage(zip_t* archive)
{
    return QString::fromUtf8(zip_strerror(archive));
}

struct Closer {
    void operator()(zip_t* archive) const
    {
        if (archive)
            zip_discard(archive);
    }
};
using ZipHandle = std::unique_ptr<zip_t, Closer>;

ZipHandle openZip(const QString& path, int flags)
{
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), flags, &error);
    if (!archive) {
        zip_error_t e;
        zip_error_init_with_code(&e, error);
        const QString message = QString::fromUtf8(zip_error_strerror(&e));
        zip_error_fini(&e);
        throw ArchiveError(QStringLiteral("%1: %2").arg(path, message));
    }
    return ZipHandle(archive);
}

// Steps of one file of `size` bytes as the progress display counts them.
struct Stepper {
    const Progress* progress = nullptr;
    qint64 size = 0;
    qint64 stepsDone = 0;
    void reach(qint64 bytes)
    {
        if (!progress || !progress->step)
            return;
        for (const qint64 due = bytes / stepBytes; stepsDone < due; ++stepsDone)
            progress->step();
    }
};

void onZipProgress(zip_t*, double fraction, void* state)
{
    auto* stepper = static_cast<Stepper*>(state);
    stepper->reach(qint64(fraction * double(stepper->size)));
}

// A name that would land outside the table directory, or in another directory of it.
bool unsafeName(const QString& name)
{
    return name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
           name.contains(QLatin1String("..")) || QDir::isAbsolutePath(name);
}

// Puts a finished file in the place of another, in one step: the old one stays whole until then.
void replace(const QString& from, const QString& to)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw ArchiveError(QStringLiteral("%1: %2").arg(to, QString::fromLocal8Bit(std::strerror(errno))));
}

// True when the archive holds entries that a new copy of the database must not drop.
bool holdsOtherEntries(const QString& archive, const QString& entry)
{
    ZipHandle zip = openZip(archive, ZIP_RDONLY);
    const zip_int64_t count = zip_get_num_entries(zip.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i)
        if (QString::fromUtf8(zip_get_name(zip.get(), zip_uint64_t(i), 0)) != entry)
            return true;
    return false;
}

ArchiveError refusal(const QString& reason)
{
    return ArchiveError(reason + QStringLiteral(" Nothing was restored."), ArchiveError::Refused);
}

// The extracted database must be one the program can work with: whole, by SQLite's own check, and
// with every table of Tennistables.
void checkDatabase(const QString& file)
{
    sqlite3* db = nullptr;
    QString problem;
    QStringList missing;
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        problem = QString::fromUtf8(sqlite3_errmsg(db));
    } else {
        sqlite3_stmt* check = nullptr;
        if (sqlite3_prepare_v2(db, "pragma integrity_check", -1, &check, nullptr) != SQLITE_OK) {
            problem = QString::fromUtf8(sqlite3_errmsg(db));
        } else {
            QStringList findings;
            int rc;
            while ((rc = sqlite3_step(check)) == SQLITE_ROW)
                findings << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)));
            if (rc != SQLITE_DONE)
                problem = QString::fromUtf8(sqlite3_errmsg(db));
            else if (findings != QStringList{QStringLiteral("ok")})
                problem = findings.join(QStringLiteral("; "));
        }
        sqlite3_finalize(check);
        sqlite3_stmt* table = nullptr;
        if (problem.isEmpty() &&
            sqlite3_prepare_v2(db,
                               "select 1 from sqlite_master where type = 'table' and lower(name) = lower(?)",
                               -1, &table, nullptr) == SQLITE_OK) {
            for (const QString& name : Store::tableNames()) {
                const QByteArray utf8 = name.toUtf8();
                sqlite3_bind_text(table, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
                if (sqlite3_step(table) != SQLITE_ROW)
                    missing << name;
                sqlite3_reset(table);
            }
        } else if (problem.isEmpty()) {
            problem = QString::fromUtf8(sqlite3_errmsg(db));
        }
        sqlite3_finalize(table);
    }
    sqlite3_close(db);
    if (!problem.isEmpty())
        throw refusal(
            QStringLiteral("The archive's %1 is not a usable database: %2.").arg(databaseName, problem));
    if (!missing.isEmpty())
        throw refusal(QStringLiteral("The archive's %1 lacks the tables %2.")
                          .arg(databaseName, missing.join(QStringLiteral(", "))));
}

// The extracted dump must be one that pg_restore reads and that holds every table of Tennistables
// with its rows.
void checkDump(const QString& file, const Progress& progress)
{
    const ServerDump::Contents contents = ServerDump::contents(file, progress.busy);
    if (!contents.readable)
        throw refusal(
            QStringLiteral("The archive's %1 is not a usable dump: %2").arg(dumpName, contents.problem));
    const QStringList held = ServerDump::tablesWithRows(contents.list);
    QStringList missing;
    for (const QString& name : Store::tableNames())
        if (!held.contains(Store::catalogName(name)))
            missing << name;
    if (!missing.isEmpty())
        throw refusal(QStringLiteral("The archive's %1 lacks the tables %2.")
                          .arg(dumpName, missing.join(QStringLiteral(", "))));
}

// An archive saved by a desk of the other engine holds its store under the other name.
[[noreturn]] void refuseMissingStore(const QStringList& names, bool server)
{
    if (server && names.contains(databaseName))
        throw refusal(QStringLiteral("The archive holds %1, the tables of a single desk, but this desk keeps "
                                     "its tables on a PostgreSQL server, which restores only a dump %2.")
                          .arg(databaseName, dumpName));
    if (!server && names.contains(dumpName))
        throw refusal(
            QStringLiteral("The archive holds %1, a dump of a PostgreSQL server, but this desk keeps "
                           "its tables in %2.")
                .arg(dumpName, databaseName));
    throw refusal(QStringLiteral("The archive holds no database %1.").arg(storeEntry(server)));
}

// Writes one entry into a file, stepping the progress display; a damaged entry is reported with
// what the library found wrong in it.
void extract(zip_t* zip, zip_uint64_t index, const QString& target, const Progress& progress)
{
    zip_stat_t stat;
    if (zip_stat_index(zip, index, 0, &stat) < 0)
        throw ArchiveError(zipMessage(zip));
    const QString name = QString::fromUtf8(stat.name);
    const qint64 size = qint64(stat.size);
    if (progress.newFile)
        progress.newFile(name, size);
    zip_file_t* entry = zip_fopen_index(zip, index, 0);
    if (!entry)
        throw ArchiveError(QStringLiteral("%1: %2").arg(name, zipMessage(zip)));
    const auto entryError = [&] {
        const QString message =
            QStringLiteral("%1: %2").arg(name, QString::fromUtf8(zip_file_strerror(entry)));
        zip_fclose(entry);
        return ArchiveError(message);
    };
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        zip_fclose(entry);
        throw ArchiveError(QStringLiteral("%1: %2").arg(out.fileName(), out.errorString()));
    }
    Stepper stepper{&progress, size};
    QByteArray buffer(int(stepBytes), Qt::Uninitialized);
    qint64 done = 0;
    for (;;) {
        const zip_int64_t read = zip_fread(entry, buffer.data(), zip_uint64_t(buffer.size()));
        if (read < 0)
            throw entryError();
        if (read == 0)
            break;
        if (out.write(buffer.constData(), read) != read) {
            zip_fclose(entry);
            throw ArchiveError(QStringLiteral("%1: %2").arg(out.fileName(), out.errorString()));
        }
        done += read;
        stepper.reach(done);
    }
    // The library checks the entry's checksum only once all of it was read.
    if (zip_fclose(entry) != 0)
        throw ArchiveError(QStringLiteral("%1: the entry is damaged").arg(name));
    if (!out.flush())
        throw ArchiveError(QStringLiteral("%1: %2").arg(out.fileName(), out.errorString()));
}

} // namespace

QString defaultName(const QDate& day)
{
    return QStringLiteral("Tables") + day.toString(QStringLiteral("yyyyMMdd"));
}

QString archivePath(const QString& directory, const QString& name)
{
    const bool separated = directory.endsWith(QLatin1Char('/')) || directory.endsWith(QLatin1Char('\\'));
    return directory + (separated ? QString() : QStringLiteral("/")) + name + QStringLiteral(".zip");
}

bool isRestoreFile(const QString& path)
{
    return QFileInfo(path).suffix().toUpper() == QLatin1String("ZIP");
}

bool storeInPlace()
{
    if (onServer())
        return QFileInfo(Store::installDirectory()).isDir();
    return QFileInfo(Store::tablesDirectory()).isDir();
}

void save(const QString& archive, const Progress& progress)
{
    const QFileInfo target(archive);
    const bool server = onServer();
    const QString entry = storeEntry(server);
    // The copy and the archive being built lie beside the archive, where a save that was killed
    // leaves them for the next one to remove.
    WorkFolder work(target.absolutePath());
    const QString copy = work.filePath(entry);
    if (server) {
        ServerDump::dump(copy, progress.busy);
    } else {
        try {
            Store::copyTo(copy);
        } catch (const StoreError& e) {
            throw ArchiveError(e.message());
        }
    }
    const qint64 size = QFileInfo(copy).size();
    // An existing archive keeps its other entries; the one of the same name is replaced.
    const QString building = work.filePath(target.fileName());
    if (target.exists() && holdsOtherEntries(archive, entry) && !QFile::copy(archive, building))
        throw ArchiveError(QStringLiteral("%1: cannot be copied").arg(archive));
    ZipHandle zip = openZip(building, ZIP_CREATE);
    zip_source_t* source = zip_source_file(zip.get(), QFile::encodeName(copy).constData(), 0, 0);
    if (!source)
        throw ArchiveError(zipMessage(zip.get()));
    const zip_int64_t index =
        zip_file_add(zip.get(), entry.toUtf8().constData(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(source);
        throw ArchiveError(zipMessage(zip.get()));
    }
    if (zip_set_file_compression(zip.get(), zip_uint64_t(index), ZIP_CM_DEFLATE, 9) < 0)
        throw ArchiveError(zipMessage(zip.get()));
    if (progress.newFile)
        progress.newFile(entry, size);
    Stepper stepper{&progress, size};
    zip_register_progress_callback_with_state(zip.get(), 0.001, onZipProgress, nullptr, &stepper);
    if (zip_close(zip.get()) < 0)
        throw ArchiveError(zipMessage(zip.get()));
    (void)zip.release(); // closed
    replace(building, archive);
    stepper.reach(size);
    if (progress.finished)
        progress.finished();
}

void restore(const QString& archive, const QString& tablesDirectory, const Progress& progress)
{
    ZipHandle zip = openZip(archive, ZIP_RDONLY);
    const zip_int64_t count = zip_get_num_entries(zip.get(), 0);
    // Every name is checked before the first file is written: a refused archive changes nothing.
    QStringList names;
    for (zip_int64_t i = 0; i < count; ++i) {
        const QString name = QString::fromUtf8(zip_get_name(zip.get(), zip_uint64_t(i), 0));
        if (unsafeName(name))
            throw refusal(
                QStringLiteral("The archive holds an entry outside the table directory: %1.").arg(name));
        names << name;
    }
    const bool server = onServer();
    if (!names.contains(storeEntry(server)))
        refuseMissingStore(names, server);
    // Everything is extracted beside the table directory and the database checked there; only an
    // archive that passes replaces the tables.
    WorkFolder work(QFileInfo(tablesDirectory).absolutePath());
    for (zip_int64_t i = 0; i < count; ++i)
        extract(zip.get(), zip_uint64_t(i), work.filePath(names[int(i)]), progress);
    if (server) {
        // The server keeps no files at the desk: the dump alone is restored, all or nothing.
        checkDump(work.filePath(dumpName), progress);
        ServerDump::restore(work.filePath(dumpName), progress.busy);
        if (progress.finished)
            progress.finished();
        return;
    }
    checkDatabase(work.filePath(databaseName));
    // The store lets go of the database so that its file can be replaced.
    Store::close();
    const QDir tables(tablesDirectory);
    for (const QString& name : names)
        replace(work.filePath(name), tables.filePath(name));
    if (progress.finished)
        progress.finished();
}

void removeLeftovers(const QString& folder)
{
    WorkFolder::removeLeftovers(folder);
}

} // namespace Archive
