#include "grid/draw_row_index.h"

#include <algorithm>

namespace {

bool rowBefore(const std::pair<int, int>& entry, int row)
{
    return entry.first < row;
}

} // namespace

void DrawRowIndex::add(int row, int drawNo)
{
    if (m_rows.empty() || row > m_rows.back().first) {
        m_rows.emplace_back(row, drawNo);
        m_firstDrawNo = m_rows.size() == 1 ? drawNo : std::min(m_firstDrawNo, drawNo);
        m_lastDrawNo = std::max(m_lastDrawNo, drawNo);
        return;
    }
    const auto it = std::lower_bound(m_rows.begin(), m_rows.end(), row, rowBefore);
    if (it != m_rows.end() && it->first == row)
        it->second = drawNo;
    else
        m_rows.emplace(it, row, drawNo);
    updateBounds();
}

void DrawRowIndex::dropRowsAfter(int lastRow)
{
    const auto it = std::lower_bound(m_rows.begin(), m_rows.end(), lastRow + 1, rowBefore);
    if (it == m_rows.end())
        return;
    m_rows.erase(it, m_rows.end());
    updateBounds();
}

void DrawRowIndex::clear()
{
    m_rows.clear();
    m_firstDrawNo = m_lastDrawNo = 0;
}

int DrawRowIndex::drawAt(int row) const
{
    const auto it = std::lower_bound(m_rows.begin(), m_rows.end(), row, rowBefore);
    return it != m_rows.end() && it->first == row ? it->second : 0;
}

int DrawRowIndex::rowOf(int drawNo) const
{
    if (drawNo < m_firstDrawNo || drawNo > m_lastDrawNo)
        return 0;
    const auto it = std::find_if(m_rows.begin(), m_rows.end(), [drawNo](const auto& e) { return e.second == drawNo; });
    return it != m_rows.end() ? it->first : 0;
}

void DrawRowIndex::updateBounds()
{
    m_firstDrawNo = m_lastDrawNo = 0;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const int n = m_rows[i].second;
        m_firstDrawNo = i == 0 ? n : std::min(m_firstDrawNo, n);
        m_lastDrawNo = i == 0 ? n : std::max(m_lastDrawNo, n);
    }
}
