#include "UncaughtErrors.h"

#include "Dialogs.h"

namespace platform {

void reportUncaughtError(const std::exception& error)
{
    Dialogs::error(QString::fromStdString(error.what()));
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        reportUncaughtError(error);
        return false;
    }
}

} // namespace platform
