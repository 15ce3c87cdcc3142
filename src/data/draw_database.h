#pragma once
// The draw-history database: an SQLite file with the table 当選データ and the query
// (view) 全データ選択クエリ over it. This class opens it, creates it and checks it.

#include "data/history.h"
#include "data/prizes.h"
#include "data/tickets.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <array>
#include <functional>
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
    static const QString kPrizeTable; // 当せん金
    static const QString kPrizesFileName; // the prizes that ship with the program
    static const QString kTicketTable; // 購入記録
    // The version of the schema this program makes (pragma user_version): 0 for the draws alone,
    // 1 with the table 当せん金, 2 with the table 購入記録 as well.
    static constexpr int kSchemaVersion = 2;

    // The shipped prize file, which lies beside the shipped history.
    static QString shippedPrizesBeside(const QString& shippedHistoryPath);

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
    // prizes: the table 当せん金 of the new file (the shipped prizes), written as they are.
    static Creation create(const QString& path, const HistoryCsv& history, QString* reason,
                           int waitMs = kCreationWaitMs, const QHash<int, prize::DrawPrizes>& prizes = {});

    // What bringing an existing database forward to this program's schema did.
    enum class Upgrade {
        Current, // nothing to do
        Upgraded, // the table 当せん金 was added, filled from the shipped prizes
        NotWritable, // the file (or its folder) may not be written: it stays as it is
        Failed, // nothing was changed; the reason says why
    };
    // Adds what an earlier version's database lacks, in one transaction: the table 当せん金, with
    // the shipped prizes of each draw whose stored digits are those of the shipped history, the
    // table 購入記録, and the schema's version. Killed at any moment, the file is the old one or the new one. The
    // shipped files are read only when there is something to do.
    static Upgrade bringForward(const QString& path, const QString& shippedHistoryPath, QString* reason);
    // Whether the database lacks what this program's schema adds (read without writing).
    bool needsUpgrade();

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

    // The whole history as the query 全データ選択クエリ lists it, in draw order, with the prizes
    // of the table 当せん金 and the ticket lines of 購入記録 where the database has them.
    std::optional<History> readHistory(QString* reason);

    // Whether the database keeps prizes (the table 当せん金), and tickets (購入記録).
    bool hasPrizeTable();
    bool hasTicketTable();

    // Every ticket line, in the order recorded; none without the table.
    std::optional<QVector<ticket::Line>> storedTickets(QString* reason);
    // Adds the lines, all in one transaction; false, with nothing written, when the database
    // refuses one. A line with an id (one put back after its deletion was undone) keeps it, and
    // its 記録日時 where it has one; the others get new ids and are recorded now. ids: the id of
    // each line, in order.
    bool insertTickets(const QVector<ticket::Line>& lines, QString* reason, QVector<qint64>* ids = nullptr);
    // Changes the stored line with the line's id to its fields (its 記録日時 stays); false when
    // the database refuses it or no longer holds the line.
    bool updateTicket(const ticket::Line& line, QString* reason);
    // Deletes the lines with these ids, in one transaction; false, with nothing deleted, when
    // one is no longer there.
    bool deleteTickets(const QVector<qint64>& ids, QString* reason);
    // The prizes of each draw whose five amounts are all stored, by 回数 (none without the table).
    std::optional<QHash<int, prize::DrawPrizes>> storedPrizes(QString* reason);
    // The five amounts of each draw with a row in 当せん金, as typed so far (an amount not typed
    // yet is none), by 回数.
    using PrizeAmounts = std::array<std::optional<int>, prize::kKinds>;
    std::optional<QHash<int, PrizeAmounts>> storedAmounts(QString* reason);
    // Stores the five amounts of a draw, keeping its counts; a draw left with no amount and no
    // count loses its row. Refused (with the reason) where the database has no table 当せん金.
    bool writeAmounts(int drawNo, const PrizeAmounts& amounts, QString* reason);
    // Inserts or replaces the prizes of each draw in one transaction.
    bool writePrizes(const QHash<int, prize::DrawPrizes>& prizes, QString* reason);
    // Inserts or replaces the prizes of each draw, inside a transaction the caller holds.
    bool insertPrizes(const QHash<int, prize::DrawPrizes>& prizes, QString* reason);

    // Inserts each draw of the history, or replaces the stored draw with the same 回数, with the
    // prizes its lines give (a prize file: the prizes alone), in one transaction: either all
    // are written or none.
    bool writeDraws(const HistoryCsv& history, QString* reason);

    // A draw as the table 当選データ stores it: each digit a number, Null or whatever an edit
    // outside the program left there, and its 抽せん日 (empty when none).
    struct StoredDraw {
        std::array<QVariant, 3> digits;
        QString date;
        bool operator==(const StoredDraw& other) const;
    };
    struct StoredDraws {
        bool hasDateColumn = false; // the table keeps 抽せん日 (one made elsewhere may not)
        QHash<int, StoredDraw> byDrawNo;
    };
    // Every draw of the table, by 回数.
    std::optional<StoredDraws> storedDraws(QString* reason);

    // What an empty 抽せん日 in an import means: no date (a file's empty cell, as an empty digit
    // means no digit), or nothing said (a pasted line without a date), so the stored date stays.
    enum class EmptyDates { Clear, KeepStored };
    // The one rule of an import: the draws it writes, each with the 抽せん日 it gets. A history
    // without the column keeps every stored date; with it, its dates win, an empty one as
    // emptyDates says. A table without the column takes no dates at all.
    static HistoryCsv importedDraws(HistoryCsv history, const StoredDraws& stored, EmptyDates emptyDates);

    // What an import did to an existing database.
    struct ImportCount {
        int written = 0; // draws written
        int replaced = 0; // of those, draws whose 回数 was stored already
        bool stale = false; // nothing written: the stored draws were no longer as expected
    };
    struct ImportOptions {
        EmptyDates emptyDates = EmptyDates::Clear;
        // When given: the stored draw of each 回数 imported (nothing: none stored) as a preview
        // showed it. Should another program have changed one since, nothing is written (stale).
        std::optional<QHash<int, std::optional<StoredDraw>>> expected;
    };
    // An import into this database: each draw inserted or replacing the stored one with the same
    // 回数, dated by importedDraws, all in one transaction that also holds off other writers
    // from the reading of what is stored to the commit.
    std::optional<ImportCount> importDraws(HistoryCsv history, QString* reason, const ImportOptions& options);
    std::optional<ImportCount> importDraws(HistoryCsv history, QString* reason);

    // The number the next draw takes: one after the largest stored, 1 in an empty table.
    // Nothing when the database cannot say, or when the numbers are used up (the reason says so).
    std::optional<int> nextDrawNo(QString* reason);

    // The draw stored with that 回数, so that it can be put back as it was; nothing when there is
    // none (the reason stays empty) or the database cannot say (the reason says why).
    std::optional<StoredDraw> storedDraw(const QVariant& drawNo, QString* reason);
    // Adds a draw with those values (its 抽せん日 only where the table keeps one; empty: none).
    bool insertDraw(const QVariant& drawNo, const StoredDraw& draw, QString* reason);
    // Deletes the draws stored with that 回数 (a Null 回数 deletes those stored without one).
    bool deleteDraw(const QVariant& drawNo, QString* reason);

    // A number that changes whenever another connection (another program's, too) has
    // committed a change to the database since this one last asked; this connection's own
    // writes leave it as it is. Nothing when the database cannot say.
    std::optional<qint64> dataVersion();

    // Creates the tables and the query in an empty database, with the schema's version.
    bool createSchema(QString* reason);

private:
    bool checkSchema(QString* reason);
    // Adds the table 当せん金 (see bringForward) inside a transaction the caller holds.
    bool addPrizeTable(const HistoryCsv& shippedHistory, const QHash<int, prize::DrawPrizes>& shippedPrizes,
                       QString* reason);
    std::optional<int> userVersion();
    bool hasTable(const QString& name);
    // Runs work in a transaction of its own: committed when it succeeds, rolled back when it fails
    // (work says why) or the commit does.
    bool inTransaction(const std::function<bool()>& work, QString* reason);
    // Whether the table keeps 抽せん日 (one made elsewhere may not).
    bool tableHasDateColumn();
    // Inserts or replaces the rows inside a transaction the caller holds.
    bool insertRows(const HistoryCsv& history, QString* reason);
    // Says so when the file could not be read because a write interrupted earlier needs
    // rolling back and this process may not write.
    void explainUnrecoverableJournal(QString* reason) const;

    QString m_connectionName;
    QString m_path;
    Mode m_mode;
    bool m_writable = false;
    QSqlDatabase m_db;
};
