#pragma once
// Where the program keeps its data: the draw database, the prediction window's settings file and
// the history that ships with it.
//
// A program run from a folder of its own that it may write (a build folder, a portable copy, with
// the shipped history beside it) keeps the database beside itself and the settings file in the
// current directory. An installed program (its history under ../share/numbers3zubarin) or one whose
// folder it may not write keeps them in the user's data and configuration folders instead:
// ~/.local/share/numbers3zubarin/ and ~/.config/numbers3zubarin/ (or where XDG_DATA_HOME and
// XDG_CONFIG_HOME say). A data folder given on the command line holds both.

#include <QString>

struct DataLocation {
    static const QString kFolderName; // numbers3zubarin, under the user's folders and share/

    QString database;
    QString settingsFile;
    QString shippedHistory;
    bool besideProgram = false; // the program's own folder (and the current directory)
    QString dataFolder; // the folder the user named, made absolute; empty when none

    // programDir: the folder of the executable. dataDir: a folder the user named, or empty.
    static DataLocation resolve(const QString& programDir, const QString& dataDir = QString());

    // A folder the user named: there, not there yet (made only when the user says so), or a
    // name that is no folder.
    enum class NamedFolder { None, Ready, Missing, NotAFolder };
    NamedFolder namedFolder() const;

    // Makes the folders the database and the settings file go into, where they are the user's.
    // False, with the reason, when one cannot be made.
    bool makeFolders(QString* reason) const;

    // The settings file that lies beside a database named on its own (the companion's --db),
    // as --data-dir puts them; empty when there is none.
    static QString settingsBeside(const QString& databasePath);
};
