#pragma once
// The draw-history database: an SQLite file with the table 当選データ and the query
// (view) 全データ選択クエリ over it. This class opens it, creates it and checks it.

#include "data/history.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <array>
#include <optional>

struct HistoryCsv;

class DrawDatabase {
public:
    enum class Mode { ReadOnly, ReadWrite };

    static const QString kFileName; // Numbers3Zubarin.db
    static const QString kHistoryFileName; // the history that ships with the program
    static const QString kTable; // 当選データ
    static const QString kQuery; // 全データ選択クエリ
    static const QString kSelectAll; // select * from 全データ選択クエリ order by 回数

    // A connection string names the driver and the file: "Driver=QSQLITE;Data Source=<path>".
    static QString connectString(const QString& databasePath);
    static QString pathOf(const QString& connectString);

    // Whether writing to path would write over the database at databasePath or a file SQLite
    // or the program keeps beside it (journal, WAL, lock), under any name: the same name, a
    // symbolic link to it, a hard link, or a name not there yet that resolves to it.
    static bool isDatabaseFile(const QString& databasePath, const QString& path);

    enum class Creation {
        Created, // the file is ours, complete
        AlreadyThere, // a file of that name exists (another process may just have made it)
        Failed, // nothing was made; the reason says why
    };
    // How long a creation waits for another process's creation to finish.
    static constexpr int kCreationWaitMs = 60000;
    // Creates a new database file with the program's schema, filled with the given draws.
    // The file is built under a name of its own and moved into place only when complete, and
    // never over a file that appeared meanwhile; creators in other processes wait for each
    // other (up to waitMs) on a lock file beside the database, which a creator that was killed
    // holds no longer. On failure nothing is left behind.
    static Creation create(const QString& path, const HistoryCsv& history, QString* reason,
                           int waitMs = kCreationWaitMs);

    // Removes what a creation killed halfway left beside the database (its unfinished file, its
    // journal, its lock file). Does nothing while another creation runs.
    static void removeStaleCreations(const QString& path);

    // Each object owns one connection of its own; it is closed when the object goes.
    DrawDatabase(const QString& connectString, Mode mode);
    ~DrawDatabase();
    DrawDatabase(const DrawDatabase&) = delete;
    DrawDatabase& operator=(const DrawDatabase&) = delete;

    // Opens the file (never creating it) and checks that the table and the query are there.
    // ReadOnly opens for reading only, yet read-write underneath where the file and its folder
    // may be written, so that a write interrupted by a kill or a power cut is rolled back first
    // (queries that would change anything are refused all the same).
    bool open(QString* reason);
    QSqlDatabase& database() { return m_db; }

    // The whole history as the query 全データ選択クエリ lists it, in draw order.
    std::optional<History> readHistory(QString* reason);

    // Inserts each draw of the history, or replaces the stored draw with the same 回数,
    // in one transaction: either all draws are written or none.
    bool writeDraws(const HistoryCsv& history, QString* reason);

    // What an import did to an existing database.
    struct ImportCount {
        int written = 0; // draws written
        int replaced = 0; // of those, draws whose 回数 was stored already
    };
    // An import into this database: as writeDraws, and a replaced draw keeps the 抽せん日 it had
    // when the history brings no such column.
    std::optional<ImportCount> importDraws(HistoryCsv history, QString* reason);

    // The number the next draw takes: one after the largest stored, 1 in an empty table.
    // Nothing when the database cannot say, or when the numbers are used up (the reason says so).
    std::optional<int> nextDrawNo(QString* reason);
    // Adds a draw with that number and no digits yet.
    bool insertDraw(int drawNo, QString* reason);

    // A draw's row as stored (values as the database gave them, Null where nothing is stored),
    // so that it can be put back as it was.
    struct StoredDraw {
        QVariant drawNo;
        std::array<QVariant, 3> digits;
        QVariant day; // 抽せん日; Null where the table has none
    };
    // The row stored with that 回数; nothing when there is none (the reason stays empty) or the
    // database cannot say (the reason says why).
    std::optional<StoredDraw> storedDraw(const QVariant& drawNo, QString* reason);
    // Adds a row with those values (the day only where the table keeps days).
    bool insertDraw(const StoredDraw& draw, QString* reason);
    // Deletes the draws stored with that 回数 (a Null 回数 deletes those stored without one).
    bool deleteDraw(const QVariant& drawNo, QString* reason);

    // A number that changes whenever another connection (another program's, too) has
    // committed a change to the database since this one last asked; this connection's own
    // writes leave it as it is. Nothing when the database cannot say.
    std::optional<qint64> dataVersion();

    // Creates the table and the query in an empty database.
    bool createSchema(QString* reason);

private:
    bool checkSchema(QString* reason);
    // Says so when the file could not be read because a write interrupted earlier needs
    // rolling back and this process may not write.
    void explainUnrecoverableJournal(QString* reason) const;

    QString m_connectionName;
    QString m_path;
    Mode m_mode;
    bool m_writable = false;
    QSqlDatabase m_db;
};
