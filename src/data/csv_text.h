#pragma once
// The CSV text every file of the program shares: how a line splits into fields and how a value is
// written as one.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace csv_text {

// Splits one line into its fields, each as it stands (blanks kept). A field that starts with a
// quote is quoted up to its closing quote, "" standing for a quote inside; quoted, when given,
// says for each field whether it was. False when a quote is left open.
bool split(const QString& line, QStringList& fields, QList<bool>* quoted = nullptr);

// A value as a field: quoted when it holds a comma, a quote, a line break or blanks at its ends.
QByteArray field(const QString& value);

} // namespace csv_text
