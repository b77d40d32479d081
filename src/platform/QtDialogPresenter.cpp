#include "QtDialogPresenter.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace platform {

namespace {

QMessageBox::Icon iconFor(BoxKind kind)
{
    switch (kind) {
    case BoxKind::Error:
        return QMessageBox::Critical;
    case BoxKind::Warning:
        return QMessageBox::Warning;
    case BoxKind::Information:
        return QMessageBox::Information;
    case BoxKind::Plain:
        break;
    }
    return QMessageBox::NoIcon;
}

QString captionFor(BoxKind kind)
{
    switch (kind) {
    case BoxKind::Error:
        return QCoreApplication::translate("Dialogs", "Error");
    case BoxKind::Warning:
        return QCoreApplication::translate("Dialogs", "Warning");
    case BoxKind::Information:
        return QCoreApplication::translate("Dialogs", "Information");
    case BoxKind::Plain:
        break;
    }
    return QCoreApplication::applicationName();
}

constexpr std::pair<BoxButton, QMessageBox::StandardButton> buttonPairs[] = {
    {BoxButton::Ok, QMessageBox::Ok},
    {BoxButton::Cancel, QMessageBox::Cancel},
    {BoxButton::Yes, QMessageBox::Yes},
    {BoxButton::No, QMessageBox::No},
};

QMessageBox::StandardButton toQt(BoxButton button)
{
    for (const auto& [ours, qt] : buttonPairs) {
        if (ours == button)
            return qt;
    }
    return QMessageBox::NoButton;
}

BoxButton fromQt(int button)
{
    for (const auto& [ours, qt] : buttonPairs) {
        if (qt == button)
            return ours;
    }
    return BoxButton::None;
}

} // namespace

BoxButton QtDialogPresenter::showBox(const BoxRequest& request)
{
    QMessageBox box(iconFor(request.kind), request.title.isEmpty() ? captionFor(request.kind) : request.title,
                    QString(request.text).replace(QLatin1Char('\r'), QLatin1Char('\n')),
                    QMessageBox::NoButton, request.owner);
    for (const auto& [ours, qt] : buttonPairs) {
        if (request.buttons.testFlag(ours))
            box.addButton(qt);
    }
    box.setDefaultButton(toQt(request.defaultButton));
    box.setEscapeButton(box.button(toQt(request.cancelButton)));
    const int answer = box.exec();
    const BoxButton chosen = fromQt(answer);
    return chosen == BoxButton::None ? request.cancelButton : chosen;
}

} // namespace platform
