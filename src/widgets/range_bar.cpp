#include "widgets/range_bar.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QToolButton>

namespace {

QLabel* textLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    return label;
}

QSpinBox* drawBox(const QString& name, QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(1, RangeChoice::kMaxDrawNo);
    box->setAccelerated(true);
    // A number being typed is applied with Enter (or when the box is left), not at each key.
    box->setKeyboardTracking(false);
    return box;
}

// A label cut short to its width, as it is laid out.
class ElidedLabel : public QLabel {
public:
    using QLabel::QLabel;

    void setFullText(const QString& text)
    {
        m_full = text;
        setToolTip(text);
        elide();
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QLabel::resizeEvent(event);
        elide();
    }

private:
    void elide() { setText(fontMetrics().elidedText(m_full, Qt::ElideRight, contentsRect().width())); }

    QString m_full;
};

} // namespace

RangeBar::RangeBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("rangeBar"));
    // A window tiled narrower than the bar cuts it short rather than being held wide by it.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto* row = new QHBoxLayout(this);
    // The bar's controls set no minimum on the window it lies in (see the size policy).
    row->setSizeConstraint(QLayout::SetNoConstraint);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);

    kindBox = new QComboBox(this);
    kindBox->setObjectName(QStringLiteral("rangeKind"));
    kindBox->addItem(QStringLiteral("全期間"), int(RangeChoice::Kind::All));
    kindBox->addItem(QStringLiteral("直近N回"), int(RangeChoice::Kind::Last));
    kindBox->addItem(QStringLiteral("開始回〜終了回"), int(RangeChoice::Kind::Between));
    auto* kindLabel = textLabel(QStringLiteral("期間(&K):"), this);
    kindLabel->setBuddy(kindBox);
    row->addWidget(kindLabel);
    row->addWidget(kindBox);

    m_lastPart = new QWidget(this);
    auto* lastRow = new QHBoxLayout(m_lastPart);
    lastRow->setContentsMargins(0, 0, 0, 0);
    lastRow->setSpacing(2);
    lastBox = new QComboBox(m_lastPart);
    lastBox->setObjectName(QStringLiteral("rangeLast"));
    lastBox->setEditable(true);
    lastBox->setInsertPolicy(QComboBox::NoInsert);
    for (const int n : kQuickChoices)
        lastBox->addItem(QString::number(n));
    lastBox->setValidator(new QIntValidator(1, RangeChoice::kMaxDrawNo, lastBox));
    lastBox->setMinimumContentsLength(5);
    lastBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    lastRow->addWidget(textLabel(QStringLiteral("直近"), m_lastPart));
    lastRow->addWidget(lastBox);
    lastRow->addWidget(textLabel(QStringLiteral("回"), m_lastPart));
    row->addWidget(m_lastPart);

    m_betweenPart = new QWidget(this);
    auto* betweenRow = new QHBoxLayout(m_betweenPart);
    betweenRow->setContentsMargins(0, 0, 0, 0);
    betweenRow->setSpacing(2);
    fromBox = drawBox(QStringLiteral("rangeFrom"), m_betweenPart);
    toBox = drawBox(QStringLiteral("rangeTo"), m_betweenPart);
    betweenRow->addWidget(textLabel(QStringLiteral("第"), m_betweenPart));
    betweenRow->addWidget(fromBox);
    betweenRow->addWidget(textLabel(QStringLiteral("回 〜 第"), m_betweenPart));
    betweenRow->addWidget(toBox);
    betweenRow->addWidget(textLabel(QStringLiteral("回"), m_betweenPart));
    row->addWidget(m_betweenPart);

    menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("rangeMenu"));
    QAction* all = menu->addAction(QStringLiteral("全期間"));
    connect(all, &QAction::triggered, this, [this] {
        showKind(RangeChoice::Kind::All);
        kindBox->setCurrentIndex(0);
        apply();
    });
    for (const int n : kQuickChoices) {
        QAction* quick = menu->addAction(QStringLiteral("直近%1回").arg(n));
        connect(quick, &QAction::triggered, this, [this, n] {
            lastBox->setEditText(QString::number(n));
            kindBox->setCurrentIndex(1);
            apply();
        });
    }
    menu->addSeparator();
    QAction* toAll = menu->addAction(QStringLiteral("この期間をすべてのウィンドウに"));
    toAll->setObjectName(QStringLiteral("rangeToAll"));
    connect(toAll, &QAction::triggered, this, [this] { Q_EMIT applyToAllRequested(m_shown); });
    menuButton = new QToolButton(this);
    menuButton->setObjectName(QStringLiteral("rangeMenuButton"));
    menuButton->setText(QStringLiteral("期間のメニュー"));
    menuButton->setToolTip(QStringLiteral("期間のメニュー"));
    menuButton->setArrowType(Qt::DownArrow);
    menuButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    menuButton->setPopupMode(QToolButton::InstantPopup);
    // The arrow says it all; the style's own menu mark beside it would say it twice.
    menuButton->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"));
    menuButton->setMenu(menu);
    row->addWidget(menuButton);

    coverLabel = new ElidedLabel(this);
    coverLabel->setObjectName(QStringLiteral("rangeCover"));
    // Never holds the window wide: a label that does not fit is cut short, whole in its tip.
    coverLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    coverLabel->setMinimumWidth(0);
    row->addSpacing(6);
    row->addWidget(coverLabel, 1);

    connect(kindBox, &QComboBox::activated, this, [this] {
        showKind(choice().kind);
        apply();
    });
    connect(lastBox, &QComboBox::activated, this, [this] { apply(); });
    connect(lastBox->lineEdit(), &QLineEdit::returnPressed, this, [this] { apply(); });
    for (QSpinBox* box : {fromBox, toBox})
        connect(box, &QSpinBox::valueChanged, this, [this] { apply(); });

    showKind(RangeChoice::Kind::All);
}

RangeChoice RangeBar::choice() const
{
    switch (RangeChoice::Kind(kindBox->currentData().toInt())) {
    case RangeChoice::Kind::All:
        break;
    case RangeChoice::Kind::Last: {
        bool ok = false;
        const int n = lastBox->currentText().trimmed().toInt(&ok);
        return RangeChoice::lastDraws(ok && n >= 1 && n <= RangeChoice::kMaxDrawNo ? n : m_shown.last);
    }
    case RangeChoice::Kind::Between:
        return RangeChoice::between(fromBox->value(), toBox->value());
    }
    return RangeChoice::all();
}

void RangeBar::showChoice(const RangeChoice& choice, const DrawRange& span)
{
    m_showing = true;
    m_shown = choice;
    kindBox->setCurrentIndex(kindBox->findData(int(choice.kind)));
    lastBox->setEditText(QString::number(choice.last));
    const DrawRange between = choice.kind == RangeChoice::Kind::Between ? DrawRange{choice.from, choice.to} : span;
    fromBox->setValue(between.from);
    toBox->setValue(between.to);
    showKind(choice.kind);
    m_showing = false;
}

void RangeBar::setCoverText(const QString& text)
{
    m_coverText = text;
    static_cast<ElidedLabel*>(coverLabel)->setFullText(text);
}

void RangeBar::showKind(RangeChoice::Kind kind)
{
    m_lastPart->setVisible(kind == RangeChoice::Kind::Last);
    m_betweenPart->setVisible(kind == RangeChoice::Kind::Between);
}

void RangeBar::apply()
{
    if (m_showing)
        return;
    const RangeChoice wanted = choice();
    // A number typed out of range (or no number) goes back to the one in use.
    if (wanted.kind == RangeChoice::Kind::Last)
        lastBox->setEditText(QString::number(wanted.last));
    if (wanted == m_shown)
        return;
    m_shown = wanted;
    Q_EMIT chosen(wanted);
}
