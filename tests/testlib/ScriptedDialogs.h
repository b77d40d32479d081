#pragma once

#include "platform/Dialogs.h"

#include <QList>

namespace testlib {

// Stands in for every dialog while it lives: records each box and answers it from a script,
// or with the box's default button when the script has run out. Nothing is ever shown.
class ScriptedDialogs : public platform::DialogPresenter
{
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    void answerNext(platform::BoxButton answer) { m_answers.append(answer); }
    platform::BoxButton showBox(const platform::BoxRequest& request) override;

    const QList<platform::BoxRequest>& boxes() const { return m_boxes; }
    // Texts of the recorded boxes, in order.
    QStringList texts() const;
    void clear() { m_boxes.clear(); }

private:
    platform::DialogPresenter* m_previous = nullptr;
    QList<platform::BoxButton> m_answers;
    QList<platform::BoxRequest> m_boxes;
};

} // namespace testlib
