#include "answers.h"
#include "backup/archive.h"
#include "backup/u_archiv.h"
#include "data/store.h"
#include "testinstallation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <zip.h>

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
}

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
