#pragma once
// A drop-down list of layers by name, in the order given, that answers with the chosen layer's
// id. The layer manager's "To:" list, the move-to-layer dialog and any other command that asks
// for one layer use it.
#include "store/LayerRow.h"

#include <QComboBox>
#include <vector>

class LayerChoiceBox : public QComboBox
{
public:
    explicit LayerChoiceBox(QWidget *parent);

    // Lists these layers and chooses the first; nothing is chosen when the list is empty.
    void showLayers(const std::vector<LayerRow> &layers);
    // Id of the chosen layer; -1 when none is chosen.
    int chosenId() const;

private:
    std::vector<int> m_ids;
};
