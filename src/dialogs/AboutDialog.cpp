#include "dialogs/AboutDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Dayloom"));
    auto *name = new QLabel(QStringLiteral("Dayloom"), this);
    QFont big = name->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.5);
    name->setFont(big);
    name->setAlignment(Qt::AlignCenter);
    m_body = new QLabel(bodyText(), this);
    m_body->setAlignment(Qt::AlignCenter);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 12);
    layout->setSpacing(10);
    layout->addWidget(name);
    layout->addWidget(m_body);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

QString AboutDialog::versionText()
{
    return QStringLiteral("Version " DAYLOOM_VERSION);
}

QString AboutDialog::bodyText()
{
    return QStringLiteral("A calendar and planner\n%1\n\nCopyright (c) The Dayloom developers\n"
                          "MIT licence")
        .arg(versionText());
}
