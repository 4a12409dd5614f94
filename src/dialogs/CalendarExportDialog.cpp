#include "dialogs/CalendarExportDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CalendarExportDialog::CalendarExportDialog(const std::vector<LayerRow> &layers, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QString::fromLatin1(Title));
    auto *box = new QVBoxLayout(this);
    box->addWidget(new QLabel(QStringLiteral("Layers to export:"), this));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("layers"));
    for (const LayerRow &layer : layers) {
        auto *item = new QListWidgetItem(layer.name, m_list);
        item->setData(Qt::UserRole, layer.id);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setCheckState(layer.shown ? Qt::Checked : Qt::Unchecked);
    }
    box->addWidget(m_list);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemChanged, this, &CalendarExportDialog::updateOk);
    updateOk();
}

QList<int> CalendarExportDialog::chosenLayers() const
{
    QList<int> ids;
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->checkState() == Qt::Checked)
            ids.append(m_list->item(i)->data(Qt::UserRole).toInt());
    return ids;
}

void CalendarExportDialog::updateOk()
{
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!chosenLayers().isEmpty());
}
