#pragma once
// 連番飛び石分析: every complete draw twice side by side, once with neighbouring positions whose
// digits are consecutive highlighted, once with those whose digits are one apart.

#include "analysis/analysis_window.h"
#include "data/history.h"

class 連番飛び石分析 : public AnalysisWindow {
public:
    void mainStep(Grid& grid, const History& history) override;

private:
    void layout(Grid& grid, const History& history);
    void headings(Grid& grid);
    void fill(Grid& grid, const History& history);

    // One section: 回数 and the digits from col, the neighbouring pairs whose digits differ by
    // `apart` marked (1: consecutive, 2: one apart), the 回数 cell grey when no pair hits.
    static void section(Grid& grid, const History& history, const DrawRecord& draw, int col, int row, int apart);
    static void markPair(Grid& grid, bool consecutive, int col, int row);
    static void greyIfNone(Grid& grid, int count, int col, int row);
};
