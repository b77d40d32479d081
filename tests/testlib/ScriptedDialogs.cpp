#include "ScriptedDialogs.h"

namespace testlib {

ScriptedDialogs::ScriptedDialogs() : m_previous(platform::Dialogs::setPresenter(this)) {}

ScriptedDialogs::~ScriptedDialogs()
{
    platform::Dialogs::setPresenter(m_previous);
}

platform::BoxButton ScriptedDialogs::showBox(const platform::BoxRequest& request)
{
    m_boxes.append(request);
    return m_answers.isEmpty() ? request.defaultButton : m_answers.takeFirst();
}

QStringList ScriptedDialogs::texts() const
{
    QStringList result;
    for (const auto& box : m_boxes)
        result.append(box.text);
    return result;
}

} // namespace testlib
