#pragma once

#include <QFrame>
#include <QList>

class QLabel;

namespace updater {

// A status bar of text panels of fixed widths, side by side from the left. Panels that do not
// fit are cut off by the window's edge rather than widening it.
class StatusPanels : public QFrame
{
    Q_OBJECT

public:
    StatusPanels(const QList<int>& panelWidths, QWidget* parent = nullptr);

    int panelCount() const { return int(m_panels.size()); }
    QString panelText(int index) const;
    void setPanelText(int index, const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    QList<QLabel*> m_panels;
};

} // namespace updater
