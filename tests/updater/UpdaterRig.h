#pragma once

#include "ScriptedDialogs.h"
#include "TestDatabases.h"

#include "updater/UpdaterDataModule.h"
#include "updater/UpdaterWindow.h"

#include <QTemporaryDir>

#include <memory>

namespace updatertest {

// The updater as its program starts it, the window first and the data module second, in a program
// folder of its own (with a space in its path) beside a fresh test database. Every box is scripted.
class UpdaterRig
{
public:
    enum class DataLink
    {
        Written,
        Missing
    };

    explicit UpdaterRig(testlib::Backend backend, DataLink dataLink = DataLink::Written);

    // Whether the database and the program folder could be set up; the test has failed otherwise.
    bool isReady() const;

    // Presses "Update DB" with the mouse, found by its name.
    void pressUpdate();
    // The answer to the next question.
    void answerNext(platform::BoxButton answer) { dialogs.answerNext(answer); }

    QSqlDatabase& direct() { return database.direct(); }
    QString statusText() const;

    testlib::FreshDatabase database;
    QTemporaryDir programFolder;
    testlib::ScriptedDialogs dialogs;
    updater::TfrmUpdater window;
    std::unique_ptr<updater::TVLDataMod> dataModule;
};

} // namespace updatertest
