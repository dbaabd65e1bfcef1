#include "data/sqltext.h"

#include <QTest>

class TestSqlText : public QObject {
    Q_OBJECT
private slots:
    void rewrite_data();
    void rewrite();
};

void TestSqlText::rewrite_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("positions");

    QTest::newRow("adjacent to operator")
        << "delete from Aktivitaet where Aufzeichnung <:pdatum"
        << "delete from Aktivitaet where Aufzeichnung <?" << QStringList{"pdatum"};
    QTest::newRow("one name twice")
        << "where Abrechnungsdatum < :pbisdatum+1 and Abrechnungsfolge in (select x from t where d "
           "< :pbisdatum + 1)"
        << "where Abrechnungsdatum < ?+1 and Abrechnungsfolge in (select x from t where d < ? + 1)"
        << QStringList{"pbisdatum", "pbisdatum"};
    QTest::newRow("names without case") << "Platz=:Platz and x=:PLATZ"
                                        << "Platz=? and x=?" << QStringList{"platz", "platz"};
    QTest::newRow("colon inside a text") << "select '12:30' from t where a=:p"
                                         << "select '12:30' from t where a=?" << QStringList{"p"};
    QTest::newRow("doubled quote in a text") << "select 'it''s :no' x where y=:yes"
                                             << "select 'it''s :no' x where y=?" << QStringList{"yes"};
    QTest::newRow("quoted name") << "select \"a:b\" from t where c=:c"
                                 << "select \"a:b\" from t where c=?" << QStringList{"c"};
    QTest::newRow("no parameter") << "select * from Reservierung where 1=3"
                                  << "select * from Reservierung where 1=3" << QStringList{};
}

void TestSqlText::rewrite()
{
    QFETCH(QString, sql);
    QFETCH(QString, text);
    QFETCH(QStringList, positions);
    const PositionalSql out = toPositional(sql);
    QCOMPARE(out.text, text);
    QCOMPARE(out.positions, positions);
}

QTEST_GUILESS_MAIN(TestSqlText)
#include "tst_sqltext.moc"
