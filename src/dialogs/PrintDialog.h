#pragma once
// The print dialog of the current view: the print settings as defaults for this job (copies,
// font size, width, height, event colour, heading and, in views 0..8, the start and stop
// hours), the printer set-up, and Print / Cancel. It stores nothing back into the settings;
// the caller prints with options() after exec() returned Accepted.
#include "core/PrintOptions.h"

#include <QDialog>

class DateTimeFormat;
class QCheckBox;
class QComboBox;
class QPrinter;
class Settings;

class PrintDialog : public QDialog
{
    Q_OBJECT
public:
    // Captions by view kind 0..19 ("Print Day" .. "Print Tasks").
    static QString captionFor(int viewKind);
    // The start list: "Screen Start", then the 24 hours from midnight; the stop list: "Screen
    // End", then 1 o'clock .. 23 o'clock and midnight. Each hour is two digits, the time
    // separator and "00", with " AM"/" PM" on the 12-hour clock.
    static QStringList startItems(const DateTimeFormat &format);
    static QStringList stopItems(const DateTimeFormat &format);

    // Sets the printer's orientation for the view at once. The references must outlive the
    // dialog.
    PrintDialog(int viewKind, const Settings &settings, const DateTimeFormat &format,
                QPrinter &printer, QWidget *parent = nullptr);

    // The choices as they stand; copies from the copies box (1..100).
    PrintOptions options() const;

    QComboBox *startBox() const { return m_start; }
    QComboBox *stopBox() const { return m_stop; }
    QComboBox *copiesBox() const { return m_copies; }
    QComboBox *fontSizeBox() const { return m_fontSize; }
    QComboBox *widthBox() const { return m_width; }
    QComboBox *heightBox() const { return m_height; }
    QComboBox *colorBox() const { return m_color; }
    QCheckBox *headingBox() const { return m_heading; }

    // The copies box's text corrected: below 1 or not a number "1", above 100 "100".
    static QString correctedCopies(const QString &text);

private:
    void startChanged(int index);
    void stopChanged(int index);
    void printerSetup();

    QPrinter &m_printer;
    bool m_timePanel = false;
    QComboBox *m_start = nullptr;
    QComboBox *m_stop = nullptr;
    QComboBox *m_copies = nullptr;
    QComboBox *m_fontSize = nullptr;
    QComboBox *m_width = nullptr;
    QComboBox *m_height = nullptr;
    QComboBox *m_color = nullptr;
    QCheckBox *m_heading = nullptr;
};
