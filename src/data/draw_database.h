#pragma once
// The draw-history database: an SQLite file with the table 当選データ and the query
// (view) 全データ選択クエリ over it. This class opens it, creates it and checks it.

#include <QSqlDatabase>
#include <QString>

struct HistoryCsv;

class DrawDatabase {
public:
    enum class Mode { ReadOnly, ReadWrite };

    static const QString kFileName;         // Numbers3Zubarin.db
    static const QString kHistoryFileName;  // the history that ships beside the program
    static const QString kTable;            // 当選データ
    static const QString kQuery;            // 全データ選択クエリ
    static const QString kSelectAll;        // select * from 全データ選択クエリ order by 回数

    // The folder of the executable, where the database and the shipped history live.
    static QString programDirectory();

    // A connection string names the driver and the file: "Driver=QSQLITE;Data Source=<path>".
    static QString connectString(const QString& databasePath);
    static QString pathOf(const QString& connectString);

    // Creates a new database file with the program's schema, filled with the given draws.
    // The file appears only when it is complete; on failure nothing is left behind.
    static bool create(const QString& path, const HistoryCsv& history, QString* reason);

    // Each object owns one connection of its own; it is closed when the object goes.
    DrawDatabase(const QString& connectString, Mode mode);
    ~DrawDatabase();
    DrawDatabase(const DrawDatabase&) = delete;
    DrawDatabase& operator=(const DrawDatabase&) = delete;

    // Opens the file (never creating it) and checks that the table and the query are there.
    bool open(QString* reason);
    QSqlDatabase& database() { return m_db; }

    // Inserts each draw of the history, or replaces the stored draw with the same 回数,
    // in one transaction: either all draws are written or none.
    bool writeDraws(const HistoryCsv& history, QString* reason);

    // Creates the table and the query in an empty database.
    bool createSchema(QString* reason);

private:
    bool checkSchema(QString* reason);

    QString m_connectionName;
    QString m_path;
    Mode m_mode;
    QSqlDatabase m_db;
};
