#include "windows/prediction_window.h"

#include "widgets/grid_output.h"
#include "widgets/grid_view.h"
#include "widgets/range_bar.h"
#include "widgets/hourglass.h"
#include "widgets/message_box.h"
#include "grid/units.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

// Index 8 names the analysis the program has: the five-class trend.
const std::array<QString, 一発ズバリン::kOptionCount> 一発ズバリン::kOptionCaptions = {
    QStringLiteral("■頻度分析（出現頻度分析）"),
    QStringLiteral("■間隔分析（出現間隔分析）"),
    QStringLiteral("■出現回数分析"),
    QStringLiteral("■バラツキ分析"),
    QStringLiteral("■引っ張り分析"),
    QStringLiteral("■連番・飛び石分析"),
    QStringLiteral("■数字合計分析"),
    QStringLiteral("■組合せパターン分析"),
    QStringLiteral("■5分割傾向分析"),
    QStringLiteral("■分割データ分析"),
    QStringLiteral("■下一桁出現傾向分析"),
    QStringLiteral("■下一桁連続出現回数分析"),
};

QMdiSubWindow* 一発ズバリン::load(WindowHost& host, const catalogue::WindowRecord& record,
                                  std::shared_ptr<PredictionSettings> settings)
{
    Hourglass hourglass;
    auto* window = new 一発ズバリン(host, record, std::move(settings));
    QMdiSubWindow* sub = window->openInHost(QSize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips)));

    window->m_settings->ReadInitFile();
    window->showFlags();
    window->m_history = host.currentHistory();
    window->m_drawn = window->rangeChoice().drawsOf(window->m_history);
    window->m_sheets.open(window->m_drawn);
    window->refresh();
    window->showRange();
    for (GridView* view : window->fpSpread1)
        view->setFixedSize(view->sizeHint());
    return sub;
}

bool 一発ズバリン::saveSettings(PredictionSettings& settings, QWidget* parent)
{
    if (settings.WriteInitFile())
        return true;
    if (settings.isNewWriteFailure()) {
        showMessage({parent,
                     QStringLiteral("予想オプションの設定を保存できません。\n\nファイル: %1\n理由: %2")
                         .arg(QFileInfo(settings.path()).absoluteFilePath(), settings.lastError()),
                     kMessageTitle, QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok});
    }
    return false;
}

一発ズバリン::一発ズバリン(WindowHost& host, const catalogue::WindowRecord& record,
                           std::shared_ptr<PredictionSettings> settings)
    : ChildFrame(host, record), m_settings(std::move(settings))
{
    LabelTarget = new QLabel;
    LabelTarget->setObjectName(QStringLiteral("LabelTarget"));
    QFont targetFont = LabelTarget->font();
    targetFont.setBold(true);
    LabelTarget->setFont(targetFont);

    Label19 = new QLabel(record.description);
    Label19->setObjectName(QStringLiteral("Label19"));
    Label19->setWordWrap(true);

    Cmd閉じる = makeCloseButton(QStringLiteral("Cmd閉じる"));
    Command2 = makePrintButton(QStringLiteral("Command2"));

    // The picks on the left with the description beside them, the options below, the buttons
    // at the bottom. Should a large font or a small window need more room than the window
    // has, the contents scroll rather than overlap; the buttons stay in view below them.
    auto* top = new QHBoxLayout;
    top->setSpacing(8);
    top->addWidget(buildPredictionFrame(), 0, Qt::AlignTop);
    top->addWidget(Label19, 1, Qt::AlignTop);

    auto* contents = new QWidget;
    auto* column = new QVBoxLayout(contents);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(4);
    column->addWidget(LabelTarget);
    column->addLayout(top);
    column->addWidget(buildOptionsFrame());
    column->addStretch(1);

    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(contents);
    // The window has no height to spare: the range bar, in the buttons' row, is no higher than
    // the buttons.
    auto* foot = new QHBoxLayout;
    foot->setContentsMargins(4, 0, 4, 4);
    foot->addWidget(makeFooter({Command2, Cmd閉じる}));
    rangeBar()->setMaximumHeight(Command2->sizeHint().height());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(scroll, 1);
    layout->addLayout(foot);
}

QWidget* 一発ズバリン::buildPredictionFrame()
{
    predictionFrame = new QGroupBox(QStringLiteral("当選予想"));
    predictionFrame->setObjectName(QStringLiteral("Frame当選予想"));
    auto* column = new QVBoxLayout(predictionFrame);
    column->setContentsMargins(4, 2, 4, 4);
    column->setSpacing(2);
    QLabel** labels[PredictionSheets::kGridCount] = {&Label1, &Label2, &Label3, &Label4};
    for (int g = 0; g < PredictionSheets::kGridCount; ++g) {
        QLabel* label = new QLabel(PredictionSheets::kTitles.at(g), predictionFrame);
        label->setObjectName(QStringLiteral("Label%1").arg(g + 1));
        *labels[g] = label;
        fpSpread1[g] = new GridView(&m_sheets.grid(g), predictionFrame);
        fpSpread1[g]->setObjectName(QStringLiteral("fpSpread1_%1").arg(g));
        column->addWidget(label);
        column->addWidget(fpSpread1[g], 0, Qt::AlignLeft);
        attachGridMenu(fpSpread1[g]);
    }
    // A row's picks can go into the ledger as the tickets they stand for.
    output().setMenuEntries([this](QMenu* menu, GridView* view, QPoint cell) {
        const auto found = std::find(fpSpread1.cbegin(), fpSpread1.cend(), view);
        if (found == fpSpread1.cend())
            return;
        const PredictionSheets::RowTickets tickets = m_sheets.ticketsAt(int(found - fpSpread1.cbegin()), cell.y());
        QAction* add = menu->addAction(QStringLiteral("購入記録に追加…"));
        add->setObjectName(QStringLiteral("mnuAddTickets"));
        add->setEnabled(!tickets.numbers.isEmpty());
        // The ledger opens once the menu has finished with the click.
        connect(
            add, &QAction::triggered, this, [this, tickets] { proposeTickets(tickets); }, Qt::QueuedConnection);
    });
    return predictionFrame;
}

QWidget* 一発ズバリン::buildOptionsFrame()
{
    optionsFrame = new QGroupBox(QStringLiteral("データ分析オプション"));
    optionsFrame->setObjectName(QStringLiteral("Frameデータ分析オプション"));
    // Three frames of two buttons side by side only just fit the window's width.
    optionsFrame->setStyleSheet(QStringLiteral("QRadioButton { spacing: 3px; }"));
    auto* column = new QVBoxLayout(optionsFrame);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);
    Label15 = new QLabel(QStringLiteral("各データ分析の分析結果を当選予想へ反映するかを設定します。"), optionsFrame);
    Label15->setObjectName(QStringLiteral("Label15"));
    Label15->setWordWrap(true);
    column->addWidget(Label15);

    // Three columns of four, read downwards: the two long captions share the first column.
    auto* frames = new QGridLayout;
    frames->setHorizontalSpacing(2);
    frames->setVerticalSpacing(0);
    constexpr int kFramesPerColumn = 4;
    for (int i = 0; i < kOptionCount; ++i) {
        auto* frame = new QGroupBox(kOptionCaptions[i], optionsFrame);
        frame->setObjectName(QStringLiteral("FrameOpt%1").arg(i));
        optionFrames[i] = frame;
        Opt反映する[i] = new QRadioButton(QStringLiteral("反映する"), frame);
        Opt反映する[i]->setObjectName(QStringLiteral("Opt反映する_%1").arg(i));
        Opt反映しない[i] = new QRadioButton(QStringLiteral("反映しない"), frame);
        Opt反映しない[i]->setObjectName(QStringLiteral("Opt反映しない_%1").arg(i));
        Opt反映しない[i]->setChecked(true);
        auto* pair = new QHBoxLayout(frame);
        pair->setContentsMargins(2, 0, 2, 0);
        pair->setSpacing(2);
        pair->addWidget(Opt反映する[i]);
        pair->addWidget(Opt反映しない[i]);
        pair->addStretch(1);
        connect(Opt反映する[i], &QRadioButton::clicked, this, [this, i] { Opt反映する_Click(i); });
        connect(Opt反映しない[i], &QRadioButton::clicked, this, [this, i] { Opt反映しない_Click(i); });
        frames->addWidget(frame, i % kFramesPerColumn, i / kFramesPerColumn);
    }
    column->addLayout(frames);
    return optionsFrame;
}

void 一発ズバリン::showFlags()
{
    // Selecting a button from code raises no click: the picks come once, at the end of opening.
    for (int i = 0; i < PredictionSettings::kFlagCount; ++i)
        (m_settings->flag(i) ? Opt反映する : Opt反映しない)[i]->setChecked(true);
}

void 一発ズバリン::Opt反映する_Click(int index)
{
    optionClicked(index, true);
}

void 一発ズバリン::Opt反映しない_Click(int index)
{
    optionClicked(index, false);
}

void 一発ズバリン::optionClicked(int index, bool reflect)
{
    if (index < 0 || index >= kOptionCount)
        return;
    (reflect ? Opt反映する : Opt反映しない)[index]->setChecked(true);
    // The file always holds the current choices: reopening the window reads it, and a crash
    // must not lose them.
    if (index < PredictionSettings::kFlagCount && m_settings->setFlag(index, reflect))
        saveSettings(*m_settings, this);
    refresh();
}

QStringList 一発ズバリン::shownNotes() const
{
    QStringList notes{PredictionSheets::targetText(m_drawn)};
    QString line = QStringLiteral("データ分析オプション:");
    constexpr int kPerLine = 3;
    for (int i = 0; i < PredictionSettings::kFlagCount; ++i) {
        if (i > 0 && i % kPerLine == 0) {
            notes << line;
            line.clear();
        }
        line += QStringLiteral("　%1 %2").arg(
            kOptionCaptions[i].mid(1), m_settings->flag(i) ? QStringLiteral("反映する") : QStringLiteral("反映しない"));
    }
    notes << line;
    return notes;
}

void 一発ズバリン::proposeTickets(const PredictionSheets::RowTickets& tickets)
{
    // For the next draw of the whole history, whatever stretch of it the picks come from: a
    // ticket is bought for a draw still to come.
    const int next = std::min(m_history.lastDrawNo() + 1, RangeChoice::kMaxDrawNo);
    QVector<ticket::Line> lines;
    for (const QString& number : tickets.numbers) {
        ticket::Line line;
        line.number = number;
        line.type = tickets.type;
        line.firstDraw = next;
        lines << line;
    }
    host().proposeTickets(lines);
}

void 一発ズバリン::refresh()
{
    LabelTarget->setText(PredictionSheets::targetText(m_drawn));
    m_sheets.refresh(m_settings->reflectedCount());
    for (GridView* view : fpSpread1)
        view->gridChanged();
}

void 一発ズバリン::computeFrom(const History& history)
{
    m_computedDrawn = rangeChoice().drawsOf(history);
    m_sheets.setHistory(m_computedDrawn);
    m_computedHistory = history;
}

void 一発ズバリン::showComputed()
{
    m_history = m_computedHistory;
    m_drawn = m_computedDrawn;
    refresh();
    showRange();
}
