#include "StatusPanels.h"

#include <QLabel>

namespace updater {

namespace {

constexpr int barHeight = 25;
constexpr int panelGap = 2;

} // namespace

StatusPanels::StatusPanels(const QList<int>& panelWidths, QWidget* parent) : QFrame(parent)
{
    setFixedHeight(barHeight);
    int left = 0;
    for (const int width : panelWidths) {
        auto* panel = new QLabel(this);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setTextFormat(Qt::PlainText);
        panel->setIndent(4);
        panel->setGeometry(left, panelGap, width - panelGap, barHeight - panelGap);
        m_panels.append(panel);
        left += width;
    }
}

QString StatusPanels::panelText(int index) const
{
    return m_panels.at(index)->text();
}

void StatusPanels::setPanelText(int index, const QString& text)
{
    m_panels.at(index)->setText(text);
}

QSize StatusPanels::sizeHint() const
{
    return {0, barHeight};
}

QSize StatusPanels::minimumSizeHint() const
{
    return {0, barHeight};
}

} // namespace updater
