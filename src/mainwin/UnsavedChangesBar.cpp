#include "mainwin/UnsavedChangesBar.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>

UnsavedChangesBar::UnsavedChangesBar(std::vector<TableWrites> tables, QWidget &area)
    : QLabel(&area), m_tables(std::move(tables))
{
    setObjectName(QStringLiteral("unsavedChangesBar"));
    setStyleSheet(QStringLiteral("QLabel { background: #fff3b0; color: black; "
                                 "border-top: 1px solid #c9a400; padding: 4px 8px; }"));
    setWordWrap(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    area.installEventFilter(this);
    for (TableWrites &t : m_tables)
        t.setAfterWrite([this](const TableResult &r) { noteWrite(r); });
    updateBar();
}

UnsavedChangesBar::~UnsavedChangesBar()
{
    for (TableWrites &t : m_tables)
        t.setAfterWrite(nullptr);
}

bool UnsavedChangesBar::retry()
{
    for (TableWrites &t : m_tables)
        if (t.hasPendingWrites()) (void)t.retry(); // the outcome arrives in noteWrite()
    updateBar();
    return !hasUnsavedChanges();
}

bool UnsavedChangesBar::hasUnsavedChanges() const
{
    for (const TableWrites &t : m_tables)
        if (t.hasPendingWrites()) return true;
    return false;
}

bool UnsavedChangesBar::isReadOnly() const
{
    for (const TableWrites &t : m_tables)
        if (t.isReadOnly()) return true;
    return false;
}

QString UnsavedChangesBar::shownText() const
{
    return isHidden() ? QString() : text();
}

bool UnsavedChangesBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parent() && event->type() == QEvent::Resize) place();
    return QLabel::eventFilter(watched, event);
}

void UnsavedChangesBar::place()
{
    const QWidget *area = parentWidget();
    const int h = heightForWidth(area->width());
    setGeometry(0, area->height() - h, area->width(), h);
    raise();
}

void UnsavedChangesBar::noteWrite(const TableResult &result)
{
    if (!result.ok()) m_lastError = result.error;
    updateBar();
}

QString UnsavedChangesBar::readOnlyText() const
{
    QStringList files;
    for (const TableWrites &t : m_tables)
        if (t.isReadOnly()) files << QFileInfo(t.fileName()).fileName();
    const QString folder =
        QDir::toNativeSeparators(QFileInfo(m_tables.front().fileName()).absolutePath());
    return QStringLiteral("This calendar is read-only: %1 in \"%2\" can be read but not written. "
                          "Editing is turned off.")
        .arg(QLatin1Char('"') + files.join(QStringLiteral("\", \"")) + QLatin1Char('"'), folder);
}

void UnsavedChangesBar::updateBar()
{
    QString text;
    if (isReadOnly()) {
        text = readOnlyText();
    } else if (hasUnsavedChanges()) {
        text = QString::fromLatin1(NotSavedPrefix) +
               (m_lastError.isEmpty() ? QStringLiteral("the table files cannot be written")
                                      : m_lastError);
    } else {
        m_lastError.clear();
    }
    setText(text);
    setVisible(!text.isEmpty());
    if (!text.isEmpty()) place();
}
