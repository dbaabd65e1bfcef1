#include "cards/memberfilter.h"

#include "data/fieldvalue.h"

#include <QStringList>

namespace MemberFilter {

Select select(const QVector<Condition>& conditions, const QString& order)
{
    Select result;
    QStringList where;
    for (int i = 0; i < conditions.size(); ++i) {
        const Condition& c = conditions[i];
        // Numbers compare by their decimal text, so that "4*" finds 4, 40 and 412.
        const QString value = c.field.compare(QLatin1String("Mitgliedsnummer"), Qt::CaseInsensitive) == 0
                                  ? QStringLiteral("cast(%1 as varchar(20))").arg(c.field)
                                  : c.field;
        const QString name = QStringLiteral("text%1").arg(i);
        if (c.text.endsWith(QLatin1Char('*'))) {
            const QString prefix = c.text.chopped(1);
            const QString length = QStringLiteral("length%1").arg(i);
            where << QStringLiteral("substr(%1, 1, :%2) = :%3").arg(value, length, name);
            result.params.insert(name, prefix);
            // substr counts characters; a UTF-16 length would overshoot at every emoji.
            result.params.insert(length, characterCount(prefix));
        } else {
            where << QStringLiteral("%1 = :%2").arg(value, name);
            result.params.insert(name, c.text);
        }
    }
    result.sql = QStringLiteral("select * from Mitglieder");
    if (!where.isEmpty())
        result.sql += QStringLiteral(" where ") + where.join(QStringLiteral(" and "));
    if (!order.isEmpty())
        result.sql += QStringLiteral(" order by ") + order;
    return result;
}

} // namespace MemberFilter
