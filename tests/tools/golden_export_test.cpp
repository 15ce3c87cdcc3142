// Every window's JSON export on the real history and on a small hand-made one, against the
// digests committed in tests/golden/export-digests.txt. A change that moves any cell of any
// window, its text or a colour, fails here. A change meant to alter a window regenerates the
// file with tests/golden/update-digests, which also lists the cells that differ.

#include "catalogue/window_catalogue.h"
#include "tool_commands.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kDigests = QStringLiteral(N3_SOURCE_DIR "/tests/golden/export-digests.txt");

// "history form" → digest, as the file holds them.
QMap<QString, QByteArray> committedDigests()
{
    QMap<QString, QByteArray> digests;
    QFile file(kDigests);
    if (!file.open(QIODevice::ReadOnly))
        return digests;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QList<QByteArray> fields = raw.trimmed().split(' ');
        if (fields.size() == 3 && !raw.startsWith('#'))
            digests.insert(QString::fromUtf8(fields[0] + ' ' + fields[1]), fields[2]);
    }
    return digests;
}

TEST(GoldenExports, EveryWindowOnBothHistoriesKeepsItsDigest)
{
    const QMap<QString, QByteArray> expected = committedDigests();
    ASSERT_FALSE(expected.isEmpty()) << "no digests in " << kDigests.toStdString();
    QTemporaryDir dir;
    // No settings file: the prediction's flags as a first start has them.
    const QString settings = dir.filePath(QStringLiteral("none.ini"));
    const QString actualFolder = QStringLiteral(N3_BINARY_DIR "/golden/actual");
    const QList<std::pair<QString, QString>> histories = {
        {QStringLiteral("real"), QStringLiteral(N3_HISTORY_CSV)},
        {QStringLiteral("small"), QStringLiteral(N3_SOURCE_DIR "/tests/golden/small-history.csv")},
    };
    int compared = 0;
    for (const auto& [name, csv] : histories) {
        const QString db = dir.filePath(name + QStringLiteral(".db"));
        const tool::ImportResult imported = tool::importHistory(db, csv);
        ASSERT_TRUE(imported.ok) << imported.error.toStdString();
        for (const QString& form : tool::exportableWindows()) {
            const QString key = name + u' ' + form;
            const tool::ExportResult result = tool::exportWindow(db, form, tool::ExportFormat::Json, settings);
            ASSERT_TRUE(result.ok) << key.toStdString() << ": " << result.error.toStdString();
            const QByteArray digest = QCryptographicHash::hash(result.data, QCryptographicHash::Sha256).toHex();
            ++compared;
            if (digest == expected.value(key))
                continue;
            // What the export is now, for update-digests to compare with the last baseline.
            QDir().mkpath(actualFolder + u'/' + name);
            QFile out(actualFolder + u'/' + name + u'/' + form + QStringLiteral(".json"));
            if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
                out.write(result.data);
            ADD_FAILURE() << key.toStdString() << ": digest " << digest.toStdString() << ", committed "
                          << expected.value(key, "(none)").toStdString()
                          << " (tests/golden/update-digests lists the cells that changed)";
        }
    }
    // A window gone from the catalogue, or one the file does not know, is a change too.
    EXPECT_EQ(compared, expected.size());
}

} // namespace

namespace {

// The companion knows the windows only through the catalogue.
TEST(Companion, NamesNoWindowInItsCode)
{
    const QDir tools(QStringLiteral(N3_SOURCE_DIR "/tools"));
    const QStringList files = tools.entryList({QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        QFile file(tools.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString code = QString::fromUtf8(file.readAll());
        for (const catalogue::WindowRecord& record : catalogue::windows())
            EXPECT_FALSE(code.contains(record.form)) << name.toStdString() << " names " << record.form.toStdString();
    }
}

} // namespace
