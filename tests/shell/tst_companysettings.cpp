#include "shell/CompanySettings.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

class TestCompanySettings : public QObject
{
    Q_OBJECT

private slots:
    void companyIsReadAndChecked_data()
    {
        QTest::addColumn<QByteArray>("ini"); // empty: no file at all
        QTest::addColumn<QString>("company");
        QTest::addColumn<bool>("active");

        QTest::newRow("all three values") << QByteArray("[USERID]\nUser=anna\n[SELENTITY]\nEntity=VELORA\n"
                                                        "[SELCOMPANY]\nCompany=VEL01\n")
                                          << "VEL01" << true;
        QTest::newRow("sections and keys in any case")
            << QByteArray("[selcompany]\ncompany=VEL02\n") << "VEL02" << true;
        QTest::newRow("no file") << QByteArray() << "" << false;
        QTest::newRow("company of blanks only")
            << QByteArray("[SELCOMPANY]\nCompany=\"   \"\n") << "   " << false;
        QTest::newRow("company with a tab around it is kept as read")
            << QByteArray("[SELCOMPANY]\nCompany=\"\tVEL01 \"\n") << "\tVEL01 " << true;
        QTest::newRow("company key under another section")
            << QByteArray("[SELENTITY]\nCompany=VEL01\n") << "" << false;
    }

    void companyIsReadAndChecked()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, company);
        QFETCH(bool, active);
        QTemporaryDir folder;
        const QString programFolder = folder.path() + '/';
        if (!ini.isEmpty())
            QVERIFY(testlib::writeBytes(programFolder + "IniVelora.ini", ini));

        WorkContext workContext;
        shell::ReadCompanySettings(programFolder, workContext);
        QCOMPARE(workContext.CompanyCode, company);
        QCOMPARE(shell::hasActiveCompany(workContext), active);
    }

    void userAndEntityAreKept()
    {
        QTemporaryDir folder;
        QVERIFY(testlib::writeBytes(folder.path() + "/IniVelora.ini",
                                    "[USERID]\nUser = anna \n[SELENTITY]\nEntity=VELORA, Cape Town\n"));
        WorkContext workContext;
        shell::ReadCompanySettings(folder.path() + '/', workContext);
        QCOMPARE(workContext.UserId, QString("anna"));
        QCOMPARE(workContext.Entity, QString("VELORA, Cape Town"));
    }

    void galleryFolderIsUsedAsWritten_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("galleryHome");

        QTest::newRow("no file") << QByteArray() << "Path not found. Please define it";
        QTest::newRow("folder with separator")
            << QByteArray("[ZRVELORA GALLERY]\nZRVLGALLERYHOME=/srv/pics/\n") << "/srv/pics/";
        QTest::newRow("folder without separator stays so")
            << QByteArray("[zrvelora gallery]\nzrvlgalleryhome=/srv/pics\n") << "/srv/pics";
    }

    void galleryFolderIsUsedAsWritten()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, galleryHome);
        QTemporaryDir folder;
        if (!ini.isEmpty())
            QVERIFY(testlib::writeBytes(folder.path() + "/ZRVeloraGallery.ini", ini));
        QCOMPARE(shell::ReadGallerySettings(folder.path() + '/'), galleryHome);
    }
};

QTEST_GUILESS_MAIN(TestCompanySettings)
#include "tst_companysettings.moc"
