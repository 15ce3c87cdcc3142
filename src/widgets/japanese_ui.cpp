#include "widgets/japanese_ui.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

QString qtTranslationsFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

QTranslator* installJapaneseQtTranslation(const QString& folder)
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    // qt_ja gathers the catalogues of every Qt module; qtbase_ja alone holds what the widgets
    // show, and is enough where a module's catalogue is missing.
    for (const QString& name : {QStringLiteral("qt_ja"), QStringLiteral("qtbase_ja")}) {
        if (translator->load(name, folder) && QCoreApplication::installTranslator(translator))
            return translator;
    }
    delete translator;
    return nullptr;
}
