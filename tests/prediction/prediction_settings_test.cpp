// The settings file: the Windows program's own bytes, the reading rules, and files that are
// missing, odd or hostile.

#include "prediction/prediction_settings.h"
#include "support/prediction_test_support.h"
#include "support/special_files.h"

#include <QFileInfo>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>

namespace {

using Flags = std::array<bool, PredictionSettings::kFlagCount>;

const QString kFile = QStringLiteral("ナンバーズ3ズバリン.ini");

// What the Windows program writes with flags 0, 3 and 8 set (CP932, CRLF), worked out elsewhere.
const QByteArray kWindowsFile = QByteArray::fromHex(
    "95 70 93 78 95 aa 90 cd 4f 70 74 3d 54 72 75 65 0d 0a" // 頻度分析Opt=True
    "8a d4 8a 75 95 aa 90 cd 4f 70 74 3d 46 61 6c 73 65 0d 0a" // 間隔分析Opt=False
    "8f 6f 8c bb 89 f1 90 94 95 aa 90 cd 4f 70 74 3d 46 61 6c 73 65 0d 0a" // 出現回数分析Opt=False
    "83 6f 83 89 83 63 83 4c 95 aa 90 cd 4f 70 74 3d 54 72 75 65 0d 0a" // バラツキ分析Opt=True
    "88 f8 82 c1 92 a3 82 e8 95 aa 90 cd 4f 70 74 3d 46 61 6c 73 65 0d 0a" // 引っ張り分析Opt=False
    "98 41 94 d4 94 f2 82 d1 90 ce 95 aa 90 cd 4f 70 74 3d 46 61 6c 73 65 0d 0a" // 連番飛び石分析Opt=False
    "90 94 8e 9a 8d 87 8c 76 95 aa 90 cd 4f 70 74 3d 46 61 6c 73 65 0d 0a" // 数字合計分析Opt=False
    "91 67 8d 87 82 b9 83 70 83 5e 81 5b 83 93 95 aa 90 cd 4f 70 74 3d 46 61 6c 73 65 0d 0a" // 組合せパターン分析Opt=False
    "35 95 aa 8a 84 8c 58 8c fc 95 aa 90 cd 4f 70 74 3d 54 72 75 65 0d 0a" // 5分割傾向分析Opt=True
    "95 aa 8a 84 83 66 81 5b 83 5e 95 aa 90 cd 4f 70 74 3d 46 61 6c 73 65 0d 0a"); // 分割データ分析Opt=False

using fixture::flagsWith;

// The flags after reading `bytes` as the settings file, starting from `start`.
Flags readFile(const QByteArray& bytes, const Flags& start = {})
{
    fixture::writeBytes(kFile, bytes);
    PredictionSettings settings;
    for (int i = 0; i < PredictionSettings::kFlagCount; ++i)
        settings.setFlag(i, start[i]);
    settings.ReadInitFile();
    return settings.flags();
}

class SettingsFile : public ::testing::Test {
protected:
    fixture::InTemporaryDirectory cwd;
};

TEST_F(SettingsFile, WritesAndReadsTheWindowsProgramsFileInTheCurrentDirectory)
{
    fixture::writeBytes(kFile, QByteArray(5000, 'x')); // replaced as a whole
    PredictionSettings settings;
    for (int i : {0, 3, 8})
        settings.setFlag(i, true);
    ASSERT_TRUE(settings.WriteInitFile()) << settings.lastError().toStdString();
    EXPECT_EQ(fixture::readBytes(cwd.filePath(kFile)), kWindowsFile);
    EXPECT_EQ(QDir::current().entryList(QDir::Files | QDir::Hidden), QStringList{kFile}) << "no temporary file left";

    EXPECT_EQ(readFile(kWindowsFile, flagsWith({1, 2})), flagsWith({0, 3, 8}));
}

TEST_F(SettingsFile, KeysAreExactAndTheLastLineOfAKeyWins)
{
    const Flags start = flagsWith({0, 9});
    EXPECT_EQ(readFile(QStringLiteral("間隔分析Opt=True\r\n").toUtf8(), start), flagsWith({0, 1, 9}));
    EXPECT_EQ(readFile(QStringLiteral("頻度分析Opt=True\r\n頻度分析Opt=False\r\n").toUtf8()), flagsWith({}));
    EXPECT_EQ(readFile(QStringLiteral("頻度分析Opt=False\r\n頻度分析Opt=True\r\n").toUtf8()), flagsWith({0}));
    // Another key, other letter case, blanks around the key: none is one of the ten.
    EXPECT_EQ(readFile(QStringLiteral("出現頻度分析Opt=False\r\n頻度分析opt=False\r\n 頻度分析Opt=False\r\n"
                                      "分割データ分析Opt =False\r\n4分割傾向分析Opt=True\r\n")
                           .toUtf8(),
                       start),
              start);
}

TEST_F(SettingsFile, ValuesConvertAndLinesThatDoNotParseAreSkipped)
{
    const QString text
        = QStringLiteral("\r\n頻度分析Opt\r\n=True\r\n" // no "=", no key
                         "間隔分析Opt=\r\n" // no value: keeps True
                         "出現回数分析Opt=True=False\r\n" // pieces after the second are ignored
                         "バラツキ分析Opt==True\r\n" // the value is the empty second piece
                         "引っ張り分析Opt= true \n" // letter case and blanks of the value do not matter
                         "連番飛び石分析Opt=-1\r" // a number other than 0 is True; bare LF and CR end lines
                         "数字合計分析Opt=2.5\r\n"
                         "組合せパターン分析Opt=0\r\n"
                         "5分割傾向分析Opt=はい\r\n" // does not convert: keeps True
                         "分割データ分析Opt=False"); // the last line needs no line end
    const Flags start = flagsWith({1, 7, 8, 9});
    const Flags expected = flagsWith({1, 2, 4, 5, 6, 8});
    EXPECT_EQ(readFile(text.toUtf8(), start), expected);
    EXPECT_EQ(readFile("\xEF\xBB\xBF" + text.toUtf8(), start), expected) << "UTF-8 with a byte order mark";
}

TEST_F(SettingsFile, NothingInTheFileOrInItsPlaceStopsTheProgram)
{
    const Flags start = flagsWith({2, 7});
    PredictionSettings settings;
    settings.setFlag(2, true);
    settings.setFlag(7, true);
    settings.ReadInitFile();
    EXPECT_EQ(settings.flags(), start) << "no file";
    ASSERT_TRUE(QDir().mkdir(kFile));
    settings.ReadInitFile();
    EXPECT_EQ(settings.flags(), start) << "a directory";
    ASSERT_TRUE(QDir().rmdir(kFile));
    ASSERT_EQ(::mkfifo(QFile::encodeName(kFile).constData(), 0600), 0);
    settings.ReadInitFile(); // a pipe would wait for a writer
    EXPECT_EQ(settings.flags(), start) << "a pipe";
    ASSERT_TRUE(QFile::remove(kFile));
    EXPECT_EQ(readFile(QByteArray("頻度分析Opt=True\r\n") + QByteArray(2 << 20, ' '), start), start)
        << "not a settings file";

    // Random bytes, a key with a NUL inside, broken CP932, a 600,000-byte line, then good lines.
    std::mt19937 random(4);
    QByteArray noise(64 * 1024, '\0');
    for (char& c : noise)
        c = char(random() % 256);
    EXPECT_EQ(readFile(noise, start), start);
    const QByteArray bytes = noise + "\r\n" + QByteArray("\x95p\x93x\x95\xAA\x90\xCD\0Opt=True\r\n", 19)
        + "\x81\x82\x83=\x9F\r\n" + QByteArray(300000, '=') + QByteArray(300000, 'T') + "\r\n"
        + kWindowsFile.mid(kWindowsFile.indexOf("\x83o")); // バラツキ分析Opt=True onwards
    EXPECT_EQ(readFile(bytes, start), flagsWith({2, 3, 8}));
}

TEST_F(SettingsFile, ALinkToAPipeIsWrittenThroughAndAPipeNoOneReadsFailsAtOnce)
{
    ASSERT_EQ(::mkfifo("pipe", 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("pipe"), kFile));
    PredictionSettings settings;
    settings.setFlag(4, true);
    // The window writes at every click: with no reader it must not wait for one.
    EXPECT_FALSE(settings.WriteInitFile());
    EXPECT_TRUE(settings.isNewWriteFailure());
    EXPECT_EQ(settings.lastError().toStdString(), "読み手がいません");

    const int reader = ::open("pipe", O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    EXPECT_TRUE(settings.WriteInitFile()) << settings.lastError().toStdString();
    EXPECT_TRUE(settings.lastError().isEmpty());
    QByteArray received(4096, '\0');
    received.truncate(std::max<ssize_t>(0, ::read(reader, received.data(), received.size())));
    ::close(reader);
    EXPECT_EQ(received, settings.toFileBytes());
    EXPECT_TRUE(QFileInfo(kFile).isSymLink());
    EXPECT_TRUE(fixture::isFifo(QStringLiteral("pipe")));
}

} // namespace
