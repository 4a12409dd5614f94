// The pending-alarm list against a plain list that finds an id's first entry by walking:
// random adds (many at equal times, ids repeated), removals by id and drops of the leading
// alarms must leave both with the same entries in the same order.
#include "store/PendingAlarmList.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

TEST(PendingAlarmList, KeepsTheOrderOfAWalkingListThroughAddsAndRemovals)
{
    QRandomGenerator rng(11);
    PendingTaskAlarms list;
    QList<TaskAlarmEntry> plain;
    const auto timeOf = [](const TaskAlarmEntry &e) { return DateTimeValue::toMs(e.alarmTime); };
    for (int step = 0; step < 4000; ++step) {
        const int op = int(rng.bounded(10));
        const int id = 1 + int(rng.bounded(40));
        if (op < 5) {
            // Few distinct minutes, so that equal times and repeated ids are common.
            const TaskAlarmEntry e{45000 + rng.bounded(30) / 1440.0, id};
            list.add(e);
            auto at = plain.begin();
            while (at != plain.end() && timeOf(*at) <= timeOf(e))
                ++at;
            plain.insert(at, e);
        } else if (op < 9) {
            const auto at = std::find_if(plain.begin(), plain.end(),
                                         [id](const TaskAlarmEntry &e) { return e.id == id; });
            EXPECT_EQ(list.removeFirst(id), at != plain.end()) << "step " << step;
            if (at != plain.end()) plain.erase(at);
        } else {
            const qsizetype n = rng.bounded(4);
            list.removeLeading(n);
            plain.remove(0, qMin(n, plain.size()));
        }
        ASSERT_EQ(list.size(), plain.size()) << "step " << step;
        for (qsizetype i = 0; i < plain.size(); ++i)
            ASSERT_TRUE(list.at(i).id == plain[i].id && timeOf(list.at(i)) == timeOf(plain[i]))
                << "step " << step << " entry " << i;
    }
    list.clear();
    EXPECT_FALSE(list.removeFirst(1));
}
