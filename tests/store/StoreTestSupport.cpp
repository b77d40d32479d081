#include "StoreTestSupport.h"

#include "DemoContent.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace storetest {

QString demoCompany()
{
    return QString::fromLatin1(demodb::kDemoCompany);
}

QString otherCompany()
{
    return QString::fromLatin1(demodb::kOtherCompany);
}

BoardUser::BoardUser(const testlib::FreshDatabase& database, const QString& company)
    : work{QStringLiteral("tester"), QStringLiteral("VELORA"), company},
      module(work, task, programFolder.path())
{
    if (!database.isValid() || database.writeDataLinkFile(programFolder.path()).isEmpty())
        return;
    try {
        module.DataModuleCreate();
    } catch (const std::exception& error) {
        QTest::qFail(error.what(), __FILE__, __LINE__);
    }
}

StoreFixture::StoreFixture(testlib::Backend backend, testlib::Content content)
    : database(backend, content), user(database, demoCompany())
{
}

QList<QSqlRecord> selectRows(QSqlDatabase& db, const QString& statement, const QVariantList& values)
{
    QSqlQuery query(db);
    query.prepare(statement);
    for (const QVariant& value : values)
        query.addBindValue(value);
    QList<QSqlRecord> rows;
    if (!query.exec()) {
        QTest::qFail(qPrintable(query.lastError().text()), __FILE__, __LINE__);
        return rows;
    }
    while (query.next())
        rows.append(query.record());
    return rows;
}

QSqlRecord taskRow(QSqlDatabase& db, const QString& key)
{
    const auto rows = selectRows(db, QStringLiteral("SELECT * FROM VL_KANBAN WHERE KBGuidKey = ?"), {key});
    return rows.isEmpty() ? QSqlRecord() : rows.first();
}

QList<QSqlRecord> tasksOf(QSqlDatabase& db, const QString& company)
{
    return selectRows(db, QStringLiteral("SELECT * FROM VL_KANBAN WHERE KBCoId = ?"), {company});
}

bool execDirect(QSqlDatabase& db, const QString& statement)
{
    QSqlQuery query(db);
    if (query.exec(statement))
        return true;
    QTest::qFail(qPrintable(statement + QStringLiteral(": ") + query.lastError().text()), __FILE__, __LINE__);
    return false;
}

QStringList fieldValues(const QList<QSqlRecord>& rows, const QString& field)
{
    QStringList values;
    for (const QSqlRecord& row : rows)
        values.append(row.value(field).toString());
    return values;
}

CurrentTask sampleTask(const QString& key)
{
    CurrentTask task;
    task.NewGuidKey = key;
    task.SelectedGuidKey = key;
    task.ColumnNo = 2;
    task.Title = QStringLiteral("Call supplier: Desk 4");
    task.TitleBackup = QStringLiteral("Call supplier");
    task.Text = QStringLiteral("Ask for the\r\nwinter rates");
    task.TextBGColor = 15784647;
    task.Priority = QStringLiteral("Med");
    task.Bitmap = QStringLiteral("desk4.bmp");
    task.BitmapName = QStringLiteral("Desk 4");
    task.AgentID = QStringLiteral("AG004");
    task.ConsultName = QStringLiteral("Desk 4");
    task.AdhocName = QString();
    task.PersonType = QStringLiteral("Cons");
    task.ItemExpanded = true;
    task.ItemExpandable = false;
    task.MarkerColor = 65280;
    task.MarkerSize = 3;
    task.TitleColor = 8421504;
    task.MarkerTop = 1;
    task.SortKey = 2;
    return task;
}

} // namespace storetest
