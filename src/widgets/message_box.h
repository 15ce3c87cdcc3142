#pragma once
// Every message box of the program goes through here, so its text, title, icon and buttons
// are decided in one place and tests can answer a box instead of a user.

#include <QMessageBox>
#include <QString>
#include <functional>

// The title of the program's messages; the dash is the full-width hyphen-minus.
inline const QString kMessageTitle = QStringLiteral("メッセ－ジ");

struct MessageRequest {
    QWidget* parent = nullptr;
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Shows a modal box and returns the button chosen.
QMessageBox::StandardButton showMessage(const MessageRequest& request);

// While set, boxes are not shown: the interceptor sees each request and answers it.
using MessageInterceptor = std::function<QMessageBox::StandardButton(const MessageRequest&)>;
void setMessageInterceptor(MessageInterceptor interceptor);
