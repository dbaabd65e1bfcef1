#include "backup/archive.h"

#include "data/store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

#include <zip.h>

#include <memory>

namespace Archive {
namespace {

const QString databaseName = QStringLiteral("Tennistables.sqlite");

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

void save(const QString& archive, const Progress& progress)
{
    QTemporaryDir scratch;
    if (!scratch.isValid())
        throw ArchiveError(QStringLiteral("No temporary directory for the copy of the database"));
    const QString copy = scratch.filePath(databaseName);
    try {
        Store::copyTo(copy);
    } catch (const StoreError& e) {
        throw ArchiveError(e.message());
    }
    const qint64 size = QFileInfo(copy).size();
    // An existing archive keeps its other entries; the one of the same name is replaced.
    ZipHandle zip = openZip(archive, ZIP_CREATE);
    zip_source_t* source = zip_source_file(zip.get(), QFile::encodeName(copy).constData(), 0, 0);
    if (!source)
        throw ArchiveError(zipMessage(zip.get()));
    const zip_int64_t index = zip_file_add(zip.get(), databaseName.toUtf8().constData(), source,
                                           ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(source);
        throw ArchiveError(zipMessage(zip.get()));
    }
    if (zip_set_file_compression(zip.get(), zip_uint64_t(index), ZIP_CM_DEFLATE, 9) < 0)
        throw ArchiveError(zipMessage(zip.get()));
    if (progress.newFile)
        progress.newFile(databaseName, size);
    Stepper stepper{&progress, size};
    zip_register_progress_callback_with_state(zip.get(), 0.001, onZipProgress, nullptr, &stepper);
    if (zip_close(zip.get()) < 0)
        throw ArchiveError(zipMessage(zip.get()));
    (void)zip.release(); // closed
    stepper.reach(size);
    if (progress.finished)
        progress.finished();
}

void restore(const QString& archive, const QString& tablesDirectory, const Progress& progress)
{
    ZipHandle zip = openZip(archive, ZIP_RDONLY);
    const zip_int64_t count = zip_get_num_entries(zip.get(), 0);
    // Every name is checked before the first file is written: a refused archive changes nothing.
    for (zip_int64_t i = 0; i < count; ++i) {
        const QString name = QString::fromUtf8(zip_get_name(zip.get(), zip_uint64_t(i), 0));
        if (unsafeName(name))
            throw ArchiveError(
                QStringLiteral("The archive holds an entry outside the table directory: %1").arg(name));
    }
    // The store lets go of the database so that its file can be replaced.
    Store::close();
    const QDir tables(tablesDirectory);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        if (zip_stat_index(zip.get(), zip_uint64_t(i), 0, &stat) < 0)
            throw ArchiveError(zipMessage(zip.get()));
        const QString name = QString::fromUtf8(stat.name);
        const qint64 size = qint64(stat.size);
        if (progress.newFile)
            progress.newFile(name, size);
        zip_file_t* entry = zip_fopen_index(zip.get(), zip_uint64_t(i), 0);
        if (!entry)
            throw ArchiveError(zipMessage(zip.get()));
        // Written beside and renamed over the old file: a failure leaves the old file whole.
        QSaveFile out(tables.filePath(name));
        if (!out.open(QIODevice::WriteOnly)) {
            zip_fclose(entry);
            throw ArchiveError(QStringLiteral("%1: %2").arg(out.fileName(), out.errorString()));
        }
        Stepper stepper{&progress, size};
        QByteArray buffer(int(stepBytes), Qt::Uninitialized);
        qint64 done = 0;
        for (;;) {
            const zip_int64_t read = zip_fread(entry, buffer.data(), zip_uint64_t(buffer.size()));
            if (read < 0) {
                zip_fclose(entry);
                throw ArchiveError(QStringLiteral("%1: %2").arg(name, zipMessage(zip.get())));
            }
            if (read == 0)
                break;
            out.write(buffer.constData(), read);
            done += read;
            stepper.reach(done);
        }
        zip_fclose(entry);
        if (!out.commit())
            throw ArchiveError(QStringLiteral("%1: %2").arg(out.fileName(), out.errorString()));
    }
    if (progress.finished)
        progress.finished();
}

} // namespace Archive
