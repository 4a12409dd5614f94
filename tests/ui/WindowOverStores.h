#pragma once
// The layers, events and tasks stores of a settings' data folder with a main window over them,
// shown (1000 x 700 unless told) and active; torn down window first, then the stores in reverse
// order.
#include "core/Clock.h"
#include "core/Settings.h"
#include "mainwin/MainWindow.h"
#include "store/EventsStore.h"
#include "store/LayersStore.h"
#include "store/TasksStore.h"

#include <QApplication>
#include <QTest>

#include <functional>
#include <memory>

// A clock fixed at `now`.
inline Clock fixedClock(const QDateTime &now)
{
    Clock c;
    c.setFixed(now);
    return c;
}

// The settings file, data folder and autostart entry below `root`.
inline SettingsPaths pathsBelow(const QString &root)
{
    return {root + "/dayloom.ini", root + "/data", root + "/autostart/dayloom.desktop",
            "/opt/dayloom/dayloom"};
}

struct WindowOverStores {
    std::unique_ptr<LayersStore> layers;
    std::unique_ptr<EventsStore> events;
    std::unique_ptr<TasksStore> tasks;
    std::unique_ptr<MainWindow> win;

    // Opens the stores, lets `seed` add to them, then builds and shows the window at `size`.
    // False when the window did not become active.
    bool open(Settings &reg, ViewDates &time, const Clock &clock,
              const std::function<void(LayersStore &, EventsStore &)> &seed = {},
              QSize size = QSize(1000, 700))
    {
        layers = std::make_unique<LayersStore>(reg.dataPath(), clock);
        events = std::make_unique<EventsStore>(reg.dataPath(), *layers, time, clock);
        tasks = std::make_unique<TasksStore>(reg.dataPath(), *layers, clock);
        if (seed) seed(*layers, *events);
        win = std::make_unique<MainWindow>(reg, *layers, *events, *tasks, time, clock);
        win->resize(size);
        win->show();
        if (!QTest::qWaitForWindowActive(win.get())) return false;
        QApplication::processEvents();
        return true;
    }
    void close()
    {
        win.reset();
        tasks.reset();
        events.reset();
        layers.reset();
    }
    ~WindowOverStores() { close(); }

    // The placed time-grid box of event `id` in day column `day`; null when there is none.
    const SpanItem *box(int day, int id) const
    {
        for (const SpanItem &i : events->collections().day.timeItems(day))
            if (i.id == id) return &i;
        return nullptr;
    }
};
