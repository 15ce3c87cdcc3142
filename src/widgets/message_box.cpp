#include "widgets/message_box.h"

#include "widgets/modal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeySequence>
#include <QPointer>

namespace {
MessageInterceptor& interceptor()
{
    static MessageInterceptor current;
    return current;
}

// The buttons the program's boxes use, named in Japanese whether or not Qt's own translation is
// installed. Each keeps the key it has in English (Y, N, C, also with Alt), which the box
// answers to.
struct ButtonText {
    QMessageBox::StandardButton button;
    const char16_t* text;
    Qt::Key key;
};
constexpr ButtonText kButtonTexts[] = {
    {QMessageBox::Yes, u"はい", Qt::Key_Y},
    {QMessageBox::No, u"いいえ", Qt::Key_N},
    {QMessageBox::Ok, u"OK", Qt::Key_unknown},
    {QMessageBox::Cancel, u"キャンセル", Qt::Key_C},
};
} // namespace

QMessageBox::StandardButton showMessage(const MessageRequest& request)
{
    if (interceptor())
        return interceptor()(request);
    // A parent that goes while the box is open takes the box with it: then no button was chosen.
    auto* box = new QMessageBox(request.icon, request.title, request.text, request.buttons, request.parent);
    for (const ButtonText& name : kButtonTexts) {
        if (QAbstractButton* button = box->button(name.button)) {
            button->setText(QString::fromUtf16(name.text));
            if (name.key != Qt::Key_unknown)
                button->setShortcut(QKeySequence(Qt::ALT | name.key));
        }
    }
    if (request.defaultButton != QMessageBox::NoButton)
        box->setDefaultButton(request.defaultButton);
    // Once the box is gone, the window it came from has the keyboard again. Some window systems
    // (X without a window manager, for one) leave no window active after a modal box: the keys
    // still reach that window's focus widget, but none of its shortcuts would.
    const QPointer<QWidget> activeWindow = QApplication::activeWindow();
    const QPointer<QWidget> focus = QApplication::focusWidget();
    const auto chosen = static_cast<QMessageBox::StandardButton>(runModal(box).value_or(QMessageBox::NoButton));
    if (activeWindow && activeWindow->isVisible() && !activeWindow->isMinimized()) {
        activeWindow->activateWindow();
        if (focus && focus->window() == activeWindow && focus->isVisible())
            focus->setFocus(Qt::ActiveWindowFocusReason);
    }
    return chosen;
}

void setMessageInterceptor(MessageInterceptor newInterceptor)
{
    interceptor() = std::move(newInterceptor);
}
