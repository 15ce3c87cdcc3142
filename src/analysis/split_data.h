#pragma once
// 分割3データ分析, 分割5データ分析 and 分割10データ分析: one row per complete draw, a strip of ten
// digit columns for each of its three digits with a mark in the drawn digit's column. The digit
// values are split into classes, and each class's columns carry its background, so the marks of
// many draws read as bands of classes. The three windows differ only in their partition.

#include "analysis/analysis_window.h"

#include <QString>
#include <QVector>

// One class of a partition: the digits from first to last. Its heading stands over its first digit.
struct SplitClass {
    int first;
    int last;
    GridColor back; // invalid: the default background
    QString heading;
};

struct SplitPartition {
    QVector<SplitClass> classes; // in digit order, together covering 0–9
    int blueLabelStrips; // how many strips, from the first, have their digit labels in blue
};

class SplitDataAnalysis : public ThreeHeadingRowsAnalysis {
public:
    explicit SplitDataAnalysis(SplitPartition partition) : m_partition(std::move(partition)) { }

    static const SplitPartition& threeClasses();
    static const SplitPartition& fiveClasses();
    static const SplitPartition& tenClasses();

protected:
    void layout(Grid& grid, const History& history) override;
    void headings(Grid& grid, int baseRow) override;
    // Only complete draws take a row, so the rows follow one another without gaps.
    void fill(Grid& grid, const History& history) override;

private:
    SplitPartition m_partition;
};

class 分割3データ分析 final : public SplitDataAnalysis {
public:
    分割3データ分析() : SplitDataAnalysis(threeClasses()) { }
};

class 分割5データ分析 final : public SplitDataAnalysis {
public:
    分割5データ分析() : SplitDataAnalysis(fiveClasses()) { }
};

class 分割10データ分析 final : public SplitDataAnalysis {
public:
    分割10データ分析() : SplitDataAnalysis(tenClasses()) { }
};
