#include "grid/grid_export.h"

namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

void appendHex(QString& out, GridColor color)
{
    const char16_t hex[7] = {u'#',
                             kHexDigits[color.r >> 4],
                             kHexDigits[color.r & 15],
                             kHexDigits[color.g >> 4],
                             kHexDigits[color.g & 15],
                             kHexDigits[color.b >> 4],
                             kHexDigits[color.b & 15]};
    out.append(reinterpret_cast<const QChar*>(hex), 7);
}

void appendCsvField(QString& out, const QString& text)
{
    bool quote = !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
    for (qsizetype i = 0; !quote && i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        quote = c == u',' || c == u'"' || c == u'\r' || c == u'\n';
    }
    if (!quote) {
        out += text;
        return;
    }
    out += u'"';
    for (const QChar c : text) {
        if (c == u'"')
            out += u'"';
        out += c;
    }
    out += u'"';
}

void appendJsonString(QString& out, const QString& text)
{
    out += u'"';
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        switch (c) {
        case u'"':
            out += QLatin1String("\\\"");
            break;
        case u'\\':
            out += QLatin1String("\\\\");
            break;
        case u'\b':
            out += QLatin1String("\\b");
            break;
        case u'\f':
            out += QLatin1String("\\f");
            break;
        case u'\n':
            out += QLatin1String("\\n");
            break;
        case u'\r':
            out += QLatin1String("\\r");
            break;
        case u'\t':
            out += QLatin1String("\\t");
            break;
        default:
            if (c < 0x20) {
                out += QLatin1String("\\u00");
                out += QChar(kHexDigits[c >> 4]);
                out += QChar(kHexDigits[c & 15]);
            } else {
                out += qc;
            }
        }
    }
    out += u'"';
}

} // namespace

QString colorHex(GridColor color)
{
    QString hex;
    appendHex(hex, color);
    return hex;
}

QString spreadsheetText(const QString& text)
{
    const auto blank = [](QChar c) { return c == u' ' || c == u'\u3000'; };
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && blank(text.at(first)))
        ++first;
    while (end > first && blank(text.at(end - 1)))
        --end;
    return first == 0 && end == text.size() ? text : text.mid(first, end - first);
}

QByteArray gridToCsv(const Grid& grid)
{
    QString out;
    for (int row = 1; row <= grid.maxRows(); ++row) {
        for (int col = 1; col <= grid.maxCols(); ++col) {
            if (col > 1)
                out += u',';
            appendCsvField(out, spreadsheetText(grid.text(col, row)));
        }
        out += QLatin1String("\r\n");
    }
    return out.toUtf8();
}

namespace {

// "rows": R, "cols": C, "cells": [...] of one grid.
void appendGridJson(QString& out, const Grid& grid)
{
    const int rows = grid.maxRows();
    const int cols = grid.maxCols();
    out += QLatin1String("\"rows\": ") + QString::number(rows) + QLatin1String(", \"cols\": ") + QString::number(cols)
        + QLatin1String(", \"cells\": [");
    for (int row = 1; row <= rows; ++row) {
        out += row > 1 ? QLatin1String(",\n[") : QLatin1String("\n[");
        for (int col = 1; col <= cols; ++col) {
            out += col > 1 ? QLatin1String(", {\"text\": ") : QLatin1String("{\"text\": ");
            appendJsonString(out, grid.text(col, row));
            out += QLatin1String(", \"back\": \"");
            appendHex(out, grid.backColor(col, row));
            out += QLatin1String("\", \"fore\": \"");
            appendHex(out, grid.foreColor(col, row));
            out += QLatin1String("\"}");
        }
        out += u']';
    }
    out += rows > 0 ? QLatin1String("\n]") : QLatin1String("]");
}

} // namespace

QByteArray gridToJson(const Grid& grid, const QString& window)
{
    QString out;
    // Most cells are a short text and two colours: about 50 characters each.
    out.reserve(qsizetype(grid.maxRows()) * grid.maxCols() * 52 + 128);
    out += QLatin1String("{\"window\": ");
    appendJsonString(out, window);
    out += QLatin1String(", ");
    appendGridJson(out, grid);
    out += QLatin1String("}\n");
    return out.toUtf8();
}

QByteArray gridsToJson(const QList<const Grid*>& grids, const QString& window, const QStringList& titles)
{
    QString out;
    out += QLatin1String("{\"window\": ");
    appendJsonString(out, window);
    out += QLatin1String(", \"grids\": [");
    for (qsizetype i = 0; i < grids.size(); ++i) {
        out += i > 0 ? QLatin1String(",\n{") : QLatin1String("\n{");
        if (i < titles.size() && !titles.at(i).isEmpty()) {
            out += QLatin1String("\"title\": ");
            appendJsonString(out, titles.at(i));
            out += QLatin1String(", ");
        }
        appendGridJson(out, *grids[i]);
        out += u'}';
    }
    out += grids.isEmpty() ? QLatin1String("]}\n") : QLatin1String("\n]}\n");
    return out.toUtf8();
}

QByteArray gridsToCsv(const QList<const Grid*>& grids)
{
    QByteArray out;
    for (qsizetype i = 0; i < grids.size(); ++i) {
        if (i > 0)
            out += "\r\n";
        out += gridToCsv(*grids[i]);
    }
    return out;
}

QByteArray withUtf8Bom(const QByteArray& bytes)
{
    return QByteArray(kUtf8Bom) + bytes;
}
