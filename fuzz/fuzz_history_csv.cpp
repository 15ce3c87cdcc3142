// The reader of every draw-history CSV (the shipped history and every import), fed any bytes,
// and the reader of draws pasted as text on the same bytes. What their callers rely on: a good
// result holds only valid draws, each number once; a refused one holds no rows and names the
// line it stopped at; a preview's reading keeps each bad line aside with its number and reason.
// And the result does not depend on where the reads from the file happen to end.

#include "data/history_csv.h"
#include "data/history_import.h"
#include "fuzz_support.h"

#include <QIODevice>
#include <QSet>
#include <cstring>

namespace {

// Hands the bytes out one at a time, so that a read ends at every place in the text: in a
// real file that happens every 64 KB, inside a line, a quote or between CR and LF.
class ByteByByte : public QIODevice {
public:
    explicit ByteByByte(const QByteArray& bytes) : m_bytes(bytes) { open(ReadOnly | Unbuffered); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        if (maxSize < 1 || m_pos >= m_bytes.size())
            return 0;
        *data = m_bytes.at(m_pos++);
        return 1;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qsizetype m_pos = 0;
};

// What every history that is read without being refused holds.
void requireValidRows(const HistoryCsv& csv)
{
    QSet<int> seen;
    for (const HistoryRow& row : csv.rows) {
        require(row.drawNo >= 1 && row.drawNo <= 32767, "draw number 1-32767");
        require(!seen.contains(row.drawNo), "each draw number once");
        seen.insert(row.drawNo);
        for (const std::optional<int>& digit : row.digits)
            require(!digit || (*digit >= 0 && *digit <= 9), "digits 0-9 or empty");
        require(!row.prizes || csv.hasPrizes, "prizes only under the prize columns");
        require(!csv.prizesOnly || row.digits == std::array<std::optional<int>, 3>{}, "a prize file has no digits");
        if (row.prizes) {
            for (int k = 0; k < prize::kKinds; ++k) {
                require(prize::isValidAmount(row.prizes->amounts[k]), "prize amounts in whole hundreds of yen");
                require(!row.prizes->counts[k] || *row.prizes->counts[k] >= 0, "counts 0 or more");
            }
        }
    }
    int last = 0;
    for (const RefusedLine& refused : csv.refused) {
        require(refused.line > last, "refused lines once each, in line order");
        require(!refused.reason.isEmpty(), "a refused line says why");
        last = refused.line;
    }
}

bool sameResult(const HistoryCsv& a, const HistoryCsv& b)
{
    if (a.error != b.error || a.errorLine != b.errorLine || a.errorField != b.errorField
        || a.extraColumns != b.extraColumns || a.rows.size() != b.rows.size())
        return false;
    for (qsizetype i = 0; i < a.rows.size(); ++i) {
        const HistoryRow& x = a.rows.at(i);
        const HistoryRow& y = b.rows.at(i);
        if (x.line != y.line || x.drawNo != y.drawNo || x.digits != y.digits || x.extra != y.extra
            || x.prizes != y.prizes)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    const HistoryCsv csv = HistoryCsv::parse(bytes);
    ByteByByte device(bytes);
    require(sameResult(csv, HistoryCsv::read(device)), "the same result whatever the reads return");

    // Read for a preview, and as pasted text: bad lines go aside, the rest is as good.
    const HistoryCsv collected = HistoryCsv::parse(bytes, HistoryCsv::BadLines::Collect);
    if (collected.ok())
        requireValidRows(collected);
    const HistoryCsv pasted = history_import::parseText(QString::fromUtf8(bytes));
    if (pasted.ok())
        requireValidRows(pasted);
    else
        require(pasted.rows.isEmpty(), "a refused text has no rows");

    if (!csv.ok()) {
        require(csv.rows.isEmpty(), "a refused history has no rows");
        require(csv.errorLine >= 1, "a refused text names a line");
        return 0;
    }
    require(csv.refused.isEmpty(), "a reading that stops at a bad line sets none aside");
    requireValidRows(csv);
    return 0;
}
