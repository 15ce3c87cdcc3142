#pragma once
// The SQLite connection under a Qt connection, for what Qt's driver does not offer (a step
// budget, the online backup). Qt's driver and the program share the system's SQLite library.

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>
#include <sqlite3.h>

// Nothing when the connection is not an open SQLite one.
inline sqlite3* sqliteHandle(const QSqlDatabase& connection)
{
    const QVariant handle = connection.driver() ? connection.driver()->handle() : QVariant();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        return *static_cast<sqlite3* const*>(handle.constData());
    return nullptr;
}
