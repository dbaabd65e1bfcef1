#include "install/installer.h"

#include "data/daycount.h"
#include "data/store.h"
#include "install/demodata.h"
#include "install/installeddata.h"
#include "install/schema.h"
#include "platform/registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>

namespace Installer {

QString install(const Options& options)
{
    if (options.directory.isEmpty())
        return QStringLiteral("No installation directory given.");
    const QString root = QFileInfo(options.directory).absoluteFilePath();
    const QDir dir(root);
    const QString file = dir.filePath(QStringLiteral("Tables/Tennistables.sqlite"));
    if (QFileInfo::exists(file))
        return QStringLiteral("%1 already exists; an existing database is never overwritten.").arg(file);
    if (!dir.mkpath(QStringLiteral("Tables")) || !dir.mkpath(QStringLiteral("Backup")))
        return QStringLiteral("Cannot create the directories under %1.").arg(root);

    // Built under a temporary name and renamed at the end: a failed run leaves no half database.
    const QString building = file + QStringLiteral(".new");
    QFile::remove(building);
    const QString connection = QStringLiteral("courtoria-install");
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(building);
        if (!db.open()) {
            failure = db.lastError().text();
        } else {
            try {
                db.transaction();
                Schema::create(db);
                InstalledData::insert(db);
                if (options.demo) {
                    const int today = options.today ? options.today : DayCount::today();
                    const double now = options.now ? options.now : DayCount::now();
                    DemoData::insert(db, today, now);
                }
                if (!db.commit())
                    failure = db.lastError().text();
            } catch (const StoreError& e) {
                db.rollback();
                failure = e.message();
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (failure.isEmpty() && !QFile::rename(building, file))
        failure = QStringLiteral("Cannot create %1.").arg(file);
    if (!failure.isEmpty()) {
        QFile::remove(building);
        return failure;
    }
    if (!Registry::setValue(QStringLiteral("Installdirectory"), root))
        return QStringLiteral("Cannot write the registry file %1.").arg(Registry::filePath());
    return {};
}

} // namespace Installer
