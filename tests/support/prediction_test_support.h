#pragma once
// The settings file lies in the current directory: tests run inside a temporary one and put the
// process back where it was afterwards. And the history the prediction is worked out on by hand.

#include "grid/grid.h"
#include "support/history_builder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>

namespace fixture {

class InTemporaryDirectory {
public:
    InTemporaryDirectory() : m_previous(QDir::currentPath())
    {
        EXPECT_TRUE(m_dir.isValid());
        EXPECT_TRUE(QDir::setCurrent(m_dir.path()));
    }
    ~InTemporaryDirectory() { QDir::setCurrent(m_previous); }
    InTemporaryDirectory(const InTemporaryDirectory&) = delete;
    InTemporaryDirectory& operator=(const InTemporaryDirectory&) = delete;

    QString filePath(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Ten reflect flags with the given ones set.
inline std::array<bool, 10> flagsWith(std::initializer_list<int> set)
{
    std::array<bool, 10> flags{};
    for (int i : set)
        flags[i] = true;
    return flags;
}

// The value cells of a grid, row by row from row 2, cells joined by a blank ("" where empty).
inline QStringList values(const Grid& g)
{
    QStringList rows;
    for (int r = 2; r <= g.maxRows(); ++r) {
        QStringList row;
        for (int c = 2; c <= g.maxCols(); ++c)
            row << g.text(c, r);
        rows << row.join(u' ');
    }
    return rows;
}

inline QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Draws 1 to 19, every digit 8 except where a digit is planted to come back after a cycle,
// and draw 20 not drawn yet.
inline History handWorkedPredictionHistory()
{
    return history({{1, 5, 6, 7},  {2, 8, 8, 8},  {3, 8, 8, 8},  {4, 3, 8, 8},  {5, 8, 8, 8},
                    {6, 8, 8, 8},  {7, 8, 8, 8},  {8, 8, 5, 8},  {9, 8, 8, 8},  {10, 6, 8, 8},
                    {11, 8, 8, 8}, {12, 7, 8, 8}, {13, 8, 8, 8}, {14, 8, 8, 8}, {15, 8, 8, 8},
                    {16, 3, 8, 8}, {17, 8, 8, 5}, {18, 8, 8, 8}, {19, 8, 8, 8}, {20}});
}

} // namespace fixture
