#pragma once

// The table store runs on two engines: SQLite, the embedded file of a single desk, and a
// PostgreSQL server shared by several desks. Every statement above the store is the same text on
// both; the few things the two say differently stand in this one table, and no window or
// subsystem asks which engine it runs on. Names are written alike on both (Store::quoted).
enum class Engine { SQLite, PostgreSQL };

struct SqlDialect {
    Engine engine;
    const char* driver; // Qt SQL driver

    // Column types of the schema, by what a field holds.
    const char* smallInteger;
    const char* integer;
    // A whole-number key that the engine must not number by itself (SQLite makes an INTEGER
    // primary key its rowid and numbers a row given none).
    const char* integerKey;
    const char* floatingPoint; // money, percentages
    const char* dayCount;      // dates and moments: days since 30 December 1899, the time as fraction
    const char* logical;
    const char* number; // a NUMERIC of the stock register
    const char* memo;   // a text of any length
    const char* text;   // a text of at most %1 characters

    // The row identity that record sets update and delete by. SQLite keeps its rowid; the server
    // gets a column of that name, added last to every table, so that no field moves.
    const char* rowIdentity;
    const char* rowIdentityColumn; // empty: the engine has one of its own

    // The field rules of a table whose name, as the catalogue keeps it, is bound to the one
    // placeholder: per field its name, declared type, whether it must hold a value, and the most
    // characters it holds (empty where the type names it, as SQLite's "VARCHAR(30)" does).
    const char* fieldRules;
    // The fields of a secondary index, whose catalogue name is bound, in the index's order.
    const char* indexFields;

    // A transaction that writes: SQLite takes the write lock at once, so that a second writer
    // waits out the busy timeout instead of failing midway.
    const char* beginWrite;

    // The condition that a number column (%1, quoted) holds a number; empty where the column's type
    // already refuses anything else. SQLite keeps any value in any column, and every reader would
    // take a stray text for 0.
    const char* numbersOnly;

    // Serialises the drawing of "highest + 1" numbers of one kind, whose lock key is bound to the
    // one placeholder, until the transaction ends. Empty: the write lock of beginWrite does it.
    const char* lockNumbers;

    // Tells the other desks of a change: the channel and the payload are bound. Empty: one desk
    // alone uses the store.
    const char* notify;

    // Whether a select is read forward as the engine steps to its rows. The PostgreSQL driver then
    // takes the rows one by one from the connection and drops the rest as soon as another
    // statement runs beside it, as in every walk that writes or reads as it goes: there a select
    // comes whole.
    bool forwardOnly;
};

const SqlDialect& dialect(Engine engine);
