#include "widgets/message_box.h"

namespace {
MessageInterceptor& interceptor()
{
    static MessageInterceptor current;
    return current;
}
} // namespace

QMessageBox::StandardButton showMessage(const MessageRequest& request)
{
    if (interceptor())
        return interceptor()(request);
    QMessageBox box(request.icon, request.title, request.text, request.buttons, request.parent);
    if (request.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(request.defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void setMessageInterceptor(MessageInterceptor newInterceptor)
{
    interceptor() = std::move(newInterceptor);
}
