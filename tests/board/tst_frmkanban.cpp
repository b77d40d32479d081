#include "board/FrmKanban.h"
#include "ScriptedDialogs.h"
#include "store/CurrentTask.h"
#include "store/KBDataModule.h"
#include "store/WorkContext.h"
#include "TestDatabases.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

using testlib::Backend;

class TestFrmKanban : public QObject
{
    Q_OBJECT

private slots:
    void creationShowsConnectionAndCompany_data()
    {
        QTest::addColumn<bool>("withDataLink");
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("companyPanel");
        QTest::addColumn<QStringList>("boxStarts");

        const QString noCompany = "No active company is found. Check that a company was selected\r"
                                  "and try again. VK-KANBAN will now close.";
        QTest::newRow("connected, company set")
            << true << QByteArray("[SELCOMPANY]\nCompany= VEL01\n") << "VEL01" << QStringList{};
        QTest::newRow("connected, company of blanks")
            << true << QByteArray("[SELCOMPANY]\nCompany=' '\n") << "" << QStringList{noCompany};
        QTest::newRow("connected, no settings file") << true << QByteArray() << "" << QStringList{noCompany};
        QTest::newRow("no data-link file") << false << QByteArray("[SELCOMPANY]\nCompany=VEL01\n") << "VEL01"
                                           << QStringList{"No Database connection established.\r"};
    }

    void creationShowsConnectionAndCompany()
    {
        QFETCH(bool, withDataLink);
        QFETCH(QByteArray, ini);
        QFETCH(QString, companyPanel);
        QFETCH(QStringList, boxStarts);

        testlib::FreshDatabase db(Backend::Sqlite, testlib::Content::Tables);
        QTemporaryDir folder(QDir::tempPath() + "/kanban board XXXXXX");
        const QString programFolder = folder.path() + '/';
        const QString dataLink = withDataLink ? db.writeDataLinkFile(programFolder) : QString();
        if (!ini.isEmpty())
            QVERIFY(testlib::writeBytes(programFolder + "IniVelora.ini", ini));

        testlib::ScriptedDialogs dialogs;
        WorkContext workContext;
        CurrentTask currentTask;
        TKBDataModule dataModule(workContext, currentTask, programFolder);
        dataModule.DataModuleCreate();
        TfrmKanban window(dataModule, workContext, programFolder);
        window.FormCreate();

        QCOMPARE(window.windowTitle(), QString("VL-KANBAN"));
        QCOMPARE(window.statusPanelText(0), withDataLink ? "DB connection OK - " + dataLink : QString());
        QCOMPARE(window.statusPanelText(1), companyPanel);
        QCOMPARE(window.statusPanelText(2), QString());
        QCOMPARE(dialogs.boxes().size(), boxStarts.size());
        for (int i = 0; i < boxStarts.size(); ++i)
            QVERIFY2(dialogs.texts().at(i).startsWith(boxStarts.at(i)), qPrintable(dialogs.texts().at(i)));
    }
};

QTEST_MAIN(TestFrmKanban)
#include "tst_frmkanban.moc"
