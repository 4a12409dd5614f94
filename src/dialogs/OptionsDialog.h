#pragma once
// The options dialog: eight pages of settings behind two rows of four tabs. Every showing loads
// each control from the settings; OK writes them all back through the settings' setters and
// announces what the window has to apply (applied); Cancel and Escape write nothing.
//
// The tab rows: pages 0-3 ("General" .. "Printer") form one row, pages 4-7 ("Day && Week" ..
// "Tasks") the other. The row next to the pages sits at y 19, the other at y 0; clicking a tab
// of the row at y 0 swaps the rows.
#include "core/DateTimeFormat.h"
#include "dialogs/DialogPrompts.h"

#include <QDialog>
#include <QString>
#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class Settings;

class OptionsDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int PageCount = 8;
    static constexpr int TabHeight = 19;
    static constexpr int OrientationCount = 20; // views 0-18 and the tasks view

    // What OK changed beyond the written settings, for the window to apply.
    struct Outcome {
        bool trayWasOn = false;      // UseTrayIcon when the dialog was shown
        bool togglePriority = false; // the Priority column's box differs from its setting
        bool toggleFinished = false; // the Finished column's box differs from its setting
    };

    // `format` gives the locale's time pattern and separator for the "System default" entries
    // of the hour lists. The references must outlive the dialog.
    OptionsDialog(Settings &settings, const DateTimeFormat &format, const QFont &font,
                  DialogPrompts prompts, QWidget *parent);

    // The hour entries of the start-up and printing lists for time format `timeFormat` and
    // separator `timeSeparator` (setting values): 24 texts from midnight, "HH<sep>00" with
    // " AM"/" PM" in the 12-hour clock.
    QStringList hourTexts(int timeFormat, int timeSeparator) const;

    // --- the pages and controls, for the window's tests ---
    QWidget *tab(int page) const { return m_tabs[std::size_t(page)]; }
    int currentPage() const { return m_current; }
    QWidget *page(int page) const;
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }
    QLineEdit *alarmSoundEdit() const { return m_alarmSound; }
    QComboBox *timeList() const { return m_time; }
    QComboBox *printStartList() const { return m_printStart; }
    QComboBox *printStopList() const { return m_printStop; }
    QComboBox *orientationList() const { return m_orientationView; }
    QRadioButton *landscapeButton() const { return m_landscape; }
    QRadioButton *portraitButton() const { return m_portrait; }

signals:
    // OK wrote the settings.
    void applied(const OptionsDialog::Outcome &outcome);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildGeneralPage();
    QWidget *buildNationalPage();
    QWidget *buildStartupPage();
    QWidget *buildPrinterPage();
    QWidget *buildGridPage(const QString &alarmText, const QString &startText,
                           const QString &endText, std::array<QCheckBox *, 3> &boxes);
    void buildTabs();
    void load();
    void save();
    void chooseTab(int page);
    void placeTabs();
    void rebuildTimeLists();
    void startChosen();
    void stopChosen();
    void showOrientation();
    void setOrientation(QChar c);
    // The sound entry read against the data directory: true when its folder part names an
    // existing folder and the whole entry an existing file. Otherwise warns and puts the stored
    // sound back.
    bool checkSound();
    void browseSound();

    Settings &m_settings;
    const DateTimeFormat &m_format;
    DialogPrompts m_prompts;

    std::array<QWidget *, PageCount> m_tabs{};
    QStackedWidget *m_pages = nullptr;
    int m_current = 0;
    int m_rowAtPages = 0; // the tab row next to the pages: 0 (pages 0-3) or 1 (pages 4-7)

    QLineEdit *m_alarmSound = nullptr;
    QPushButton *m_browse = nullptr;
    QCheckBox *m_alarmSoundOn = nullptr;
    QCheckBox *m_useTrayIcon = nullptr;
    QCheckBox *m_autostart = nullptr;

    QComboBox *m_startOfWeek = nullptr;
    QComboBox *m_dateFormat = nullptr;
    QComboBox *m_dateSeparator = nullptr;
    QComboBox *m_timeFormat = nullptr;
    QComboBox *m_timeSeparator = nullptr;
    QCheckBox *m_weeksOn = nullptr;

    QComboBox *m_view = nullptr;
    QComboBox *m_time = nullptr;
    QComboBox *m_timeScale = nullptr;
    QCheckBox *m_showNavigator = nullptr;

    QComboBox *m_printStart = nullptr;
    QComboBox *m_printStop = nullptr;
    QComboBox *m_orientationView = nullptr;
    QRadioButton *m_landscape = nullptr;
    QRadioButton *m_portrait = nullptr;
    QComboBox *m_printWidth = nullptr;
    QComboBox *m_printHeight = nullptr;
    QComboBox *m_printFontSize = nullptr;
    QComboBox *m_printColor = nullptr;
    QCheckBox *m_printHeading = nullptr;

    std::array<QCheckBox *, 3> m_dayWeek{};  // alarm, start, end
    std::array<QCheckBox *, 3> m_month{};    // alarm, start, end
    std::array<QCheckBox *, 3> m_year{};     // alarm, start, end
    std::array<QCheckBox *, 3> m_tasksBox{}; // alarm, priority, finished

    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;

    QString m_orientation; // the working copy of Orientation, OrientationCount characters
    bool m_trayWasOn = false;
};
