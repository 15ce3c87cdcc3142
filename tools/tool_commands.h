#pragma once
// The commands of numbers3zubarin-tool. They live in a library, apart from main(), so that
// tests run them in-process as well as through the built program.

#include "data/draw_range.h"
#include "prediction/prediction_settings.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QTextStream;

namespace tool {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1; // the command could not do its work
constexpr int kExitUsage = 2; // the command line itself is wrong

struct ImportResult {
    bool ok = false;
    QString error; // one line naming the file, and the line and field of a bad CSV line
    int errorLine = 0; // the CSV line that stopped the import; 0 when no line is to blame
    QString errorField;
    bool created = false; // the database did not exist and was made with the program's schema
    int written = 0; // draws written (a prize file: the draws whose prizes were written)
    int replaced = 0; // of those, draws whose 回数 was stored already
    bool prizesOnly = false; // the file held prizes alone
    int prizes = 0; // draws whose prizes the file gave
};

// Writes every draw of the CSV to the database, inserting or replacing by 回数, all in one
// transaction: a bad line or a failed write leaves the database as it was (or absent, when the
// import was to create it). Stored 抽せん日 are kept when the CSV has no such column. The prizes
// a line gives (the ten prize columns, or a prize file alone) go to the table 当せん金. A database
// made by an earlier version is first brought forward with the prizes shipped beside
// shippedHistoryPath (empty: beside the program).
ImportResult importHistory(const QString& databasePath, const QString& csvPath,
                           const QString& shippedHistoryPath = QString());

// PDF: the pages of the print preview (print/page_layout.h) on A4 portrait; it needs a
// QGuiApplication (without one the export fails).
enum class ExportFormat { Csv, Json, Pdf };

struct ExportResult {
    bool ok = false;
    QString error;
    QByteArray data; // ready to write: UTF-8 text, or a PDF document
};

// Computes the grids of the window with the given form name from an existing database, through
// its catalogue record, exactly as the window does, and formats them. The database is only read,
// never created. A window that predicts takes the flags of the settings file (by default its
// bare name: the current directory). It covers the range given (none: the window's default, as
// its catalogue record says), as the window's range bar does. A window that looks a number up
// looks up the one given, as typed in its number box.
ExportResult exportWindow(const QString& databasePath, const QString& form, ExportFormat format,
                          const QString& settingsFile = PredictionSettings::kFileName,
                          const std::optional<RangeChoice>& range = std::nullopt, const QString& number = {});

// Form names of the windows that compute grids, in the catalogue's order.
QStringList exportableWindows();

QString usage();

// Runs one command line (arguments after the program name) and returns the exit code.
// Results go to out; a failure is one line on err.
int runTool(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace tool
