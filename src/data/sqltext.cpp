#include "data/sqltext.h"

namespace {

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

} // namespace

PositionalSql toPositional(const QString& sql)
{
    PositionalSql out;
    out.text.reserve(sql.size());
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql[i];
        // Quoted texts and names are copied whole: a colon inside them is no parameter.
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const qsizetype start = i;
            for (++i; i < n; ++i) {
                if (sql[i] == c) {
                    if (i + 1 < n && sql[i + 1] == c)
                        ++i; // doubled quote stands for itself
                    else
                        break;
                }
            }
            out.text += sql.mid(start, i - start + 1);
            continue;
        }
        if (c == QLatin1Char(':') && i + 1 < n && isNameChar(sql[i + 1]) && !sql[i + 1].isDigit()) {
            qsizetype end = i + 1;
            while (end < n && isNameChar(sql[end]))
                ++end;
            out.positions << sql.mid(i + 1, end - i - 1).toLower();
            out.text += QLatin1Char('?');
            i = end - 1;
            continue;
        }
        out.text += c;
    }
    return out;
}
