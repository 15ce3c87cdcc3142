#pragma once
// Running a dialog modally when its parent may go while it is open (the program ending while a
// box or a preview waits for an answer): the dialog is made on the heap, so the parent takes it
// along, once, instead of a stack object being deleted twice.

#include <QDialog>
#include <QPointer>
#include <optional>

// Runs the dialog, lets `read` take what the caller needs from it, and deletes it. Nothing when
// the dialog went with its parent meanwhile: then it was not answered.
template <typename Dialog, typename Read> std::optional<int> runModal(Dialog* made, Read read)
{
    const QPointer<Dialog> dialog = made;
    const int result = dialog->exec();
    if (!dialog)
        return std::nullopt;
    read(*dialog);
    delete dialog.data();
    return result;
}

template <typename Dialog> std::optional<int> runModal(Dialog* made)
{
    return runModal(made, [](Dialog&) {});
}
