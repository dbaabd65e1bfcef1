#include "data/changes.h"

#include <QHash>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QVariant>

namespace Changes {

QStringList channels()
{
    return {QString::fromLatin1(reservierung), QString::fromLatin1(abrechnung), QString::fromLatin1(tische),
            QString::fromLatin1(kennzahlen),   QString::fromLatin1(mitglieder), QString::fromLatin1(licht)};
}

QString channelOf(const QString& table)
{
    static const QHash<QString, QString> channelByTable{
        {QStringLiteral("reservierung"), QString::fromLatin1(reservierung)},
        {QStringLiteral("tischabrechnung"), QString::fromLatin1(abrechnung)},
        {QStringLiteral("tische"), QString::fromLatin1(tische)},
        {QStringLiteral("tischfarben"), QString::fromLatin1(tische)},
        {QStringLiteral("kennzahlen"), QString::fromLatin1(kennzahlen)},
        {QStringLiteral("mitglieder"), QString::fromLatin1(mitglieder)},
        {QStringLiteral("monatsrabatt"), QString::fromLatin1(mitglieder)},
    };
    return channelByTable.value(table.toLower());
}

QString channelOfStatement(const QString& sql)
{
    static const QRegularExpression written(
        QStringLiteral("^\\s*(?:delete\\s+from|update|insert\\s+into)\\s+\"?(\\w+)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch match = written.match(sql);
    return match.hasMatch() ? channelOf(match.captured(1)) : QString();
}

QString payloadOf(const QString& table, int datum)
{
    return table.compare(QLatin1String("Reservierung"), Qt::CaseInsensitive) == 0 ? QString::number(datum)
                                                                                  : QString();
}

} // namespace Changes

ChangeListener& ChangeListener::instance()
{
    static ChangeListener listener;
    return listener;
}

void ChangeListener::listenOn(const QSqlDatabase& db, bool afterLoss)
{
    QSqlDriver* driver = db.driver();
    for (const QString& channel : Changes::channels())
        if (!driver->subscribeToNotification(channel))
            qWarning("Changes of other desks on %s are not heard: %s", qPrintable(channel),
                     qPrintable(driver->lastError().text()));
    connect(driver, &QSqlDriver::notification, this,
            [this](const QString& channel, QSqlDriver::NotificationSource source, const QVariant& payload) {
                if (source == QSqlDriver::OtherSource)
                    emit heard(channel, payload.toString());
            });
    if (afterLoss)
        for (const QString& channel : Changes::channels())
            QMetaObject::invokeMethod(
                this, [this, channel] { emit heard(channel, {}); }, Qt::QueuedConnection);
}
