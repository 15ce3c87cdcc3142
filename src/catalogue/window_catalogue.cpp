#include "catalogue/window_catalogue.h"

#include "analysis/analysis_window.h"
#include "analysis/appearance_count.h"
#include "analysis/appearance_frequency.h"
#include "analysis/appearance_interval.h"
#include "analysis/box_numbers.h"
#include "analysis/carry_over.h"
#include "analysis/count_classes.h"
#include "analysis/digit_interval.h"
#include "analysis/digit_positions.h"
#include "analysis/digit_sum.h"
#include "analysis/dispersion.h"
#include "analysis/five_class_trend.h"
#include "analysis/mini_numbers.h"
#include "analysis/neighbours.h"
#include "analysis/number_search.h"
#include "analysis/pair_numbers.h"
#include "analysis/pattern.h"
#include "analysis/prize_analysis.h"
#include "analysis/randomness.h"
#include "analysis/reverse_and_wheel.h"
#include "analysis/split_data.h"
#include "analysis/ticket_balance.h"
#include "analysis/weekdays.h"
#include "grid/grid_export.h"
#include "prediction/backtest.h"
#include "prediction/prediction_sheets.h"

namespace catalogue {

namespace {

// The sheet builders of the frames.
template <typename Window> std::unique_ptr<WindowSheets> analysis(const History& history, const SheetOptions&)
{
    auto grid = std::make_unique<Grid>();
    // The windows draw every line they want as a border; spans must read as one band.
    grid->setGridLinesShown(false);
    Window().mainStep(*grid, history);
    return std::make_unique<SingleGridSheets>(std::move(grid));
}

// The builder of a window of several grids.
template <typename Window> std::unique_ptr<WindowSheets> analysisGrids(const History& history, const SheetOptions&)
{
    auto sheets = std::make_unique<GridListSheets>(Window::kGrids);
    Window().mainStep(sheets->sheetGrids(), history);
    return sheets;
}

std::unique_ptr<WindowSheets> prediction(const History& history, const SheetOptions& options)
{
    auto sheets = std::make_unique<PredictionSheets>();
    sheets->open(history);
    sheets->refresh(options.reflected);
    return sheets;
}

std::unique_ptr<WindowSheets> backtest(const History& history, const SheetOptions& options)
{
    auto sheets = std::make_unique<BacktestSheets>();
    sheets->compute(history, options.range.value_or(RangeChoice::all()).resolve(history), options.reflected);
    return sheets;
}

std::unique_ptr<WindowSheets> randomness(const History& history, const SheetOptions& options)
{
    auto sheets = std::make_unique<RandomnessSheet>();
    sheets->compute(history, options.range.value_or(RangeChoice::all()).resolve(history));
    return sheets;
}

// What every record has: its names, its frame, its menu entry and its help page.
WindowRecord record(const char16_t* form, const char16_t* caption, const char16_t* description, Frame frame,
                    MenuPlace menu, const char* helpPage)
{
    WindowRecord r;
    r.form = QString::fromUtf16(form);
    r.caption = QString::fromUtf16(caption);
    r.description = QString::fromUtf16(description);
    r.frame = frame;
    r.menu = std::move(menu);
    r.helpPage = QString::fromLatin1(helpPage);
    return r;
}

// An analysis window: form, caption, description, menu place, help page, width × height
// (twips), legend, 印刷 button, propEnd at load, sheet builder.
WindowRecord analysisRecord(const char16_t* form, const char16_t* caption, const char16_t* description, MenuPlace menu,
                            const char* helpPage, int width, int height, Legend legend, bool printButton,
                            bool propEndAtLoad, SheetBuilder build)
{
    WindowRecord r = record(form, caption, description, Frame::Analysis, std::move(menu), helpPage);
    r.propEndAtLoad = propEndAtLoad;
    r.widthTwips = width;
    r.heightTwips = height;
    r.legend = legend;
    r.printButton = printButton;
    r.build = build;
    return r;
}

MenuPlace place(const char* menu, const char* item, const char16_t* text, int position, bool separatorBefore = false)
{
    return {QString::fromLatin1(menu), QString::fromLatin1(item),
            QString::fromUtf16(text),  position,
            separatorBefore,           QString()};
}

QVector<WindowRecord> buildCatalogue()
{
    QVector<WindowRecord> all;

    WindowRecord yoso = record(
        u"一発ズバリン", u"一発ズバリン予想",
        u"各データ分析の結果を元に周期法、消去法、連発ズバリン、一発ズバリンの各手法を用いて当選数字を予想します。",
        Frame::Prediction, place("", "mnuYoso", u"一発ズバリン予想(&D)", 20), "prediction.html");
    yoso.propEndAtLoad = false;
    yoso.build = &prediction;
    yoso.usesPredictionFlags = true;
    yoso.titles = PredictionSheets::kTitles;
    yoso.exportNote = QStringLiteral("予想の四つの表を、プログラムの設定ファイル ナンバーズ3ズバリン.ini "
                                     "の設定で書き出します（csv では表と表の間に空行を置きます）。");
    all << yoso;

    // The analyses, in the order of the table they are described in.
    all << analysisRecord(u"出現頻度分析", u"出現頻度分析", u"過去の当選番号の出現回数を数字別に分析します",
                          place("mnuHindo", "mnuSyutugenHindo", u"出現頻度分析", 10), "frequency.html", 13200, 5280,
                          Legend::Mark13, false, false, &analysis<出現頻度分析>)
        << analysisRecord(u"出現間隔分析", u"出現間隔分析", u"過去の当選数字が何回前に出現しているか分析します",
                          place("mnuKankaku", "mnuSyutugenKankaku", u"出現間隔分析", 10), "interval.html", 13800, 6140,
                          Legend::None, true, false, &analysis<出現間隔分析>)
        << analysisRecord(u"出現回数分析", u"出現回数分析", u"過去の当選数字が何回出現したか分析します",
                          place("mnuMain", "mnuZenkaiSyutugen", u"出現回数分析", 30), "appearance-count.html", 13850,
                          6280, Legend::None, true, false, &analysis<出現回数分析>)
        << analysisRecord(u"回数別出現分析", u"回数別頻度分析", u"過去の当選番号から出現回数別の数字を分析します",
                          place("mnuHindo", "mnuSyutugenKaisu", u"回数別出現分析", 20), "count-classes.html", 6700,
                          3405, Legend::None, true, false, &analysis<回数別出現分析>)
        << analysisRecord(u"数字間隔分析", u"数字間隔分析",
                          u"当選数字を第1数字～第3数字別に前回数字との数字の間隔を分析します",
                          place("mnuKankaku", "mnuNumberKankaku", u"数字間隔分析", 20), "digit-interval.html", 13820,
                          7050, Legend::None, true, false, &analysis<数字間隔分析>)
        << analysisRecord(u"数字合計分析", u"数字合計分析", u"過去の当選番号の各数字の合計を分析します",
                          place("mnuMain", "mnuHonsuji", u"数字合計分析", 70), "digit-sum.html", 13680, 4860,
                          Legend::None, true, false, &analysis<数字合計分析>)
        << analysisRecord(u"バラツキ分析", u"バラツキ分析", u"過去の当選番号のバラツキを数字別に分析します",
                          place("mnuMain", "mnuBaratsuki", u"バラツキ分析", 40), "dispersion.html", 13980, 7630,
                          Legend::Dot19, true, false, &analysis<バラツキ分析>)
        << analysisRecord(u"引っ張り分析", u"引っ張り分析", u"過去の当選数字に前回の数字が入っているか分析します",
                          place("mnuMain", "mnuHippari", u"引っ張り分析", 50), "carry-over.html", 13500, 7000,
                          Legend::PreviousDigitSwatch, false, false, &analysis<引っ張り分析>)
        << analysisRecord(u"連番飛び石分析", u"連番・飛び石分析",
                          u"過去の当選番号の連続数字と一つ飛び数字の傾向を分析します",
                          place("mnuMain", "mnuRenbanTobiishi", u"連番・飛び石分析", 60), "neighbours.html", 13400,
                          7020, Legend::None, true, false, &analysis<連番飛び石分析>)
        << analysisRecord(u"偶数奇数の組合せパターン分析", u"偶数・奇数の組合せパターン分析",
                          u"過去の当選番号を偶数と奇数に分類して分析します",
                          place("mnuPattern", "mnuKisuGusuPattern", u"偶数・奇数の組合せパターン分析", 20),
                          "even-odd.html", 13600, 5900, Legend::None, true, true,
                          &analysis<偶数奇数の組合せパターン分析>)
        << analysisRecord(u"低数字高数字の組合せパターン分析", u"低数字・高数字の組合せパターン分析",
                          u"過去の当選番号を低数字（０～４）と高数字（５～９）に分けて組合せパターンを分析します",
                          place("mnuPattern", "mnuLowHightPattern", u"低数字・高数字の組合せパターン分析", 10),
                          "low-high.html", 13600, 5900, Legend::None, true, true,
                          &analysis<低数字高数字の組合せパターン分析>)
        << analysisRecord(u"分割5傾向分析", u"5分割傾向分析", u"過去の当選番号の５グループに分類して分析します",
                          place("mnuMain", "mnu5BunkatsuKeiko", u"5分割傾向分析", 90), "five-class-trend.html", 13750,
                          6900, Legend::None, true, true, &analysis<分割5傾向分析>)
        << analysisRecord(u"分割3データ分析", u"3分割データ分析",
                          u"過去の当選番号の第１～３数字をＡ～Ｃの３グループに分類して分析します",
                          place("mnuBunkatsuData", "mnu3BunkatsuData", u"3分割データ分析", 10), "split3.html", 12400,
                          12300, Legend::Ball19, false, false, &analysis<分割3データ分析>)
        << analysisRecord(u"分割5データ分析", u"5分割データ分析",
                          u"過去の当選番号の第１～３数字をＡ～Ｅの５グループに分類して分析します",
                          place("mnuBunkatsuData", "mnu5BunkatsuData", u"5分割データ分析", 20), "split5.html", 12400,
                          12300, Legend::Ball19, false, false, &analysis<分割5データ分析>)
        << analysisRecord(u"分割10データ分析", u"10分割データ分析",
                          u"過去の当選番号の第１～３数字をＡ～Ｊの１０グループに分類して分析します",
                          place("mnuBunkatsuData", "mnu10BunkatsuData", u"10分割データ分析", 30), "split10.html", 12400,
                          12300, Legend::Ball19, false, false, &analysis<分割10データ分析>);

    // The number views: what players bet on and look at, beyond single digits.
    all << analysisRecord(u"桁別出現分析", u"桁別出現分析",
                          u"過去の当選番号の数字0～9の出現を第1～第3数字の位置別と全体で分析します",
                          place("mnuNumbersView", "mnuKetabetsu", u"桁別出現分析", 10), "positions.html", 18500, 9000,
                          Legend::None, true, true, &digitPositionSheets);
    WindowRecord box = analysisRecord(
        u"ボックス番号分析", u"ボックス番号分析",
        u"過去の当選番号をシングル・ダブル・トリプルのタイプ別と、220通りのボックスの番号別に分析します",
        place("mnuNumbersView", "mnuBoxNumbers", u"ボックス番号分析", 20), "box.html", 9400, 7800, Legend::None, true,
        true, &analysisGrids<ボックス番号分析>);
    box.titles = {QStringLiteral("●タイプ別"), QStringLiteral("●ボックス番号別")};
    all << box;
    all << analysisRecord(u"ミニ分析", u"ミニ分析",
                          u"過去の当選番号の下2けた（第2数字・第3数字）をミニの番号00～99別に分析します",
                          place("mnuNumbersView", "mnuMini", u"ミニ分析", 30), "mini.html", 8400, 6600, Legend::None,
                          true, true, &analysis<ミニ分析>);
    all << analysisRecord(u"ペア数字分析", u"ペア数字分析",
                          u"過去の当選番号の2つの位置の数字の組合せ（ペア）が何回出たかを分析します",
                          place("mnuNumbersView", "mnuPair", u"ペア数字分析", 40), "pairs.html", 16700, 5000,
                          Legend::None, true, true, &analysis<ペア数字分析>);
    WindowRecord weekdays = analysisRecord(u"曜日別分析", u"曜日別分析",
                                           u"過去の当選番号を抽せん日の曜日別に集計し、週ごとに並べて分析します",
                                           place("mnuNumbersView", "mnuYoubi", u"曜日別分析", 50), "weekdays.html",
                                           11800, 8600, Legend::None, true, true, &analysisGrids<曜日別分析>);
    weekdays.titles = 曜日別分析::kTitles;
    all << weekdays;
    WindowRecord wheel
        = analysisRecord(u"裏数字・風車盤分析", u"裏数字・風車盤分析",
                         u"過去の当選番号の裏数字と、風車盤の上で各数字が前回から動いた移動値を分析します",
                         place("mnuNumbersView", "mnuReverseWheel", u"裏数字・風車盤分析", 60), "reverse-wheel.html",
                         9700, 7800, Legend::None, true, true, &analysisGrids<裏数字風車盤分析>);
    wheel.titles = {QStringLiteral("●移動値の出現数"), QStringLiteral("●当選番号と裏数字")};
    all << wheel;
    WindowRecord search
        = analysisRecord(u"当せん番号検索", u"当せん番号検索",
                         u"番号を入れて検索すると、その番号がストレート・ボックス・ミニで当たった回を一覧にします",
                         place("mnuNumbersView", "mnuNumberSearch", u"当せん番号検索", 70), "search.html", 9500, 7200,
                         Legend::None, true, true, &number_search::sheets);
    search.takesNumber = true;
    all << search;
    WindowRecord prizes = analysisRecord(
        u"配当分析", u"配当分析",
        u"当せん金のわかっている回のストレート当せん金を、タイプ別と数字別に、基準の90,000円と比べて分析します",
        place("mnuMain", "mnuPrizeAnalysis", u"配当分析", 107), "prizes.html", 12900, 10500, Legend::None, true, true,
        &analysisGrids<配当分析>);
    prizes.titles = 配当分析::kTitles;
    all << prizes;

    // The two windows that test a stretch of the history; they only read it, so they never
    // hold the entry window back.
    WindowRecord check = record(
        u"予想の検証", u"予想の検証", u"一発ズバリン予想の各手法が過去の抽せんでどれだけ当たったかを検証します",
        Frame::Backtest, place("mnuMain", "mnuBacktest", u"予想の検証", 110, true), "backtest.html");
    check.propEndAtLoad = true;
    check.build = &backtest;
    check.usesPredictionFlags = true;
    check.takesRange = true;
    check.testsDraws = true;
    check.defaultRange = RangeChoice::lastDraws(BacktestSheets::kDefaultDraws);
    check.defaultRangeText = QStringLiteral("最後の1,000回");
    check.exportNote = QStringLiteral("集計と各回の二つの表を、一発ズバリン と同じ設定ファイルの設定で書き出します。");
    all << check;

    WindowRecord tests = record(u"ランダム性の検定", u"ランダム性の検定",
                                u"過去の当選番号が偶然の抽せんらしいかを８つの検定で調べます", Frame::Randomness,
                                place("mnuMain", "mnuRandomness", u"ランダム性の検定", 120), "randomness.html");
    tests.propEndAtLoad = true;
    tests.build = &randomness;
    tests.takesRange = true;
    tests.testsDraws = true;
    tests.defaultRangeText = QStringLiteral("すべての回");
    all << tests;

    WindowRecord entry = record(u"当選データ入力", u"当選データ入力", u"", Frame::Entry,
                                place("mnuHosyu", "mnuMasterInput", u"当選データ入力(&I)", 10), "entry.html");
    entry.propEndAtLoad = false;
    entry.opensOnlyWhenPropEnd = true;
    all << entry;

    // The player's ticket lines: written to the database at once, so it holds nothing back.
    all << record(u"購入記録", u"購入記録", u"", Frame::Tickets,
                  place("mnuHosyu", "mnuTickets", u"購入記録(&T)", 25, true), "tickets.html");
    // The player's money over the ticket lines: it only reads the history. Its lines name draws
    // by their stored numbers, also past the history's end, so it takes the range resolved.
    WindowRecord balance
        = analysisRecord(u"収支", u"収支",
                         u"購入記録の券の購入金額と当せん金を、年別・月別と抽せん回ごとに集計します（券はデータ管理 → "
                         u"購入記録で記録します）",
                         place("mnuHosyu", "mnuBalance", u"収支(&B)", 26), "balance.html", 11600, 12600, Legend::None,
                         true, true, &ticket_balance::sheets);
    balance.takesRange = true;
    balance.showsTickets = true;
    balance.titles = ticket_balance::kTitles;
    all << balance;

    all << record(u"バージョン情報", u"バージョン情報", u"", Frame::Version,
                  place("mnuHelp", "mnuAbout", u"バージョン情報(&A)", 20), "version.html")
        << record(u"ヘルプ", u"ナンバーズ3ズバリン ヘルプ", u"", Frame::Help,
                  place("mnuHelp", "mnuHelpFile", u"ヘルプ(&H)", 10), "main-window.html#help");

    return all;
}

} // namespace

const QVector<WindowRecord>& windows()
{
    static const QVector<WindowRecord> all = buildCatalogue();
    return all;
}

const WindowRecord* findWindow(const QString& form)
{
    for (const WindowRecord& record : windows()) {
        if (record.form == form)
            return &record;
    }
    return nullptr;
}

QVector<const WindowRecord*> windowsIn(Frame frame)
{
    QVector<const WindowRecord*> in;
    for (const WindowRecord& record : windows()) {
        if (record.frame == frame)
            in << &record;
    }
    return in;
}

std::unique_ptr<WindowSheets> computeSheets(const WindowRecord& record, const History& history,
                                            const SheetOptions& options)
{
    if (!record.build)
        return nullptr;
    SheetOptions given = options;
    if (!given.range)
        given.range = record.defaultRange;
    if (record.takesRange)
        return record.build(history, given);
    return record.build(given.range->drawsOf(history), given);
}

QByteArray exportJson(const WindowRecord& record, const QList<const Grid*>& grids)
{
    if (grids.size() == 1)
        return gridToJson(*grids.first(), record.form);
    // The prediction's four tables were exported without titles before the number views came;
    // files read by scripts keep that shape.
    const QStringList titles = record.frame == Frame::Analysis ? record.titles : QStringList();
    return gridsToJson(grids, record.form, titles);
}

} // namespace catalogue
