#include "dialogs/MoveToLayerDialog.h"

#include "dialogs/DialogPanel.h"
#include "dialogs/EditorDialogParts.h"
#include "dialogs/LayerChoiceBox.h"
#include "store/LayersStore.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

MoveToLayerDialog::MoveToLayerDialog(const LayersStore &layers, QWidget *parent)
    : QDialog(parent), m_layers(layers)
{
    setWindowTitle(QStringLiteral("Move To Layer"));
    setFixedSize(371, 135);
    DialogPanel::paintDialogBackground(*this);
    auto *top = new QVBoxLayout(this);
    top->setContentsMargins(10, 10, 10, 10);
    auto *panel = new DialogPanel(QStringLiteral("Move To Layer"), this);
    auto *body = new QVBoxLayout(panel->body());
    body->setContentsMargins(6, 4, 6, 4);
    body->addWidget(new QLabel(QStringLiteral("Move the chosen events to layer:"), panel->body()));
    m_layerBox = new LayerChoiceBox(panel->body());
    body->addWidget(m_layerBox);
    top->addWidget(panel, 1);
    const EditorDialogParts::Buttons buttons = EditorDialogParts::okCancelRow(*this);
    m_ok = buttons.ok;
    m_ok->setDefault(true);
    top->addLayout(buttons.row);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void MoveToLayerDialog::prepare()
{
    m_layerBox->showLayers(m_layers.layers());
}

int MoveToLayerDialog::chosenLayerId() const
{
    return m_layerBox->chosenId();
}
