#pragma once
// 出現回数分析: every complete draw in order and, beside each of its digits, how many times that
// digit value had already been drawn, in any position, before this draw.

#include "analysis/analysis_window.h"

#include <QStringList>
#include <array>

class 出現回数分析 : public AnalysisWindow {
public:
    void mainStep(Grid& grid, const History& history) override;

private:
    void layout(Grid& grid, const History& history);
    void headings(Grid& grid);
    void fill(Grid& grid, const History& history);

    const QString& numberText(int n);

    std::array<int, 10> m_counts{}; // appearances of each digit so far, shared by the positions
    QStringList m_numberTexts; // digits and counts recur across rows: each text made once
};
