#include "UpdaterTexts.h"

namespace updater {

namespace {

QString joinedByCarriageReturn(const QStringList& lines)
{
    return lines.join(QLatin1Char('\r'));
}

} // namespace

QStringList introductionLines()
{
    return {
        QStringLiteral("NOTE: THE DB UPDATER MUST BE EXECUTED FROM THE FOLDER WHERE VELORA IS INSTALLED."),
        QString(),
        QStringLiteral("The updater will update the Velora Database TO Version 5.0."),
        QStringLiteral(
            "Updating from any other versions will not work and cause unpredictated results and data loss. "),
        QString(),
        QStringLiteral("QUENDRIX IS  NOT RESPONSIBLE FOR SUCH DATA LOSS."),
    };
}

QStringList warningLines()
{
    return {
        QStringLiteral("PLEASE SHUT DOWN Velora AND BACK UP THE  DATABASE BEFORE PROCEEDING."),
        QString(),
        QStringLiteral("DO NOT SHUTDOWN THE DATABASE!"),
        QString(),
        QStringLiteral("The Updater will create new tables and fields in the database in order that the new "
                       "functionaity will work correctly."),
        QStringLiteral("This program is required to be run only ONCE."),
        QStringLiteral("The computer MUST BE RE-STARTED when the updater has completed."),
        QString(),
        QStringLiteral("READ CAREFULLY:"),
        QStringLiteral(
            "Once the updated version of Velora is in operation, any database backups of Velora may NOT be"),
        QStringLiteral(
            "used for any database restore purposes because the updated fields and table will be LOST. "),
        QString(),
        QStringLiteral(
            "Furthermore,  if the updater is re-run, that is, to UNDO AND REDO the changes. IRRECOVERABLE "
            "DATA LOSS"),
        QStringLiteral("will occur. QUENDRIX WILL NOT BE RESPONSIBLE FOR SUCH DATA LOSS.  "),
        QString(),
        QStringLiteral(
            "If problems are  encountered while the Updater is executing please provide a detailed "
            "description of the problem "),
        QStringLiteral(
            "and include screenshots of any messages. In this case the backed up copy  of the database "
            "prior to the running "),
        QStringLiteral("this update may be used to restore the database to continue working, while the error "
                       "encountered "),
        QStringLiteral("is being investigated."),
    };
}

QString updateQuestion(const QString& versionId)
{
    return joinedByCarriageReturn({
        QStringLiteral("The database will be updated to ") + versionId + QStringLiteral("."),
        QStringLiteral("If you are NOT SURE what to do, stop the process and ask. "),
        QStringLiteral(" "),
        QStringLiteral("IF YOU ARE NOT A REGISTERED USER, PLEASE EXIT."),
        QStringLiteral("  "),
        QStringLiteral("HAS Velora BEEN SHUTDOWN? "),
        QStringLiteral("HAS THE DATABASE BEEN BACKED UP?"),
        QStringLiteral("IF THIS HAS NOT BEEN DONE PLEASE DO SO NOW!"),
        QStringLiteral(" "),
        QStringLiteral("Do you want to continue?"),
    });
}

QString undoQuestion(const QString& versionId)
{
    return joinedByCarriageReturn({
        QStringLiteral("The database has ALREADY BEEN UPDATED to ") + versionId + QStringLiteral("."),
        QStringLiteral("This action will UNDO ") + versionId + QStringLiteral(" Updates. "),
        QStringLiteral(" "),
        QStringLiteral("IRRECOVERABLE DATA LOSS WILL OCCUR. "),
        QStringLiteral("Please make sure that you know what you are doing! "),
        QStringLiteral("Do you want to continue?"),
    });
}

} // namespace updater
