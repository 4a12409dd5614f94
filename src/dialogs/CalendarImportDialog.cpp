#include "dialogs/CalendarImportDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QStandardItemModel>
#include <QVBoxLayout>

CalendarImportDialog::CalendarImportDialog(const QString &fileName,
                                           const std::vector<LayerRow> &layers,
                                           bool newLayerPossible, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QString::fromLatin1(Title));
    auto *box = new QVBoxLayout(this);
    box->addWidget(new QLabel(QStringLiteral("Import \"%1\" into:").arg(fileName), this));
    m_layers = new QComboBox(this);
    m_layers->setObjectName(QStringLiteral("layer"));
    m_layers->addItem(QStringLiteral("New layer"), 0);
    for (const LayerRow &layer : layers)
        m_layers->addItem(layer.name, layer.id);
    if (!newLayerPossible) {
        if (auto *model = qobject_cast<QStandardItemModel *>(m_layers->model()))
            model->item(0)->setEnabled(false);
        if (m_layers->count() > 1) m_layers->setCurrentIndex(1);
    }
    box->addWidget(m_layers);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

int CalendarImportDialog::chosenLayer() const
{
    return m_layers->currentData().toInt();
}
