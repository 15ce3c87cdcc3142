#pragma once
// A range of draw numbers, both ends included, as the windows that test a stretch of the
// history take it (開始回 to 終了回). A range whose start lies after its end holds no draw.

#include <optional>

struct DrawRange {
    int from = 1;
    int to = 0;

    bool contains(int drawNo) const { return drawNo >= from && drawNo <= to; }
    bool isEmpty() const { return from > to; }
    friend bool operator==(const DrawRange&, const DrawRange&) = default;
};

// The range the companion is given: a missing end is open (from the first draw, or to the last).
struct OpenDrawRange {
    std::optional<int> from, to;
};
