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
    // Builds the dialog over the window's formats and font, adds it to the dialogs a wake-up
    // closes and enables the menu item. The references must outlive this object.
    OptionsCommand(MainWindow &window, Settings &settings);

    OptionsDialog &dialog() const { return *m_dialog; }
    // Shows the dialog modally; true when it was left with OK.
    bool run();

private:
    MainWindow &m_window;
    Settings &m_settings;
    OptionsDialog *m_dialog = nullptr; // owned by the window
};
