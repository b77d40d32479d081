#pragma once

#include <QApplication>

#include <exception>

namespace platform {

// The one handler of errors that leave an event handler or a start-up step:
// shows the error's text in an error box and lets the program carry on.
void reportUncaughtError(const std::exception& error);

// Runs step and reports any error it raises; returns whether it completed.
template <typename Step> bool runReportingErrors(Step&& step)
{
    try {
        step();
        return true;
    } catch (const std::exception& error) {
        reportUncaughtError(error);
        return false;
    }
}

// Application object of both programs: an error escaping an event handler is reported, not fatal.
class Application : public QApplication
{
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace platform
