#pragma once
// NavigatorColumn: the scrolling content of the navigator column at the main window's left.
// From the top: the weekday letters over the navigator calendar, the ISO week list (only
// while weeks are on), the month list, the list of four years with its arrows, and the layer
// list with its visibility boxes. The calendar holds the selected date; the lists follow
// every change of it and change it when clicked. A click on a visibility box writes the
// layer's new visibility to the layers store and announces it.
//
// The content is laid out in blocks (calendar 0, weeks 129, months and years at 290 with
// weeks or 129 without, layers 133 below the months). When the column is shorter than the
// content it scrolls block by block with the arrows above and below it; its "at rest"
// position is offset 0 and any resize returns there.
#include <QWidget>

#include <array>

class Clock;
class FlatButton;
class LayersStore;
class NavigatorCalendar;
class NavigatorLayerList;
class NavigatorList;
class QLabel;

class NavigatorColumn : public QWidget
{
    Q_OBJECT
public:
    static constexpr int CalendarBlockHeight = 129;
    static constexpr int WeekBlockHeight = 161;
    static constexpr int LayerBlockTop = 133; // below the top of the months block

    // Fills `viewport` (and follows its size); the scroll arrows go on `above` and `below`.
    // The stores and the clock must outlive the column. The calendar starts on today.
    NavigatorColumn(QWidget &viewport, QWidget &above, QWidget &below, LayersStore &layers,
                    const Clock &clock, const QFont &font);

    NavigatorCalendar *calendar() const { return m_calendar; }

    // Week start of the calendar and its letters, 0 = Sunday .. 6 = Saturday.
    void setStartOfWeek(int weekday);
    // Shows or hides the week list; the blocks below move up or down and the column returns
    // to rest.
    void setWeeksOn(bool on);
    bool weeksOn() const { return m_weeksOn; }
    // Reads the layers again from the store.
    void showLayers();
    // A read-only calendar: the layer list's visibility boxes change nothing.
    void setReadOnly(bool on) { m_readOnly = on; }

    // First year of the year list.
    int firstListedYear() const { return m_firstYear; }
    // Height of everything in the column, and how far it is scrolled (0 at rest).
    int contentHeight() const;
    int scrollOffset() const { return m_offset; }
    void scrollDown();
    void scrollUp();
    void putAtRest();

    NavigatorList *weekList() const { return m_weekList; }
    NavigatorList *monthList() const { return m_monthList; }
    NavigatorList *yearList() const { return m_yearList; }
    NavigatorLayerList *layerList() const { return m_layerList; }
    FlatButton *yearUpButton() const { return m_yearUp; }
    FlatButton *yearDownButton() const { return m_yearDown; }
    FlatButton *scrollUpButton() const { return m_scrollUp; }
    FlatButton *scrollDownButton() const { return m_scrollDown; }

signals:
    // A layer's visibility was changed in the layers store.
    void layerVisibilityChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildCalendarBlock(const QFont &font);
    void buildWeekBlock();
    void buildMonthBlock();
    // Moves the lists' current cells onto the selected date.
    void followDate();
    void placeBlocks();
    void updateArrows();
    void toggleLayer(int layerId);
    void toggleAllLayers();
    void stepYear(int by);

    LayersStore &m_layers;
    const Clock &m_clock;
    QWidget *m_content = nullptr;
    NavigatorCalendar *m_calendar = nullptr;
    std::array<QLabel *, 7> m_letters{};
    QWidget *m_weekBlock = nullptr;
    NavigatorList *m_weekList = nullptr;
    QWidget *m_monthBlock = nullptr;
    NavigatorList *m_monthList = nullptr;
    NavigatorList *m_yearList = nullptr;
    FlatButton *m_yearUp = nullptr;
    FlatButton *m_yearDown = nullptr;
    NavigatorLayerList *m_layerList = nullptr;
    FlatButton *m_scrollUp = nullptr;
    FlatButton *m_scrollDown = nullptr;

    bool m_weeksOn = false;
    bool m_readOnly = false;
    int m_offset = 0;
    int m_firstYear = 0;
    int m_weekListYear = 0;
};
