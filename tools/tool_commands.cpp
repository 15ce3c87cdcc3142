#include "tool_commands.h"

#include "catalogue/window_catalogue.h"
#include "data/data_location.h"
#include "data/draw.h"
#include "data/draw_database.h"
#include "data/file_write.h"
#include "data/tickets.h"
#include "data/history_csv.h"
#include "data/history_source.h"
#include "data/message_text.h"
#include "analysis/number_search.h"
#include "grid/grid_export.h"
#include "prediction/prediction_settings.h"
#include "print/page_layout.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QTextStream>

namespace tool {

namespace {

const QString kProgram = QStringLiteral("numbers3zubarin-tool");

// Messages carry file names and CSV values; a line break or control character in them must
// not split the one-line message.
QString oneLine(QString text)
{
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return text;
}

// Options of one command: "--name value" or "--name=value", each at most once.
struct Options {
    QHash<QString, QString> values;
    bool help = false;
    QString error;

    QString value(const QString& name) const { return values.value(name); }
    bool has(const QString& name) const { return values.contains(name); }
};

// flags: the options among allowed that take no value.
Options parseOptions(const QStringList& args, const QStringList& allowed, const QStringList& flags = {})
{
    Options options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            options.help = true;
            continue;
        }
        if (!arg.startsWith(QLatin1String("--")) || arg.size() == 2) {
            options.error = QStringLiteral("余分な引数です: %1").arg(message::excerpt(arg));
            return options;
        }
        QString name = arg.mid(2);
        QString value;
        const qsizetype equals = name.indexOf(u'=');
        const bool inlineValue = equals >= 0;
        if (inlineValue) {
            value = name.mid(equals + 1);
            name.truncate(equals);
        }
        if (!allowed.contains(name)) {
            options.error = QStringLiteral("不明なオプションです: --%1").arg(message::excerpt(name));
            return options;
        }
        if (options.has(name)) {
            options.error = QStringLiteral("--%1 が二度指定されています").arg(name);
            return options;
        }
        if (flags.contains(name)) {
            if (inlineValue) {
                options.error = QStringLiteral("--%1 は値をとりません").arg(name);
                return options;
            }
            options.values.insert(name, QString());
            continue;
        }
        // A following option is a forgotten value, not a file name; "--db=--x" names such a file.
        if (!inlineValue) {
            if (i + 1 >= args.size() || args.at(i + 1).startsWith(QLatin1String("--"))) {
                options.error = QStringLiteral("--%1 の値がありません").arg(name);
                return options;
            }
            value = args.at(++i);
        }
        if (value.isEmpty()) {
            options.error = QStringLiteral("--%1 の値が空です").arg(name);
            return options;
        }
        options.values.insert(name, value);
    }
    return options;
}

QString missingOption(const Options& options, const QStringList& required)
{
    for (const QString& name : required) {
        if (!options.has(name))
            return QStringLiteral("--%1 を指定してください").arg(name);
    }
    return QString();
}

// Where the program itself keeps its data when started from the companion's folder.
DataLocation programData()
{
    return DataLocation::resolve(QCoreApplication::applicationDirPath());
}

// The database and the settings file a command works on: the data folder's (--data-dir), the
// database named (--db) with the settings file beside it when there is one, or the program's.
struct Files {
    QString database;
    QString settings;
    QString error; // why the command line names no usable place
    bool usage = true; // the error is the command line's (exit code 2)
};

Files filesOf(const Options& options, bool mayCreate)
{
    Files files;
    const QString dbOption = QStringLiteral("db"), dataDirOption = QStringLiteral("data-dir");
    if (options.has(dbOption) && options.has(dataDirOption)) {
        files.error = QStringLiteral("--db と --data-dir は一緒に指定できません");
        return files;
    }
    if (options.has(QStringLiteral("create")) && !options.has(dataDirOption)) {
        files.error = QStringLiteral("--create は --data-dir と一緒に指定します");
        return files;
    }
    if (options.has(dataDirOption)) {
        const DataLocation location
            = DataLocation::resolve(QCoreApplication::applicationDirPath(), options.value(dataDirOption));
        const QString folder = location.dataFolder;
        switch (location.namedFolder()) {
        case DataLocation::NamedFolder::NotAFolder:
            files.error = QStringLiteral("--data-dir の %1 はフォルダーではありません").arg(folder);
            return files;
        case DataLocation::NamedFolder::Missing:
            if (!mayCreate || !options.has(QStringLiteral("create"))) {
                files.error = mayCreate
                    ? QStringLiteral("--data-dir のフォルダー %1 はありません（作るには --create を付けてください）")
                          .arg(folder)
                    : QStringLiteral("--data-dir のフォルダー %1 はありません").arg(folder);
                return files;
            }
            if (QString reason; !location.makeFolders(&reason)) {
                files.error = reason;
                files.usage = false;
                return files;
            }
            break;
        case DataLocation::NamedFolder::Ready:
        case DataLocation::NamedFolder::None:
            break;
        }
        files.database = location.database;
        files.settings = location.settingsFile;
        return files;
    }
    const DataLocation location = programData();
    if (options.has(dbOption)) {
        files.database = options.value(dbOption);
        const QString beside = DataLocation::settingsBeside(files.database);
        files.settings = beside.isEmpty() ? location.settingsFile : beside;
        return files;
    }
    // The program's own database, whose folder the first import may have to make.
    if (QString reason; mayCreate && !location.makeFolders(&reason)) {
        files.error = reason;
        files.usage = false;
        return files;
    }
    files.database = location.database;
    files.settings = location.settingsFile;
    return files;
}

int fail(QTextStream& err, const QString& message, int code = kExitFailed)
{
    err << oneLine(kProgram + QStringLiteral(": ") + message) << '\n';
    err.flush();
    return code;
}

int usageError(QTextStream& err, const QString& message)
{
    return fail(err, message + QStringLiteral("（使い方は --help で表示します）"), kExitUsage);
}

// Output that did not reach its destination (a full disk, a closed pipe) is a failure.
int finish(QTextStream& out, QTextStream& err)
{
    out.flush();
    if (out.status() != QTextStream::Ok)
        return fail(err, QStringLiteral("標準出力に書き込めません"));
    return kExitOk;
}

int runImport(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const Options options = parseOptions(
        args, {QStringLiteral("db"), QStringLiteral("data-dir"), QStringLiteral("create"), QStringLiteral("csv")},
        {QStringLiteral("create")});
    if (!options.error.isEmpty())
        return usageError(err, options.error);
    if (options.help) {
        out << usage();
        return finish(out, err);
    }
    const QString missing = missingOption(options, {QStringLiteral("csv")});
    if (!missing.isEmpty())
        return usageError(err, missing);

    const Files files = filesOf(options, true);
    if (!files.error.isEmpty())
        return files.usage ? usageError(err, files.error) : fail(err, files.error);
    const QString& db = files.database;
    const ImportResult result = importHistory(db, options.value(QStringLiteral("csv")));
    if (!result.ok)
        return fail(err, result.error);
    if (result.prizesOnly)
        out << QStringLiteral("データベース %1 に当せん金 %2 回分を書き込みました%3")
                   .arg(db)
                   .arg(result.prizes)
                   .arg(result.created ? QStringLiteral("（データベースを作成しました）") : QString());
    else if (result.created)
        out << QStringLiteral("データベース %1 を作成し、当選データ %2 件を書き込みました").arg(db).arg(result.written);
    else
        out << QStringLiteral("データベース %1 に当選データ %2 件を書き込みました（追加 %3 件、置き換え %4 件）")
                   .arg(db)
                   .arg(result.written)
                   .arg(result.written - result.replaced)
                   .arg(result.replaced);
    out << '\n';
    return finish(out, err);
}

// The windows that look a number up.
QStringList numberWindows()
{
    QStringList forms;
    for (const catalogue::WindowRecord& record : catalogue::windows()) {
        if (record.takesNumber)
            forms << record.form;
    }
    return forms;
}

int runExport(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const Options options
        = parseOptions(args,
                       {QStringLiteral("db"), QStringLiteral("data-dir"), QStringLiteral("window"),
                        QStringLiteral("format"), QStringLiteral("out"), QStringLiteral("from"), QStringLiteral("to"),
                        QStringLiteral("last"), QStringLiteral("bom"), QStringLiteral("number")},
                       {QStringLiteral("bom")});
    if (!options.error.isEmpty())
        return usageError(err, options.error);
    if (options.help) {
        out << usage();
        return finish(out, err);
    }
    const QString missing = missingOption(options, {QStringLiteral("window")});
    if (!missing.isEmpty())
        return usageError(err, missing);

    ExportFormat format = ExportFormat::Csv;
    const QString formatName = options.value(QStringLiteral("format"));
    if (formatName == QLatin1String("json"))
        format = ExportFormat::Json;
    else if (formatName == QLatin1String("pdf"))
        format = ExportFormat::Pdf;
    else if (options.has(QStringLiteral("format")) && formatName != QLatin1String("csv"))
        return usageError(
            err, QStringLiteral("--format は csv、json、pdf のどれかです: %1").arg(message::excerpt(formatName)));
    // The byte-order mark a spreadsheet needs to read a CSV as UTF-8; without --bom the CSV is
    // what scripts have always read. JSON takes none (RFC 8259), nor a PDF.
    const bool bom = options.has(QStringLiteral("bom"));
    if (bom && format != ExportFormat::Csv)
        return usageError(err, QStringLiteral("--bom は --format csv だけのものです"));
    // "--out -" is the standard output, as for most commands. A PDF is not text: it goes into
    // a file, never onto the standard output.
    const bool toStandardOutput
        = !options.has(QStringLiteral("out")) || options.value(QStringLiteral("out")) == QLatin1String("-");
    if (format == ExportFormat::Pdf && toStandardOutput)
        return usageError(
            err,
            QStringLiteral(
                "--format pdf には --out で書き出すファイルを指定してください（標準出力には書き出せません）"));

    // The draws the window covers: --last N, or --from and/or --to (one end alone leaves the
    // other open). The two testing windows took 0 as the start of a range before there were
    // ranges for every window, and still do.
    const QString window = options.value(QStringLiteral("window"));
    const catalogue::WindowRecord* record = catalogue::findWindow(window);
    const bool hasLast = options.has(QStringLiteral("last"));
    const bool hasEnd = options.has(QStringLiteral("from")) || options.has(QStringLiteral("to"));
    if (hasLast && hasEnd)
        return usageError(err, QStringLiteral("--last は --from、--to と一緒には指定できません"));
    std::optional<int> ends[3]; // from, to, last
    const QString names[3] = {QStringLiteral("from"), QStringLiteral("to"), QStringLiteral("last")};
    for (int i = 0; i < 3; ++i) {
        if (!options.has(names[i]))
            continue;
        const int lowest = i < 2 && record && record->testsDraws ? 0 : 1;
        bool ok = false;
        const QString text = options.value(names[i]);
        const int n = text.toInt(&ok);
        if (!ok || n < lowest || n > draw::kMaxDrawNo)
            return usageError(err,
                              QStringLiteral("--%1 は %2～%3 の回数です: %4")
                                  .arg(names[i])
                                  .arg(lowest)
                                  .arg(draw::kMaxDrawNo)
                                  .arg(message::excerpt(text)));
        ends[i] = n;
    }
    // The number a search looks up: two or three digits, and only for the window that searches.
    const QString number = options.value(QStringLiteral("number"));
    if (options.has(QStringLiteral("number"))) {
        if (record && !record->takesNumber)
            return usageError(err,
                              QStringLiteral("--number は番号を検索するウィンドウ（%1）だけのものです")
                                  .arg(numberWindows().join(QStringLiteral("、"))));
        if (!number_search::readNumber(number))
            return usageError(err,
                              QStringLiteral("--number は2けたか3けたの数字です: %1").arg(message::excerpt(number)));
    }
    std::optional<RangeChoice> range;
    if (ends[2])
        range = RangeChoice::lastDraws(*ends[2]);
    else if (hasEnd)
        range = RangeChoice::between(ends[0].value_or(1), ends[1].value_or(RangeChoice::kMaxDrawNo));

    const Files files = filesOf(options, false);
    if (!files.error.isEmpty())
        return files.usage ? usageError(err, files.error) : fail(err, files.error);
    const QString& db = files.database;
    const QString outPath = toStandardOutput ? QString() : options.value(QStringLiteral("out"));
    // Writing the export over the database (or a file beside it that SQLite keeps) would destroy
    // the history it came from.
    if (DrawDatabase::isDatabaseFile(db, outPath))
        return fail(err, QStringLiteral("書き出し先 %1 はデータベースそのものです").arg(outPath));

    const ExportResult result = exportWindow(db, window, format, files.settings, range, number);
    if (!result.ok)
        return fail(err, result.error);
    if (outPath.isEmpty()) {
        // The mark as a character: reading the bytes into text would drop it.
        if (bom)
            out << QChar(QChar::ByteOrderMark);
        out << QString::fromUtf8(result.data);
        return finish(out, err);
    }
    QString reason;
    if (!writeFileBytes(outPath, bom ? withUtf8Bom(result.data) : result.data, &reason))
        return fail(err, QStringLiteral("%1 に書き出せません: %2").arg(outPath, reason));
    return kExitOk;
}

// tickets import FILE | tickets export [--out FILE], with --db or --data-dir.
int runTickets(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const QString action = args.value(0);
    if (action == QLatin1String("--help") || action == QLatin1String("-h")) {
        out << usage();
        return finish(out, err);
    }
    const bool importing = action == QLatin1String("import");
    if (!importing && action != QLatin1String("export"))
        return usageError(err,
                          action.isEmpty()
                              ? QStringLiteral("tickets の後に import か export を指定してください")
                              : QStringLiteral("不明な tickets のコマンドです: %1").arg(message::excerpt(action)));
    QStringList rest = args.mid(1);
    QString file;
    if (importing) {
        if (rest.isEmpty() || rest.first().startsWith(QLatin1String("--")))
            return usageError(err, QStringLiteral("tickets import には取り込むファイルを指定してください"));
        file = rest.takeFirst();
    }
    const Options options = parseOptions(
        rest,
        importing ? QStringList{QStringLiteral("db"), QStringLiteral("data-dir")}
                  : QStringList{QStringLiteral("db"), QStringLiteral("data-dir"), QStringLiteral("out")});
    if (!options.error.isEmpty())
        return usageError(err, options.error);
    if (options.help) {
        out << usage();
        return finish(out, err);
    }
    const Files files = filesOf(options, false);
    if (!files.error.isEmpty())
        return files.usage ? usageError(err, files.error) : fail(err, files.error);
    const QString& db = files.database;
    if (!QFileInfo(db).isFile())
        return fail(err, QStringLiteral("データベース %1 がありません").arg(db));

    if (importing) {
        const ticket::TicketsCsv csv = ticket::readTicketsFile(file);
        if (!csv.error.isEmpty())
            return fail(err, QStringLiteral("%1 を読めません: %2").arg(file, csv.error));
        if (!csv.refused.isEmpty()) {
            for (const ticket::RefusedTicket& refused : csv.refused)
                err << oneLine(
                    QStringLiteral("%1: %2行目: %3").arg(file).arg(refused.line).arg(refused.reasons.join(u' ')))
                    << '\n';
            return fail(err,
                        QStringLiteral("%1 に取り込めない行が %2 行あるため、何も書き込んでいません")
                            .arg(file)
                            .arg(csv.refused.size()));
        }
        QString reason;
        DrawDatabase::bringForward(db, programData().shippedHistory, &reason);
        reason.clear();
        DrawDatabase database(DrawDatabase::connectString(db), DrawDatabase::Mode::ReadWrite);
        if (!database.open(&reason) || !database.insertTickets(csv.lines, &reason))
            return fail(
                err, QStringLiteral("データベース %1 に書き込めません（何も書き込んでいません）: %2").arg(db, reason));
        // The table's name: the window that edits it bears it too, and the companion names no window.
        out << QStringLiteral("データベース %1 に%2 %3 行を書き込みました\n")
                   .arg(db, DrawDatabase::kTicketTable)
                   .arg(csv.lines.size());
        return finish(out, err);
    }

    QString reason;
    DrawDatabase database(DrawDatabase::connectString(db), DrawDatabase::Mode::ReadOnly);
    std::optional<QVector<ticket::Line>> lines;
    if (database.open(&reason))
        lines = database.storedTickets(&reason);
    if (!lines)
        return fail(err, QStringLiteral("データベース %1 を読めません: %2").arg(db, reason));
    const QByteArray bytes = ticket::ticketsCsvBytes(*lines);
    const QString outPath = options.value(QStringLiteral("out"));
    if (outPath.isEmpty() || outPath == QLatin1String("-")) {
        out << QString::fromUtf8(bytes);
        return finish(out, err);
    }
    if (DrawDatabase::isDatabaseFile(db, outPath))
        return fail(err, QStringLiteral("書き出し先 %1 はデータベースそのものです").arg(outPath));
    if (!writeFileBytes(outPath, bytes, &reason))
        return fail(err, QStringLiteral("%1 に書き出せません: %2").arg(outPath, reason));
    return kExitOk;
}

int runWindows(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const Options options = parseOptions(args, {});
    if (!options.error.isEmpty())
        return usageError(err, options.error);
    if (options.help)
        out << usage();
    else
        for (const QString& form : exportableWindows())
            out << form << '\n';
    return finish(out, err);
}

} // namespace

ImportResult importHistory(const QString& databasePath, const QString& csvPath, const QString& shippedHistoryPath)
{
    ImportResult result;
    HistoryCsv history = HistoryCsv::readFile(csvPath);
    result.prizesOnly = history.prizesOnly;
    result.prizes = int(history.prizesByDrawNo().size());
    if (!history.ok()) {
        result.errorLine = history.errorLine;
        result.errorField = history.errorField;
        result.error = history.errorLine == 0 ? QStringLiteral("%1 を読めません: %2").arg(csvPath, history.error)
                                              : QStringLiteral("%1: %2").arg(csvPath, history.error);
        return result;
    }

    QString reason;
    switch (DrawDatabase::create(databasePath, history, &reason)) {
    case DrawDatabase::Creation::Created:
        result.ok = true;
        result.created = true;
        result.written = int(history.rows.size());
        return result;
    case DrawDatabase::Creation::Failed:
        result.error = QStringLiteral("データベース %1 を作成できません: %2").arg(databasePath, reason);
        return result;
    case DrawDatabase::Creation::AlreadyThere:
        break; // there before, or made by another process meanwhile: the draws go into it
    }
    // A database of an earlier version gets its prizes before the first write. Where that cannot
    // be done, the draws are imported all the same; prizes in the file are then refused below.
    DrawDatabase::bringForward(
        databasePath, shippedHistoryPath.isEmpty() ? programData().shippedHistory : shippedHistoryPath, &reason);
    reason.clear();

    DrawDatabase database(DrawDatabase::connectString(databasePath), DrawDatabase::Mode::ReadWrite);
    if (!database.open(&reason)) {
        result.error = QStringLiteral("データベース %1 を開けません: %2").arg(databasePath, reason);
        return result;
    }
    const std::optional<DrawDatabase::ImportCount> count = database.importDraws(std::move(history), &reason);
    if (!count) {
        result.error = QStringLiteral("データベース %1 に書き込めません（何も書き込んでいません）: %2")
                           .arg(databasePath, reason);
        return result;
    }
    result.ok = true;
    result.written = count->written;
    result.replaced = count->replaced;
    return result;
}

namespace {

// The grids of a window in the format asked for; the PDF with the window's caption and the
// draws its grids cover in its page header, and the titles the window shows above its grids.
// Empty when the PDF could not be made.
QByteArray formatted(const catalogue::WindowRecord& record, const WindowSheets& sheets, const History& history,
                     const SheetOptions& options, ExportFormat format)
{
    switch (format) {
    case ExportFormat::Csv:
        return gridsToCsv(sheets.grids());
    case ExportFormat::Json:
        return catalogue::exportJson(record, sheets.grids());
    case ExportFormat::Pdf: {
        PrintHeader header = PrintHeader::of(record.caption, history, *options.range, record.titles);
        if (record.takesNumber)
            header.notes = number_search::printedNotes(options.number);
        return pdfOf(PageLayout(sheets.grids(), header));
    }
    }
    return {};
}

// The history of an existing database, as the start-up load reads it.
std::optional<History> loadHistory(const QString& databasePath, QString* error)
{
    // The start-up load would create a missing database from the shipped history; an export
    // only reads what the user has.
    const QFileInfo file(databasePath);
    if (!file.exists()) {
        *error = QStringLiteral("データベース %1 がありません").arg(databasePath);
        return std::nullopt;
    }
    if (!file.isFile()) {
        *error = QStringLiteral("データベース %1 は通常のファイルではありません").arg(databasePath);
        return std::nullopt;
    }
    QString reason;
    // No shipped history: should the file vanish after the check, the load fails instead of creating it.
    std::optional<history_source::Loaded> loaded = history_source::startupLoad(databasePath, QString(), &reason);
    if (!loaded) {
        *error = QStringLiteral("データベース %1 を読めません: %2").arg(databasePath, reason);
        return std::nullopt;
    }
    return std::move(loaded->history);
}

// How many analyses the prediction window's settings file reflects.
int reflectedIn(const QString& settingsFile)
{
    PredictionSettings settings(settingsFile);
    settings.ReadInitFile();
    return settings.reflectedCount();
}

} // namespace

ExportResult exportWindow(const QString& databasePath, const QString& form, ExportFormat format,
                          const QString& settingsFile, const std::optional<RangeChoice>& range, const QString& number)
{
    ExportResult result;
    // Laying out pages measures the grid font, which only a GUI application has.
    if (format == ExportFormat::Pdf && !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        result.error = QStringLiteral("PDF の書き出しには GUI アプリケーションが必要です");
        return result;
    }
    const catalogue::WindowRecord* record = catalogue::findWindow(form);
    if (!record || !record->computes()) {
        result.error = QStringLiteral("分析ウィンドウ「%1」はありません（windows で一覧を表示します）")
                           .arg(message::excerpt(form));
        return result;
    }
    const std::optional<History> history = loadHistory(databasePath, &result.error);
    if (!history)
        return result;
    // The window's computation with the options it takes: the prediction's flags from the
    // settings file (as the windows have them when they open), the range given.
    SheetOptions options;
    if (record->usesPredictionFlags)
        options.reflected = reflectedIn(settingsFile);
    options.range = range.value_or(record->defaultRange);
    options.number = number;
    const std::unique_ptr<WindowSheets> sheets = catalogue::computeSheets(*record, *history, options);
    QByteArray data = formatted(*record, *sheets, *history, options, format);
    if (format == ExportFormat::Pdf && data.isEmpty()) {
        result.error = QStringLiteral("PDF を作れません");
        return result;
    }
    result.data = std::move(data);
    result.ok = true;
    return result;
}

QStringList exportableWindows()
{
    QStringList forms;
    for (const catalogue::WindowRecord& record : catalogue::windows()) {
        if (record.computes())
            forms << record.form;
    }
    return forms;
}

QString usage()
{
    // What the windows' records say of their exports: the tables of a window with more than
    // one, and the range a window takes.
    QString notes;
    QStringList rangeForms, defaults;
    for (const catalogue::WindowRecord& record : catalogue::windows()) {
        if (!record.computes())
            continue;
        if (!record.exportNote.isEmpty())
            notes += QStringLiteral("      %1 は%2\n").arg(record.form, record.exportNote);
        if (record.testsDraws) {
            rangeForms << record.form;
            defaults << record.form + QStringLiteral("は") + record.defaultRangeText;
        }
    }
    return QStringLiteral(
               "使い方:\n"
               "  numbers3zubarin-tool import [--db FILE | --data-dir DIR [--create]] --csv FILE\n"
               "      CSV（UTF-8、見出し「回数,第1数字,第2数字,第3数字[,抽せん日]」）の当選データを取り込みます。\n"
               "      当せん金の10項目（ストレート口数,ストレート当せん金,…,ミニ口数,ミニ当せん金）を続けても、\n"
               "      見出し「回数,ストレート口数,…」の当せん金だけのファイルでもかまいません。\n"
               "      同じ回数のデータは置き換えます。誤りのある行が一つでもあれば何も書き込みません。\n"
               "      データベースがなければ作成します。--data-dir のフォルダーは --create があるときだけ作ります。\n"
               "  numbers3zubarin-tool export [--db FILE | --data-dir DIR] --window NAME [--format csv|json|pdf] "
               "[--bom] [--out FILE]\n"
               "      分析ウィンドウ NAME の表を書き出します（既定は csv、--out がないか - なら標準出力）。\n"
               "      csv のセルは、位置をそろえる前後の空白を除いたものです。--bom は csv の先頭に UTF-8 の\n"
               "      BOM を付けます（日本語の表計算ソフトが UTF-8 と読むように。プログラム本体の CSV "
               "で保存と同じ）。\n"
               "      pdf は印刷プレビューと同じページ（A4 縦）を --out のファイルに書き出します（--out "
               "が必要です）。\n")
        + notes
        + QStringLiteral(
              "  numbers3zubarin-tool export ... --window NAME [--last N | [--from N] [--to M]]\n"
              "      プログラムの「期間」と同じく、直近 N 回（--last）か、回数 N から M まで（--from と --to。\n"
              "      片方だけなら他方は最初（最後）の回まで）の当選データで計算します。どれもなければ全期間です。\n"
              "      %1 は、その期間の回を検証します（どれもなければ、%2）。\n")
              .arg(rangeForms.join(QStringLiteral("、")), defaults.join(u'、'))
        + QStringLiteral(
              "  numbers3zubarin-tool export ... --window %1 --number 123\n"
              "      番号（3けたならストレート・ボックス・ミニ、2けたならミニ）が当たった回を書き出します。\n")
              .arg(numberWindows().join(QStringLiteral("、")))
        + QStringLiteral(
              "  --data-dir DIR は、プログラム本体の --data-dir と同じく、DIR "
              "のデータベースと設定ファイルを使います。\n"
              "  --db FILE だけなら、そのデータベースと、同じフォルダーに設定ファイルがあればそれを使います。\n"
              "  どちらもなければ、プログラム本体と同じデータベースを使います（プログラムのフォルダーに書き込めれば\n"
              "  そこに、インストールされていれば ~/.local/share/numbers3zubarin/ に。設定ファイルは\n"
              "  前者では今のフォルダー、後者では ~/.config/numbers3zubarin/ のもの）。\n"
              "  numbers3zubarin-tool tickets import FILE [--db FILE | --data-dir DIR]\n"
              "      %1の CSV（見出し「開始回,継続回数,番号,申込,口数,メモ」）を取り込みます。\n"
              "      取り込めない行が一つでもあれば、その行番号と理由をすべて表示し、何も書き込みません。\n"
              "  numbers3zubarin-tool tickets export [--db FILE | --data-dir DIR] [--out FILE]\n"
              "      %1を同じ形の CSV で書き出します（--out がないか - なら標準出力）。\n"
              "  numbers3zubarin-tool windows\n"
              "      書き出せる分析ウィンドウの名前を表示します。\n"
              "  numbers3zubarin-tool --help\n"
              "      この説明を表示します。\n"
              "終了コード: 0 成功、1 処理の失敗、2 コマンドラインの誤り\n")
              .arg(DrawDatabase::kTicketTable);
}

int runTool(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")
        || args.first() == QLatin1String("help")) {
        out << usage();
        return finish(out, err);
    }
    const QString& command = args.first();
    const QStringList rest = args.mid(1);
    if (command == QLatin1String("import"))
        return runImport(rest, out, err);
    if (command == QLatin1String("export"))
        return runExport(rest, out, err);
    if (command == QLatin1String("windows"))
        return runWindows(rest, out, err);
    if (command == QLatin1String("tickets"))
        return runTickets(rest, out, err);
    if (command.startsWith(u'-'))
        return usageError(err, QStringLiteral("不明なオプションです: %1").arg(message::excerpt(command)));
    return usageError(err, QStringLiteral("不明なコマンドです: %1").arg(message::excerpt(command)));
}

} // namespace tool
