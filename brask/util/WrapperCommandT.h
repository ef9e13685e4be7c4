#pragma once

#include <QUndoCommand>

namespace mvc::util {

/// Base of undo commands that wrap another command to add something around its redo and
/// undo (a repaint, the modified flag). The wrapper takes the inner command's text, answers
/// its id and merges when the other command is a wrapper of the same class whose inner
/// command the inner command merges with; so an application command that merges keeps
/// merging when wrapped. Owns the inner command. Header-only.
template <class Derived>
class WrapperCommandT : public QUndoCommand {
public:
    explicit WrapperCommandT(QUndoCommand* command)
        : QUndoCommand(command->text()), m_command(command)
    {
    }
    WrapperCommandT(const WrapperCommandT&) = delete;
    WrapperCommandT& operator=(const WrapperCommandT&) = delete;
    ~WrapperCommandT() override { delete m_command; }

    int id() const override { return m_command->id(); }
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto wrapper = dynamic_cast<const Derived*>(other);
        return wrapper && m_command->mergeWith(wrapper->command());
    }
    QUndoCommand* command() const { return m_command; }

private:
    QUndoCommand* m_command;
};

} // namespace mvc::util
