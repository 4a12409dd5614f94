#pragma once
// The help window: the HTML pages shipped in the program's resources (":/help/"), shown in a
// browser that follows the links between them. Non-modal; the main window keeps one.
#include <QString>
#include <QWidget>

class QTextBrowser;

class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr const char *ContentsPage = "index.html";
    static constexpr const char *ShortcutsPage = "shortcuts.html";

    // A top-level window owned by `owner`.
    explicit HelpWindow(QWidget *owner);

    // Shows page `page` (a file name below ":/help/") and brings the window to the front.
    void showPage(const QString &page);
    // The file name of the page shown ("index.html"); empty before the first showPage().
    QString currentPage() const;
    QTextBrowser *browser() const { return m_browser; }

private:
    QTextBrowser *m_browser = nullptr;
};
