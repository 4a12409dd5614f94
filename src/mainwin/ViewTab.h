#pragma once
// A view tab of the main window's top bar: a flat label that is marked when its view is shown.
// A tab with choices ("Day", "Month", "Year") opens its drop-down list when the left button is
// held for 250 ms; while held, the row under the pointer becomes the choice; the release hides
// the list and reports the choice, so a quick click reports the last choice again.
#include <QStringList>
#include <QTimer>
#include <QWidget>

class ViewTabList;

class ViewTab : public QWidget
{
    Q_OBJECT
public:
    static constexpr int HoldMs = 250;
    static constexpr int ListRowHeight = 16;
    // Distance from the tab's top to the list's first row.
    static constexpr int ListOffset = 20;

    // listParent: the widget the drop-down list is shown on (it must cover the list's area);
    // choices: the rows of the drop-down, none for a plain tab.
    ViewTab(QWidget *parent, QWidget *listParent, QStringList choices = {});

    // The tab's text is the current choice's name (or the text set here for a plain tab).
    void setText(const QString &text);
    QString text() const { return m_text; }
    // 0 .. choices - 1; values outside are ignored.
    void setChoice(int choice);
    int choice() const { return m_choice; }
    const QStringList &choices() const { return m_choices; }

    void setMarked(bool on);
    bool isMarked() const { return m_marked; }
    // Left edge of the drop-down list in listParent coordinates.
    void setListLeft(int x) { m_listLeft = x; }
    bool isListVisible() const;
    QWidget *listWidget() const;

signals:
    // The left button was released after a press on the tab (inside it for a plain tab).
    void chosen(int choice);

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    void openList();
    void trackPointer(int y);

    QString m_text;
    QStringList m_choices;
    int m_choice = 0;
    bool m_marked = false;
    bool m_down = false;
    int m_listLeft = 0;
    QTimer m_holdTimer;
    ViewTabList *m_list = nullptr;
};
