#pragma once

#include <QString>

class QSqlError;

// How the server's errors read at the desk; Store::message gives the whole text.
namespace Store {

// The server's own words of an error, without libpq's severity prefixes and line breaks: what a
// message shows where nothing of the desk's wording fits.
QString serverWords(const QSqlError& error);
// Reads from the server's catalogue which table each unique key belongs to, for the messages of
// broken keys: inside a transaction that a broken key has ended the catalogue cannot be read.
void learnKeyTables();
// The server has said that it ends the connection (or libpq that it is gone): the store opens a
// new one at its next use, even where libpq has not noticed yet.
void noticeLostServer();

} // namespace Store
