#pragma once
// The "Options..." command of the Edit menu: runs the options dialog modally and has the
// window apply what OK wrote (MainWindow::applySettings). A failed write or removal of the
// autostart entry is reported through the window's showMessage().
#include <QObject>

class MainWindow;
class OptionsDialog;
class Settings;

class OptionsCommand : public QObject
{
    Q_OBJECT
public:
    // Enables and connects the menu item. The references must outlive this object.
    OptionsCommand(MainWindow &window, Settings &settings);

    // Shows the dialog modally (built at the first run, over the window's formats and font, and
    // added to the dialogs a wake-up closes); true when it was left with OK.
    bool run();

private:
    void buildDialog();

    MainWindow &m_window;
    Settings &m_settings;
    OptionsDialog *m_dialog = nullptr; // owned by the window; null until the first run
};
