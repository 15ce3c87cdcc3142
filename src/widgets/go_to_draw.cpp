#include "widgets/go_to_draw.h"

#include "data/draw.h"
#include "widgets/modal.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

// Five digits hold every draw number; full-width ones come from an input method left on.
const QRegularExpression kDigits(QRegularExpression::anchoredPattern(QStringLiteral("[0-9０-９]{0,5}")));

} // namespace

GoToDrawDialog::GoToDrawDialog(QWidget* parent, const QString& typed, Refusal refusal)
    : QDialog(parent), m_refusal(std::move(refusal))
{
    setObjectName(QStringLiteral("GoToDrawDialog"));
    setWindowTitle(QStringLiteral("回数へ移動"));

    m_number = new QLineEdit(this);
    m_number->setObjectName(QStringLiteral("drawNoBox"));
    m_number->setValidator(new QRegularExpressionValidator(kDigits, m_number));
    m_number->setMaxLength(5);
    m_number->setMinimumWidth(m_number->fontMetrics().horizontalAdvance(QStringLiteral("０００００")) + 16);
    if (kDigits.match(typed).hasMatch())
        m_number->setText(typed);
    m_number->setCursorPosition(int(m_number->text().size()));

    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("messageLabel"));
    m_message->setWordWrap(true);
    m_message->setTextFormat(Qt::PlainText);
    QPalette palette = m_message->palette();
    palette.setColor(QPalette::WindowText, QColor(200, 0, 0));
    m_message->setPalette(palette);
    m_message->hide();
    connect(m_number, &QLineEdit::textEdited, m_message, &QWidget::hide);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setText(QStringLiteral("OK"));
    m_ok->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    // Room for what the dialog may say, so that the dialog does not widen when it says it.
    buttons->setMinimumWidth(fontMetrics().horizontalAdvance(QString(21, QChar(0x3042))));
    connect(buttons, &QDialogButtonBox::accepted, this, &GoToDrawDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &GoToDrawDialog::reject);

    auto* form = new QFormLayout;
    auto* label = new QLabel(QStringLiteral("回数(&N):"), this);
    label->setBuddy(m_number);
    form->addRow(label, m_number);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_message);
    layout->addWidget(buttons);
    // The width stays as it opens; the height takes what the dialog says.
    setFixedSize(sizeHint());
    m_number->setFocus();
}

std::optional<int> GoToDrawDialog::numberOf(const QString& text)
{
    if (text.isEmpty() || !kDigits.match(text).hasMatch())
        return std::nullopt;
    int n = 0;
    for (const QChar c : text)
        n = n * 10 + c.digitValue();
    return n;
}

void GoToDrawDialog::accept()
{
    const std::optional<int> n = numberOf(m_number->text());
    if (!n) {
        refuse(QStringLiteral("回数を数字で入力してください。"));
        return;
    }
    if (*n < 1 || *n > draw::kMaxDrawNo) {
        refuse(QStringLiteral("回数は1～%1の数字で入力してください。").arg(draw::kMaxDrawNo));
        return;
    }
    if (m_refusal) {
        if (const QString why = m_refusal(*n); !why.isEmpty()) {
            refuse(why);
            return;
        }
    }
    m_drawNo = *n;
    QDialog::accept();
}

void GoToDrawDialog::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    // A dialog that shows gives its first field the focus as the Tab key would, which selects
    // the field's text: the digit typed would go with the next key.
    if (visible && !m_shown) {
        m_shown = true;
        m_number->deselect();
        m_number->setCursorPosition(int(m_number->text().size()));
    }
}

void GoToDrawDialog::refuse(const QString& why)
{
    m_message->setText(why);
    m_message->show();
    setFixedHeight(layout()->totalHeightForWidth(width()));
    m_number->selectAll();
    m_number->setFocus();
}

std::optional<int> askDrawNo(QWidget* parent, const QString& typed, const GoToDrawDialog::Refusal& refusal)
{
    // As after a message box: once the dialog is gone, the window it came from has the keyboard
    // again, also where the window system leaves no window active after a modal one.
    const QPointer<QWidget> activeWindow = QApplication::activeWindow();
    const QPointer<QWidget> focus = QApplication::focusWidget();
    int drawNo = 0;
    const std::optional<int> result = runModal(new GoToDrawDialog(parent, typed, refusal),
                                               [&drawNo](GoToDrawDialog& dialog) { drawNo = dialog.drawNo(); });
    if (activeWindow && activeWindow->isVisible() && !activeWindow->isMinimized()) {
        activeWindow->activateWindow();
        if (focus && focus->window() == activeWindow && focus->isVisible())
            focus->setFocus(Qt::ActiveWindowFocusReason);
    }
    if (!result || *result != QDialog::Accepted)
        return std::nullopt;
    return drawNo;
}
