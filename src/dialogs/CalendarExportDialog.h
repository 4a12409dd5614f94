#pragma once
// The layers to write into a calendar file: one check box per layer, in display order, the
// shown layers checked at first. OK is enabled while at least one layer is checked.
#include "store/LayerRow.h"

#include <QDialog>
#include <QList>

#include <vector>

class QDialogButtonBox;
class QListWidget;

class CalendarExportDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr const char *Title = "Export Calendar";

    CalendarExportDialog(const std::vector<LayerRow> &layers, QWidget *parent = nullptr);

    // IDs of the checked layers, in display order.
    QList<int> chosenLayers() const;
    QListWidget *layerList() const { return m_list; }
    QDialogButtonBox *buttons() const { return m_buttons; }

private:
    void updateOk();

    QListWidget *m_list = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
};
