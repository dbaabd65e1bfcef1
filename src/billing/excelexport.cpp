#include "billing/excelexport.h"

#include "data/daycount.h"
#include "data/displayformat.h"
#include "data/query.h"
#include "platform/messages.h"
#include "xls/xlswriter.h"

#include <vector>

namespace ExcelExport {
namespace {

// The writer's cell formats, by number.
enum Format {
    Plain = 0,
    MoneyRed = 1,
    Centred = 4,
    Empty = 5,
    Bold = 6,
    MoneyRedBold = 7,
};

// Columns A to F.
enum Column { A = 0, B, C, D, E, F };

const QString rangeCondition = QStringLiteral(
    "where Abrechnungsdatum between :pvondatum and :pbisdatum and Abrechnungsdatum <> :pbisdatum "
    "and abgerechnet = true ");

// One row of the account, court or line queries; the fields a query lacks stay empty.
struct Row {
    int account = 0;
    double accountDate = 0;
    int court = 0;
    double amount = 0;
    QString reservator;
    double written = 0;
    double start = 0;
    QString quarters;
};

// What a query delivers beyond the account: nothing, the court, or the court and the line.
enum class Detail { Account, Court, Line };

std::vector<Row> rows(const QString& sql, int firstDay, int lastDay, Detail detail)
{
    Query query(sql);
    query.setParam(QStringLiteral("pvondatum"), firstDay);
    query.setParam(QStringLiteral("pbisdatum"), lastDay + 1);
    query.open();
    std::vector<Row> out;
    for (; !query.eof(); query.next()) {
        Row row;
        row.account = query.field(QStringLiteral("Abrechnungsfolge")).asInteger();
        row.accountDate = query.field(QStringLiteral("Abrechnungsdatum")).asDateTime();
        row.amount = query.field(QStringLiteral("Tischbetrag")).asFloat();
        if (detail != Detail::Account)
            row.court = query.field(QStringLiteral("Tischnummer")).asInteger();
        if (detail == Detail::Line) {
            row.reservator = query.field(QStringLiteral("Reservierer")).asString();
            row.written = query.field(QStringLiteral("Einschreibdatum")).asDateTime();
            row.start = query.field(QStringLiteral("Startzeit")).asDateTime();
            const FieldValue quarters = query.field(QStringLiteral("Quaters"));
            row.quarters = quarters.isEmpty() ? QString() : QString::number(quarters.asInteger());
        }
        out.push_back(row);
    }
    query.close();
    return out;
}

std::vector<Row> accounts(int firstDay, int lastDay)
{
    return rows(QStringLiteral("select Abrechnungsfolge,Abrechnungsdatum,sum(Betrag) Tischbetrag,"
                               "sum(DrinksundSnacks) Essen from Tischabrechnung ") +
                    rangeCondition +
                    QStringLiteral("group by Abrechnungsfolge,Abrechnungsdatum order by "
                                   "Abrechnungsfolge,Abrechnungsdatum"),
                firstDay, lastDay, Detail::Account);
}

std::vector<Row> courts(int firstDay, int lastDay)
{
    return rows(QStringLiteral("select Abrechnungsfolge,Abrechnungsdatum,Tischnummer,sum(Betrag) "
                               "Tischbetrag,sum(DrinksundSnacks) Essen from Tischabrechnung ") +
                    rangeCondition +
                    QStringLiteral("group by Abrechnungsfolge,Abrechnungsdatum,Tischnummer order by "
                                   "Abrechnungsfolge,Abrechnungsdatum,Tischnummer"),
                firstDay, lastDay, Detail::Court);
}

std::vector<Row> lines(int firstDay, int lastDay)
{
    return rows(QStringLiteral("select Reservierer,Einschreibdatum,Startzeit,Quaters,Abrechnungsfolge,"
                               "Abrechnungsdatum,Tischnummer,Betrag Tischbetrag,DrinksundSnacks Essen "
                               "from Tischabrechnung ") +
                    rangeCondition + QStringLiteral("order by Abrechnungsfolge,Abrechnungsdatum,Tischnummer"),
                firstDay, lastDay, Detail::Line);
}

// One worksheet per account, named by its number, in ascending order.
QStringList sheetNames(int firstDay, int lastDay)
{
    QStringList names;
    for (const Row& account : accounts(firstDay, lastDay)) {
        const QString name = QString::number(account.account);
        if (!names.contains(name))
            names.append(name);
    }
    return names;
}

// Runs the writing between OpenFile and CloseFile. Whatever fails on the way, the unfinished file is
// dropped and an earlier export of that name stays as it was; only a complete file is reported as
// finished.
template <typename Write> void writeFile(TXLSWrite& xls, Write write)
{
    xls.OpenFile();
    try {
        write();
    } catch (...) {
        xls.CancelFile();
        throw;
    }
    xls.CloseFile();
    Messages::information(QStringLiteral("export finished"));
}

class SheetWriter {
public:
    SheetWriter(TXLSWrite& xls, const Progress& progress)
        : xls_(xls)
        , progress_(progress)
    {
    }
    void text(int column, int row, int format, const QString& value)
    {
        xls_.WriteText(column, row, format, value);
    }
    void number(int column, int row, int format, double value)
    {
        xls_.WriteNumber(column, row, format, value);
    }
    void rowDone() const
    {
        if (progress_)
            progress_();
    }
    // The head of an account's worksheet: its number and date in the first two rows.
    void accountHead(const Row& account, int lastColumn)
    {
        xls_.SetColumnWidths(A, lastColumn, 5000, Empty);
        text(A, 0, Centred, QStringLiteral("account nr."));
        text(B, 0, Centred, QStringLiteral("account date"));
        text(A, 1, Plain, QString::number(account.account));
        text(B, 1, Plain, DisplayFormat::dateLongTime(account.accountDate));
        rowDone();
    }

private:
    TXLSWrite& xls_;
    const Progress& progress_;
};

void writeAccountSums(TXLSWrite& xls, const std::vector<Row>& accounts, const Progress& progress)
{
    SheetWriter sheet(xls, progress);
    xls.SetColumnWidths(A, A, 3000, Empty);
    xls.SetColumnWidths(B, E, 5000, Empty);
    sheet.text(A, 2, Centred, QStringLiteral("account nr."));
    sheet.text(B, 2, Centred, QStringLiteral("account date"));
    sheet.text(C, 2, Centred, QStringLiteral("sum of courtrents"));
    int row = 3;
    double all = 0;
    for (const Row& account : accounts) {
        sheet.text(A, row, Plain, QString::number(account.account));
        sheet.text(B, row, Plain, DisplayFormat::dateLongTime(account.accountDate));
        sheet.number(C, row, MoneyRed, account.amount);
        all += account.amount;
        ++row;
        sheet.rowDone();
    }
    ++row;
    sheet.text(B, row, Plain, QStringLiteral("Sum of all"));
    sheet.number(C, row, MoneyRed, all);
}

// The rows of one account, from `first` up to the next account.
std::size_t accountEnd(const std::vector<Row>& rows, std::size_t first)
{
    std::size_t end = first;
    while (end < rows.size() && rows[end].account == rows[first].account)
        ++end;
    return end;
}

// The foot of an account's worksheet below its last row; on the last worksheet also the sum of all
// accounts, two rows further down.
void accountFoot(SheetWriter& sheet, int row, double accountSum, bool last, double all)
{
    sheet.text(A, row, Plain, QStringLiteral("daily account"));
    sheet.number(B, row, MoneyRed, accountSum);
    if (last) {
        row += 2;
        sheet.text(A, row, Plain, QStringLiteral("all daily accounts"));
        sheet.number(B, row, MoneyRed, all);
    }
    sheet.rowDone();
}

void writeCourtSums(TXLSWrite& xls, const std::vector<Row>& courts, const Progress& progress)
{
    SheetWriter sheet(xls, progress);
    double all = 0;
    for (std::size_t first = 0; first < courts.size();) {
        const std::size_t end = accountEnd(courts, first);
        if (first > 0)
            xls.NextSheet();
        sheet.accountHead(courts[first], D);
        sheet.text(A, 3, Centred, QStringLiteral("courtnumber"));
        sheet.text(B, 3, Centred, QStringLiteral("sum of courtrents"));
        int row = 4;
        double accountSum = 0;
        for (std::size_t i = first; i < end; ++i) {
            sheet.text(A, row, Plain, QString::number(courts[i].court));
            sheet.number(B, row, MoneyRed, courts[i].amount);
            accountSum += courts[i].amount;
            all += courts[i].amount;
            ++row;
            sheet.rowDone();
        }
        accountFoot(sheet, row + 1, accountSum, end == courts.size(), all);
        first = end;
    }
}

void writeCourtDetails(TXLSWrite& xls, const std::vector<Row>& lines, const Progress& progress)
{
    SheetWriter sheet(xls, progress);
    double all = 0;
    for (std::size_t first = 0; first < lines.size();) {
        const std::size_t end = accountEnd(lines, first);
        if (first > 0)
            xls.NextSheet();
        sheet.accountHead(lines[first], F);
        const QString headings[] = {QStringLiteral("courtnumber"), QStringLiteral("bills"),
                                    QStringLiteral("reservator"),  QStringLiteral("court calculated"),
                                    QStringLiteral("start"),       QStringLiteral("quaters")};
        for (int column = A; column <= F; ++column)
            sheet.text(column, 3, Centred, headings[column]);
        int row = 4;
        double accountSum = 0;
        for (std::size_t i = first; i < end;) {
            const int court = lines[i].court;
            double courtSum = 0;
            for (; i < end && lines[i].court == court; ++i) {
                const Row& line = lines[i];
                sheet.text(A, row, Plain, QString::number(court));
                sheet.number(B, row, MoneyRed, line.amount);
                sheet.text(C, row, Plain, line.reservator);
                sheet.text(D, row, Centred, DisplayFormat::dateLongTime(line.written));
                sheet.text(E, row, Centred, DisplayFormat::dateLongTime(line.start));
                sheet.text(F, row, Plain, line.quarters);
                courtSum += line.amount;
                accountSum += line.amount;
                all += line.amount;
                ++row;
                sheet.rowDone();
            }
            sheet.text(A, row, Bold, QString::number(court));
            sheet.number(B, row, MoneyRedBold, courtSum);
            ++row;
            sheet.rowDone();
        }
        accountFoot(sheet, row + 1, accountSum, end == lines.size(), all);
        first = end;
    }
}

} // namespace

bool run(TXLSWrite& xls, Layout layout, int firstDay, int lastDay, const Progress& progress)
{
    switch (layout) {
    case Layout::AccountSums: {
        const std::vector<Row> sums = accounts(firstDay, lastDay);
        if (sums.empty()) {
            Messages::information(QStringLiteral("no datas for excelexport !"));
            return false;
        }
        // One worksheet, whatever an earlier export of one worksheet per account left in the list.
        xls.Sheets = QStringList{QStringLiteral("Sheet1")};
        writeFile(xls, [&] { writeAccountSums(xls, sums, progress); });
        return true;
    }
    case Layout::CourtSums: {
        const std::vector<Row> perCourt = courts(firstDay, lastDay);
        if (perCourt.empty()) {
            Messages::information(QStringLiteral("No datas for excelexport !"));
            return false;
        }
        xls.Sheets = sheetNames(firstDay, lastDay);
        writeFile(xls, [&] { writeCourtSums(xls, perCourt, progress); });
        return true;
    }
    case Layout::CourtDetails: {
        const std::vector<Row> details = lines(firstDay, lastDay);
        if (details.empty()) {
            Messages::information(QStringLiteral("no datas for excelexport !"));
            return false;
        }
        xls.Sheets = sheetNames(firstDay, lastDay);
        writeFile(xls, [&] { writeCourtDetails(xls, details, progress); });
        return true;
    }
    }
    return false;
}

} // namespace ExcelExport
