#pragma once
// The prediction window's reflect flags and the settings file that keeps them from run to run.
//
// The file "ナンバーズ3ズバリン.ini" lies in the current directory: ten lines key=True|False in
// index order, CP932 with CRLF line ends, as the Windows program writes it. Reading is lenient
// (UTF-8 is read too, lines that do not parse are skipped) and never fails: a file that cannot
// be read leaves the flags as they are.

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

class PredictionSettings {
public:
    static constexpr int kFlagCount = 10;
    // The settings keys, index 0 to 9.
    static const std::array<QString, kFlagCount> kKeys;
    // Opened by its bare name: the current directory at the time of each read or write.
    static const QString kFileName;

    // All flags False until a file is read.
    explicit PredictionSettings(QString path = kFileName);

    bool flag(int index) const { return m_flags.at(index); }
    // True when the flag changed.
    bool setFlag(int index, bool value);
    const std::array<bool, kFlagCount>& flags() const { return m_flags; }
    // How many analyses are set to "反映する" (0 to 10).
    int reflectedCount() const;

    // Loads the flags from the file; a flag whose key stands on no good line keeps its value.
    void ReadInitFile();
    // Saves the flags, replacing the file as a whole so that a failed write leaves the old one
    // (a device or a pipe the name leads to is written as it is; see data/file_write.h).
    // False when the file could not be written; lastError() says why.
    bool WriteInitFile();
    QString lastError() const { return m_lastError; }
    // True when the last write failed and the one before it had not: the failure to tell the
    // user about, once, rather than at every click.
    bool isNewWriteFailure() const { return !m_lastWriteOk && m_previousWriteOk; }

    const QString& path() const { return m_path; }

    // The file's text for these flags, and the reading of a file's bytes into them.
    QByteArray toFileBytes() const;
    void applyFileBytes(const QByteArray& bytes);

    // "True", "False" or a number (0 is False); blanks around it and the letter case of the
    // words do not matter. Empty when the text does not convert.
    static std::optional<bool> toBoolean(const QString& value);

private:
    QString m_path;
    std::array<bool, kFlagCount> m_flags{};
    QString m_lastError;
    bool m_lastWriteOk = true;
    bool m_previousWriteOk = true;
};
