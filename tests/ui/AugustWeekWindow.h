#pragma once
// A main window over real stores in a fresh data folder, opened on the week of Sunday 6 Aug
// 2000 from 08:00, today Wednesday 9 Aug 10:30, with "Planning" Wed 10:00-11:00 and the daily
// "Stand-up" 09:00-09:30 of August in layer "Work". Messages go to `messages`.
#include "core/Clock.h"
#include "core/Settings.h"
#include "support/TestEnv.h"
#include "ui/WindowOverStores.h"
#include "ui/WindowTestEvents.h"

#include <gtest/gtest.h>

#include <functional>

class AugustWeekWindow : public ::testing::Test
{
protected:
    explicit AugustWeekWindow(const QString &folder) : root(TestEnv::freshDir(folder)) {}

    // A one-time event of the seed: the description is the subject + " notes", a line break
    // and "second line".
    static EventRow seedEvent(int layer, SerialDateTime start, SerialDateTime end,
                              const QString &subject)
    {
        return oneTimeEvent(layer, start, end, subject,
                            subject + QStringLiteral(" notes\r\nsecond line"));
    }

    // Seeds the stores (then `more`, with workId set) and opens the window.
    void openWindow(const std::function<void(EventsStore &)> &more = {})
    {
        reg.setStartView(ViewWeek);
        reg.setStartHour(8);
        ASSERT_TRUE(stores.open(reg, time, clock, [&](LayersStore &l, EventsStore &e) {
            workId = l.insertLayer(2, QStringLiteral("Work"), true, 3, 1, 30).id;
            planning = e.insertEvent(seedEvent(workId, at(2000, 8, 9, 10), at(2000, 8, 9, 11),
                                               QStringLiteral("Planning")))
                           .id;
            if (more) more(e);
            standUp = e.insertEvent(dailySeries(seedEvent(workId, {}, {}, "Stand-up"),
                                                at(2000, 8, 1, 9), at(2000, 8, 31, 9, 30)))
                          .id;
        }));
        win->setMessageSink([this](const QString &text) { messages << text; });
    }

    QString root;
    Clock clock = fixedClock(QDateTime(QDate(2000, 8, 9), QTime(10, 30)));
    Settings reg{pathsBelow(root)};
    ViewDates time{clock};
    WindowOverStores stores;
    std::unique_ptr<EventsStore> &events = stores.events;
    std::unique_ptr<MainWindow> &win = stores.win;
    int workId = -1, planning = -1, standUp = -1;
    QStringList messages;
};
