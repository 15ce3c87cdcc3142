#include "app/draw_day_status.h"

#include "data/draw.h"
#include "data/history.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

using draw_calendar::Standing;

namespace {

QString drawWithDay(int drawNo, const QDate& day)
{
    return day.isValid() ? QStringLiteral("第%1回（%2）").arg(drawNo).arg(draw::dateText(day))
                         : QStringLiteral("第%1回").arg(drawNo);
}

} // namespace

QString standingText(const Standing& standing)
{
    QString text = standing.latestDrawNo > 0
        ? QStringLiteral("最新 %1").arg(drawWithDay(standing.latestDrawNo, standing.latestDay))
        : QStringLiteral("当選データはまだありません");
    text += QStringLiteral("　次回 %1").arg(drawWithDay(standing.nextDrawNo, standing.nextDay));
    if (standing.missing > 0)
        text += QStringLiteral("　未入力 約%1回").arg(standing.missing);
    return text;
}

QString MissingDrawsHint::text(const Standing& standing)
{
    const QString since = standing.latestDrawNo > 0
        ? QStringLiteral("当選データは%1までです。\n").arg(drawWithDay(standing.latestDrawNo, standing.latestDay))
        : QStringLiteral("当選データはまだありません。\n");
    return since
        + QStringLiteral("%1から今日までに、約%2回の抽せんがありました。\n\n"
                         "新しい当選番号を当選データ入力で入力するか、ファイルや貼り付けたテキストから"
                         "取り込むと、すべての分析と予想が最新になります。")
              .arg(drawWithDay(standing.nextDrawNo, standing.nextDay))
              .arg(QLocale::system().toString(standing.missing));
}

MissingDrawsHint::MissingDrawsHint(const Standing& standing, Actions actions, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("missingDrawsHint"));
    setWindowTitle(QStringLiteral("未入力の当選データ"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    auto* message = new QLabel(text(standing), this);
    message->setObjectName(QStringLiteral("hintText"));
    message->setWordWrap(true);
    message->setMinimumWidth(message->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 36);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* entry = buttons->addButton(QStringLiteral("当選データ入力(&I)"), QDialogButtonBox::AcceptRole);
    entry->setObjectName(QStringLiteral("hintEntry"));
    QPushButton* import = buttons->addButton(QStringLiteral("取り込み(&R)…"), QDialogButtonBox::ActionRole);
    import->setObjectName(QStringLiteral("hintImport"));
    QPushButton* guide = buttons->addButton(QStringLiteral("はじめに(&H)"), QDialogButtonBox::HelpRole);
    guide->setObjectName(QStringLiteral("hintGuide"));
    QPushButton* close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("hintClose"));
    entry->setDefault(true);
    entry->setFocus();

    // Each button closes the hint first: what it opens then has the focus.
    auto after = [this](std::function<void()> action) {
        return [this, action = std::move(action)] {
            this->close();
            if (action)
                action();
        };
    };
    connect(entry, &QPushButton::clicked, this, after(std::move(actions.openEntry)));
    connect(import, &QPushButton::clicked, this, after(std::move(actions.import)));
    connect(guide, &QPushButton::clicked, this, after(std::move(actions.showGuide)));
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message);
    layout->addWidget(buttons);
}

DrawDayStatus::DrawDayStatus(QStatusBar* bar, std::function<QDate()> today)
    : m_label(new QLabel(bar)), m_today(std::move(today))
{
    m_label->setObjectName(QStringLiteral("standing"));
    bar->addWidget(m_label, 1);
}

void DrawDayStatus::show(const History& history)
{
    m_standing = draw_calendar::standingOf(history, m_today());
    m_label->setText(standingText(m_standing));
}

QDialog* DrawDayStatus::offerHint(MissingDrawsHint::Actions actions, QWidget* parent)
{
    if (m_hinted || m_standing.missing <= 0)
        return nullptr;
    m_hinted = true;
    m_hint = new MissingDrawsHint(m_standing, std::move(actions), parent);
    m_hint->show();
    m_hint->raise();
    m_hint->activateWindow();
    return m_hint;
}
