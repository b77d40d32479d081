#include "Dialogs.h"

#include "QtDialogPresenter.h"

namespace platform::Dialogs {

namespace {

QtDialogPresenter qtPresenter;
DialogPresenter* currentPresenter = &qtPresenter;

BoxButton showOk(BoxKind kind, const QString& text, QWidget* owner)
{
    BoxRequest request;
    request.kind = kind;
    request.text = text;
    request.owner = owner;
    return show(request);
}

} // namespace

DialogPresenter* setPresenter(DialogPresenter* presenter)
{
    DialogPresenter* previous = currentPresenter;
    currentPresenter = presenter ? presenter : &qtPresenter;
    return previous;
}

BoxButton show(const BoxRequest& request)
{
    return currentPresenter->showBox(request);
}

void error(const QString& text, QWidget* owner)
{
    showOk(BoxKind::Error, text, owner);
}

void warning(const QString& text, QWidget* owner)
{
    showOk(BoxKind::Warning, text, owner);
}

void information(const QString& text, QWidget* owner)
{
    showOk(BoxKind::Information, text, owner);
}

BoxButton askYesNo(const QString& text, QWidget* owner)
{
    BoxRequest request;
    request.kind = BoxKind::Warning;
    request.text = text;
    request.buttons = BoxButton::Yes | BoxButton::No;
    request.defaultButton = BoxButton::Yes;
    request.cancelButton = BoxButton::No;
    request.owner = owner;
    return show(request);
}

} // namespace platform::Dialogs
