#pragma once
// The about box: the program's name, its version (the build's DAYLOOM_VERSION), its copyright
// and licence, and an "OK" button.
#include <QDialog>

class QLabel;

class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AboutDialog(QWidget *parent = nullptr);

    // "Version 0.1.0" for version 0.1.0.
    static QString versionText();
    // Everything the box says, line by line (for the label and for tests).
    static QString bodyText();

private:
    QLabel *m_body = nullptr;
};
