// The catalogue as docs/windows.md shows it: the table there is the catalogue's, record by
// record, so that neither changes without the other.

#include "catalogue/window_catalogue.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QString frameName(catalogue::Frame frame)
{
    switch (frame) {
    case catalogue::Frame::Analysis:
        return QStringLiteral("analysis");
    case catalogue::Frame::Prediction:
        return QStringLiteral("prediction");
    case catalogue::Frame::Backtest:
        return QStringLiteral("range (backtest)");
    case catalogue::Frame::Randomness:
        return QStringLiteral("range (randomness)");
    case catalogue::Frame::Entry:
        return QStringLiteral("entry");
    case catalogue::Frame::Tickets:
        return QStringLiteral("tickets");
    case catalogue::Frame::Version:
        return QStringLiteral("version");
    case catalogue::Frame::Help:
        return QStringLiteral("help");
    }
    return {};
}

QString tableOfTheCatalogue()
{
    QString table
        = QStringLiteral("| form name | caption | frame | menu entry | help page | propEnd at load | exports |\n"
                         "|---|---|---|---|---|---|---|\n");
    for (const catalogue::WindowRecord& r : catalogue::windows()) {
        const QString propEnd = r.propEndAtLoad ? (*r.propEndAtLoad ? QStringLiteral("True") : QStringLiteral("False"))
                                                : QStringLiteral("—");
        const QString menu = (r.menu.menu.isEmpty() ? QString() : QStringLiteral("`%1` → ").arg(r.menu.menu))
            + QStringLiteral("`%1` %2").arg(r.menu.item, r.menu.text);
        table += QStringLiteral("| `%1` | %2 | %3 | %4 | `%5` | %6 | %7 |\n")
                     .arg(r.form, r.caption, frameName(r.frame), menu, r.helpPage, propEnd,
                          r.computes() ? QStringLiteral("yes") : QStringLiteral("—"));
    }
    return table;
}

TEST(CatalogueDocs, WindowsMdHoldsTheCatalogueTable)
{
    QFile doc(QStringLiteral(N3_SOURCE_DIR "/docs/windows.md"));
    ASSERT_TRUE(doc.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(doc.readAll());
    const QString table = tableOfTheCatalogue();
    EXPECT_TRUE(text.contains(table)) << "docs/windows.md should hold this table:\n" << table.toStdString();
}

} // namespace
