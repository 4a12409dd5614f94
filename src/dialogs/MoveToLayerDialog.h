#pragma once
// "Move To Layer": asks for the layer the chosen events or tasks go to. The caller runs it
// modally and moves the items through the stores when chosenLayerId() names a layer.
#include <QDialog>

class LayerChoiceBox;
class LayersStore;
class QPushButton;

class MoveToLayerDialog : public QDialog
{
public:
    // The layers store must outlive the dialog.
    MoveToLayerDialog(const LayersStore &layers, QWidget *parent);

    // Lists every layer in display order and chooses the first.
    void prepare();
    // Id of the chosen layer; -1 when there is none.
    int chosenLayerId() const;

    LayerChoiceBox &layerBox() const { return *m_layerBox; }
    QPushButton &okButton() const { return *m_ok; }

private:
    const LayersStore &m_layers;
    LayerChoiceBox *m_layerBox = nullptr;
    QPushButton *m_ok = nullptr;
};
