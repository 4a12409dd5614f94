#include "alarm/ReminderWindow.h"

#include "core/DateTextHelpers.h"
#include "core/FileText.h"
#include "core/LayerPalette.h"
#include "store/AlarmFiles.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTimer>
#include <QVBoxLayout>

namespace
{
constexpr uint32_t WindowColour = 10841658;
constexpr uint32_t InfoColour = 12901322;

void paintBackground(QWidget &w, uint32_t bgr)
{
    QPalette pal = w.palette();
    pal.setColor(QPalette::Window, LayerPalette::colorFromBGR(bgr));
    w.setPalette(pal);
    w.setAutoFillBackground(true);
}
} // namespace

QStringList ReminderWindow::snoozeChoices()
{
    return {"5 minutes before start",
            "10 minutes before start",
            "in 5 minutes",
            "in 10 minutes",
            "in 15 minutes",
            "in 30 minutes",
            "in 1 hour",
            "in 2 hours",
            "in 4 hours",
            "in 8 hours",
            "in 1 day",
            "in 2 days",
            "in 3 days",
            "in 4 days",
            "in 1 week"};
}

std::optional<QList<AlarmEntry>> ReminderWindow::takeDueAlarms(const QString &dataDir)
{
    QList<AlarmEntry> taken;
    const AlarmFiles::FileResult r =
        AlarmFiles::rewriteAlarms(dataDir, [&taken](QList<AlarmEntry> alarms) {
            taken = std::move(alarms);
            return QList<AlarmEntry>{};
        });
    if (!r.ok) return std::nullopt;
    return taken;
}

ReminderWindow::ReminderWindow(QList<AlarmEntry> alarms, QString dataDir,
                               const DateTimeFormat &format, SnoozeNotice notice, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_alarms(std::move(alarms)), m_dataDir(std::move(dataDir)), m_format(format),
      m_notice(std::move(notice))
{
    setWindowTitle(QStringLiteral("Reminder"));
    setFixedSize(ClientWidth, ClientHeight);
    paintBackground(*this, WindowColour);

    auto *outer = new QVBoxLayout(this);
    m_header = new QLabel(this);
    m_subject = new QLabel(this);
    QFont bold = m_subject->font();
    bold.setBold(true);
    m_subject->setFont(bold);
    for (QLabel *l : {m_header, m_subject})
        l->setStyleSheet(QStringLiteral("color: white"));
    outer->addWidget(m_header);
    outer->addWidget(m_subject);

    auto *info = new QWidget(this);
    paintBackground(*info, InfoColour);
    auto *grid = new QGridLayout(info);
    m_start = new QLabel(info);
    m_end = new QLabel(info);
    m_alarmOn = new QLabel(info);
    m_layer = new QLabel(info);
    const std::pair<const char *, QLabel *> rows[] = {
        {"Start:", m_start}, {"End:", m_end}, {"Alarm on:", m_alarmOn}, {"Layer:", m_layer}};
    int row = 0;
    for (const auto &[caption, value] : rows) {
        grid->addWidget(new QLabel(QString::fromLatin1(caption), info), row, 0);
        grid->addWidget(value, row++, 1);
    }
    m_missedMark = new QLabel(QStringLiteral("Missed"), info);
    QFont markFont = m_missedMark->font();
    markFont.setBold(true);
    m_missedMark->setFont(markFont);
    m_missedMark->setStyleSheet(QStringLiteral("color: #b00000"));
    grid->addWidget(m_missedMark, 2, 2);
    // The mark sits right after the alarm time.
    grid->setColumnStretch(3, 1);
    outer->addWidget(info);

    m_description = new QPlainTextEdit(this);
    m_description->setReadOnly(true);
    outer->addWidget(m_description, 1);

    auto *snoozeRow = new QHBoxLayout;
    auto *prompt = new QLabel(QStringLiteral("Press snooze to remind again: "), this);
    prompt->setStyleSheet(QStringLiteral("color: white"));
    m_snoozeList = new QComboBox(this);
    m_snoozeList->addItems(snoozeChoices());
    m_snoozeButton = new QPushButton(QStringLiteral("Snooze"), this);
    m_closeButton = new QPushButton(QStringLiteral("Close"), this);
    // Enter snoozes; Escape closes, keeping what was not shown.
    m_snoozeButton->setDefault(true);
    snoozeRow->addWidget(prompt);
    snoozeRow->addWidget(m_snoozeList, 1);
    snoozeRow->addWidget(m_snoozeButton);
    outer->addLayout(snoozeRow);
    auto *closeRow = new QHBoxLayout;
    closeRow->addStretch(1);
    closeRow->addWidget(m_closeButton);
    outer->addLayout(closeRow);

    connect(m_snoozeButton, &QPushButton::clicked, this, [this] { (void)snooze(); });
    connect(m_closeButton, &QPushButton::clicked, this, &ReminderWindow::dismiss);
    showAlarm();
}

void ReminderWindow::showAlarm()
{
    if (m_index >= m_alarms.size()) {
        // Closing from inside a click or before the window is shown: on the next turn.
        QTimer::singleShot(0, this, &QDialog::accept);
        return;
    }
    const AlarmEntry &a = m_alarms.at(m_index);
    const auto dateAndTime = [this](const std::optional<SerialDateTime> &t) {
        return t ? dateText(m_format, *t) + QLatin1Char(' ') + timeText(m_format, *t) : QString();
    };
    m_header->setText(QStringLiteral("%1 of %2").arg(m_index + 1).arg(m_alarms.size()));
    m_subject->setText(FileText::shownFileText(a.subject));
    m_start->setText(dateAndTime(a.startTime));
    m_end->setText(dateAndTime(a.endTime));
    m_alarmOn->setText(dateAndTime(a.alarmTime));
    m_missedMark->setVisible(m_missed && m_missed->contains(a.alarmTime));
    m_layer->setText(FileText::shownFileText(a.layerName));
    m_description->setPlainText(FileText::shownFileText(a.description));
    // A task has no start to be reminded before.
    const bool hasStart = a.startTime.has_value();
    auto *model = qobject_cast<QStandardItemModel *>(m_snoozeList->model());
    for (int code : {0, 1})
        if (model) model->item(code)->setEnabled(hasStart);
    m_snoozeList->setCurrentIndex(DefaultSnoozeCode);
}

bool ReminderWindow::snooze()
{
    if (m_index >= m_alarms.size()) return false;
    const int code = m_snoozeList->currentIndex();
    const AlarmFiles::FileResult written =
        AlarmFiles::appendSnooze(m_dataDir, {code, m_alarms.at(m_index)});
    if (!written.ok) {
        m_header->setText(QStringLiteral("%1 of %2 - the snooze could not be saved (%3)")
                              .arg(m_index + 1)
                              .arg(m_alarms.size())
                              .arg(written.error));
        return false;
    }
    // A program that does not answer takes the line at its next snooze message.
    if (m_notice) (void)m_notice();
    next();
    return true;
}

void ReminderWindow::setMissedWindow(const std::optional<MissedWindow> &missed)
{
    m_missed = missed;
    if (m_index < m_alarms.size()) showAlarm();
}

void ReminderWindow::reject()
{
    const QList<AlarmEntry> unseen = m_alarms.mid(m_index + 1);
    if (!unseen.isEmpty()) {
        const AlarmFiles::FileResult back = AlarmFiles::rewriteAlarms(
            m_dataDir, [&unseen](QList<AlarmEntry> later) { return unseen + later; });
        if (!back.ok) {
            m_header->setText(QStringLiteral("%1 of %2 - the other alarms could not be kept (%3)")
                                  .arg(m_index + 1)
                                  .arg(m_alarms.size())
                                  .arg(back.error));
            return;
        }
    }
    m_index = int(m_alarms.size());
    QDialog::reject();
}

void ReminderWindow::dismiss()
{
    next();
}

void ReminderWindow::next()
{
    ++m_index;
    showAlarm();
}
