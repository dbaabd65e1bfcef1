#include "answers.h"
#include "backup/archive.h"
#include "backup/u_archiv.h"
#include "backup/workfolder.h"
#include "data/store.h"
#include "testinstallation.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <zip.h>

#include <chrono>
#include <cstdio>
#include <thread>

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

private:
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
