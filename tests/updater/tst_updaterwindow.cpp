// The updater window without a database: its texts, its controls and how the keyboard moves among them.

#include "updater/StatusPanels.h"
#include "updater/UpdaterWindow.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using updater::TfrmUpdater;

namespace {

template <typename Control> Control* control(const TfrmUpdater& window, const char* name)
{
    return window.findChild<Control*>(QLatin1String(name));
}

QStringList memoLines(const TfrmUpdater& window, const char* name)
{
    return control<QPlainTextEdit>(window, name)->toPlainText().split(QLatin1Char('\n'));
}

} // namespace

class TestUpdaterWindow : public QObject
{
    Q_OBJECT

private slots:
    void showsTheTextsAndControls();
    void tabSkipsTheFirstMemo();
    void enterAndEscPressNeitherButton();
    void closeButtonClosesTheWindow_data();
    void closeButtonClosesTheWindow();
};

void TestUpdaterWindow::showsTheTextsAndControls()
{
    TfrmUpdater window;
    QCOMPARE(window.windowTitle(), QStringLiteral("frmUpdater"));
    QCOMPARE(window.size(), QSize(724, 489));
    QCOMPARE(control<QLabel>(window, "Label1")->text(),
             QStringLiteral("Velora Database Updater Utility 5.0"));
    QCOMPARE(control<QLabel>(window, "Label2")->text(), QStringLiteral("WARNING - PLEASE READ CAREFULLY"));
    QCOMPARE(
        memoLines(window, "Memo1"),
        QStringList({
            QStringLiteral(
                "NOTE: THE DB UPDATER MUST BE EXECUTED FROM THE FOLDER WHERE VELORA IS INSTALLED."),
            QString(),
            QStringLiteral("The updater will update the Velora Database TO Version 5.0."),
            QStringLiteral("Updating from any other versions will not work and cause unpredictated results "
                           "and data loss. "),
            QString(),
            QStringLiteral("QUENDRIX IS  NOT RESPONSIBLE FOR SUCH DATA LOSS."),
        }));
    QCOMPARE(
        memoLines(window, "Memo2"),
        QStringList({
            QStringLiteral("PLEASE SHUT DOWN Velora AND BACK UP THE  DATABASE BEFORE PROCEEDING."),
            QString(),
            QStringLiteral("DO NOT SHUTDOWN THE DATABASE!"),
            QString(),
            QStringLiteral("The Updater will create new tables and fields in the database in order that the "
                           "new functionaity will work correctly."),
            QStringLiteral("This program is required to be run only ONCE."),
            QStringLiteral("The computer MUST BE RE-STARTED when the updater has completed."),
            QString(),
            QStringLiteral("READ CAREFULLY:"),
            QStringLiteral("Once the updated version of Velora is in operation, any database backups of "
                           "Velora may NOT be"),
            QStringLiteral("used for any database restore purposes because the updated fields and table will "
                           "be LOST. "),
            QString(),
            QStringLiteral("Furthermore,  if the updater is re-run, that is, to UNDO AND REDO the changes. "
                           "IRRECOVERABLE DATA LOSS"),
            QStringLiteral("will occur. QUENDRIX WILL NOT BE RESPONSIBLE FOR SUCH DATA LOSS.  "),
            QString(),
            QStringLiteral("If problems are  encountered while the Updater is executing please provide a "
                           "detailed description of the problem "),
            QStringLiteral("and include screenshots of any messages. In this case the backed up copy  of the "
                           "database prior to the running "),
            QStringLiteral("this update may be used to restore the database to continue working, while the "
                           "error encountered "),
            QStringLiteral("is being investigated."),
        }));
    QVERIFY(control<QPlainTextEdit>(window, "Memo1")->isReadOnly());
    QVERIFY(control<QPlainTextEdit>(window, "Memo2")->isReadOnly());
    QCOMPARE(control<QPushButton>(window, "btnUpdate1")->text(), QStringLiteral("Update DB"));
    QCOMPARE(control<QPushButton>(window, "btnClose")->text(), QStringLiteral("&Close"));

    auto* status = control<updater::StatusPanels>(window, "stStatus");
    QCOMPARE(status->panelCount(), 4);
    QCOMPARE(status->panelText(0), QString());

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The buttons stand over the lower right part of Memo2.
    const QRect memo2 = control<QPlainTextEdit>(window, "Memo2")->geometry();
    QVERIFY(memo2.contains(control<QPushButton>(window, "btnUpdate1")->geometry()));
    QVERIFY(memo2.contains(control<QPushButton>(window, "btnClose")->geometry()));
    QCOMPARE(status->geometry().bottom(), window.rect().bottom());
}

void TestUpdaterWindow::tabSkipsTheFirstMemo()
{
    TfrmUpdater window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QStringList expected = {QStringLiteral("Memo2"), QStringLiteral("btnUpdate1"),
                                  QStringLiteral("btnClose"), QStringLiteral("Memo2")};
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
        QVERIFY(QApplication::focusWidget());
        visited.append(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, expected);
}

void TestUpdaterWindow::enterAndEscPressNeitherButton()
{
    TfrmUpdater window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy updatePressed(control<QPushButton>(window, "btnUpdate1"), &QPushButton::clicked);
    QSignalSpy closePressed(control<QPushButton>(window, "btnClose"), &QPushButton::clicked);
    for (const char* name : {"Memo2", "btnUpdate1", "btnClose"}) {
        QWidget* focused = window.findChild<QWidget*>(QLatin1String(name));
        focused->setFocus();
        QTest::keyClick(focused, Qt::Key_Return);
        QTest::keyClick(focused, Qt::Key_Escape);
    }
    QCOMPARE(updatePressed.count(), 0);
    QCOMPARE(closePressed.count(), 0);
    QVERIFY(window.isVisible());
}

void TestUpdaterWindow::closeButtonClosesTheWindow_data()
{
    QTest::addColumn<bool>("byMnemonic");
    QTest::newRow("mouse") << false;
    QTest::newRow("Alt+C") << true;
}

void TestUpdaterWindow::closeButtonClosesTheWindow()
{
    QFETCH(bool, byMnemonic);
    TfrmUpdater window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    if (byMnemonic)
        QTest::keyClick(&window, Qt::Key_C, Qt::AltModifier);
    else
        QTest::mouseClick(control<QPushButton>(window, "btnClose"), Qt::LeftButton);
    QTRY_VERIFY(!window.isVisible());
}

QTEST_MAIN(TestUpdaterWindow)
#include "tst_updaterwindow.moc"
