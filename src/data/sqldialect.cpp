#include "data/sqldialect.h"

namespace {

constexpr SqlDialect sqlite{
    Engine::SQLite,
    "QSQLITE",
    "SMALLINT",
    "INTEGER",
    "INT",
    "DOUBLE",
    "REAL",
    "BOOLEAN",
    "NUMERIC",
    "TEXT",
    "VARCHAR(%1)",
    "rowid",
    "",
    "select name, type, \"notnull\" <> 0, null from pragma_table_info(?)",
    "select name from pragma_index_info(?) order by seqno",
    "begin immediate",
    "typeof(%1) in ('integer', 'real', 'null')",
    "",
    "",
    true,
};

constexpr SqlDialect postgresql{
    Engine::PostgreSQL,
    "QPSQL",
    "SMALLINT",
    "INTEGER",
    "INTEGER",
    "DOUBLE PRECISION",
    "DOUBLE PRECISION",
    "BOOLEAN",
    "NUMERIC",
    "TEXT",
    "VARCHAR(%1)",
    "rowid",
    "rowid BIGINT GENERATED ALWAYS AS IDENTITY UNIQUE",
    "select column_name, data_type, is_nullable = 'NO', character_maximum_length "
    "from information_schema.columns where table_schema = current_schema() and table_name = ? "
    "order by ordinal_position",
    "select a.attname from pg_index x join pg_class i on i.oid = x.indexrelid "
    "join pg_attribute a on a.attrelid = x.indrelid and a.attnum = any(x.indkey) "
    "where i.relname = ? and pg_table_is_visible(i.oid) order by array_position(x.indkey::int2[], a.attnum)",
    "begin",
    "",
    "select pg_advisory_xact_lock(?)",
    "select pg_notify(?, ?)",
    false,
};

} // namespace

const SqlDialect& dialect(Engine engine)
{
    return engine == Engine::PostgreSQL ? postgresql : sqlite;
}
