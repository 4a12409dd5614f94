#pragma once
// Pieces the record editors (events, tasks) share: the centred OK / Cancel row, the subject
// focused at its end on showing, and what Enter means in them.
#include <QString>

class QEvent;
class QHBoxLayout;
class QLineEdit;
class QObject;
class QPushButton;
class QWidget;

namespace EditorDialogParts
{

struct Buttons {
    QHBoxLayout *row = nullptr;
    QPushButton *ok = nullptr;
    QPushButton *cancel = nullptr;
};
// "OK" and "Cancel", 100 px wide, centred in a row 10 px apart; children of `dialog`.
Buttons okCancelRow(QWidget &dialog);

// Focuses the subject with the cursor at its end, nothing selected: a subject typed in the
// window goes on with the next key instead of being replaced.
void focusAtEnd(QLineEdit &subject);

enum class EnterKey {
    None,           // not an Enter the dialog acts on
    ApplyAndAccept, // Ctrl+Enter anywhere: apply the focused box, then OK
    Accept,         // Enter in the subject: OK
};
EnterKey enterKey(const QObject *watched, const QEvent *event, const QLineEdit *subject);

} // namespace EditorDialogParts
