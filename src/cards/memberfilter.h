#pragma once

#include <QHash>
#include <QString>
#include <QVariant>
#include <QVector>

// The filters of the member windows as bound statements over Mitglieder. A text matches the whole
// field value, case counting, and an apostrophe in it is just a character; a text ending in an
// asterisk matches every value that begins with the text before the asterisk.
namespace MemberFilter {

struct Condition {
    QString field; // a field of Mitglieder
    QString text;  // as typed
};

struct Select {
    QString sql;
    QHash<QString, QVariant> params;
};

// The conditions combine with AND; the result keeps every field and is ordered by `order`.
Select select(const QVector<Condition>& conditions, const QString& order);

} // namespace MemberFilter
