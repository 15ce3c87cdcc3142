#pragma once
// One step of a window's 元に戻す / やり直し whose change is written as it is made: pushed once the
// write has happened (so pushing does nothing), then taken back and done again by the two
// functions, each of which writes and says whether it could.

#include <QString>
#include <QUndoCommand>
#include <functional>

class WrittenStep : public QUndoCommand {
public:
    WrittenStep(const QString& text, std::function<bool()> undo, std::function<bool()> redo)
        : QUndoCommand(text), m_undo(std::move(undo)), m_redo(std::move(redo))
    {
    }
    void undo() override { m_undo(); }
    void redo() override
    {
        if (m_done) {
            m_done = false;
            return;
        }
        m_redo();
    }

private:
    std::function<bool()> m_undo, m_redo;
    bool m_done = true;
};
