#pragma once

#include <QFlags>
#include <QString>

class QWidget;

namespace platform {

enum class BoxKind
{
    Error,
    Warning,
    Information,
    Plain
};

enum class BoxButton
{
    None = 0x0,
    Ok = 0x1,
    Cancel = 0x2,
    Yes = 0x4,
    No = 0x8
};
Q_DECLARE_FLAGS(BoxButtons, BoxButton)

// One message box. Lines in text are separated by a carriage return, as the programs write them.
struct BoxRequest
{
    BoxKind kind = BoxKind::Information;
    QString title; // empty: the toolkit's caption for the kind
    QString text;
    BoxButtons buttons = BoxButton::Ok;
    BoxButton defaultButton = BoxButton::Ok;
    BoxButton cancelButton = BoxButton::Ok;
    QWidget* owner = nullptr;
};

// Shows dialogs to the user. The programs install the Qt one; tests install a scripted answerer.
class DialogPresenter
{
public:
    virtual ~DialogPresenter() = default;
    virtual BoxButton showBox(const BoxRequest& request) = 0;
};

// The one seam every dialog of the programs goes through.
namespace Dialogs {

// Installs presenter (not owned) and returns the previous one; nullptr restores the Qt presenter.
DialogPresenter* setPresenter(DialogPresenter* presenter);

BoxButton show(const BoxRequest& request);
void error(const QString& text, QWidget* owner = nullptr);
void warning(const QString& text, QWidget* owner = nullptr);
void information(const QString& text, QWidget* owner = nullptr);
// A warning with Yes and No; Yes is the default (Enter), No the cancel button (Esc).
BoxButton askYesNo(const QString& text, QWidget* owner = nullptr);

} // namespace Dialogs

} // namespace platform

Q_DECLARE_OPERATORS_FOR_FLAGS(platform::BoxButtons)
