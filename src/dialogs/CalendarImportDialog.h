#pragma once
// Where a calendar file's events and tasks go: "New layer" (first, chosen at first) or one of
// the existing layers in display order. "New layer" is disabled when no layer can be added.
#include "store/LayerRow.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QDialogButtonBox;

class CalendarImportDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr const char *Title = "Import Calendar";

    CalendarImportDialog(const QString &fileName, const std::vector<LayerRow> &layers,
                         bool newLayerPossible, QWidget *parent = nullptr);

    // The chosen layer's id; 0 for a new layer.
    int chosenLayer() const;
    QComboBox *layerBox() const { return m_layers; }
    QDialogButtonBox *buttons() const { return m_buttons; }

private:
    QComboBox *m_layers = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
};
