#pragma once

#include <QMainWindow>

#include <array>

class QLabel;
class TKBDataModule;
struct WorkContext;

// The board program's main window, titled "VL-KANBAN".
class TfrmKanban : public QMainWindow
{
    Q_OBJECT
public:
    TfrmKanban(TKBDataModule& dataModule, WorkContext& workContext, QString programFolder,
               QWidget* parent = nullptr);

    // Creation: shows the connection outcome and checks the active company, which may end the program.
    void FormCreate();

    QString statusPanelText(int panel) const;
    QString GalleryHome;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    QWidget* createBoardArea();

    TKBDataModule& m_dataModule;
    WorkContext& m_workContext;
    QString m_programFolder;
    std::array<QLabel*, 4> m_statusPanels{};
    bool m_shown = false;
};
