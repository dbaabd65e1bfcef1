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
    "begin immediate",
    "typeof(%1) in ('integer', 'real', 'null')",
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
    "begin",
    "",
    "select pg_advisory_xact_lock(?)",
    false,
};

} // namespace

const SqlDialect& dialect(Engine engine)
{
    return engine == Engine::PostgreSQL ? postgresql : sqlite;
}
