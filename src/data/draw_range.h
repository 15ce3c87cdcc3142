#pragma once
// A range of draw numbers, both ends included, as the windows that test a stretch of the
// history take it (開始回 to 終了回). A range whose start lies after its end holds no draw.

#include <QString>
#include <optional>

struct DrawRange {
    int from = 1;
    int to = 0;

    bool contains(int drawNo) const { return drawNo >= from && drawNo <= to; }
    bool isEmpty() const { return from > to; }
    friend bool operator==(const DrawRange&, const DrawRange&) = default;
};

class History;

// The draws a window covers, as the player chooses them: every draw (全期間), the last N
// complete draws and whatever follows them (直近N回), or from one draw number to another
// (開始回〜終了回).
struct RangeChoice {
    enum class Kind { All, Last, Between };
    static constexpr int kMaxDrawNo = 32767;

    Kind kind = Kind::All;
    int last = 100; // 直近N回: N, 1–32767
    int from = 1, to = kMaxDrawNo; // 開始回〜終了回

    static RangeChoice all() { return {}; }
    static RangeChoice lastDraws(int n) { return {Kind::Last, n, 1, kMaxDrawNo}; }
    static RangeChoice between(int a, int b) { return {Kind::Between, 100, a, b}; }

    // The draw numbers it stands for in a history. 全期間 is [1, 32767]; 直近N回 starts at the
    // N-th last complete draw and ends at 32767, and is 全期間 when the history has fewer than N
    // complete draws; 開始回〜終了回 is as given (empty when its start lies after its end).
    DrawRange resolve(const History& history) const;
    // The history a window shows for this choice: the records of the range, renumbered from its
    // start (History::overRange).
    History drawsOf(const History& history) const;

    // How the choice is named: "全期間", "直近100回", "第5000回〜第6000回".
    QString name() const;
    // What a window over the choice covers, as its title and label say: the name, then the first
    // and last complete draws of the history in the range, "直近100回（第6990回〜第7089回）"
    // ("（当選番号なし）" when there is none; the name alone for a typed range whose first and
    // last draws are there).
    QString coverText(const History& history) const;
    // As a settings file keeps it ("all", "last 100", "between 5000 6000"), and back: nothing
    // when the text is no choice or a number lies outside 1–32767.
    QString toText() const;
    static std::optional<RangeChoice> fromText(const QString& text);
    friend bool operator==(const RangeChoice&, const RangeChoice&) = default;
};
