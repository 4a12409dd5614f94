#include "dialogs/OptionsDialog.h"

#include "core/LayerPalette.h"
#include "core/Settings.h"
#include "core/ViewSpan.h"
#include "core/ViewState.h"
#include "dialogs/DialogPanel.h"
#include "dialogs/EditorDialogParts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <functional>

namespace
{
constexpr int DialogWidth = 484;
constexpr int DialogHeight = 346;
constexpr int TabWidth = DialogWidth / 4;
constexpr int CurrentTabColor = 13409135;
constexpr int TabColor = 10841658;

constexpr std::array<const char *, OptionsDialog::PageCount> TabCaptions{
    "General", "National", "Startup", "Printer", "Day && Week", "Month", "Year", "Tasks"};
constexpr std::array<const char *, 6> ScaleTexts{"5 Minutes",  "6 Minutes",  "10 Minutes",
                                                 "15 Minutes", "30 Minutes", "1 Hour"};
constexpr std::array<const char *, 6> PaperShares{"25 %", "33 %", "50 %", "67 %", "75 %", "100 %"};
constexpr std::array<const char *, 9> FontSizes{"4", "5",  "6",  "7", "8   (Standard)",
                                                "9", "10", "11", "12"};
constexpr std::array<const char *, 3> EventColors{"None", "Gray", "Layer Colors"};

// One tab of the two rows: filled in the tab colour with a bold white caption; the current tab
// is lighter and shows a marker at its lower edge.
class TabButton : public QWidget
{
public:
    TabButton(const QString &caption, std::function<void()> clicked, QWidget *parent)
        : QWidget(parent), m_caption(caption), m_clicked(std::move(clicked))
    {
        setAccessibleName(QString(caption).replace(QStringLiteral("&&"), QStringLiteral("&")));
    }
    void setCurrent(bool on)
    {
        m_current = on;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(),
                   LayerPalette::colorFromBGR(quint32(m_current ? CurrentTabColor : TabColor)));
        QFont f = font();
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(rect(), Qt::AlignCenter, accessibleName());
        if (m_current) {
            const int cx = width() / 2;
            const QPoint marker[3] = {{cx - 4, height()}, {cx + 4, height()}, {cx, height() - 4}};
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawPolygon(marker, 3);
        }
    }
    void mousePressEvent(QMouseEvent *e) override
    {
        if (e->button() == Qt::LeftButton) m_clicked();
    }

private:
    QString m_caption;
    std::function<void()> m_clicked;
    bool m_current = false;
};

QComboBox *listOf(QWidget *parent, const QStringList &entries, const char *name)
{
    auto *c = new QComboBox(parent);
    c->addItems(entries);
    c->setObjectName(QString::fromLatin1(name));
    return c;
}

template <std::size_t N> QStringList textsOf(const std::array<const char *, N> &texts)
{
    QStringList out;
    for (const char *t : texts)
        out << QString::fromLatin1(t);
    return out;
}

template <std::size_t N> QStringList textsOf(const std::array<QStringView, N> &texts)
{
    QStringList out;
    for (QStringView t : texts)
        out << t.toString();
    return out;
}

QCheckBox *checkOf(QWidget *parent, const QString &caption, const char *name)
{
    auto *c = new QCheckBox(caption, parent);
    c->setObjectName(QString::fromLatin1(name));
    return c;
}

// Selects entry `value`; a value outside the list selects `fallback`.
void select(QComboBox *list, int value, int fallback)
{
    list->setCurrentIndex(value >= 0 && value < list->count() ? value : fallback);
}

// Puts `entries` into `list` in place of what it held, keeping the selected entry number.
void refill(QComboBox *list, const QStringList &entries)
{
    const int kept = list->currentIndex();
    list->blockSignals(true);
    list->clear();
    list->addItems(entries);
    list->setCurrentIndex(std::clamp(kept, 0, int(entries.size()) - 1));
    list->blockSignals(false);
}

QWidget *newPage(QStackedWidget *pages)
{
    auto *page = new QWidget(pages);
    pages->addWidget(page);
    return page;
}
} // namespace

OptionsDialog::OptionsDialog(Settings &settings, const DateTimeFormat &format, const QFont &font,
                             DialogPrompts prompts, QWidget *parent)
    : QDialog(parent), m_settings(settings), m_format(format), m_prompts(std::move(prompts))
{
    setWindowTitle(QStringLiteral("Options"));
    setFont(font);
    setFixedSize(DialogWidth, DialogHeight);
    DialogPanel::paintDialogBackground(*this);

    m_pages = new QStackedWidget(this);
    m_pages->setGeometry(6, 2 * TabHeight + 6, DialogWidth - 12, DialogHeight - 2 * TabHeight - 50);
    QPalette face = m_pages->palette();
    face.setColor(QPalette::Window, palette().color(QPalette::Button));
    m_pages->setPalette(face);
    m_pages->setAutoFillBackground(true);
    buildGeneralPage();
    buildNationalPage();
    buildStartupPage();
    buildPrinterPage();
    buildGridPage(QStringLiteral("Show alarm symbol in grid"),
                  QStringLiteral("Show start time in all day grid"),
                  QStringLiteral("Show end time in all day grid"), m_dayWeek);
    buildGridPage(QStringLiteral("Show alarm symbol in grid"), QStringLiteral("Show start time"),
                  QStringLiteral("Show end time"), m_month);
    buildGridPage(QStringLiteral("Show alarm symbol in grid"), QStringLiteral("Show start time"),
                  QStringLiteral("Show end time"), m_year);
    buildGridPage(QStringLiteral("Show alarm symbol in grid"),
                  QStringLiteral("Show Priority column"), QStringLiteral("Show Finished column"),
                  m_tasksBox);
    buildTabs();

    auto *buttonBar = new QWidget(this);
    buttonBar->setGeometry(0, DialogHeight - 40, DialogWidth, 40);
    const EditorDialogParts::Buttons buttons = EditorDialogParts::okCancelRow(*buttonBar);
    auto *bar = new QVBoxLayout(buttonBar);
    bar->addLayout(buttons.row);
    m_ok = buttons.ok;
    m_cancel = buttons.cancel;
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        save();
        accept();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget *OptionsDialog::page(int page) const
{
    return m_pages->widget(page);
}

void OptionsDialog::buildTabs()
{
    for (int i = 0; i < PageCount; ++i) {
        auto *t = new TabButton(
            QString::fromLatin1(TabCaptions[std::size_t(i)]), [this, i] { chooseTab(i); }, this);
        t->setObjectName(QStringLiteral("tab%1").arg(i));
        m_tabs[std::size_t(i)] = t;
    }
    placeTabs();
}

QWidget *OptionsDialog::buildGeneralPage()
{
    QWidget *page = newPage(m_pages);
    auto *grid = new QGridLayout(page);
    grid->addWidget(new QLabel(QStringLiteral("Alarm Sound:"), page), 0, 0, 1, 2);
    m_alarmSound = new QLineEdit(page);
    m_alarmSound->setObjectName(QStringLiteral("alarmSound"));
    m_browse = new QPushButton(QStringLiteral("Browse..."), page);
    m_browse->setAutoDefault(false);
    grid->addWidget(m_alarmSound, 1, 0);
    grid->addWidget(m_browse, 1, 1);
    m_alarmSoundOn = checkOf(page, QStringLiteral("Alarm Sound On"), "alarmSoundOn");
    m_useTrayIcon = checkOf(page, QStringLiteral("Use Tray Icon"), "useTrayIcon");
    m_autostart = checkOf(page, QStringLiteral("Autostart"), "autostart");
    grid->addWidget(m_alarmSoundOn, 2, 0, 1, 2);
    grid->addWidget(m_useTrayIcon, 3, 0, 1, 2);
    grid->addWidget(m_autostart, 4, 0, 1, 2);
    grid->setRowStretch(5, 1);

    connect(m_browse, &QPushButton::clicked, this, &OptionsDialog::browseSound);
    connect(m_alarmSound, &QLineEdit::editingFinished, this, [this] {
        if (isVisible() && m_alarmSound->text() != m_settings.alarmSound()) checkSound();
    });
    m_alarmSound->installEventFilter(this);
    connect(m_useTrayIcon, &QCheckBox::toggled, this, [this](bool on) {
        if (!on) m_autostart->setChecked(false);
        m_autostart->setEnabled(on);
    });
    return page;
}

QWidget *OptionsDialog::buildNationalPage()
{
    QWidget *page = newPage(m_pages);
    auto *grid = new QGridLayout(page);
    m_startOfWeek =
        listOf(page, {QStringLiteral("Sunday"), QStringLiteral("Monday")}, "startOfWeek");
    m_dateFormat = listOf(page, textsOf(DateTimeFormat::DateFormatOptions), "dateFormat");
    m_dateSeparator = listOf(page, textsOf(DateTimeFormat::DateSeparatorOptions), "dateSeparator");
    m_timeFormat = listOf(page, textsOf(DateTimeFormat::TimeFormatOptions), "timeFormat");
    m_timeSeparator = listOf(page, textsOf(DateTimeFormat::TimeSeparatorOptions), "timeSeparator");
    int row = 0;
    for (auto [caption, list] :
         {std::pair{"Start of week:", m_startOfWeek}, std::pair{"Date format:", m_dateFormat},
          std::pair{"Date separator:", m_dateSeparator}, std::pair{"Time format:", m_timeFormat},
          std::pair{"Time separator:", m_timeSeparator}}) {
        grid->addWidget(new QLabel(QString::fromLatin1(caption), page), row, 0);
        grid->addWidget(list, row++, 1);
    }
    m_weeksOn =
        checkOf(page, QStringLiteral("Use weeks in navigation (common in Europe)"), "weeksOn");
    grid->addWidget(m_weeksOn, row++, 0, 1, 2);
    auto *help = new QLabel(QStringLiteral("h: 12 hour format\nH: 24 hour format\n"
                                           "M: No leading zero\nMM: Leading zero"),
                            page);
    grid->addWidget(help, 0, 2, 4, 1, Qt::AlignTop);
    grid->setRowStretch(row, 1);

    connect(m_startOfWeek, &QComboBox::currentIndexChanged, this, [this](int day) {
        if (day != 1) m_weeksOn->setChecked(false);
        m_weeksOn->setEnabled(day == 1);
    });
    for (QComboBox *c : {m_timeFormat, m_timeSeparator})
        connect(c, &QComboBox::currentIndexChanged, this, &OptionsDialog::rebuildTimeLists);
    return page;
}

QWidget *OptionsDialog::buildStartupPage()
{
    QWidget *page = newPage(m_pages);
    auto *grid = new QGridLayout(page);
    QStringList views;
    // Every view, the task list last, can be the one the program starts in.
    for (int kind = ViewDay; kind <= ViewTasks; ++kind)
        views << ViewSpans::viewName(kind);
    m_view = listOf(page, views, "view");
    m_time = listOf(page, {}, "time");
    m_timeScale = listOf(page, textsOf(ScaleTexts), "timeScale");
    m_showNavigator = checkOf(page, QStringLiteral("Show Navigator"), "showNavigator");
    int row = 0;
    for (auto [caption, list] : {std::pair{"View:", m_view}, std::pair{"Time:", m_time},
                                 std::pair{"Time scale:", m_timeScale}}) {
        grid->addWidget(new QLabel(QString::fromLatin1(caption), page), row, 0);
        grid->addWidget(list, row++, 1);
    }
    grid->addWidget(m_showNavigator, row++, 0, 1, 2);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(2, 1);
    return page;
}

QWidget *OptionsDialog::buildPrinterPage()
{
    QWidget *page = newPage(m_pages);
    auto *grid = new QGridLayout(page);
    grid->setVerticalSpacing(3);
    grid->addWidget(
        new QLabel(
            QStringLiteral(
                "Default settings for the Print Current View Dialog and the Auto Print Button:"),
            page),
        0, 0, 1, 4);
    m_printStart = listOf(page, {}, "printStart");
    m_printStop = listOf(page, {}, "printStop");
    grid->addWidget(new QLabel(QStringLiteral("Start printing from (Day and Week views):"), page),
                    1, 0, 1, 3);
    grid->addWidget(m_printStart, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Stop printing at (Day and Week views):"), page), 2,
                    0, 1, 3);
    grid->addWidget(m_printStop, 2, 3);

    QStringList views;
    for (int kind = ViewDay; kind <= ViewTasks; ++kind)
        views << ViewSpans::viewName(kind);
    m_orientationView = listOf(page, views, "orientationView");
    m_landscape = new QRadioButton(QStringLiteral("Landscape"), page);
    m_landscape->setObjectName(QStringLiteral("landscape"));
    m_portrait = new QRadioButton(QStringLiteral("Portrait"), page);
    m_portrait->setObjectName(QStringLiteral("portrait"));
    grid->addWidget(new QLabel(QStringLiteral("Orientation:"), page), 3, 0);
    grid->addWidget(m_orientationView, 3, 1);
    grid->addWidget(m_landscape, 3, 2);
    grid->addWidget(m_portrait, 3, 3);

    m_printWidth = listOf(page, textsOf(PaperShares), "printWidth");
    m_printHeight = listOf(page, textsOf(PaperShares), "printHeight");
    grid->addWidget(new QLabel(QStringLiteral("Width:"), page), 4, 0);
    grid->addWidget(m_printWidth, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("of paper size"), page), 4, 2, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Height:"), page), 5, 0);
    grid->addWidget(m_printHeight, 5, 1);
    grid->addWidget(new QLabel(QStringLiteral("of paper size"), page), 5, 2, 1, 2);

    m_printFontSize = listOf(page, textsOf(FontSizes), "printFontSize");
    m_printFontSize->setMaxVisibleItems(9);
    m_printColor = listOf(page, textsOf(EventColors), "printColor");
    grid->addWidget(new QLabel(QStringLiteral("Font size:"), page), 6, 0);
    grid->addWidget(m_printFontSize, 6, 1);
    grid->addWidget(new QLabel(QStringLiteral("Event Colors:"), page), 6, 2);
    grid->addWidget(m_printColor, 6, 3);
    m_printHeading = checkOf(page, QStringLiteral("Print heading"), "printHeading");
    grid->addWidget(m_printHeading, 7, 0, 1, 2);
    grid->setRowStretch(8, 1);

    connect(m_printStart, &QComboBox::activated, this, &OptionsDialog::startChosen);
    connect(m_printStop, &QComboBox::activated, this, &OptionsDialog::stopChosen);
    connect(m_orientationView, &QComboBox::currentIndexChanged, this,
            &OptionsDialog::showOrientation);
    connect(m_landscape, &QRadioButton::clicked, this, [this] { setOrientation(u'0'); });
    connect(m_portrait, &QRadioButton::clicked, this, [this] { setOrientation(u'1'); });
    return page;
}

QWidget *OptionsDialog::buildGridPage(const QString &alarmText, const QString &startText,
                                      const QString &endText, std::array<QCheckBox *, 3> &boxes)
{
    QWidget *page = newPage(m_pages);
    auto *column = new QVBoxLayout(page);
    const int number = m_pages->count() - 1;
    int i = 0;
    for (const QString &caption : {alarmText, startText, endText}) {
        boxes[std::size_t(i)] = new QCheckBox(caption, page);
        boxes[std::size_t(i)]->setObjectName(QStringLiteral("grid%1_%2").arg(number).arg(i));
        column->addWidget(boxes[std::size_t(i++)]);
    }
    column->addStretch(1);
    return page;
}

bool OptionsDialog::eventFilter(QObject *watched, QEvent *event)
{
    // Enter in the sound field checks the entry there and leaves the dialog open.
    if (watched == m_alarmSound && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (m_alarmSound->text() != m_settings.alarmSound()) checkSound();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void OptionsDialog::showEvent(QShowEvent *event)
{
    load();
    QDialog::showEvent(event);
}

void OptionsDialog::load()
{
    const Settings &s = m_settings;
    m_current = 0;
    m_rowAtPages = 0;
    placeTabs();

    m_trayWasOn = s.useTrayIcon();
    m_useTrayIcon->setChecked(s.useTrayIcon());
    m_autostart->setChecked(s.useTrayIcon() && s.autostart());
    m_autostart->setEnabled(s.useTrayIcon());
    m_alarmSoundOn->setChecked(s.alarmSoundOn());
    m_alarmSound->setText(s.alarmSound());

    select(m_startOfWeek, s.startOfWeek(), 0);
    m_weeksOn->setChecked(m_startOfWeek->currentIndex() == 1 && s.weeksOn());
    m_weeksOn->setEnabled(m_startOfWeek->currentIndex() == 1);
    for (auto [list, value] :
         {std::pair{m_dateFormat, s.dateFormat()}, std::pair{m_dateSeparator, s.dateSeparator()},
          std::pair{m_timeFormat, s.timeFormat()}, std::pair{m_timeSeparator, s.timeSeparator()}}) {
        list->blockSignals(true);
        select(list, value, 0);
        list->blockSignals(false);
    }
    select(m_view, s.startView(), 0);
    rebuildTimeLists();
    select(m_time, s.startHour(), 8);
    select(m_timeScale, s.timeScale(), 3);
    m_showNavigator->setChecked(s.showNavigator());
    select(m_printWidth, s.printWidth(), 5);
    select(m_printHeight, s.printHeight(), 5);
    select(m_printFontSize, s.printFontSize(), 4);

    const QString defaults = QStringLiteral("11000000000000000000");
    m_orientation = s.printOrientations().left(OrientationCount);
    m_orientation += defaults.mid(m_orientation.size());
    m_orientationView->blockSignals(true);
    m_orientationView->setCurrentIndex(0);
    m_orientationView->blockSignals(false);
    showOrientation();

    select(m_printColor, s.printColor(), 0);
    m_printHeading->setChecked(s.printHeading());
    select(m_printStart, s.printStartTime(), 0);
    select(m_printStop, s.printStopTime(), 0);

    m_dayWeek[0]->setChecked(s.showAlarmDayWeek());
    m_dayWeek[1]->setChecked(s.showStartDayWeek());
    m_dayWeek[2]->setChecked(s.showEndDayWeek());
    m_month[0]->setChecked(s.showAlarmMonth());
    m_month[1]->setChecked(s.showStartMonth());
    m_month[2]->setChecked(s.showEndMonth());
    m_year[0]->setChecked(s.showAlarmYear());
    m_year[1]->setChecked(s.showStartYear());
    m_year[2]->setChecked(s.showEndYear());
    m_tasksBox[0]->setChecked(s.showAlarmTasks());
    m_tasksBox[1]->setChecked(s.showPriority());
    m_tasksBox[2]->setChecked(s.showFinished());
}

void OptionsDialog::save()
{
    Settings &s = m_settings;
    if (m_alarmSound->text() != s.alarmSound()) checkSound();

    s.setAutostart(m_autostart->isChecked());
    s.setUseTrayIcon(m_useTrayIcon->isChecked());
    s.setAlarmSoundOn(m_alarmSoundOn->isChecked());
    s.setAlarmSound(m_alarmSound->text());
    s.setStartOfWeek(m_startOfWeek->currentIndex());
    s.setWeeksOn(m_weeksOn->isChecked());
    s.setDateFormat(m_dateFormat->currentIndex());
    s.setDateSeparator(m_dateSeparator->currentIndex());
    s.setTimeFormat(m_timeFormat->currentIndex());
    s.setTimeSeparator(m_timeSeparator->currentIndex());
    s.setStartView(m_view->currentIndex());
    s.setStartHour(m_time->currentIndex());
    s.setTimeScale(m_timeScale->currentIndex());
    s.setShowNavigator(m_showNavigator->isChecked());
    s.setPrintWidth(m_printWidth->currentIndex());
    s.setPrintHeight(m_printHeight->currentIndex());
    s.setPrintFontSize(m_printFontSize->currentIndex());
    s.setPrintOrientations(m_orientation);
    s.setPrintColor(m_printColor->currentIndex());
    s.setPrintHeading(m_printHeading->isChecked());
    s.setPrintStartTime(m_printStart->currentIndex());
    s.setPrintStopTime(m_printStop->currentIndex());
    s.setShowAlarmDayWeek(m_dayWeek[0]->isChecked());
    s.setShowAlarmMonth(m_month[0]->isChecked());
    s.setShowAlarmYear(m_year[0]->isChecked());
    s.setShowAlarmTasks(m_tasksBox[0]->isChecked());
    s.setShowStartDayWeek(m_dayWeek[1]->isChecked());
    s.setShowEndDayWeek(m_dayWeek[2]->isChecked());
    s.setShowStartMonth(m_month[1]->isChecked());
    s.setShowEndMonth(m_month[2]->isChecked());
    s.setShowStartYear(m_year[1]->isChecked());
    s.setShowEndYear(m_year[2]->isChecked());

    // The tasks grid writes Priority and Finished itself when it shows or hides the column.
    Outcome outcome;
    outcome.trayWasOn = m_trayWasOn;
    outcome.togglePriority = m_tasksBox[1]->isChecked() != s.showPriority();
    outcome.toggleFinished = m_tasksBox[2]->isChecked() != s.showFinished();
    emit applied(outcome);
}

void OptionsDialog::chooseTab(int page)
{
    if (page == m_current) return;
    m_current = page;
    if (page / 4 != m_rowAtPages) m_rowAtPages = page / 4;
    placeTabs();
}

void OptionsDialog::placeTabs()
{
    for (int i = 0; i < PageCount; ++i) {
        auto *t = static_cast<TabButton *>(m_tabs[std::size_t(i)]);
        const int top = i / 4 == m_rowAtPages ? TabHeight : 0;
        t->setGeometry((i % 4) * TabWidth, top, TabWidth, TabHeight);
        t->setCurrent(i == m_current);
    }
    m_pages->setCurrentIndex(m_current);
}

QStringList OptionsDialog::hourTexts(int timeFormat, int timeSeparator) const
{
    DateTimeFormat probe = m_format;
    probe.buildTimeFormat(timeFormat, timeSeparator);
    QStringList hours;
    for (int h = 0; h < 24; ++h)
        hours << probe.timeItemList()[2 * h];
    return hours;
}

void OptionsDialog::rebuildTimeLists()
{
    const QStringList hours =
        hourTexts(m_timeFormat->currentIndex(), m_timeSeparator->currentIndex());
    refill(m_time, hours + QStringList{hours.first()});
    refill(m_printStart, QStringList{QStringLiteral("Screen Start")} + hours);
    refill(m_printStop,
           QStringList{QStringLiteral("Screen End")} + hours.mid(1) + QStringList{hours.first()});
}

void OptionsDialog::startChosen()
{
    const int start = m_printStart->currentIndex();
    const int stop = m_printStop->currentIndex();
    if (stop != 0 && start > stop) m_printStop->setCurrentIndex(start);
}

void OptionsDialog::stopChosen()
{
    const int start = m_printStart->currentIndex();
    const int stop = m_printStop->currentIndex();
    if (stop != 0 && stop < start) m_printStart->setCurrentIndex(stop);
}

void OptionsDialog::showOrientation()
{
    const int view = std::max(m_orientationView->currentIndex(), 0);
    const bool landscape = m_orientation.at(view) == u'0';
    m_landscape->setChecked(landscape);
    m_portrait->setChecked(!landscape);
}

void OptionsDialog::setOrientation(QChar c)
{
    const int view = std::max(m_orientationView->currentIndex(), 0);
    m_orientation[view] = c;
    showOrientation();
}

bool OptionsDialog::checkSound()
{
    const QString entry = m_alarmSound->text();
    const QDir data(m_settings.dataPath());
    const qsizetype slash = entry.lastIndexOf(u'/');
    // A bare file name has no folder part and is refused, as is an empty entry.
    const bool ok = slash >= 0 && QFileInfo(data.absoluteFilePath(entry.left(slash + 1))).isDir() &&
                    QFileInfo(data.absoluteFilePath(entry)).isFile();
    if (ok) return true;
    m_prompts.warnOver(this,
                       QStringLiteral("The file ") + entry + QStringLiteral(" does not exist."));
    m_alarmSound->setText(m_settings.alarmSound());
    return false;
}

void OptionsDialog::browseSound()
{
    const QString file = QFileDialog::getOpenFileName(this, QString(), m_settings.dataPath(),
                                                      QStringLiteral("Sound files (*.wav)"));
    if (!file.isEmpty()) m_alarmSound->setText(file);
}
