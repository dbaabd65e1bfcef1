#pragma once

#include "data/fieldvalue.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>

// An editable set of rows of one table: the whole table in an index order, or the live result of
// a select over one table. Rows are addressed by the engine's row identity (SQLite's rowid, the
// server's identity column, which is no field of the set), so tables without a key edit as well;
// the address follows a row whose key is its rowid when that key changes. Any other select
// (distinct, grouped, aggregated, joined) opens read-only. Posting keeps the table's rules: a
// required field must hold a value, a text must fit its field counted in characters and hold
// nothing the store cannot keep (a NUL, half a character), and a number field holds a number (a
// text that reads as one is stored as that number); a post or delete that reaches no stored row
// is a store error, never a silent success. A row posted in a table opened in an index order
// moves to its place in that order. Windows bind to it through RecordSetModel; logic uses it
// directly.
class RecordSet : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    // What a field's declared type holds: no number (a text), whole numbers, any number, or a
    // logical 0/1, which also takes the texts "True" and "False".
    enum class NumberKind { None, Whole, Decimal, Logical };

    explicit RecordSet(QObject* parent = nullptr);

    // index: empty (stored order), field names separated by ';' or ',' ("Tischnummer"), or the
    // name of a secondary index ("Zuname", "si_name").
    void openTable(const QString& table, const QString& index = {});
    // A select over one table ("select * from Kennzahlen", "select * from Namen where 1= 3") opens
    // live; any other select opens read-only. params are bound by name.
    void openQuery(const QString& sql, const QHash<QString, QVariant>& params = {});
    // Closes and opens again with the same table or statement; the cursor goes to the first row.
    void refresh();
    void close();

    bool isOpen() const { return state_ != State::Inactive; }
    State state() const { return state_; }
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    // Also true for a result that cannot be written back (select distinct, group by, ...).
    bool isReadOnly() const { return readOnly_ || !live_; }
    const QString& tableName() const { return table_; }

    int count() const { return int(rows_.size()); }
    bool isEmpty() const { return rows_.isEmpty(); }
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    int recNo() const { return current_; } // -1 when empty
    void first();
    void last();
    void next();
    void prior();
    void moveTo(int row);

    // Exact match of one value on the first field of the current index order.
    bool findKey(const QVariant& value);

    QStringList fieldNames() const { return fields_; }
    int fieldIndex(const QString& name) const; // -1 when unknown; without regard to case
    FieldValue field(const QString& name) const;
    FieldValue field(int position) const;
    QVariant valueAt(int row, int position) const;
    // The table's rules for a field: the most characters a text holds (0: no limit), and whether
    // the field must hold a value.
    int fieldSize(const QString& name) const;
    bool fieldRequired(const QString& name) const;
    NumberKind fieldNumberKind(const QString& name) const;
    void setField(const QString& name, const QVariant& value);
    void setField(int position, const QVariant& value);

    // Returns false when the before-insert hook refused: nothing happens then, silently.
    bool append();
    void edit();
    void post();
    void cancel();
    // Returns false when the before-delete hook refused.
    bool remove();

    std::function<bool()> beforeInsert; // false refuses the insert
    std::function<void()> onNewRecord;  // fills defaults of a new row
    std::function<void()> afterScroll;  // the current row changed
    std::function<bool()> beforeDelete; // false keeps the row
    // Runs inside the transaction that writes a new row, after its rules are checked: a number
    // drawn here under Store::lockNumbers is free when the row goes in. post() opens a transaction
    // for it when none is open.
    std::function<void()> beforeInsertWrite;

signals:
    void reset();
    void rowChanged(int row);
    // Each pair brackets the change, as Qt's models announce inserted and removed rows.
    void rowAboutToBeAppended(int row);
    void rowAppended(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    // A posted row moving to its place in the order: `from` and `to` count the rows before the move.
    void rowAboutToBeMoved(int from, int to);
    void rowMoved(int from, int to);
    void currentChanged(int row);
    void stateChanged();
    // Before a row being edited or inserted is checked and written: controls still holding typed
    // values write them into the row now.
    void aboutToPost();

private:
    struct Row {
        qint64 rowid = 0;
        QVector<QVariant> values;
    };

    struct Rule {
        int size = 0;
        bool required = false;
        NumberKind number = NumberKind::None;
    };

    void load(const QString& sql, const QHash<QString, QVariant>& params);
    void loadRules();
    // Checks the buffer against the table's rules; texts that read as numbers in number fields
    // become those numbers.
    void applyRules();
    void keepOrder();
    // A write to a table that other desks show goes out to them inside its transaction.
    bool tellsOthers() const;
    void tellChange(const Row& row) const;
    void insertBuffer();
    void updateBuffer();
    QVariant bound(int position) const;
    void requireField(int position, const QString& name) const;
    void setCurrent(int row);
    void setState(State state);
    void ensureWritable() const;

    QString table_;
    QString sql_;
    QHash<QString, QVariant> params_;
    QStringList orderFields_;
    mutable QStringList fields_; // a name asked for in the desk's spelling takes it
    QVector<Rule> rules_;        // by field position
    QVector<Row> rows_;
    Row buffer_;
    State state_ = State::Inactive;
    int current_ = -1;
    bool eof_ = true;
    bool bof_ = true;
    bool readOnly_ = false;
    bool live_ = true; // the first column is the row identity
};
