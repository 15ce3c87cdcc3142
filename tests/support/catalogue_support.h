#pragma once
// The catalogue's analysis windows as the family-wide tests walk them.

#include "catalogue/window_catalogue.h"

#include <memory>

namespace cataloguetest {

// The grid of an analysis window (by form name) computed from a history; null for a form that
// names no analysis window.
inline std::unique_ptr<Grid> analysisGrid(const QString& form, const History& history)
{
    const catalogue::WindowRecord* record = catalogue::findWindow(form);
    if (!record || record->frame != catalogue::Frame::Analysis)
        return nullptr;
    std::unique_ptr<WindowSheets> sheets = catalogue::computeSheets(*record, history);
    auto* single = dynamic_cast<SingleGridSheets*>(sheets.get());
    return single ? single->takeGrid() : nullptr;
}

// The number the family-wide tests look up in a window that looks one up (当せん番号検索), and the
// options that carry it (the window's default range).
inline const QString kSearched = QStringLiteral("565");
inline SheetOptions searching()
{
    SheetOptions options;
    options.number = kSearched;
    return options;
}

inline QVector<const catalogue::WindowRecord*> analyses()
{
    return catalogue::windowsIn(catalogue::Frame::Analysis);
}

} // namespace cataloguetest
