#include "KBDataModule.h"

#include "platform/DataLink.h"
#include "platform/Dialogs.h"

#include <QFileInfo>
#include <QStringList>

namespace {

QString missingDataLinkText(const QString& udlFolder)
{
    return QStringList{QStringLiteral("No Database connection established."),
                       QStringLiteral("You will not be able to use VL-KANBAN."),
                       QStringLiteral("  "),
                       QStringLiteral("REASON:The file Velora.udl is"),
                       QStringLiteral("not found in the application directory: ") + udlFolder +
                           QLatin1Char(' '),
                       QStringLiteral("Make sure that name is spelt correctly and it exist."),
                       QString()}
        .join(QLatin1Char('\r'));
}

} // namespace

TKBDataModule::TKBDataModule(WorkContext& workContext, CurrentTask& currentTask, QString programFolder,
                             QObject* parent)
    : QObject(parent), ADOKBDataSet(ADOKbConnect), ADOAgentsInternDataSet(ADOKbConnect),
      VLQuery(ADOKbConnect), VLQuery2(ADOKbConnect), ADOLetterDataSet(ADOKbConnect),
      m_workContext(workContext), m_currentTask(currentTask), m_programFolder(std::move(programFolder))
{
    ADOKBDataSet.setUpdateTarget(QStringLiteral("VL_KANBAN"),
                                 {QStringLiteral("KBGuidKey"), QStringLiteral("KBCoId")});
    connect(&ADOKBDataSet, &platform::DataSet::recordChangeComplete, this,
            &TKBDataModule::ADOKBDataSetRecordChangeComplete);
}

void TKBDataModule::DataModuleCreate()
{
    ConnectDatabase();
}

void TKBDataModule::ConnectDatabase()
{
    ADOKbConnect.close();
    ADOKbConnect.setConnectionString(QString());
    m_dbConnected = false;
    m_statusText.clear();

    m_udlFolder = platform::dataLinkFolder(m_programFolder);
    const QString dataLinkPath = m_udlFolder + platform::dataLinkFileName;
    // isFile() follows a link to its target.
    if (QFileInfo(dataLinkPath).isFile()) {
        ADOKbConnect.setConnectionString(QStringLiteral("File Name=") + dataLinkPath);
        ADOKbConnect.open();
        m_statusText = QStringLiteral("DB connection OK - ") + dataLinkPath;
        m_dbConnected = true;
    } else {
        platform::Dialogs::warning(missingDataLinkText(m_udlFolder));
        m_statusText = QStringLiteral("DB connection failed - UDL file not found. Also check UDLKEY path ");
    }
}

void TKBDataModule::ADOKBDataSetRecordChangeComplete()
{
    emit statisticsRefreshRequested();
}
