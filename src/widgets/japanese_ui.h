#pragma once
// Qt's own texts in Japanese: the standard buttons, the file and print dialogs, the context menus
// of text fields. They come from the translations installed with Qt (Debian package
// qt6-translations-l10n); where those are missing, Qt shows its English texts, and the program's
// own message boxes still name their buttons in Japanese (message_box.cpp).

#include <QString>

class QTranslator;

// Where Qt keeps its translations.
QString qtTranslationsFolder();

// Loads Qt's Japanese translation from the folder and installs it in the application, which owns
// it from then on. Returns it, or nullptr when the folder holds none (nothing is installed).
QTranslator* installJapaneseQtTranslation(const QString& folder = qtTranslationsFolder());
