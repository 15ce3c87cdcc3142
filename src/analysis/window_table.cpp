// The family of analysis windows: one row each, in one place. The main window's menu opens
// each window from here, and the command-line companion exports through it.

#include "analysis/analysis_window.h"
#include "analysis/appearance_count.h"
#include "analysis/appearance_frequency.h"
#include "analysis/appearance_interval.h"
#include "analysis/count_classes.h"
#include "analysis/carry_over.h"
#include "analysis/digit_interval.h"
#include "analysis/digit_sum.h"
#include "analysis/dispersion.h"
#include "analysis/neighbours.h"
#include "analysis/five_class_trend.h"
#include "analysis/pattern.h"
#include "analysis/split_data.h"

namespace {

template <typename Window>
std::unique_ptr<AnalysisWindow> make()
{
    return std::make_unique<Window>();
}

QVector<AnalysisWindowInfo> buildTable()
{
    // form, caption, description, width × height (twips), legend, 印刷 button, propEnd at load, window
    return {
        {QStringLiteral("出現頻度分析"), QStringLiteral("出現頻度分析"),
         QStringLiteral("過去の当選番号の出現回数を数字別に分析します"), 13200, 5280, Legend::Mark13, false, false,
         &make<出現頻度分析>},
        {QStringLiteral("出現間隔分析"), QStringLiteral("出現間隔分析"),
         QStringLiteral("過去の当選数字が何回前に出現しているか分析します"), 13800, 6140, Legend::None, true, false, &make<出現間隔分析>},
        {QStringLiteral("出現回数分析"), QStringLiteral("出現回数分析"),
         QStringLiteral("過去の当選数字が何回出現したか分析します"), 13850, 6280, Legend::None, true, false, &make<出現回数分析>},
        {QStringLiteral("回数別出現分析"), QStringLiteral("回数別頻度分析"),
         QStringLiteral("過去の当選番号から出現回数別の数字を分析します"), 6700, 3405, Legend::None, true, false, &make<回数別出現分析>},
        {QStringLiteral("数字間隔分析"), QStringLiteral("数字間隔分析"),
         QStringLiteral("当選数字を第1数字～第3数字別に前回数字との数字の間隔を分析します"), 13820, 7050, Legend::None, true,
         false, &make<数字間隔分析>},
        {QStringLiteral("数字合計分析"), QStringLiteral("数字合計分析"),
         QStringLiteral("過去の当選番号の各数字の合計を分析します"), 13680, 4860, Legend::None, true, false, &make<数字合計分析>},
        {QStringLiteral("バラツキ分析"), QStringLiteral("バラツキ分析"),
         QStringLiteral("過去の当選番号のバラツキを数字別に分析します"), 13980, 7630, Legend::Dot19, true, false, &make<バラツキ分析>},
        {QStringLiteral("引っ張り分析"), QStringLiteral("引っ張り分析"),
         QStringLiteral("過去の当選数字に前回の数字が入っているか分析します"), 13500, 7000, Legend::PreviousDigitSwatch,
         false, false, &make<引っ張り分析>},
        {QStringLiteral("連番飛び石分析"), QStringLiteral("連番・飛び石分析"),
         QStringLiteral("過去の当選番号の連続数字と一つ飛び数字の傾向を分析します"), 13400, 7020, Legend::None, true, false,
         &make<連番飛び石分析>},
        {QStringLiteral("偶数奇数の組合せパターン分析"), QStringLiteral("偶数・奇数の組合せパターン分析"),
         QStringLiteral("過去の当選番号を偶数と奇数に分類して分析します"), 13600, 5900, Legend::None, true, true, &make<偶数奇数の組合せパターン分析>},
        {QStringLiteral("低数字高数字の組合せパターン分析"), QStringLiteral("低数字・高数字の組合せパターン分析"),
         QStringLiteral("過去の当選番号を低数字（０～４）と高数字（５～９）に分けて組合せパターンを分析します"), 13600, 5900,
         Legend::None, true, true, &make<低数字高数字の組合せパターン分析>},
        {QStringLiteral("分割5傾向分析"), QStringLiteral("5分割傾向分析"),
         QStringLiteral("過去の当選番号の５グループに分類して分析します"), 13750, 6900, Legend::None, true, true, &make<分割5傾向分析>},
        {QStringLiteral("分割3データ分析"), QStringLiteral("3分割データ分析"),
         QStringLiteral("過去の当選番号の第１～３数字をＡ～Ｃの３グループに分類して分析します"), 12400, 12300,
         Legend::Ball19, false, false, &make<分割3データ分析>},
        {QStringLiteral("分割5データ分析"), QStringLiteral("5分割データ分析"),
         QStringLiteral("過去の当選番号の第１～３数字をＡ～Ｅの５グループに分類して分析します"), 12400, 12300,
         Legend::Ball19, false, false, &make<分割5データ分析>},
        {QStringLiteral("分割10データ分析"), QStringLiteral("10分割データ分析"),
         QStringLiteral("過去の当選番号の第１～３数字をＡ～Ｊの１０グループに分類して分析します"), 12400, 12300,
         Legend::Ball19, false, false, &make<分割10データ分析>},
    };
}

} // namespace

const QVector<AnalysisWindowInfo>& analysisWindows()
{
    static const QVector<AnalysisWindowInfo> table = buildTable();
    return table;
}

const AnalysisWindowInfo* findAnalysisWindow(const QString& form)
{
    for (const AnalysisWindowInfo& info : analysisWindows()) {
        if (info.form == form)
            return &info;
    }
    return nullptr;
}
