#include "FrmKanban.h"

#include "BoardColumns.h"
#include "platform/Dialogs.h"
#include "shell/CompanySettings.h"
#include "store/KBDataModule.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

TfrmKanban::TfrmKanban(TKBDataModule& dataModule, WorkContext& workContext, QString programFolder,
                       QWidget* parent)
    : QMainWindow(parent), m_dataModule(dataModule), m_workContext(workContext),
      m_programFolder(std::move(programFolder))
{
    setObjectName(QStringLiteral("frmKanban"));
    setWindowTitle(QStringLiteral("VL-KANBAN"));
    resize(1117, 667);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    setCentralWidget(createBoardArea());

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("stStatus"));
    status->setSizeGripEnabled(false);
    for (int panel = 0; panel < int(m_statusPanels.size()); ++panel) {
        m_statusPanels[panel] = new QLabel(status);
        m_statusPanels[panel]->setObjectName(QStringLiteral("stStatusPanel%1").arg(panel));
        status->addPermanentWidget(m_statusPanels[panel], panel == 0 ? 1 : 0);
    }
    setStatusBar(status);
}

QWidget* TfrmKanban::createBoardArea()
{
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("VLKanBanBoard"));
    auto* layout = new QHBoxLayout(area);
    layout->setContentsMargins(10, 10, 10, 10);
    for (const auto& column : board::boardColumns) {
        auto* frame = new QWidget(area);
        auto* columnLayout = new QVBoxLayout(frame);
        columnLayout->setContentsMargins(0, 0, 0, 0);
        auto* header = new QLabel(column.header, frame);
        header->setFixedHeight(30);
        header->setAlignment(Qt::AlignCenter);
        header->setStyleSheet(
            QStringLiteral("background:%1;color:white;font-weight:bold;").arg(column.headerFill.name()));
        columnLayout->addWidget(header);
        columnLayout->addStretch();
        frame->setStyleSheet(QStringLiteral("background:#f4f6f8;"));
        layout->addWidget(frame);
    }
    return area;
}

void TfrmKanban::FormCreate()
{
    if (m_dataModule.DbConnected())
        m_statusPanels[0]->setText(m_dataModule.StatusText());

    shell::ReadCompanySettings(m_programFolder, m_workContext);
    if (!shell::hasActiveCompany(m_workContext)) {
        platform::Dialogs::information(shell::noActiveCompanyText, this);
        // Takes effect once the message loop runs, so the window is still shown once.
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                  Qt::QueuedConnection);
        return;
    }
    m_statusPanels[1]->setText(m_workContext.CompanyCode);
}

QString TfrmKanban::statusPanelText(int panel) const
{
    return m_statusPanels.at(panel)->text();
}

void TfrmKanban::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TfrmKanban::FormShow()
{
    GalleryHome = shell::ReadGallerySettings(m_programFolder);
}
