// The 5.0 upgrade and its undo, driven through the updater window on each database.

#include "DatabaseState.h"
#include "UpdaterRig.h"

#include "platform/DatabaseError.h"

#include <QApplication>
#include <QDateTime>
#include <QSqlQuery>
#include <QTest>

using platform::BoxButton;
using platform::BoxKind;
using testlib::Backend;
using namespace updatertest;

namespace {

const QString updateQuestion = QStringLiteral("The database will be updated to VerVL50.\r"
                                              "If you are NOT SURE what to do, stop the process and ask. \r"
                                              " \r"
                                              "IF YOU ARE NOT A REGISTERED USER, PLEASE EXIT.\r"
                                              "  \r"
                                              "HAS Velora BEEN SHUTDOWN? \r"
                                              "HAS THE DATABASE BEEN BACKED UP?\r"
                                              "IF THIS HAS NOT BEEN DONE PLEASE DO SO NOW!\r"
                                              " \r"
                                              "Do you want to continue?");

const QString undoQuestion = QStringLiteral("The database has ALREADY BEEN UPDATED to VerVL50.\r"
                                            "This action will UNDO VerVL50 Updates. \r"
                                            " \r"
                                            "IRRECOVERABLE DATA LOSS WILL OCCUR. \r"
                                            "Please make sure that you know what you are doing! \r"
                                            "Do you want to continue?");

const QString upgradeDone =
    QStringLiteral("Database Updates SUCCESSFULLY COMPLETED...\r Click OK to finish.");
const QString undoDone = QStringLiteral("Database Updates have been UNDONE...\r");
const QString upgradeFailed = QStringLiteral("DB Update error ..... Rolling Back. Details: \r");
const QString undoFailed = QStringLiteral("DB error in undoing updates ..... Rolling Back. Details: \r");
const QString probeFailed = QStringLiteral("Cannot Find Velora Update Flag : Details\r");

const QStringList newParmsColumns = {
    QStringLiteral("ParmItinNotify"),
    QStringLiteral("ParmItinImagePath"),
    QStringLiteral("ParmItinServerBaseUrl"),
    QStringLiteral("ParmCatlCovImage1"),
    QStringLiteral("ParmCatlCovImage2"),
    QStringLiteral("ParmCatlCovImage3"),
    QStringLiteral("ParmShowSustProfile"),
    QStringLiteral("ParmCatlTitleTxt"),
    QStringLiteral("ParmSuppId"),
    QStringLiteral("ParmCatlAccommTxt"),
    QStringLiteral("ParmCatlBodyTxt"),
};

void verifyQuestion(const platform::BoxRequest& box, const QString& text)
{
    QCOMPARE(box.kind, BoxKind::Warning);
    QCOMPARE(box.text, text);
    QCOMPARE(box.buttons, platform::BoxButtons(BoxButton::Yes | BoxButton::No));
    QCOMPARE(box.defaultButton, BoxButton::Yes);
    QCOMPARE(box.cancelButton, BoxButton::No);
}

// An error box made of the operation's text, a line break and the database's own message.
void verifyDatabaseError(const platform::BoxRequest& box, const QString& operationText)
{
    QCOMPARE(box.kind, BoxKind::Error);
    QVERIFY2(box.text.startsWith(operationText), qPrintable(box.text));
    QVERIFY2(box.text.size() > operationText.size(), "the database's message is missing");
}

// Presses "Update DB", answers Yes and expects the upgrade to succeed.
void upgrade(UpdaterRig& rig)
{
    const qsizetype before = rig.dialogs.boxes().size();
    rig.answerNext(BoxButton::Yes);
    rig.pressUpdate();
    QCOMPARE(rig.dialogs.boxes().size(), before + 2);
    verifyQuestion(rig.dialogs.boxes().at(before), updateQuestion);
    QCOMPARE(rig.dialogs.boxes().at(before + 1).kind, BoxKind::Information);
    QCOMPARE(rig.dialogs.boxes().at(before + 1).text, upgradeDone);
}

QStringList columnNames(const QStringList& catalogue)
{
    QStringList names;
    for (const QString& line : catalogue)
        names.append(line.section(QLatin1Char(' '), 0, 0));
    return names;
}

// The date and time of day as stored, whatever type the driver hands back.
QDateTime storedDateTime(const QVariant& value)
{
    if (value.typeId() == QMetaType::QString)
        return QDateTime::fromString(value.toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    const QDateTime stored = value.toDateTime();
    return QDateTime(stored.date(), stored.time());
}

struct Snapshot
{
    QStringList schema;
    QStringList rows;
};

Snapshot snapshot(const QSqlDatabase& db)
{
    return {catalogue(db), contents(db)};
}

void verifySameState(const QSqlDatabase& db, const Snapshot& expected)
{
    QCOMPARE(catalogue(db), expected.schema);
    QCOMPARE(contents(db), expected.rows);
}

} // namespace

class TestUpdaterVersion50 : public QObject
{
    Q_OBJECT

private slots:
    void upgradeWritesFlagAndNewSchema_data();
    void upgradeWritesFlagAndNewSchema();
    void undoRestoresTheSchemaExceptWidenedNotes_data();
    void undoRestoresTheSchemaExceptWidenedNotes();
    void upgradeOverExistingColumnsRollsBackWhole_data();
    void upgradeOverExistingColumnsRollsBackWhole();
    void undoWithSomethingAlreadyGoneRollsBackWhole_data();
    void undoWithSomethingAlreadyGoneRollsBackWhole();
    void undoDeletesEveryFlagRow_data();
    void undoDeletesEveryFlagRow();
    void flagDecidesTheQuestion_data();
    void flagDecidesTheQuestion();
    void missingFlagTableIsReportedTwice_data();
    void missingFlagTableIsReportedTwice();
};

void TestUpdaterVersion50::upgradeWritesFlagAndNewSchema_data()
{
    testlib::addBackendColumn();
    QTest::addColumn<QString>("quoteNotes");
    // SQLite does not enforce declared lengths, so QuoteNotes keeps its declaration there.
    testlib::newBackendRow("sqlite", Backend::Sqlite) << QStringLiteral("vl_quote.quotenotes varchar(255)");
    testlib::newBackendRow("postgres", Backend::Postgres) << QStringLiteral("vl_quote.quotenotes text");
}

void TestUpdaterVersion50::upgradeWritesFlagAndNewSchema()
{
    QFETCH(Backend, backend);
    QFETCH(QString, quoteNotes);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    UpdaterRig rig(backend);
    QVERIFY(rig.isReady());
    const QStringList schemaBefore = catalogue(rig.direct());

    const QDateTime pressedAt = QDateTime::currentDateTime();
    upgrade(rig);
    const QDateTime doneAt = QDateTime::currentDateTime();

    QSqlQuery flag(rig.direct());
    QVERIFY(flag.exec(QStringLiteral("SELECT UpdVerNo, UpdDate FROM VL_UPDATER")));
    QVERIFY(flag.next());
    QCOMPARE(flag.value(0).toString(), QStringLiteral("VerVL50"));
    const QDateTime appliedAt = storedDateTime(flag.value(1));
    QVERIFY2(appliedAt >= pressedAt.addMSecs(-pressedAt.time().msec()) && appliedAt <= doneAt,
             qPrintable(flag.value(1).toString()));
    QVERIFY(!flag.next());
    flag.finish();

    const QStringList schemaAfter = catalogue(rig.direct());
    QStringList added = columnNames(schemaAfter);
    for (const QString& name : columnNames(schemaBefore))
        added.removeOne(name);
    QStringList expectedAdded;
    for (const QString& column : newParmsColumns)
        expectedAdded.append(QStringLiteral("vl_parms.") + column.toLower());
    expectedAdded << QStringLiteral("vl_supplier.supppubaccomm")
                  << QStringLiteral("vl_supplier.suppsustprofiledesc")
                  << QStringLiteral("vl_suppsustpractice.suppsustguidkey")
                  << QStringLiteral("vl_suppsustpractice.suppidsustfk")
                  << QStringLiteral("vl_suppsustpractice.suppsustpractice")
                  << QStringLiteral("vl_suppsustpractice.suppsustcomments")
                  << QStringLiteral("vl_suppsustpractice.sustdatetime")
                  << QStringLiteral("vl_sustainablemast.sustguidkey")
                  << QStringLiteral("vl_sustainablemast.sustpractice")
                  << QStringLiteral("vl_sustainablemast.sustdatetime")
                  << QStringLiteral("vl_tourprod.tourpublish") << QStringLiteral("vl_tourprod.tourisevent");
    added.sort();
    expectedAdded.sort();
    QCOMPARE(added, expectedAdded);
    QVERIFY(catalogueLine(schemaAfter, QStringLiteral("VL_SUSTAINABLEMAST"), QStringLiteral("SustGuidKey"))
                .endsWith(QStringLiteral("not null primary key")));
    QVERIFY(
        catalogueLine(schemaAfter, QStringLiteral("VL_SUPPSUSTPRACTICE"), QStringLiteral("SUPPSUSTGUIDKEY"))
            .endsWith(QStringLiteral("not null primary key")));
    QCOMPARE(catalogueLine(schemaAfter, QStringLiteral("VL_QUOTE"), QStringLiteral("QuoteNotes")),
             quoteNotes);

    const QList<QPair<QString, QString>> zeroed = {
        {QStringLiteral("VL_SUPPLIER"), QStringLiteral("SuppPubAccomm")},
        {QStringLiteral("VL_TOURPROD"), QStringLiteral("TourPublish")},
        {QStringLiteral("VL_TOURPROD"), QStringLiteral("TourIsEvent")}};
    for (const auto& [table, column] : zeroed) {
        const QVariantList values = columnValues(rig.direct(), table, column);
        QVERIFY2(!values.isEmpty(), qPrintable(table + QStringLiteral(" has no rows to set")));
        for (const QVariant& value : values) {
            QVERIFY2(!value.isNull() && value.toInt() == 0, qPrintable(column));
        }
    }

    QList<QPair<QString, QString>> empty = {
        {QStringLiteral("VL_SUPPLIER"), QStringLiteral("SuppSustProfileDesc")}};
    for (const QString& column : newParmsColumns)
        empty.append({QStringLiteral("VL_PARMS"), column});
    for (const auto& [table, column] : empty) {
        const QVariantList values = columnValues(rig.direct(), table, column);
        QVERIFY2(!values.isEmpty(), qPrintable(table + QStringLiteral(" has no rows")));
        for (const QVariant& value : values)
            QVERIFY2(value.isNull(), qPrintable(column));
    }
}

void TestUpdaterVersion50::undoRestoresTheSchemaExceptWidenedNotes_data()
{
    testlib::addBackendRows();
}

void TestUpdaterVersion50::undoRestoresTheSchemaExceptWidenedNotes()
{
    QFETCH(Backend, backend);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    UpdaterRig rig(backend);
    QVERIFY(rig.isReady());
    Snapshot expected = snapshot(rig.direct());

    upgrade(rig);
    const QString widenedNotes =
        catalogueLine(catalogue(rig.direct()), QStringLiteral("VL_QUOTE"), QStringLiteral("QuoteNotes"));
    const qsizetype notesIndex = expected.schema.indexOf(
        catalogueLine(expected.schema, QStringLiteral("VL_QUOTE"), QStringLiteral("QuoteNotes")));
    QVERIFY(notesIndex >= 0);
    expected.schema[notesIndex] = widenedNotes;

    rig.answerNext(BoxButton::Yes);
    rig.pressUpdate();
    QCOMPARE(rig.dialogs.boxes().size(), 4);
    verifyQuestion(rig.dialogs.boxes().at(2), undoQuestion);
    QCOMPARE(rig.dialogs.boxes().at(3).kind, BoxKind::Information);
    QCOMPARE(rig.dialogs.boxes().at(3).text, undoDone);
    verifySameState(rig.direct(), expected);
}

void TestUpdaterVersion50::upgradeOverExistingColumnsRollsBackWhole_data()
{
    testlib::addBackendRows();
}

void TestUpdaterVersion50::upgradeOverExistingColumnsRollsBackWhole()
{
    QFETCH(Backend, backend);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    UpdaterRig rig(backend);
    QVERIFY(rig.isReady());
    upgrade(rig);
    QVERIFY(execDirect(rig.direct(), QStringLiteral("DELETE FROM VL_UPDATER")));
    const Snapshot before = snapshot(rig.direct());
    rig.dialogs.clear();

    rig.answerNext(BoxButton::Yes);
    rig.pressUpdate();

    QCOMPARE(rig.dialogs.boxes().size(), 2);
    verifyQuestion(rig.dialogs.boxes().at(0), updateQuestion);
    verifyDatabaseError(rig.dialogs.boxes().at(1), upgradeFailed);
    QVERIFY2(rig.dialogs.boxes().at(1).text.contains(QLatin1String("ParmItinNotify"), Qt::CaseInsensitive),
             qPrintable(rig.dialogs.boxes().at(1).text));
    verifySameState(rig.direct(), before);
}

void TestUpdaterVersion50::undoWithSomethingAlreadyGoneRollsBackWhole_data()
{
    testlib::addBackendColumn();
    QTest::addColumn<QString>("removal");
    for (const Backend backend : {Backend::Sqlite, Backend::Postgres}) {
        const QByteArray name = testlib::backendName(backend).toLatin1();
        // The first, a middle and the last statement of the undo fail in turn.
        testlib::newBackendRow(name + ": supplier column gone", backend)
            << QStringLiteral("ALTER TABLE VL_SUPPLIER DROP COLUMN SuppSustProfileDesc");
        testlib::newBackendRow(name + ": parms column gone", backend)
            << QStringLiteral("ALTER TABLE VL_PARMS DROP COLUMN ParmCatlBodyTxt");
        testlib::newBackendRow(name + ": last new table gone", backend)
            << QStringLiteral("DROP TABLE VL_SUPPSUSTPRACTICE");
    }
}

void TestUpdaterVersion50::undoWithSomethingAlreadyGoneRollsBackWhole()
{
    QFETCH(Backend, backend);
    QFETCH(QString, removal);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    UpdaterRig rig(backend);
    QVERIFY(rig.isReady());
    upgrade(rig);
    QVERIFY(execDirect(rig.direct(), removal));
    const Snapshot before = snapshot(rig.direct());
    rig.dialogs.clear();

    rig.answerNext(BoxButton::Yes);
    rig.pressUpdate();

    QCOMPARE(rig.dialogs.boxes().size(), 2);
    verifyQuestion(rig.dialogs.boxes().at(0), undoQuestion);
    verifyDatabaseError(rig.dialogs.boxes().at(1), undoFailed);
    verifySameState(rig.direct(), before);
}

void TestUpdaterVersion50::undoDeletesEveryFlagRow_data()
{
    testlib::addBackendRows();
}

void TestUpdaterVersion50::undoDeletesEveryFlagRow()
{
    QFETCH(Backend, backend);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    UpdaterRig rig(backend);
    QVERIFY(rig.isReady());
    upgrade(rig);
    QVERIFY(execDirect(rig.direct(), QStringLiteral("INSERT INTO VL_UPDATER (UpdVerNo) VALUES ('VerVL50')")));
    QVERIFY(
        execDirect(rig.direct(), QStringLiteral("INSERT INTO VL_UPDATER (UpdVerNo) VALUES ('VerVL50   ')")));
    QVERIFY(execDirect(rig.direct(), QStringLiteral("INSERT INTO VL_UPDATER (UpdVerNo) VALUES ('VerVL40')")));

    rig.answerNext(BoxButton::Yes);
    rig.pressUpdate();

    QCOMPARE(rig.dialogs.texts().last(), undoDone);
    QCOMPARE(columnValues(rig.direct(), QStringLiteral("VL_UPDATER"), QStringLiteral("UpdVerNo")),
             QVariantList{QStringLiteral("VerVL40")});
}

void TestUpdaterVersion50::flagDecidesTheQuestion_data()
{
    testlib::addBackendColumn();
    QTest::addColumn<QString>("storedFlag"); // null: no row
    QTest::addColumn<QString>("found");
    QTest::addColumn<QString>("question"); // empty: none asked
    for (const Backend backend : {Backend::Sqlite, Backend::Postgres}) {
        const QByteArray name = testlib::backendName(backend).toLatin1();
        testlib::newBackendRow(name + ": no flag row", backend) << QString() << QString() << updateQuestion;
        testlib::newBackendRow(name + ": flag", backend)
            << QStringLiteral("VerVL50") << QStringLiteral("VerVL50") << undoQuestion;
        testlib::newBackendRow(name + ": flag with trailing blanks", backend)
            << QStringLiteral("VerVL50  ") << QStringLiteral("VerVL50") << undoQuestion;
        testlib::newBackendRow(name + ": flag in other letter case", backend)
            << QStringLiteral("VERvl50") << QStringLiteral("VERvl50") << QString();
        testlib::newBackendRow(name + ": another update's flag", backend)
            << QStringLiteral("VerVL40") << QString() << updateQuestion;
    }
}

// Answering No (or Esc, the cancel button) leaves the database as it was.
void TestUpdaterVersion50::flagDecidesTheQuestion()
{
    QFETCH(Backend, backend);
    QFETCH(QString, storedFlag);
    QFETCH(QString, found);
    QFETCH(QString, question);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    UpdaterRig rig(backend);
    QVERIFY(rig.isReady());
    if (!storedFlag.isNull())
        QVERIFY(execDirect(
            rig.direct(), QStringLiteral("INSERT INTO VL_UPDATER (UpdVerNo) VALUES ('%1')").arg(storedFlag)));
    const Snapshot before = snapshot(rig.direct());

    rig.answerNext(BoxButton::No);
    rig.pressUpdate();

    if (question.isEmpty()) {
        QCOMPARE(rig.dialogs.texts(), QStringList());
    } else {
        QCOMPARE(rig.dialogs.boxes().size(), 1);
        verifyQuestion(rig.dialogs.boxes().at(0), question);
    }
    QCOMPARE(rig.window.FoundVersion(), found);
    verifySameState(rig.direct(), before);
}

void TestUpdaterVersion50::missingFlagTableIsReportedTwice_data()
{
    testlib::addBackendRows();
}

// The probe reports the error itself; reading the flag afterwards raises it again, unguarded.
void TestUpdaterVersion50::missingFlagTableIsReportedTwice()
{
    QFETCH(Backend, backend);
    VELORA_SKIP_UNLESS_AVAILABLE(backend);
    UpdaterRig rig(backend);
    QVERIFY(rig.isReady());
    QVERIFY(execDirect(rig.direct(), QStringLiteral("DROP TABLE VL_UPDATER")));

    rig.pressUpdate();

    QCOMPARE(rig.dialogs.boxes().size(), 2);
    verifyDatabaseError(rig.dialogs.boxes().at(0), probeFailed);
    const QString databaseText = rig.dialogs.boxes().at(0).text.mid(probeFailed.size());
    QVERIFY2(databaseText.contains(QLatin1String("VL_UPDATER"), Qt::CaseInsensitive),
             qPrintable(databaseText));
    QCOMPARE(rig.dialogs.boxes().at(1).kind, BoxKind::Error);
    // The same error again; PostgreSQL's text names the prepared statement, which differs.
    const QString uncaughtText = rig.dialogs.boxes().at(1).text;
    QCOMPARE(uncaughtText.section(QLatin1Char('\n'), 0, 0), databaseText.section(QLatin1Char('\n'), 0, 0));

    rig.dialogs.clear();
    QVERIFY_THROWS_EXCEPTION(platform::DatabaseError, rig.window.btnUpdate1Click());
    QCOMPARE(rig.dialogs.boxes().size(), 1);
}

// Pinned to a zone away from UTC, so that a time stored in UTC instead of local time shows.
int main(int argc, char* argv[])
{
    qputenv("TZ", "Asia/Kolkata");
    QApplication application(argc, argv);
    TestUpdaterVersion50 test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_updaterversion50.moc"
