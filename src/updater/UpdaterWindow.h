#pragma once

#include <QString>
#include <QWidget>

namespace updater {

class StatusPanels;
class TVLDataMod;

// The updater's only window: what the updater does, the warnings, "Update DB" and "&Close",
// and the connection outcome in its status bar.
class TfrmUpdater : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmUpdater(QWidget* parent = nullptr);

    // The data module is created after the window, so it is handed over once it exists.
    void setDataModule(TVLDataMod* dataModule) { m_dataModule = dataModule; }

    StatusPanels* stStatus() const { return m_stStatus; }

    // The identifier of this update; the data module binds it to PVerID.
    const QString& VersionId() const { return m_versionId; }
    const QString& FoundVersion() const { return m_foundVersion; }

public slots:
    // Reads the version flag and offers the upgrade or its undo. Database errors outside the
    // data module's own guards leave this handler.
    void btnUpdate1Click();
    void btnCloseClick();

private:
    StatusPanels* m_stStatus = nullptr;
    TVLDataMod* m_dataModule = nullptr;

    QString m_versionId;
    QString m_foundVersion;
};

} // namespace updater
