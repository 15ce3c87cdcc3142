#pragma once
// 偶数奇数の組合せパターン分析 and its twin 低数字高数字の組合せパターン分析: every complete draw,
// its three digits sorted into two classes, how many fall into each class, and a pattern letter
// "A" to "D". The twins share the table; only the classes and the letter's count differ.

#include "analysis/analysis_window.h"

#include <QString>

// What sets one pattern window apart from the other.
struct PatternRule {
    QString firstHeading; // column 5: the count of the first class
    QString secondHeading; // column 6: the count of the second class
    bool (*inFirstClass)(int digit);
    GridColor secondClassBack; // a second-class digit's cell: this background, or left as is
    bool letterByFirstCount; // the letter follows the first class's count, else the second's
};

class PatternAnalysis : public OneHeadingRowAnalysis {
public:
    explicit PatternAnalysis(PatternRule rule) : m_rule(std::move(rule)) { }

    static const PatternRule& evenOddRule();
    static const PatternRule& lowHighRule();

protected:
    void layout(Grid& grid, const History& history) override;
    void headings(Grid& grid, int headingRow) override;
    // Only complete draws take a row, so the rows follow one another without gaps.
    void fill(Grid& grid, const History& history) override;

private:
    PatternRule m_rule;
};

// Even digits (0 included) against odd ones; the letter follows the odd count.
class 偶数奇数の組合せパターン分析 final : public PatternAnalysis {
public:
    偶数奇数の組合せパターン分析() : PatternAnalysis(evenOddRule()) { }
};

// Low digits 0–4 against high ones 5–9; the letter follows the low count.
class 低数字高数字の組合せパターン分析 final : public PatternAnalysis {
public:
    低数字高数字の組合せパターン分析() : PatternAnalysis(lowHighRule()) { }
};
