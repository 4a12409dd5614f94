#include "dialogs/PrintDialog.h"

#include "core/DateTimeFormat.h"
#include "core/Settings.h"
#include "core/ViewState.h"
#include "dialogs/DialogPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <algorithm>
#include <array>

namespace
{
constexpr std::array<const char *, 20> Captions{
    "Print Day",     "Print 2 Days",   "Print 3 Days",    "Print 4 Days",    "Print 5 Days",
    "Print 6 Days",  "Print 7 Days",   "Print Work Week", "Print Week",      "Print Month",
    "Print 2 Weeks", "Print 3 Weeks",  "Print 4 Weeks",   "Print 5 Weeks",   "Print 6 Weeks",
    "Print Year",    "Print 3 Months", "Print 6 Months",  "Print 12 Months", "Print Tasks"};

QString hourItem(const DateTimeFormat &format, int hour)
{
    const QChar sep =
        format.timeSeparatorChar().isNull() ? QLatin1Char(':') : format.timeSeparatorChar();
    const int shown = format.twelveHour() ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
    QString text =
        QStringLiteral("%1").arg(shown, 2, 10, QLatin1Char('0')) + sep + QStringLiteral("00");
    if (format.twelveHour()) text += hour < 12 ? QStringLiteral(" AM") : QStringLiteral(" PM");
    return text;
}

int indexOr(int value, int count, int fallback)
{
    return value >= 0 && value < count ? value : fallback;
}
} // namespace

QString PrintDialog::captionFor(int viewKind)
{
    return viewKind >= 0 && viewKind < int(Captions.size())
               ? QString::fromLatin1(Captions[size_t(viewKind)])
               : QStringLiteral("Print Current View");
}

QStringList PrintDialog::startItems(const DateTimeFormat &format)
{
    QStringList items{QStringLiteral("Screen Start")};
    for (int h = 0; h < 24; ++h)
        items << hourItem(format, h);
    return items;
}

QStringList PrintDialog::stopItems(const DateTimeFormat &format)
{
    QStringList items{QStringLiteral("Screen End")};
    for (int h = 1; h <= 24; ++h)
        items << hourItem(format, h % 24);
    return items;
}

QString PrintDialog::correctedCopies(const QString &text)
{
    bool ok = false;
    const long long n = text.trimmed().toLongLong(&ok);
    if (!ok || n < 1) return QStringLiteral("1");
    if (n > 100) return QStringLiteral("100");
    return QString::number(n);
}

PrintDialog::PrintDialog(int viewKind, const Settings &settings, const DateTimeFormat &format,
                         QPrinter &printer, QWidget *parent)
    : QDialog(parent), m_printer(printer), m_timePanel(ViewState::usesTimeGrid(quint8(viewKind)))
{
    setWindowTitle(captionFor(viewKind));
    const int panelHeight = m_timePanel ? 253 : 198;
    setFixedSize(336, panelHeight + 90);
    printer.setPageOrientation(PrintOptions::landscapeFor(settings.printOrientations(), viewKind)
                                   ? QPageLayout::Landscape
                                   : QPageLayout::Portrait);

    auto *panel = new DialogPanel(QStringLiteral("Settings"), this);
    panel->setGeometry(8, 10, 318, panelHeight);
    QWidget *body = panel->body();
    int y = 8;
    // The boxes start after the longest label; a label after a box starts 96 px later.
    const int boxLeft = std::max(
        118,
        6 + QFontMetrics(body->font()).horizontalAdvance(QStringLiteral("Start printing from:")) +
            6);
    const int afterLeft = boxLeft + 96;
    const auto row = [&](const QString &label, QWidget *box, const QString &after = {}) {
        auto *l = new QLabel(label, body);
        l->setGeometry(6, y + 3, boxLeft - 8, 17);
        box->setParent(body);
        // As wide as the longest entry needs, at least 100 px where there is room; it ends 3 px
        // before the label after it, or at the panel's right edge.
        const int right = after.isEmpty() ? 296 : afterLeft - 3;
        const int widest = right - boxLeft;
        box->setGeometry(boxLeft, y,
                         std::clamp(box->sizeHint().width(), std::min(100, widest), widest), 22);
        if (!after.isEmpty()) {
            auto *a = new QLabel(after, body);
            a->setGeometry(afterLeft, y + 3, a->fontMetrics().horizontalAdvance(after) + 2, 17);
        }
        y += 28;
    };
    const PrintOptions stored = PrintOptions::fromSettings(settings, viewKind);

    m_start = new QComboBox;
    m_start->addItems(startItems(format));
    m_stop = new QComboBox;
    m_stop->addItems(stopItems(format));
    if (m_timePanel) {
        row(QStringLiteral("Start printing from:"), m_start);
        row(QStringLiteral("Stop printing at:"), m_stop);
    } else {
        m_start->hide();
        m_stop->hide();
    }
    m_start->setCurrentIndex(indexOr(settings.printStartTime(), 25, 0));
    m_stop->setCurrentIndex(indexOr(settings.printStopTime(), 25, 0));

    m_copies = new QComboBox;
    m_copies->setEditable(true);
    m_copies->addItems({"1", "2", "3", "4", "5", "10", "25", "100"});
    m_copies->setCurrentIndex(0);
    row(QStringLiteral("Number of copies:"), m_copies);
    connect(m_copies->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { m_copies->setEditText(correctedCopies(m_copies->currentText())); });

    m_fontSize = new QComboBox;
    m_fontSize->addItems({"4", "5", "6", "7", "8   (Standard)", "9", "10", "11", "12"});
    m_fontSize->setCurrentIndex(stored.fontSize - PrintOptions::MinFontSize);
    row(QStringLiteral("Font Size:"), m_fontSize);

    const QStringList shares{"25 %", "33 %", "50 %", "67 %", "75 %", "100 %"};
    m_width = new QComboBox;
    m_width->addItems(shares);
    m_width->setCurrentIndex(stored.widthIndex);
    row(QStringLiteral("Width:"), m_width, QStringLiteral("of paper size"));
    m_height = new QComboBox;
    m_height->addItems(shares);
    m_height->setCurrentIndex(stored.heightIndex);
    row(QStringLiteral("Height:"), m_height, QStringLiteral("of paper size"));

    m_color = new QComboBox;
    m_color->addItems({"None", "Gray", "Layer Colors"});
    m_color->setCurrentIndex(indexOr(settings.printColor(), 3, 0));
    row(QStringLiteral("Event Color:"), m_color);

    m_heading = new QCheckBox(QStringLiteral("Print heading"), body);
    m_heading->setGeometry(6, y, 140, 20);
    m_heading->setChecked(stored.heading);
    auto *setup = new QPushButton(QStringLiteral("Printer Setup..."), body);
    setup->setGeometry(166, y - 2, 130, 24);
    connect(setup, &QPushButton::clicked, this, &PrintDialog::printerSetup);

    auto *print = new QPushButton(QStringLiteral("Print"), this);
    print->setGeometry(336 / 2 - 110, panelHeight + 28, 100, 26);
    print->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setGeometry(336 / 2 + 10, panelHeight + 28, 100, 26);
    connect(print, &QPushButton::clicked, this, [this] {
        m_copies->setEditText(correctedCopies(m_copies->currentText()));
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_start, &QComboBox::currentIndexChanged, this, &PrintDialog::startChanged);
    connect(m_stop, &QComboBox::currentIndexChanged, this, &PrintDialog::stopChanged);
}

void PrintDialog::startChanged(int index)
{
    if (m_stop->currentIndex() != 0 && m_stop->currentIndex() < index)
        m_stop->setCurrentIndex(index);
}

void PrintDialog::stopChanged(int index)
{
    if (index != 0 && index < m_start->currentIndex()) m_start->setCurrentIndex(index);
}

void PrintDialog::printerSetup()
{
    QPrintDialog dialog(&m_printer, this);
    dialog.setWindowTitle(QStringLiteral("Printer Setup"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    (void)dialog.exec();
}

PrintOptions PrintDialog::options() const
{
    PrintOptions o;
    o.widthIndex = m_width->currentIndex();
    o.heightIndex = m_height->currentIndex();
    o.heading = m_heading->isChecked();
    o.colorMode = m_color->currentIndex();
    o.fontSize = m_fontSize->currentIndex() + PrintOptions::MinFontSize;
    o.startIndex = m_timePanel ? m_start->currentIndex() : 0;
    o.stopIndex = m_timePanel ? m_stop->currentIndex() : 0;
    o.copies = correctedCopies(m_copies->currentText()).toInt();
    return o.checked();
}
