#include "app/version_window.h"

#include <QDir>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

バージョン情報::バージョン情報(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("バージョン情報"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    Label1 = new QLabel(QStringLiteral("ナンバーズ３ズバリン"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont titleFont = Label1->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
    titleFont.setBold(true);
    Label1->setFont(titleFont);

    Label2 = new QLabel(QStringLiteral(" Ver1.10"), this);
    Label2->setObjectName(QStringLiteral("Label2"));

    Label3 = new QLabel(
        QStringLiteral(
            "　　　　　一発ズバリンと高額当選を狙う！！　　　　　　　　　　「ナンバーズ３次世代攻略ソフト」"),
        this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setWordWrap(true);
    Label3->setFixedWidth(
        Label3->fontMetrics().horizontalAdvance(QStringLiteral("　　　　　一発ズバリンと高額当選を狙う！！　")) + 8);

    databaseLabel = new QLabel(this);
    databaseLabel->setObjectName(QStringLiteral("databaseLabel"));
    databaseLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    databaseLabel->setWordWrap(true);
    databaseLabel->setFixedWidth(Label3->width());
    databaseLabel->hide();

    Command1 = new QPushButton(QStringLiteral("閉じる"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, [this] { close(); });

    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(Label1);
    titleRow->addWidget(Label2, 0, Qt::AlignBottom);
    titleRow->addStretch();

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(Command1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(titleRow);
    layout->addSpacing(8);
    layout->addWidget(Label3);
    layout->addSpacing(8);
    layout->addWidget(databaseLabel);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void バージョン情報::showDatabase(const QString& path)
{
    databaseLabel->setText(QStringLiteral("データベース: %1").arg(QDir::toNativeSeparators(path)));
    databaseLabel->setVisible(!path.isEmpty());
}
