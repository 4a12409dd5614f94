// Renders a sample week to PNG files for looking at by eye. Runs only when DAYLOOM_SHOT_DIR
// names a folder; the files are not part of the repository.
#include "ui/TimeGridFixture.h"

using namespace GridsTest;

namespace
{

void addSampleWeek(FakeTimeGridModel &m)
{
    m.layerColors = {{1, 3}, {2, 7}, {3, 12}, {4, 18}};
    int id = 1;
    const auto add = [&](SerialDateTime s, SerialDateTime e, int layer, const char *subject,
                         const char *description = "", bool alarm = false) {
        FakeEvent f;
        f.id = id++;
        f.start = s;
        f.end = e;
        f.layer = layer;
        f.subject = QString::fromLatin1(subject);
        f.description = QString::fromLatin1(description);
        f.alarm = alarm;
        m.add(f);
    };
    add(at(2024, 3, 4, 9), at(2024, 3, 4, 10, 30), 1, "Team meeting", "Room 4, weekly plan", true);
    add(at(2024, 3, 4, 10), at(2024, 3, 4, 11), 2, "Call with supplier");
    add(at(2024, 3, 4, 10, 10), at(2024, 3, 4, 12), 3, "Review");
    add(at(2024, 3, 5, 12), at(2024, 3, 5, 13), 4, "Lunch with Anna", "Corner cafe");
    add(at(2024, 3, 5, 14), at(2024, 3, 5, 14), 1, "Reminder: send report", "", true);
    add(at(2024, 3, 6, 22), at(2024, 3, 7, 2), 2, "Night shift");
    add(at(2024, 3, 7, 9, 5), at(2024, 3, 7, 11, 50), 9, "Workshop (no layer)");
    add(at(2024, 3, 4), at(2024, 3, 5), 3, "Holiday");
    add(at(2024, 3, 5, 9), at(2024, 3, 7, 17), 1, "Conference", "", true);
    add(at(2024, 3, 2), at(2024, 3, 12), 4, "Project phase 2");
    FakeEvent r;
    r.id = id++;
    r.start = at(2024, 3, 1, 8);
    r.end = at(2024, 3, 31, 8, 30);
    r.recurrent = true;
    r.layer = 2;
    r.subject = QStringLiteral("Stand-up");
    m.add(r);
}

} // namespace

TEST_F(DayGridFixture, RendersSampleWeekToPng)
{
    const QString dir = qEnvironmentVariable("DAYLOOM_SHOT_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "set DAYLOOM_SHOT_DIR to write the screenshots";
    addSampleWeek(model);
    panel.resize(1000, 700);
    panel.setStyleSheet(QStringLiteral("background: rgb(224,224,224)"));
    refresh();
    show();
    applyScroll(7);
    ASSERT_TRUE(panel.grab().save(dir + QStringLiteral("/week-24h.png")));
    format.buildTimeFormat(1, 1);
    zoomIn();
    zoomIn();
    applyScroll(7);
    QTest::mouseClick(grid->allDayStrip(), Qt::LeftButton, {},
                      grid->allDayStrip()->cellRect(6, 0).center() + QPoint(0, 30));
    ASSERT_TRUE(panel.grab().save(dir + QStringLiteral("/week-12h-zoom.png")));
}
