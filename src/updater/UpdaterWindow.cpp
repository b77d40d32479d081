#include "UpdaterWindow.h"

#include "StatusPanels.h"
#include "UpdaterDataModule.h"
#include "UpdaterTexts.h"

#include "platform/Dialogs.h"
#include "platform/Query.h"
#include "platform/TextTrim.h"
#include "platform/UncaughtErrors.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace updater {

namespace {

constexpr int clientWidth = 724;
constexpr int clientHeight = 489;

// Colours are kept as the product states them: Windows values, red in the low byte.
QColor windowsColour(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

QFont fontOf(const QString& family, int points, bool bold = false)
{
    QFont font(family, points);
    font.setBold(bold);
    return font;
}

QFrame* makeTitlePanel(QWidget* parent)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QStringLiteral("AdvPanel1"));
    panel->setFixedHeight(34);
    panel->setStyleSheet(
        QStringLiteral("QFrame#AdvPanel1 { border: 1px solid %1; background: "
                       "qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFFFFF, stop:1 %2); }")
            .arg(windowsColour(13815240).name(), windowsColour(15590880).name()));

    auto* title = new QLabel(QStringLiteral("Velora Database Updater Utility 5.0"), panel);
    title->setObjectName(QStringLiteral("Label1"));
    title->setFont(fontOf(QStringLiteral("Tahoma"), 12, true));
    QPalette palette = title->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    title->setPalette(palette);

    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(8, 0, 8, 0);
    layout->addWidget(title);
    return panel;
}

QPlainTextEdit* makeMemo(const QString& name, const QStringList& lines, const QColor& fill, const QColor& ink,
                         QWidget* parent)
{
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(name);
    memo->setReadOnly(true);
    memo->setTabChangesFocus(true);
    memo->setFont(fontOf(QStringLiteral("Roboto"), 9));
    QPalette palette = memo->palette();
    palette.setColor(QPalette::Base, fill);
    palette.setColor(QPalette::Text, ink);
    memo->setPalette(palette);
    memo->setPlainText(lines.join(QLatin1Char('\n')));
    return memo;
}

QPushButton* makeButton(const QString& name, const QString& caption, int left, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(left, 417, 75, 25);
    // Enter and Esc press neither button.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

TfrmUpdater::TfrmUpdater(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmUpdater"));
    setWindowTitle(QStringLiteral("frmUpdater"));
    setFont(fontOf(QStringLiteral("Segoe UI"), 9));
    resize(clientWidth, clientHeight);

    auto* memo1 =
        makeMemo(QStringLiteral("Memo1"), introductionLines(), windowsColour(16744448), Qt::white, this);
    memo1->setFixedHeight(97);
    memo1->setFocusPolicy(Qt::ClickFocus);

    auto* warning = new QLabel(QStringLiteral("WARNING - PLEASE READ CAREFULLY"), this);
    warning->setObjectName(QStringLiteral("Label2"));
    warning->setFont(fontOf(QStringLiteral("Tahoma"), 8, true));
    warning->setContentsMargins(3, 1, 0, 1);
    QPalette warningPalette = warning->palette();
    warningPalette.setColor(QPalette::WindowText, Qt::red);
    warning->setPalette(warningPalette);

    auto* memo2 = makeMemo(QStringLiteral("Memo2"), warningLines(), windowsColour(16645371), Qt::black, this);

    m_stStatus = new StatusPanels({600, 100, 130, 50}, this);
    m_stStatus->setObjectName(QStringLiteral("stStatus"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeTitlePanel(this));
    layout->addWidget(memo1);
    layout->addWidget(warning);
    layout->addWidget(memo2, 1);
    layout->addWidget(m_stStatus);

    // The buttons stand over the lower right part of Memo2, outside the layout.
    auto* btnUpdate1 = makeButton(QStringLiteral("btnUpdate1"), QStringLiteral("Update DB"), 431, this);
    btnUpdate1->setFont(fontOf(QStringLiteral("Tahoma"), 8, true));
    auto* btnClose = makeButton(QStringLiteral("btnClose"), QStringLiteral("&Close"), 520, this);
    btnUpdate1->raise();
    btnClose->raise();
    // An error leaving the handler goes to the uncaught-error handler here, so that it never unwinds
    // through the toolkit's frames, which are built without exception support.
    connect(btnUpdate1, &QPushButton::clicked, this,
            [this] { platform::runReportingErrors([this] { btnUpdate1Click(); }); });
    connect(btnClose, &QPushButton::clicked, this, &TfrmUpdater::btnCloseClick);

    setTabOrder(memo2, btnUpdate1);
    setTabOrder(btnUpdate1, btnClose);
    memo2->setFocus();

    if (const QScreen* display = screen())
        move(display->availableGeometry().center() - QPoint(clientWidth / 2, clientHeight / 2));
}

void TfrmUpdater::btnUpdate1Click()
{
    m_versionId = QStringLiteral("VerVL50");
    m_foundVersion.clear();

    m_dataModule->ReadUpdateFlag();
    platform::Query& query = m_dataModule->VLQuery();
    query.open();
    if (query.recordCount() > 0) {
        query.first();
        m_foundVersion = platform::trimmed(query.fieldByName(QStringLiteral("UpdVerNo")).toString());
    }
    query.close();

    if (!m_foundVersion.isEmpty()) {
        // Case-sensitive: a flag the database matched without regard to case offers nothing.
        if (m_foundVersion == m_versionId &&
            platform::Dialogs::askYesNo(undoQuestion(m_versionId), this) == platform::BoxButton::Yes)
            m_dataModule->UndoDatabaseUpdates();
        unsetCursor();
        return;
    }
    if (platform::Dialogs::askYesNo(updateQuestion(m_versionId), this) == platform::BoxButton::Yes)
        m_dataModule->ApplyDatabaseUpdates();
    unsetCursor();
}

void TfrmUpdater::btnCloseClick()
{
    close();
}

} // namespace updater
