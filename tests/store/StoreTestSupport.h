#pragma once

#include "ScriptedDialogs.h"
#include "TestDatabases.h"

#include "store/KBDataModule.h"

#include <QSqlDatabase>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QVariantList>

namespace storetest {

// The company the demo settings select, and the one whose rows must stay out of sight.
QString demoCompany();
QString otherCompany();

// One board user: a program folder of its own holding a data-link file to the database,
// its settings and a data module that has run its creation step.
class BoardUser
{
public:
    BoardUser(const testlib::FreshDatabase& database, const QString& company);
    bool isConnected() const { return module.DbConnected(); }

    QTemporaryDir programFolder;
    WorkContext work;
    CurrentTask task;
    TKBDataModule module;
};

// A fresh database and one user of the demo company. Boxes are recorded, never shown.
struct StoreFixture
{
    explicit StoreFixture(testlib::Backend backend, testlib::Content content = testlib::Content::Demo);
    bool isReady() const { return database.isValid() && user.isConnected(); }

    testlib::ScriptedDialogs dialogs;
    testlib::FreshDatabase database;
    BoardUser user;
    TKBDataModule& module = user.module;
    CurrentTask& task = user.task;
};

// Reads through the test's own connection, independent of the store.
QList<QSqlRecord> selectRows(QSqlDatabase& db, const QString& statement, const QVariantList& values = {});
QSqlRecord taskRow(QSqlDatabase& db, const QString& key); // empty when the task is not there
QList<QSqlRecord> tasksOf(QSqlDatabase& db, const QString& company);
// Runs a statement of the test's own; fails the test when it fails.
bool execDirect(QSqlDatabase& db, const QString& statement);

// Values of one field of held rows, in row order.
QStringList fieldValues(const QList<QSqlRecord>& rows, const QString& field);

// A task whose fields all differ from the demo rows' and from each other.
CurrentTask sampleTask(const QString& key);

} // namespace storetest
