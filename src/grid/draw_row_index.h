#pragma once
// Which rows of a sheet list one draw each, and the draw number (回数) of each. A view opens
// at the latest draw and goes to a draw by its number through it; no export or printout shows it.

#include <cstddef>
#include <utility>
#include <vector>

class DrawRowIndex {
public:
    // Row lists the draw numbered drawNo; a row listed again takes the new number. The sheet
    // builders list their rows top to bottom, which costs nothing more than appending.
    void add(int row, int drawNo);
    // Forgets the rows below lastRow (a sheet that shrank).
    void dropRowsAfter(int lastRow);
    void clear();

    bool isEmpty() const { return m_rows.empty(); }
    int size() const { return int(m_rows.size()); }
    // The draw the row lists; 0 when it lists none.
    int drawAt(int row) const;
    // The row that lists the draw; a number listed twice (a database made elsewhere may repeat
    // one) gives its lowest row. 0 when no row lists it.
    int rowOf(int drawNo) const;
    // The lowest and the highest draw number listed; 0 when none is.
    int firstDrawNo() const { return m_firstDrawNo; }
    int lastDrawNo() const { return m_lastDrawNo; }
    // The lowest row listed, and the highest: the row of the latest draw. 0 when none is.
    int firstRow() const { return m_rows.empty() ? 0 : m_rows.front().first; }
    int lastRow() const { return m_rows.empty() ? 0 : m_rows.back().first; }

    std::size_t memoryUsage() const { return m_rows.capacity() * sizeof(m_rows[0]); }
    friend bool operator==(const DrawRowIndex&, const DrawRowIndex&) = default;

private:
    void updateBounds();

    std::vector<std::pair<int, int>> m_rows; // (row, drawNo), by row
    int m_firstDrawNo = 0;
    int m_lastDrawNo = 0;
};
