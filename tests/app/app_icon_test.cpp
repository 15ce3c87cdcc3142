// The program's icon on its windows: the main window, a window inside it and the version
// window, as main() sets it.

#include "app/main_frm.h"
#include "widgets/app_icon.h"
#include "support/history_builder.h"
#include "support/main_window_fixture.h"

#include <QApplication>
#include <QImage>
#include <QMdiSubWindow>
#include <gtest/gtest.h>

namespace {

QImage at(const QIcon& icon, int size)
{
    return icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST(AppIcon, EverySizeIsBuiltInAndEveryWindowShowsIt)
{
    const QIcon icon = appIcon();
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QImage image = at(icon, size);
        ASSERT_EQ(image.size(), QSize(size, size)) << size;
        // Drawn, not blank: the middle of the icon is covered.
        EXPECT_GT(qAlpha(image.pixel(size / 2, size / 2)), 200) << size;
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
    }

    installAppIcon();
    auto main = fixture::mainWindowOver(fixture::history({{1, 1, 1, 5}, {2, 0, 5, 9}}));
    main->show();
    auto* child = qobject_cast<QMdiSubWindow*>(main->openChild(QStringLiteral("出現頻度分析")));
    ASSERT_NE(child, nullptr);
    QWidget* about = main->openChild(QStringLiteral("バージョン情報"));
    ASSERT_NE(about, nullptr);
    for (QWidget* window : {static_cast<QWidget*>(main.get()), static_cast<QWidget*>(child), about}) {
        for (const int size : {16, 32})
            EXPECT_EQ(at(window->windowIcon(), size), at(icon, size)) << window->windowTitle().toStdString() << size;
    }
    main.reset();
    QApplication::setWindowIcon(QIcon());
}

} // namespace
