#include "dialogs/LayerChoiceBox.h"

LayerChoiceBox::LayerChoiceBox(QWidget *parent) : QComboBox(parent)
{
    setMaxVisibleItems(16);
}

void LayerChoiceBox::showLayers(const std::vector<LayerRow> &layers)
{
    clear();
    m_ids.clear();
    for (const LayerRow &l : layers) {
        addItem(l.name);
        m_ids.push_back(l.id);
    }
    setCurrentIndex(layers.empty() ? -1 : 0);
}

int LayerChoiceBox::chosenId() const
{
    const int i = currentIndex();
    return i >= 0 && i < int(m_ids.size()) ? m_ids[std::size_t(i)] : -1;
}
