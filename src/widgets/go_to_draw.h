#pragma once
// 回数へ移動: asking for a draw number to go to, in any window that lists the draws.

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

// A small dialog: a number box for the 回数 (ASCII or full-width digits), a line that says why
// a number cannot be gone to, OK and キャンセル; Enter is OK.
class GoToDrawDialog : public QDialog {
    Q_OBJECT

public:
    // Why the window cannot go to a draw (it has no row for it); empty when it can.
    using Refusal = std::function<QString(int drawNo)>;

    // typed: what the number box starts with (the digit that opened the dialog), the cursor
    // after it.
    GoToDrawDialog(QWidget* parent, const QString& typed, Refusal refusal);

    QLineEdit* numberBox() const { return m_number; }
    // Why the last OK did not go; hidden while there is nothing to say.
    QLabel* messageLabel() const { return m_message; }
    QPushButton* okButton() const { return m_ok; }
    // The number the dialog was accepted with.
    int drawNo() const { return m_drawNo; }

    // OK: closes the dialog only with a number the window can go to; else says why and stays.
    void accept() override;
    void setVisible(bool visible) override;

    // The number a text of digits stands for (full-width digits too); nothing when it holds
    // anything else or nothing.
    static std::optional<int> numberOf(const QString& text);

private:
    void refuse(const QString& why);

    Refusal m_refusal;
    QLineEdit* m_number = nullptr;
    QLabel* m_message = nullptr;
    QPushButton* m_ok = nullptr;
    int m_drawNo = 0;
    bool m_shown = false;
};

// Asks for a draw number ("回数へ移動"), the number box holding `typed`. refusal, where given,
// says why a number cannot be gone to; the dialog then says so and stays open. Nothing when the
// user cancels (or the parent went while the dialog was open).
std::optional<int> askDrawNo(QWidget* parent, const QString& typed = {}, const GoToDrawDialog::Refusal& refusal = {});
