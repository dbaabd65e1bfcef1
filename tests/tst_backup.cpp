#include "answers.h"
#include "backup/archive.h"
#include "backup/serverdump.h"
#include "backup/u_archiv.h"
#include "backup/workfolder.h"
#include "data/changes.h"
#include "data/store.h"
#include "testinstallation.h"
#include "testserver.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <zip.h>

#include <chrono>
#include <cstdio>
#include <thread>

Q_DECLARE_METATYPE(Engine)

namespace {

int names()
{
    return TestInstallation::scalar("select count(*) from Namen").toInt();
}

// The general purpose flags of the first entry's local header: bits 1 and 2 carry the deflate level.
int firstEntryFlags(const QString& archive)
{
    QFile file(archive);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray head = file.read(8);
    if (!head.startsWith("PK\x03\x04"))
        return -1;
    return uchar(head[6]) | (uchar(head[7]) << 8);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeZip(const QString& archive, const QList<std::pair<const char*, QByteArray>>& entries)
{
    QFile::remove(archive);
    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(archive).constData(), ZIP_CREATE, &error);
    QVERIFY(zip);
    // The buffers must live until the archive is closed.
    QList<QByteArray> kept;
    for (const auto& [name, content] : entries) {
        kept << content;
        zip_file_add(zip, name,
                     zip_source_buffer(zip, kept.last().constData(), zip_uint64_t(kept.last().size()), 0), 0);
    }
    QCOMPARE(zip_close(zip), 0);
}

// A sound SQLite file with one table of Tennistables only.
QByteArray databaseWithNamesOnly()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("names.sqlite"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("names"));
        db.setDatabaseName(file);
        if (db.open())
            QSqlQuery(db).exec(QStringLiteral("create table Namen (Name VARCHAR(30))"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("names"));
    return fileBytes(file);
}

// Spoils the compressed data in the middle of the archive's first entry.
void damageFirstEntry(const QString& archive)
{
    QFile file(archive);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const int nameLength = uchar(bytes[26]) | (uchar(bytes[27]) << 8);
    const int extraLength = uchar(bytes[28]) | (uchar(bytes[29]) << 8);
    const int data = 30 + nameLength + extraLength;
    for (int i = data + 200; i < data + 400 && i < bytes.size(); ++i)
        bytes[i] = char(~bytes[i]);
    QVERIFY(file.seek(0));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The rows of every table, so that a refused or failed restore is seen to have changed nothing.
QStringList rowCounts()
{
    QStringList counts;
    for (const QString& table : Store::tableNames())
        counts << QStringLiteral("%1 %2").arg(table).arg(
            TestInstallation::scalar(QStringLiteral("select count(*) from %1").arg(Store::quoted(table)))
                .toInt());
    return counts;
}

int namesCalled(const char* name)
{
    return TestInstallation::scalar("select count(*) from Namen where Name = ?", {QString::fromUtf8(name)})
        .toInt();
}

// The names of an archive's entries.
QStringList entryNames(const QString& archive)
{
    QStringList entries;
    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &error);
    if (!zip)
        return entries;
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i)
        entries << QString::fromUtf8(zip_get_name(zip, zip_uint64_t(i), 0));
    zip_discard(zip);
    return entries;
}

QByteArray entryBytes(const QString& archive, const char* name)
{
    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &error);
    if (!zip)
        return {};
    QByteArray bytes;
    zip_stat_t stat;
    if (zip_stat(zip, name, 0, &stat) == 0) {
        if (zip_file_t* entry = zip_fopen(zip, name, 0)) {
            bytes.resize(qsizetype(stat.size));
            if (zip_fread(entry, bytes.data(), stat.size) != zip_int64_t(stat.size))
                bytes.clear();
            zip_fclose(entry);
        }
    }
    zip_discard(zip);
    return bytes;
}

// Runs a client program of the test server's version; its standard output, or a failed test.
QByteArray runServerTool(const char* tool, const QStringList& arguments)
{
    QProcess process;
    process.start(ServerDump::clientTool(QString::fromLatin1(tool), ServerDump::serverMajorVersion()),
                  arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        qWarning("%s: %s", tool, process.readAllStandardError().constData());
    return process.exitCode() == 0 ? process.readAllStandardOutput() : QByteArray();
}

// A dump of the installation's database made with extra pg_dump arguments (one table, no rows).
QByteArray partialDump(const QString& conninfo, const QStringList& arguments)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("partial.dump"));
    runServerTool("pg_dump", QStringList{QStringLiteral("--format=custom"), QStringLiteral("--file=") + file,
                                         QStringLiteral("--dbname=") + conninfo} +
                                 arguments);
    return fileBytes(file);
}

} // namespace

class TestBackup : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void namesAndPaths_data();
    void namesAndPaths();
    void restoreFileExtension_data();
    void restoreFileExtension();
    void savedArchiveHoldsTheStoreAtMaximumDeflate();
    void restoreBringsBackTheSavedRows();
    void entryOutsideTheTablesIsRefusedBeforeAnythingIsWritten();
    void windowAsksBeforeOverwritingAndRefusesOtherFiles();
    void refusedArchiveChangesNothing_data();
    void refusedArchiveChangesNothing();
    void windowSaysWhyAnArchiveIsRefused();
    void killedSaveLeavesNothingBehindForLong();
    void restoreBringsBackTheRowsOfTheSave_data();
    void restoreBringsBackTheRowsOfTheSave();
    void refusedStoreOfEitherEngineChangesNothing_data();
    void refusedStoreOfEitherEngineChangesNothing();
    void restoreHeldUpByAnotherDeskFailsWhole();
    void failedDumpLeavesTheOldArchiveWhole();
    void windowSavesAndRestoresOnEitherEngine_data();
    void windowSavesAndRestoresOnEitherEngine();
    void clientToolsOfTheServersVersion_data();
    void clientToolsOfTheServersVersion();

private:
    // Replaces the installation of init() by one on the engine; false when the test was skipped.
    bool installOn(Engine engine);
    // Both engines, with the entry that holds the store in an archive.
    static void enginesAndEntries();
    std::unique_ptr<TestInstallation> installation;
    QString hall() const { return installation->path() + QStringLiteral("/hall"); }
};

void TestBackup::init()
{
    installation = std::make_unique<TestInstallation>(true);
    QVERIFY2(installation->isValid(), qPrintable(installation->failure()));
}

void TestBackup::cleanup()
{
    installation.reset();
}

void TestBackup::namesAndPaths_data()
{
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("path");
    QTest::newRow("no separator") << "/halls/backup"
                                  << "/halls/backup/Tables20240131.zip";
    QTest::newRow("trailing slash") << "/halls/backup/"
                                    << "/halls/backup/Tables20240131.zip";
    QTest::newRow("trailing backslash") << "D:\\backup\\"
                                        << "D:\\backup\\Tables20240131.zip";
}

void TestBackup::namesAndPaths()
{
    QFETCH(QString, directory);
    QFETCH(QString, path);
    QCOMPARE(Archive::defaultName(QDate(2024, 1, 31)), QStringLiteral("Tables20240131"));
    QCOMPARE(Archive::archivePath(directory, Archive::defaultName(QDate(2024, 1, 31))), path);
}

void TestBackup::restoreFileExtension_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("lower case") << "Tables20240131.zip" << true;
    QTest::newRow("upper case") << "TABLES.ZIP" << true;
    QTest::newRow("another extension") << "Tables20240131.bak" << false;
    QTest::newRow("zip inside the name") << "Tables.zip.bak" << false;
}

void TestBackup::restoreFileExtension()
{
    QFETCH(QString, file);
    QFETCH(bool, accepted);
    QCOMPARE(Archive::isRestoreFile(file), accepted);
}

void TestBackup::savedArchiveHoldsTheStoreAtMaximumDeflate()
{
    const QString archive = hall() + QStringLiteral("/Backup/Tables.zip");
    QStringList newFiles;
    int steps = 0;
    bool finished = false;
    Archive::Progress progress;
    progress.newFile = [&](const QString& name, qint64 size) {
        newFiles << QStringLiteral("%1 %2").arg(name).arg(size);
    };
    progress.step = [&] { ++steps; };
    progress.finished = [&] { finished = true; };
    Archive::save(archive, progress);
    QVERIFY(finished);
    const qint64 size = QFileInfo(installation->databaseFile()).size();
    QCOMPARE(newFiles, QStringList{QStringLiteral("Tennistables.sqlite %1").arg(size)});
    QCOMPARE(steps, int(size / Archive::stepBytes));

    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &error);
    QVERIFY(zip);
    QCOMPARE(zip_get_num_entries(zip, 0), zip_int64_t(1));
    zip_stat_t stat;
    QCOMPARE(zip_stat_index(zip, 0, 0, &stat), 0);
    QCOMPARE(QString::fromUtf8(stat.name), QStringLiteral("Tennistables.sqlite"));
    QCOMPARE(stat.comp_method, zip_uint16_t(ZIP_CM_DEFLATE));
    zip_discard(zip);
    QCOMPARE(firstEntryFlags(archive) & 0x6, 0x2); // "maximum" compression
}

void TestBackup::restoreBringsBackTheSavedRows()
{
    const int before = names();
    QVERIFY(before > 0);
    const QString archive = hall() + QStringLiteral("/Backup/Tables.zip");
    Archive::save(archive);
    TestInstallation::exec("delete from Namen");
    QCOMPARE(names(), 0);
    Archive::restore(archive, hall() + QStringLiteral("/Tables"));
    // The store opens the restored file on its next use.
    QCOMPARE(names(), before);
}

void TestBackup::entryOutsideTheTablesIsRefusedBeforeAnythingIsWritten()
{
    const QString archive = hall() + QStringLiteral("/Backup/evil.zip");
    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(archive).constData(), ZIP_CREATE, &error);
    QVERIFY(zip);
    static const char harmless[] = "not a database";
    static const char payload[] = "outside";
    zip_file_add(zip, "Tennistables.sqlite", zip_source_buffer(zip, harmless, sizeof harmless, 0), 0);
    zip_file_add(zip, "../x", zip_source_buffer(zip, payload, sizeof payload, 0), 0);
    QCOMPARE(zip_close(zip), 0);

    const QByteArray database = [&] {
        QFile f(installation->databaseFile());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    QVERIFY_THROWS_EXCEPTION(Archive::ArchiveError,
                             Archive::restore(archive, hall() + QStringLiteral("/Tables")));
    QVERIFY(!QFile::exists(hall() + QStringLiteral("/x")));
    QFile after(installation->databaseFile());
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), database);
}

void TestBackup::windowAsksBeforeOverwritingAndRefusesOtherFiles()
{
    Tfrm_archiv w;
    w.show();
    QCOMPARE(w.ed_file->text(), Archive::defaultName(QDate::currentDate()));
    QCOMPARE(QDir(w.dir_zip->text()), QDir(hall() + QStringLiteral("/Backup")));
    Answers answers;
    w.btn_save->click();
    const QString archive = Archive::archivePath(w.dir_zip->text(), w.ed_file->text());
    QVERIFY(QFile::exists(archive));
    QCOMPARE(w.lbl_file->text(), QStringLiteral("Database saved !"));
    QCOMPARE(w.pb_all->value(), w.pb_all->maximum());
    const QDateTime written = QFileInfo(archive).lastModified();
    const qint64 size = QFileInfo(archive).size();
    QTest::qWait(1100);
    answers.answer = Messages::Answer::No;
    w.btn_save->click();
    QCOMPARE(answers.asked, QStringList{QStringLiteral("overwriting existing file ?")});
    QCOMPARE(QFileInfo(archive).lastModified(), written);
    QCOMPARE(QFileInfo(archive).size(), size);

    // Restoring: another extension is refused, a lower-case ".zip" restores after the question.
    w.pc_archiv->setCurrentWidget(w.ts_restore);
    const QString other = hall() + QStringLiteral("/Backup/Tables.bak");
    QVERIFY(QFile::copy(archive, other));
    w.fne_database->setText(other);
    answers.asked.clear();
    w.btn_restore->click();
    QCOMPARE(answers.asked, QStringList{QStringLiteral("Not a legal Restorefile !")});
    TestInstallation::exec("delete from Namen");
    w.fne_database->setText(archive);
    answers.asked.clear();
    answers.answer = Messages::Answer::Yes;
    w.btn_restore->click();
    QCOMPARE(answers.asked,
             QStringList{QStringLiteral("Restoring overwrites the actual database !\nContinue ?")});
    QCOMPARE(w.lbl_file->text(), QStringLiteral("Database restored !"));
    QVERIFY(names() > 0);

    // Esc on the restore page deletes the chosen file after its question.
    w.fne_database->setText(other);
    answers.asked.clear();
    QTest::keyClick(w.fne_database, Qt::Key_Escape);
    QCOMPARE(answers.asked, (QStringList{QStringLiteral("Do you really want to delete Tables.bak?"),
                                         QStringLiteral("File deleted")}));
    QVERIFY(!QFile::exists(other));
    // The three questions show the information icon, not the question mark.
    QCOMPARE(answers.kinds.count(Messages::Kind::InformationQuestion), 3);
    QVERIFY(!answers.kinds.contains(Messages::Kind::Question));
}

void TestBackup::refusedArchiveChangesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("said");
    QTest::newRow("junk as the database") << "junk"
                                          << "file is not a database";
    QTest::newRow("no database") << "readme"
                                 << "holds no database Tennistables.sqlite";
    QTest::newRow("database without the tables") << "tables"
                                                 << "lacks the tables Tische, Tischfarben";
    QTest::newRow("damaged entry") << "damaged"
                                   << "Tennistables.sqlite: ";
}

void TestBackup::refusedArchiveChangesNothing()
{
    QFETCH(QString, kind);
    QFETCH(QString, said);
    const QString archive = hall() + QStringLiteral("/Backup/refused.zip");
    if (kind == QLatin1String("junk")) {
        writeZip(archive, {{"Tennistables.sqlite", "not a database"}, {"readme.txt", "old tables"}});
    } else if (kind == QLatin1String("readme")) {
        writeZip(archive, {{"readme.txt", "old tables"}});
    } else if (kind == QLatin1String("tables")) {
        writeZip(archive, {{"Tennistables.sqlite", databaseWithNamesOnly()}});
    } else {
        Archive::save(archive);
        damageFirstEntry(archive);
    }
    QVERIFY(QFile::exists(archive));
    const QString tables = hall() + QStringLiteral("/Tables");
    const QStringList before = QDir(tables).entryList(QDir::Files);
    const QByteArray database = fileBytes(installation->databaseFile());
    QString message;
    try {
        Archive::restore(archive, tables);
    } catch (const Archive::ArchiveError& e) {
        message = e.message();
    }
    QVERIFY2(message.contains(said), qPrintable(message));
    QVERIFY2(!message.contains(QLatin1String("No error")), qPrintable(message));
    QCOMPARE(QDir(tables).entryList(QDir::Files), before);
    QCOMPARE(fileBytes(installation->databaseFile()), database);
    // Nothing of the extraction is left beside the tables.
    QCOMPARE(
        QDir(hall()).entryList(QStringList{WorkFolder::prefix + QLatin1Char('*')}, QDir::Dirs | QDir::Hidden),
        QStringList());
    QVERIFY(names() > 0);
}

void TestBackup::windowSaysWhyAnArchiveIsRefused()
{
    const QString archive = hall() + QStringLiteral("/Backup/junk.zip");
    writeZip(archive, {{"Tennistables.sqlite", "not a database"}});
    Tfrm_archiv w;
    w.show();
    w.pc_archiv->setCurrentWidget(w.ts_restore);
    w.fne_database->setText(archive);
    Answers answers;
    answers.answer = Messages::Answer::Yes;
    w.btn_restore->click();
    QCOMPARE(answers.asked.size(), 2);
    QVERIFY2(answers.asked[1].contains(QLatin1String("file is not a database")),
             qPrintable(answers.asked[1]));
    QCOMPARE(w.lbl_file->text(), QStringLiteral("Database not restored !"));
    QVERIFY(names() > 0);
}

void TestBackup::killedSaveLeavesNothingBehindForLong()
{
    const QString backup = hall() + QStringLiteral("/Backup");
    // A program killed in the middle of a save, with its copy of the database written.
    QProcess killed;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TST_BACKUP_HOLD_WORK_FOLDER"), backup);
    killed.setProcessEnvironment(environment);
    killed.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(killed.waitForStarted());
    QTRY_VERIFY(killed.canReadLine() || killed.waitForReadyRead(100));
    const QString leftover = QString::fromLocal8Bit(killed.readLine()).trimmed();
    QVERIFY2(QFileInfo(leftover).isFile(), qPrintable(leftover));
    killed.kill();
    QVERIFY(killed.waitForFinished());
    // Another one whose program still runs.
    WorkFolder running(backup);
    const QString busy = running.filePath(QStringLiteral("Tennistables.sqlite"));
    QVERIFY(QFile(busy).open(QIODevice::WriteOnly));

    Archive::save(backup + QStringLiteral("/Tables.zip"));
    QVERIFY(!QFileInfo::exists(QFileInfo(leftover).absolutePath()));
    QVERIFY(QFileInfo::exists(busy));
    QCOMPARE(QDir(backup).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Tables.zip")});
}

bool TestBackup::installOn(Engine engine)
{
    if (engine == Engine::PostgreSQL && !TestDatabase::serverAvailable()) {
        QTest::qSkip("no test server (COURTORIA_TEST_SERVER)", __FILE__, __LINE__);
        return false;
    }
    installation.reset();
    installation = std::make_unique<TestInstallation>(engine, true);
    if (!installation->isValid())
        QTest::qFail(qPrintable(installation->failure()), __FILE__, __LINE__);
    return installation->isValid();
}

void TestBackup::enginesAndEntries()
{
    QTest::addColumn<Engine>("engine");
    QTest::addColumn<QString>("entry");
    QTest::newRow("SQLite") << Engine::SQLite << "Tennistables.sqlite";
    QTest::newRow("PostgreSQL") << Engine::PostgreSQL << "Tennistables.dump";
}

void TestBackup::restoreBringsBackTheRowsOfTheSave_data()
{
    enginesAndEntries();
}

void TestBackup::restoreBringsBackTheRowsOfTheSave()
{
    QFETCH(Engine, engine);
    QFETCH(QString, entry);
    if (!installOn(engine))
        return;
    const int number = TestInstallation::scalar(
                           "select min(Reservierungsnummer) from Reservierung where Reservierungsnummer > 0")
                           .toInt();
    const auto quartersOf = [number] {
        return TestInstallation::scalar("select count(*) from Reservierung where Reservierungsnummer = ?",
                                        {number})
            .toInt();
    };
    const int quarters = quartersOf();
    QVERIFY(quarters > 0);
    const QStringList saved = rowCounts();
    const QString archive = hall() + QStringLiteral("/Backup/Tables.zip");
    QStringList newFiles;
    Archive::Progress progress;
    progress.newFile = [&](const QString& name, qint64) { newFiles << name; };
    Archive::save(archive, progress);
    QCOMPARE(entryNames(archive), QStringList{entry});
    QCOMPARE(newFiles, QStringList{entry});
    if (engine == Engine::PostgreSQL) {
        // A dump the server's own pg_restore reads, not merely a file of that name.
        QTemporaryDir dir;
        const QString dump = dir.filePath(entry);
        QFile file(dump);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(entryBytes(archive, "Tennistables.dump"));
        file.close();
        QVERIFY(runServerTool("pg_restore", {QStringLiteral("--list"), dump}).contains(" TABLE DATA "));
    }

    TestInstallation::exec("delete from Reservierung where Reservierungsnummer = ?", {number});
    TestInstallation::exec("insert into Namen (Name) values ('after the save')");
    QCOMPARE(quartersOf(), 0);
    // Another desk listening: whatever it shows may have changed with the restore.
    const QString other = QStringLiteral("other desk");
    std::unique_ptr<QSignalSpy> heard;
    if (engine == Engine::PostgreSQL) {
        QSqlDatabase desk = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), other);
        desk.setConnectOptions(installation->connectionString());
        QVERIFY2(desk.open(), qPrintable(desk.lastError().text()));
        for (const QString& channel : Changes::channels())
            QVERIFY(desk.driver()->subscribeToNotification(channel));
        heard = std::make_unique<QSignalSpy>(desk.driver(), &QSqlDriver::notification);
    }
    Archive::restore(archive, hall() + QStringLiteral("/Tables"));
    if (heard) {
        const auto channelsHeard = [&] {
            QStringList channels;
            for (const QList<QVariant>& notice : std::as_const(*heard))
                if (!channels.contains(notice[0].toString()))
                    channels << notice[0].toString();
            channels.sort();
            return channels;
        };
        QStringList all = Changes::channels();
        all.sort();
        QTRY_COMPARE(channelsHeard(), all);
        heard.reset();
        QSqlDatabase::database(other, false).close();
        QSqlDatabase::removeDatabase(other);
    }
    QCOMPARE(quartersOf(), quarters);
    QCOMPARE(namesCalled("after the save"), 0);
    QCOMPARE(rowCounts(), saved);
    // The restored tables go on numbering their rows where the saved ones stood.
    TestInstallation::exec("insert into Namen (Name) values ('after the restore')");
    TestInstallation::exec("update Namen set Name = 'renamed' where Name = 'after the restore'");
    QCOMPARE(namesCalled("renamed"), 1);
}

void TestBackup::refusedStoreOfEitherEngineChangesNothing_data()
{
    QTest::addColumn<Engine>("engine");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("said");
    QTest::newRow("server dump at a single desk") << Engine::SQLite << "dump"
                                                  << "holds Tennistables.dump, a dump of a PostgreSQL server";
    QTest::newRow("single desk's tables at a server desk")
        << Engine::PostgreSQL << "sqlite"
        << "holds Tennistables.sqlite, the tables of a single desk";
    QTest::newRow("junk as the dump") << Engine::PostgreSQL << "junk"
                                      << "not a usable dump: pg_restore: error: input file does not appear";
    QTest::newRow("dump of one table") << Engine::PostgreSQL << "one table"
                                       << "lacks the tables Tische, Tischfarben, Reservierung";
    QTest::newRow("dump without rows") << Engine::PostgreSQL << "no rows"
                                       << "Tennistables.dump lacks the tables Tische, Tischfarben";
    QTest::newRow("no dump") << Engine::PostgreSQL << "readme"
                             << "holds no database Tennistables.dump";
}

void TestBackup::refusedStoreOfEitherEngineChangesNothing()
{
    QFETCH(Engine, engine);
    QFETCH(QString, kind);
    QFETCH(QString, said);
    if (!installOn(engine))
        return;
    const QString archive = hall() + QStringLiteral("/Backup/refused.zip");
    if (kind == QLatin1String("dump"))
        writeZip(archive, {{"Tennistables.dump", "PGDMP"}});
    else if (kind == QLatin1String("sqlite"))
        writeZip(archive, {{"Tennistables.sqlite", databaseWithNamesOnly()}});
    else if (kind == QLatin1String("junk"))
        writeZip(archive, {{"Tennistables.dump", "not a dump at all"}});
    else if (kind == QLatin1String("one table"))
        writeZip(archive, {{"Tennistables.dump", partialDump(installation->connectionString(),
                                                             {QStringLiteral("--table=namen")})}});
    else if (kind == QLatin1String("no rows"))
        writeZip(archive, {{"Tennistables.dump", partialDump(installation->connectionString(),
                                                             {QStringLiteral("--schema-only")})}});
    else
        writeZip(archive, {{"readme.txt", "old tables"}});
    QVERIFY(QFile::exists(archive));
    // Made after the dumps, so that restoring any of them would lose it.
    TestInstallation::exec("insert into Namen (Name) values ('after the dump')");
    const QStringList before = rowCounts();
    QString message;
    Archive::ArchiveError::Kind refused = Archive::ArchiveError::Failed;
    try {
        Archive::restore(archive, hall() + QStringLiteral("/Tables"));
    } catch (const Archive::ArchiveError& e) {
        message = e.message();
        refused = e.kind();
    }
    QVERIFY2(message.contains(said), qPrintable(message));
    QCOMPARE(refused, Archive::ArchiveError::Refused);
    QCOMPARE(rowCounts(), before);
    QCOMPARE(namesCalled("after the dump"), 1);
    QCOMPARE(
        QDir(hall()).entryList(QStringList{WorkFolder::prefix + QLatin1Char('*')}, QDir::Dirs | QDir::Hidden),
        QStringList());
}

void TestBackup::restoreHeldUpByAnotherDeskFailsWhole()
{
    if (!installOn(Engine::PostgreSQL))
        return;
    const QString archive = hall() + QStringLiteral("/Backup/Tables.zip");
    Archive::save(archive);
    TestInstallation::exec("insert into Namen (Name) values ('after the save')");
    const QStringList before = rowCounts();
    // Keys and indexes are dropped before the tables, table by table in reverse order of name.
    const auto keysAndIndexes = [] {
        return TestInstallation::scalar("select count(*) from pg_indexes where schemaname = current_schema()")
            .toInt();
    };
    const int indexes = keysAndIndexes();
    QVERIFY(indexes > 0);
    // Another desk in the middle of a transaction that read the countries, whose key the restore
    // reaches last, after every other table's.
    const QString other = QStringLiteral("other desk");
    {
        QSqlDatabase desk = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), other);
        desk.setConnectOptions(installation->connectionString());
        QVERIFY2(desk.open(), qPrintable(desk.lastError().text()));
        QVERIFY(desk.transaction());
        QSqlQuery read(desk);
        QVERIFY(read.exec(
            QStringLiteral("select count(*) from %1").arg(Store::quoted(QStringLiteral("Länder")))));
        QString message;
        try {
            Archive::restore(archive, hall() + QStringLiteral("/Tables"));
        } catch (const Archive::ArchiveError& e) {
            message = e.message();
        }
        QVERIFY2(message.contains(QLatin1String("another desk is using")), qPrintable(message));
        QVERIFY(desk.rollback());
        desk.close();
    }
    QSqlDatabase::removeDatabase(other);
    // Nothing of the restore stands: what it had dropped before it gave up is back.
    QCOMPARE(rowCounts(), before);
    QCOMPARE(namesCalled("after the save"), 1);
    QCOMPARE(keysAndIndexes(), indexes);
}

void TestBackup::failedDumpLeavesTheOldArchiveWhole()
{
    if (!installOn(Engine::PostgreSQL))
        return;
    const QString backup = hall() + QStringLiteral("/Backup");
    const QString archive = backup + QStringLiteral("/Tables.zip");
    Archive::save(archive);
    const QByteArray saved = fileBytes(archive);
    TestInstallation::exec("insert into Namen (Name) values ('after the save')");
    // The store's connection stays; pg_dump's own is turned away by the server.
    const QString database = TestInstallation::scalar("select current_database()").toString();
    // From the maintenance database: the server keeps a database from turning itself away.
    const auto allowConnections = [&](bool allowed) {
        bool done = false;
        {
            QSqlDatabase maintenance =
                QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("maintenance"));
            maintenance.setConnectOptions(TestDatabase::server() + QStringLiteral(" dbname=postgres"));
            done = maintenance.open() &&
                   QSqlQuery(maintenance)
                       .exec(QStringLiteral("alter database %1 allow_connections %2")
                                 .arg(database, allowed ? QStringLiteral("true") : QStringLiteral("false")));
            maintenance.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("maintenance"));
        return done;
    };
    QVERIFY(allowConnections(false));
    QString message;
    try {
        Archive::save(archive);
    } catch (const Archive::ArchiveError& e) {
        message = e.message();
    }
    // The window says so in pg_dump's words, and its bar no longer shows the server at work.
    Answers answers;
    answers.answer = Messages::Answer::Yes;
    {
        Tfrm_archiv w;
        w.show();
        w.ed_file->setText(QStringLiteral("Tables"));
        w.btn_save->click();
        QCOMPARE(answers.asked.size(), 3);
        QCOMPARE(answers.asked.mid(0, 2), (QStringList{QStringLiteral("overwriting existing file ?"),
                                                       QStringLiteral("Error on saving !")}));
        QCOMPARE(answers.asked[2], message);
        QCOMPARE(w.lbl_file->text(), QStringLiteral("Database not saved !"));
        QVERIFY(w.pb_file->maximum() > 0);
    }
    QVERIFY(allowConnections(true));
    QVERIFY2(message.startsWith(QLatin1String("pg_dump: error: ")), qPrintable(message));
    QVERIFY2(message.contains(QLatin1String("is not currently accepting connections")), qPrintable(message));
    QCOMPARE(fileBytes(archive), saved);
    QCOMPARE(QDir(backup).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("Tables.zip")});
}

void TestBackup::windowSavesAndRestoresOnEitherEngine_data()
{
    enginesAndEntries();
}

void TestBackup::windowSavesAndRestoresOnEitherEngine()
{
    QFETCH(Engine, engine);
    QFETCH(QString, entry);
    if (!installOn(engine))
        return;
    Tfrm_archiv w;
    w.show();
    Answers answers;
    answers.answer = Messages::Answer::Yes;
    w.btn_save->click();
    QCOMPARE(answers.asked, QStringList());
    QCOMPARE(w.lbl_file->text(), QStringLiteral("Database saved !"));
    QCOMPARE(w.pb_all->value(), w.pb_all->maximum());
    const QString archive = Archive::archivePath(w.dir_zip->text(), w.ed_file->text());
    QCOMPARE(entryNames(archive), QStringList{entry});

    TestInstallation::exec("insert into Namen (Name) values ('after the save')");
    w.pc_archiv->setCurrentWidget(w.ts_restore);
    w.fne_database->setText(archive);
    w.btn_restore->click();
    QCOMPARE(answers.asked,
             QStringList{QStringLiteral("Restoring overwrites the actual database !\nContinue ?")});
    QCOMPARE(w.lbl_file->text(), QStringLiteral("Database restored !"));
    QCOMPARE(namesCalled("after the save"), 0);
}

void TestBackup::clientToolsOfTheServersVersion_data()
{
    QTest::addColumn<QString>("installed");
    QTest::addColumn<bool>("executable");
    QTest::addColumn<int>("major");
    QTest::addColumn<QString>("said");
    QTest::newRow("the server's version") << "15/bin/pg_dump" << true << 15 << QString();
    QTest::newRow("another version only")
        << "14/bin/pg_dump" << true << 15
        << "The PostgreSQL 15 client tools (pg_dump) are not installed on this desk";
    QTest::newRow("not a program")
        << "16/bin/pg_dump" << false << 16
        << "The PostgreSQL 16 client tools (pg_dump) are not installed on this desk";
}

void TestBackup::clientToolsOfTheServersVersion()
{
    QFETCH(QString, installed);
    QFETCH(bool, executable);
    QFETCH(int, major);
    QFETCH(QString, said);
    QTemporaryDir root;
    const QString program = root.filePath(installed);
    QVERIFY(QDir().mkpath(QFileInfo(program).absolutePath()));
    QFile file(program);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
    file.close();
    if (executable)
        QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
    QString found;
    QString message;
    try {
        found = ServerDump::clientTool(QStringLiteral("pg_dump"), major, root.path());
    } catch (const Archive::ArchiveError& e) {
        message = e.message();
    }
    if (said.isEmpty()) {
        QCOMPARE(QFileInfo(found), QFileInfo(program));
    } else {
        QVERIFY2(message.startsWith(said), qPrintable(message));
        QVERIFY(found.isEmpty());
    }
}

namespace {

// The killed program of killedSaveLeavesNothingBehindForLong: opens a work folder, writes into it,
// says where and waits to be killed.
int holdWorkFolder(const QString& parent)
{
    WorkFolder work(parent);
    const QString file = work.filePath(QStringLiteral("Tennistables.sqlite"));
    QFile copy(file);
    if (!copy.open(QIODevice::WriteOnly) || copy.write(QByteArray(100000, 'x')) != 100000)
        return 1;
    copy.close();
    std::printf("%s\n", QFile::encodeName(file).constData());
    std::fflush(stdout);
    for (;;)
        std::this_thread::sleep_for(std::chrono::seconds(1));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet("TST_BACKUP_HOLD_WORK_FOLDER")) {
        QCoreApplication app(argc, argv);
        return holdWorkFolder(qEnvironmentVariable("TST_BACKUP_HOLD_WORK_FOLDER"));
    }
    QApplication app(argc, argv);
    TestBackup test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_backup.moc"
