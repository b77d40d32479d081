#include "platform/InstanceGuard.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <cerrno>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using platform::InstanceGuard;

namespace {

constexpr int kPatience = 30000;

quint32 ownProcessHandle()
{
    return static_cast<quint32>(::getpid());
}

// A copy of the program, as its own process (see guardprobe.cpp).
class Probe
{
public:
    explicit Probe(const QStringList& arguments, const QString& program = QStringLiteral(GUARDPROBE_PATH))
    {
        m_process.start(program, arguments);
    }
    ~Probe()
    {
        m_process.kill();
        m_process.waitForFinished(kPatience);
    }

    // The next line printed; empty when the probe ends or stalls first.
    QByteArray nextLine()
    {
        const QDeadlineTimer deadline(kPatience);
        while (!m_process.canReadLine() && m_process.waitForReadyRead(int(deadline.remainingTime()))) {
        }
        return m_process.readLine().trimmed();
    }
    void go()
    {
        m_process.write("go\n");
        m_process.waitForBytesWritten(kPatience);
    }
    // Closes stdin and returns the exit code; -1 when the probe crashed or did not end.
    int finish()
    {
        m_process.closeWriteChannel();
        if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(kPatience))
            return -1;
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }
    void kill()
    {
        m_process.kill();
        m_process.waitForFinished(kPatience);
    }

private:
    QProcess m_process;
};

bool isPrivateFolder(const QString& path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid() && (info.st_mode & 0777) == 0700;
}

} // namespace

class InstanceGuardTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void blockNameRemovesPathSeparatorsOnly_data();
    void blockNameRemovesPathSeparatorsOnly();
    void blockNameOfRunningProgramComesFromItsFile();
    void guardFolderIsPrivateToTheUser_data();
    void guardFolderIsPrivateToTheUser();

    void simultaneousStartsRegisterExactlyOne();
    void countFollowsRegistrationsAndReleases();
    void killedCopyDoesNotBlockNextStart();
    void copiesInSeparateFoldersRunSideBySide();
    void refusedCopyRaisesRegisteredWindow();
    void blockThatCannotBeCreatedRaisesSystemError();

    void bringWindowToFrontRestoresOnlyMinimized_data();
    void bringWindowToFrontRestoresOnlyMinimized();

private:
    QTemporaryDir m_runtimeFolder;
};

// Every guard of this run, in-process or in a probe, keeps its blocks in a folder of its own.
void InstanceGuardTest::initTestCase()
{
    QVERIFY(m_runtimeFolder.isValid());
    QVERIFY(isPrivateFolder(m_runtimeFolder.path()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtimeFolder.path()));
}

void InstanceGuardTest::blockNameRemovesPathSeparatorsOnly_data()
{
    QTest::addColumn<QString>("programPath");
    QTest::addColumn<QString>("blockName");
    QTest::newRow("plain path") << "/opt/velora/LumoraPrj"
                                << "optveloraLumoraPrj";
    QTest::newRow("spaces and case kept") << "/home/Ann Lee/Velora Board/LumoraPrj"
                                          << "homeAnn LeeVelora BoardLumoraPrj";
    QTest::newRow("dots and backslashes kept") << "/opt/v1.2/a\\b/LumoraPrj.bin"
                                               << "optv1.2a\\bLumoraPrj.bin";
    QTest::newRow("repeated separators") << "//srv//apps/LumoraPrj"
                                         << "srvappsLumoraPrj";
}

void InstanceGuardTest::blockNameRemovesPathSeparatorsOnly()
{
    QFETCH(QString, programPath);
    QFETCH(QString, blockName);
    QCOMPARE(platform::instanceBlockName(programPath), blockName);
}

void InstanceGuardTest::blockNameOfRunningProgramComesFromItsFile()
{
    const QString programFile = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    QVERIFY(programFile.startsWith(QLatin1Char('/')));
    QCOMPARE(platform::currentProgramBlockName(), platform::instanceBlockName(programFile));
}

enum class RuntimeFolder
{
    Private,
    Unset,
    OpenToOthers,
    Missing
};
Q_DECLARE_METATYPE(RuntimeFolder)

void InstanceGuardTest::guardFolderIsPrivateToTheUser_data()
{
    QTest::addColumn<RuntimeFolder>("runtimeFolder");
    QTest::newRow("runtime folder of the user") << RuntimeFolder::Private;
    QTest::newRow("no runtime folder") << RuntimeFolder::Unset;
    QTest::newRow("runtime folder open to others") << RuntimeFolder::OpenToOthers;
    QTest::newRow("runtime folder missing") << RuntimeFolder::Missing;
}

void InstanceGuardTest::guardFolderIsPrivateToTheUser()
{
    QFETCH(RuntimeFolder, runtimeFolder);
    const QByteArray ownRuntimeFolder = qgetenv("XDG_RUNTIME_DIR");
    const auto restore = qScopeGuard([&] { qputenv("XDG_RUNTIME_DIR", ownRuntimeFolder); });
    const QString openFolder = m_runtimeFolder.filePath(QStringLiteral("open"));
    QVERIFY(QDir().mkpath(openFolder));
    QVERIFY(::chmod(QFile::encodeName(openFolder).constData(), 0755) == 0);

    switch (runtimeFolder) {
    case RuntimeFolder::Private:
        break;
    case RuntimeFolder::Unset:
        qunsetenv("XDG_RUNTIME_DIR");
        break;
    case RuntimeFolder::OpenToOthers:
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(openFolder));
        break;
    case RuntimeFolder::Missing:
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtimeFolder.filePath(QStringLiteral("missing"))));
        break;
    }

    const QString folder = platform::instanceGuardFolder();
    if (runtimeFolder == RuntimeFolder::Private)
        QCOMPARE(folder, m_runtimeFolder.path());
    else
        QCOMPARE(folder, QStringLiteral("/tmp/velora-guard-%1").arg(::geteuid()));
    QVERIFY(isPrivateFolder(folder));
}

// Through the program's own calls, on the block of the probe's program file.
void InstanceGuardTest::simultaneousStartsRegisterExactlyOne()
{
    std::vector<std::unique_ptr<Probe>> probes;
    for (int i = 0; i < 6; ++i)
        probes.push_back(std::make_unique<Probe>(QStringList{QStringLiteral("--wait-go")}));
    for (const auto& probe : probes)
        QCOMPARE(probe->nextLine(), QByteArray("ready"));
    for (const auto& probe : probes)
        probe->go();

    Probe* registered = nullptr;
    for (const auto& probe : probes) {
        const QByteArray outcome = probe->nextLine();
        if (outcome == "registered") {
            QVERIFY2(!registered, "two copies registered");
            registered = probe.get();
        } else {
            QCOMPARE(outcome, QByteArray("refused"));
            QCOMPARE(probe->finish(), 0);
        }
    }
    QVERIFY(registered);
    QCOMPARE(registered->nextLine(), QByteArray("count 1"));
    QCOMPARE(registered->finish(), 0);
}

void InstanceGuardTest::countFollowsRegistrationsAndReleases()
{
    const QStringList block{QStringLiteral("count block")};
    Probe first(block);
    QCOMPARE(first.nextLine(), QByteArray("registered"));
    QCOMPARE(first.nextLine(), QByteArray("count 1"));

    Probe refused(block);
    QCOMPARE(refused.nextLine(), QByteArray("refused"));
    QCOMPARE(refused.finish(), 0);
    QCOMPARE(InstanceGuard(block[0]).instanceCount(), 1);

    QCOMPARE(first.finish(), 0);
    QCOMPARE(InstanceGuard(block[0]).instanceCount(), 0);

    Probe next(block);
    QCOMPARE(next.nextLine(), QByteArray("registered"));
    QCOMPARE(next.nextLine(), QByteArray("count 1"));
    QCOMPARE(next.finish(), 0);
}

void InstanceGuardTest::killedCopyDoesNotBlockNextStart()
{
    const QStringList block{QStringLiteral("killed block")};
    Probe killed(block);
    QCOMPARE(killed.nextLine(), QByteArray("registered"));
    killed.kill();
    QCOMPARE(InstanceGuard(block[0]).instanceCount(), 1); // it had no chance to subtract itself

    Probe next(block);
    QCOMPARE(next.nextLine(), QByteArray("registered"));
    QCOMPARE(next.nextLine(), QByteArray("count 1"));
    QCOMPARE(next.finish(), 0);
}

void InstanceGuardTest::copiesInSeparateFoldersRunSideBySide()
{
    QTemporaryDir installs;
    QVERIFY(installs.isValid());
    QStringList programs;
    for (const QString& folder : {QStringLiteral("Velora Board"), QStringLiteral("velora board")}) {
        QVERIFY(QDir(installs.path()).mkdir(folder));
        programs << installs.filePath(folder + QStringLiteral("/guardprobe"));
        QVERIFY(QFile::copy(QStringLiteral(GUARDPROBE_PATH), programs.last()));
    }

    Probe first({}, programs[0]);
    Probe second({}, programs[1]);
    QCOMPARE(first.nextLine(), QByteArray("registered"));
    QCOMPARE(second.nextLine(), QByteArray("registered"));
    Probe again({}, programs[0]);
    QCOMPARE(again.nextLine(), QByteArray("refused"));
    QCOMPARE(again.finish(), 0);
    QCOMPARE(first.finish(), 0);
    QCOMPARE(second.finish(), 0);
}

// This test process is the registered copy, set up as the board program sets itself up.
void InstanceGuardTest::refusedCopyRaisesRegisteredWindow()
{
    QVERIFY(!platform::CheckPreviousInstance(ownProcessHandle(), 1));
    const auto release = qScopeGuard(&platform::ReleaseInstance);
    QWidget window;
    window.show();
    window.setWindowState(Qt::WindowMinimized);
    int raised = 0;
    QVERIFY(platform::ListenForRaiseRequests(
        [&] {
            ++raised;
            platform::bringWindowToFront(&window);
        },
        &window));

    Probe second({platform::currentProgramBlockName()});
    QTRY_COMPARE_WITH_TIMEOUT(raised, 1, kPatience);
    QVERIFY(!window.isMinimized());
    QCOMPARE(second.nextLine(), QByteArray("refused"));
    QCOMPARE(second.finish(), 0);
    QCOMPARE(InstanceGuard(platform::currentProgramBlockName()).instanceCount(), 1);
}

void InstanceGuardTest::blockThatCannotBeCreatedRaisesSystemError()
{
    InstanceGuard guard(QStringLiteral("any block"), m_runtimeFolder.filePath(QStringLiteral("missing")));
    try {
        guard.check(ownProcessHandle(), 1);
        QFAIL("the check went through without its block");
    } catch (const platform::InstanceBlockError& error) {
        QCOMPARE(error.text(), QString::fromLocal8Bit(std::strerror(ENOENT)));
    }
    QVERIFY(!guard.isRegistered());
}

void InstanceGuardTest::bringWindowToFrontRestoresOnlyMinimized_data()
{
    QTest::addColumn<Qt::WindowStates>("before");
    QTest::addColumn<Qt::WindowStates>("after");
    QTest::newRow("minimized") << Qt::WindowStates(Qt::WindowMinimized) << Qt::WindowStates();
    QTest::newRow("minimized from maximized")
        << (Qt::WindowMinimized | Qt::WindowMaximized) << Qt::WindowStates(Qt::WindowMaximized);
    QTest::newRow("normal") << Qt::WindowStates() << Qt::WindowStates();
    QTest::newRow("maximized") << Qt::WindowStates(Qt::WindowMaximized)
                               << Qt::WindowStates(Qt::WindowMaximized);
}

void InstanceGuardTest::bringWindowToFrontRestoresOnlyMinimized()
{
    QFETCH(Qt::WindowStates, before);
    QFETCH(Qt::WindowStates, after);
    QWidget window;
    window.setGeometry(100, 100, 300, 200);
    window.show();
    window.setWindowState(before);
    const QRect geometry = window.geometry();
    QWidget other;
    other.show();
    other.activateWindow();
    QTRY_VERIFY(other.isActiveWindow());

    platform::bringWindowToFront(&window);
    QCOMPARE(window.windowState(), after);
    if (before == Qt::WindowStates())
        QCOMPARE(window.geometry(), geometry);
    QTRY_VERIFY(window.isActiveWindow());
}

QTEST_MAIN(InstanceGuardTest)
#include "tst_instanceguard.moc"
