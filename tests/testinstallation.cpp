#include "testinstallation.h"

#include "data/store.h"
#include "install/installer.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

TestInstallation::TestInstallation(bool demo, int today, double now)
{
    Store::close();
    qputenv("COURTORIA_REGISTRY", (dir_.path() + QStringLiteral("/registry.ini")).toLocal8Bit());
    qputenv("COURTORIA_USER_SETTINGS", (dir_.path() + QStringLiteral("/windows.ini")).toLocal8Bit());
    Installer::Options options;
    options.directory = dir_.path() + QStringLiteral("/hall");
    options.demo = demo;
    options.today = today;
    options.now = now;
    failure_ = Installer::install(options);
}

TestInstallation::~TestInstallation()
{
    Store::close();
}

QString TestInstallation::databaseFile() const
{
    return dir_.path() + QStringLiteral("/hall/Tables/Tennistables.sqlite");
}

namespace {

QSqlQuery run(const QString& sql, const QVariantList& values)
{
    QSqlQuery query(Store::database());
    if (!query.prepare(sql))
        qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values[i]);
    if (!query.exec())
        qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    return query;
}

} // namespace

void TestInstallation::exec(const QString& sql, const QVariantList& values)
{
    run(sql, values);
}

QVariant TestInstallation::scalar(const QString& sql, const QVariantList& values)
{
    QSqlQuery query = run(sql, values);
    return query.next() ? query.value(0) : QVariant();
}
