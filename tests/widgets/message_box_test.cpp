// The program's message boxes as the user sees them: Japanese buttons whether or not Qt's own
// translation is there, and Qt's Japanese translation where it is installed.

#include "widgets/japanese_ui.h"
#include "widgets/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Shows a real box through showMessage and hands it, once it is up, to the answer.
QMessageBox::StandardButton showAndAnswer(QMessageBox::StandardButtons buttons,
                                          const std::function<void(QMessageBox*)>& answer)
{
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && box->isVisible()) {
            poll.stop();
            // Shortcuts reach only the active window; a slow run may get here before it is.
            box->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(box));
            answer(box);
        }
    });
    poll.start();
    QTimer::singleShot(5000, [] {
        if (QWidget* box = QApplication::activeModalWidget())
            box->close(); // the test fails below rather than hang
    });
    return showMessage({nullptr, QStringLiteral("よろしいですか？"), kMessageTitle, QMessageBox::Warning, buttons,
                        QMessageBox::NoButton});
}

QStringList buttonTexts(QMessageBox* box)
{
    QStringList texts;
    for (QAbstractButton* button : box->buttons())
        texts << button->text();
    texts.sort();
    return texts;
}

TEST(MessageBox, ButtonsAreJapaneseWithoutQtsTranslationAndKeepTheirKeys)
{
    setMessageInterceptor({});
    QStringList seen;
    // Answered with N, as the English box was.
    EXPECT_EQ(showAndAnswer(QMessageBox::Yes | QMessageBox::No,
                            [&](QMessageBox* box) {
                                seen = buttonTexts(box);
                                QTest::keyClick(box, Qt::Key_N);
                            }),
              QMessageBox::No);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("いいえ"), QStringLiteral("はい")}));
    EXPECT_EQ(showAndAnswer(QMessageBox::Yes | QMessageBox::No,
                            [&](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Y, Qt::AltModifier); }),
              QMessageBox::Yes);
    EXPECT_EQ(showAndAnswer(QMessageBox::Ok | QMessageBox::Cancel,
                            [&](QMessageBox* box) {
                                seen = buttonTexts(box);
                                QTest::keyClick(box, Qt::Key_Escape);
                            }),
              QMessageBox::Cancel);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("OK"), QStringLiteral("キャンセル")}));
    EXPECT_EQ(showAndAnswer(QMessageBox::Ok, [&](QMessageBox* box) { box->button(QMessageBox::Ok)->click(); }),
              QMessageBox::Ok);
}

TEST(JapaneseUi, QtsOwnTranslationLoadsWhereItIsInstalled)
{
    // A folder without it: nothing is installed, and Qt keeps its English texts.
    QTemporaryDir empty;
    EXPECT_EQ(installJapaneseQtTranslation(empty.path()), nullptr);
    EXPECT_FALSE(QDialogButtonBox(QDialogButtonBox::Cancel)
                     .button(QDialogButtonBox::Cancel)
                     ->text()
                     .startsWith(QStringLiteral("キャンセル")));

    if (!QFileInfo::exists(qtTranslationsFolder() + QStringLiteral("/qtbase_ja.qm")))
        GTEST_SKIP() << "Qt's Japanese translation is not installed (Debian: qt6-translations-l10n)";
    QTranslator* translator = installJapaneseQtTranslation();
    ASSERT_NE(translator, nullptr);
    // What Qt's own dialogs show: the standard buttons of a file or print dialog.
    EXPECT_TRUE(QDialogButtonBox(QDialogButtonBox::Cancel)
                    .button(QDialogButtonBox::Cancel)
                    ->text()
                    .startsWith(QStringLiteral("キャンセル")));
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

} // namespace
