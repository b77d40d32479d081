#include "platform/InstanceGuard.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// Starts copies of the real board program from one folder and watches the guard decide.
class TestBoardInstance : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_guardFolder;
    QTemporaryDir m_programFolder{QDir::tempPath() + "/board copy XXXXXX"};
    QString m_program;
    std::vector<std::unique_ptr<QProcess>> m_copies;

    QProcess* start()
    {
        auto copy = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_RUNTIME_DIR", m_guardFolder.path());
        copy->setProcessEnvironment(environment);
        copy->setProgram(m_program);
        copy->start();
        m_copies.push_back(std::move(copy));
        return m_copies.back().get();
    }

    qint32 registeredCount() const
    {
        return platform::InstanceGuard(platform::instanceBlockName(m_program), m_guardFolder.path())
            .instanceCount();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_guardFolder.isValid() && m_programFolder.isValid());
        QFile::setPermissions(m_guardFolder.path(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        m_program = m_programFolder.path() + "/LumoraPrj";
        QVERIFY(QFile::copy(LUMORAPRJ_PATH, m_program));
        QProcess layout;
        layout.start(VELORA_DEMODB_PATH, {"--layout", m_programFolder.path()});
        QVERIFY(layout.waitForFinished(60000));
        QCOMPARE(layout.exitCode(), 0);
    }

    void cleanup()
    {
        for (auto& copy : m_copies) {
            copy->kill();
            copy->waitForFinished();
        }
        m_copies.clear();
    }

    void secondStartEndsAtOnce()
    {
        QProcess* first = start();
        QTRY_COMPARE_WITH_TIMEOUT(registeredCount(), 1, 20000);

        QProcess* second = start();
        QVERIFY(second->waitForFinished(20000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(first->state(), QProcess::Running);
        QCOMPARE(registeredCount(), 1);
    }

    void killedCopyBlocksNoLaterStart()
    {
        QProcess* first = start();
        QTRY_COMPARE_WITH_TIMEOUT(registeredCount(), 1, 20000);
        first->kill();
        QVERIFY(first->waitForFinished(20000));

        // Whichever of the two registers, the other is refused: exactly one keeps running.
        QProcess* third = start();
        QProcess* fourth = start();
        QTRY_VERIFY_WITH_TIMEOUT(
            third->state() == QProcess::NotRunning || fourth->state() == QProcess::NotRunning, 20000);
        QProcess* refused = third->state() == QProcess::NotRunning ? third : fourth;
        QProcess* running = refused == third ? fourth : third;
        QCOMPARE(refused->exitCode(), 0);
        QCOMPARE(running->state(), QProcess::Running);
    }
};

QTEST_GUILESS_MAIN(TestBoardInstance)
#include "tst_boardinstance.moc"
