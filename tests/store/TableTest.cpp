#include "store/Table.h"
#include "store/TableTestSchemas.h"

#include "core/DateTimeValue.h"
#include "core/TextCompare.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <algorithm>
#include <tuple>

namespace
{

enum EventField {
    ID = 0,
    Layer = 1,
    Start = 2,
    End = 3,
    AllDay = 4,
    Subject = 8,
    Memo = 9,
    RadioButton1 = 11,
    Weekdays = 21,
    Exceptions = 22
};

#define EVENTS_TABLE(t)                                                                            \
    Table t(TableTestSchemas::events());                                                           \
    ASSERT_TRUE(t.setActiveIndex("INDEX"))

// Adds a row; a table without a file takes every row.
void addEvent(Table &t, int layer, double start, double end, const QString &subject)
{
    EXPECT_TRUE(t.insertRow({QVariant(), layer, start, end, false, false, 0, 0, subject}).ok());
}

std::vector<int> walkIds(Table &t)
{
    std::vector<int> ids;
    for (t.first(); !t.eof(); t.next())
        ids.push_back(t.asInteger(ID));
    return ids;
}

std::vector<int> findIds(Table &t)
{
    std::vector<int> ids;
    for (bool ok = t.findFirst(); ok; ok = t.findNext())
        ids.push_back(t.asInteger(ID));
    return ids;
}

} // namespace

TEST(Table, IndexOrdersByStartThenLongerFirstThenSubjectThenId)
{
    EVENTS_TABLE(t);
    addEvent(t, 1, 10, 11, "b");     // 1
    addEvent(t, 1, 10, 12, "z");     // 2: same start, ends later: before 1
    addEvent(t, 1, 9, 9.5, "x");     // 3: earliest start
    addEvent(t, 1, 10, 11, "B");     // 4: "B" before "b", after "apple"
    addEvent(t, 1, 10, 11, "apple"); // 5: before "b"
    addEvent(t, 1, 10, 11, "b");     // 6: equal keys with 1: ID decides
    EXPECT_EQ(walkIds(t), (std::vector<int>{3, 2, 5, 4, 1, 6}));
}

TEST(Table, EqualKeysKeepInsertionOrderWithoutIdInIndex)
{
    TableSchema s = TableTestSchemas::layers();
    Table t(s);
    ASSERT_TRUE(t.setActiveIndex("row"));
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(t.insertRow({QVariant(), i % 2, QString("L%1").arg(i)}).ok());
    std::vector<QString> names;
    for (t.first(); !t.eof(); t.next())
        names.push_back(t.asString(2));
    EXPECT_EQ(names, (std::vector<QString>{"L0", "L2", "L4", "L1", "L3"}));
}

TEST(Table, NullsSortFirstAscendingAndLastDescending)
{
    TableSchema s = TableTestSchemas::events();
    s.indexes.append({"BYRB", {{"RadioButton1"}, {"ID"}}});
    s.indexes.append({"BYRBDESC", {{"RadioButton1", true}, {"ID"}}});
    Table t(s);
    for (QVariant rb : {QVariant(5), QVariant(), QVariant(-3), QVariant()})
        ASSERT_TRUE(
            t.insertRow({QVariant(), 1, 1.0, 2.0, false, false, 0, 0, "s", QVariant(), true, rb})
                .ok());
    ASSERT_TRUE(t.setActiveIndex("BYRB"));
    EXPECT_EQ(walkIds(t), (std::vector<int>{2, 4, 3, 1}));
    ASSERT_TRUE(t.setActiveIndex("BYRBDESC"));
    EXPECT_EQ(walkIds(t), (std::vector<int>{1, 3, 2, 4}));
    t.first();
    EXPECT_FALSE(t.isNull(RadioButton1));
    t.last();
    EXPECT_TRUE(t.isNull(RadioButton1));
    EXPECT_EQ(t.asInteger(RadioButton1), 0);
}

TEST(Table, PostsKeepTheIndexEqualToAFullSort)
{
    EVENTS_TABLE(t);
    QRandomGenerator rng(7);
    for (int i = 0; i < 300; ++i)
        addEvent(t, 1, rng.bounded(20), rng.bounded(20), QString(QChar('a' + rng.bounded(3))));
    for (int step = 0; step < 500; ++step) {
        ASSERT_TRUE(t.setRecNo(1 + rng.bounded(t.recordCount())));
        t.edit();
        t.setValue(Start, double(rng.bounded(20)));
        if (step % 3 == 0) t.setValue(Subject, rng.bounded(2) ? QVariant() : QVariant("A"));
        ASSERT_TRUE(t.post().ok());
    }
    std::vector<std::tuple<double, double, QString, int>> rows;
    for (t.first(); !t.eof(); t.next())
        rows.emplace_back(t.asDateTime(Start), t.asDateTime(End), t.asString(Subject),
                          t.asInteger(ID));
    for (size_t i = 1; i < rows.size(); ++i) {
        const auto &[s0, e0, n0, id0] = rows[i - 1];
        const auto &[s1, e1, n1, id1] = rows[i];
        const bool ordered =
            s0 < s1 ||
            (s0 == s1 &&
             (e0 > e1 || (e0 == e1 && (compareText(n0, n1) < 0 || (n0 == n1 && id0 < id1)))));
        ASSERT_TRUE(ordered) << "rows " << i - 1 << " and " << i << " out of order";
    }
    // Sorting the whole table again (as a load does) gives the walk the posts kept.
    const std::vector<int> kept = walkIds(t);
    ASSERT_TRUE(t.setActiveIndex(""));
    ASSERT_TRUE(t.setActiveIndex("INDEX"));
    EXPECT_EQ(walkIds(t), kept);
}

TEST(Table, AutoIncNeverReusedAfterDeleteOrEmpty)
{
    EVENTS_TABLE(t);
    addEvent(t, 1, 1, 2, "a");
    addEvent(t, 1, 2, 3, "b");
    t.last();
    ASSERT_EQ(t.asInteger(ID), 2);
    ASSERT_TRUE(t.deleteRow().ok());
    addEvent(t, 1, 3, 4, "c");
    EXPECT_EQ(t.asInteger(ID), 3);
    ASSERT_TRUE(t.emptyTable().ok());
    EXPECT_EQ(t.recordCount(), 0);
    EXPECT_TRUE(t.eof());
    addEvent(t, 1, 3, 4, "d");
    EXPECT_EQ(t.recordCount(), 1);
    EXPECT_EQ(t.recNo(), 1);
    EXPECT_EQ(t.asInteger(ID), 4);
    EXPECT_EQ(t.asString(Subject), "d");
}

TEST(Table, InsertRowIgnoresGivenIdAndLeavesMissingFieldsNull)
{
    EVENTS_TABLE(t);
    ASSERT_TRUE(t.insertRow({99, 2, 5.5}).ok());
    EXPECT_EQ(t.asInteger(ID), 1);
    EXPECT_EQ(t.asInteger(Layer), 2);
    EXPECT_TRUE(t.isNull(End));
    EXPECT_TRUE(t.isNull(Subject));
    EXPECT_EQ(t.asString(Subject), "");
    EXPECT_FALSE(t.asBoolean(AllDay));
}

TEST(Table, FindUsesBothFiltersAndPlainWalkUsesNeither)
{
    EVENTS_TABLE(t);
    for (int i = 0; i < 10; ++i)
        addEvent(t, i % 3, i, i + 1, "e"); // IDs 1..10, layer = (ID-1) % 3
    ASSERT_TRUE(t.setFilterText("Layer = 0 or Layer = 2"));
    EXPECT_EQ(findIds(t), (std::vector<int>{1, 3, 4, 6, 7, 9, 10}));
    t.setRecordFilter([](const Table &row) { return row.asDateTime(Start) >= 4; });
    EXPECT_EQ(findIds(t), (std::vector<int>{6, 7, 9, 10}));
    ASSERT_TRUE(t.setFilterText(""));
    EXPECT_EQ(findIds(t), (std::vector<int>{5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(walkIds(t).size(), 10u);

    // A failed find leaves the cursor on the last match and sets eof, so both loop styles end.
    t.setRecordFilter([](const Table &row) { return row.asInteger(ID) == 3; });
    ASSERT_TRUE(t.findFirst());
    EXPECT_FALSE(t.findNext());
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.asInteger(ID), 3);
    t.setRecordFilter([](const Table &) { return false; });
    t.setRecNo(5);
    EXPECT_FALSE(t.findFirst());
    EXPECT_EQ(t.recNo(), 5);
}

struct FilterCase {
    const char *name;
    const char *text;
    bool parses;
    std::vector<int> ids; // of rows with Layer = ID % 4, RadioButton1 null for odd IDs
};

class TableFilterText : public ::testing::TestWithParam<FilterCase>
{
};

TEST_P(TableFilterText, SelectsRows)
{
    const FilterCase &c = GetParam();
    EVENTS_TABLE(t);
    for (int i = 1; i <= 8; ++i)
        ASSERT_TRUE(t.insertRow({QVariant(), i % 4, double(i), double(i), false, false, 0, 0, "s",
                                 QVariant(), false, i % 2 ? QVariant() : QVariant(0)})
                        .ok());
    ASSERT_TRUE(t.setFilterText("Layer = 1"));
    QString error;
    ASSERT_EQ(t.setFilterText(c.text, &error), c.parses) << error.toStdString();
    if (!c.parses) {
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(t.filterText(), "Layer = 1"); // a bad text keeps the previous filter
    }
    EXPECT_EQ(findIds(t), c.ids);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TableFilterText,
    ::testing::Values(FilterCase{"empty", "", true, {1, 2, 3, 4, 5, 6, 7, 8}},
                      FilterCase{"blank", "   ", true, {1, 2, 3, 4, 5, 6, 7, 8}},
                      FilterCase{"one_term", "Layer = 3", true, {3, 7}},
                      FilterCase{"or_terms", "Layer = 3 or Layer = 0", true, {3, 4, 7, 8}},
                      FilterCase{"no_layer", "Layer = -1", true, {}},
                      FilterCase{"case_and_spacing", "layer=2 OR LAYER= 0", true, {2, 4, 6, 8}},
                      FilterCase{
                          "and_binds_tighter", "Layer = 1 and ID > 4 or ID = 2", true, {2, 5}},
                      FilterCase{"null_matches_nothing", "RadioButton1 = 0", true, {2, 4, 6, 8}},
                      FilterCase{"null_not_unequal", "RadioButton1 <> 5", true, {2, 4, 6, 8}},
                      FilterCase{"date_field", "StartTime >= 7", true, {7, 8}},
                      FilterCase{"unknown_field", "Colour = 1", false, {1, 5}},
                      FilterCase{"text_field", "Subject = 1", false, {1, 5}},
                      FilterCase{"dangling_or", "Layer = 1 or", false, {1, 5}},
                      FilterCase{"no_number", "Layer = x", false, {1, 5}},
                      FilterCase{"no_operator", "Layer 3", false, {1, 5}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Table, LocateFindsARowAfterAPostMovedIt)
{
    EVENTS_TABLE(t);
    for (int i = 0; i < 5; ++i)
        addEvent(t, 1, i, i + 1, "e");
    ASSERT_TRUE(t.locate("ID", 2));
    t.edit();
    t.setValue(Start, 100.0);
    ASSERT_TRUE(t.post().ok());
    EXPECT_EQ(t.recNo(), 5);
    t.first();
    ASSERT_TRUE(t.locate(ID, 2));
    EXPECT_EQ(t.recNo(), 5);
    ASSERT_TRUE(t.locate("StartTime", 3.0));
    EXPECT_EQ(t.asInteger(ID), 4);
    EXPECT_EQ(t.recNo(), 3);
    EXPECT_FALSE(t.locate(ID, 77));
    EXPECT_FALSE(t.locate("NoSuchField", 1));
    EXPECT_EQ(t.recNo(), 3);
    ASSERT_TRUE(t.locate(Subject, "e"));
    EXPECT_EQ(t.recNo(), 1);
}

TEST(Table, BookmarkFollowsItsRowAcrossPostsAndDiesWithIt)
{
    EVENTS_TABLE(t);
    for (int i = 0; i < 5; ++i)
        addEvent(t, 1, i, i + 1, "e");
    ASSERT_TRUE(t.locate(ID, 3));
    const Table::Bookmark b = t.bookmark();
    for (int id : {4, 5}) { // move rows after it to the front
        ASSERT_TRUE(t.locate(ID, id));
        t.edit();
        t.setValue(Start, -double(id));
        EXPECT_TRUE(t.post().ok());
    }
    ASSERT_TRUE(t.setActiveIndex(""));
    ASSERT_TRUE(t.setActiveIndex("INDEX"));
    t.first();
    ASSERT_TRUE(t.gotoBookmark(b));
    EXPECT_EQ(t.asInteger(ID), 3);
    EXPECT_EQ(t.recNo(), 5);
    EXPECT_TRUE(t.deleteRow().ok());
    addEvent(t, 1, 50, 51, "reuses the slot");
    EXPECT_FALSE(t.gotoBookmark(b));
}

TEST(Table, CursorEdges)
{
    EVENTS_TABLE(t);
    t.first();
    EXPECT_TRUE(t.eof());
    EXPECT_TRUE(t.bof());
    EXPECT_EQ(t.recNo(), 0);
    EXPECT_EQ(t.moveBy(3), 0);
    EXPECT_FALSE(t.edit());
    EXPECT_FALSE(t.deleteRow().applied);
    for (int i = 0; i < 4; ++i)
        addEvent(t, 1, i, i, "e");
    t.first();
    EXPECT_EQ(t.moveBy(2), 2);
    EXPECT_EQ(t.recNo(), 3);
    EXPECT_FALSE(t.eof());
    EXPECT_EQ(t.moveBy(5), 1);
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.moveBy(-10), -3);
    EXPECT_TRUE(t.bof());
    t.last();
    EXPECT_EQ(t.recNo(), 4);
    t.next();
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.recNo(), 4);
    EXPECT_FALSE(t.setRecNo(0));
    EXPECT_FALSE(t.setRecNo(5));
    EXPECT_TRUE(t.setRecNo(2));
    EXPECT_EQ(t.asInteger(ID), 2);
    // Deleting the last row makes the new last row current.
    t.last();
    EXPECT_TRUE(t.deleteRow().ok());
    EXPECT_EQ(t.recNo(), 3);
    EXPECT_EQ(t.asInteger(ID), 3);
    t.first();
    EXPECT_TRUE(t.deleteRow().ok());
    EXPECT_EQ(t.asInteger(ID), 2);
}

TEST(Table, EditingReadsTheBufferAndNavigationPostsIt)
{
    EVENTS_TABLE(t);
    int afterPosts = 0;
    t.setAfterPost([&](Table &row) {
        ++afterPosts;
        EXPECT_EQ(row.state(), Table::State::Browse);
    });
    addEvent(t, 1, 1, 2, "a");
    addEvent(t, 1, 2, 3, "b");
    EXPECT_EQ(afterPosts, 2);
    t.first();
    EXPECT_FALSE(t.setValue(Subject, "x")); // not editing
    ASSERT_TRUE(t.edit());
    EXPECT_FALSE(t.setValue(ID, 50)); // read-only
    t.setValue(Subject, "changed");
    EXPECT_EQ(t.asString(Subject), "changed");
    t.cancel();
    EXPECT_EQ(t.asString(Subject), "a");
    t.edit();
    t.setValue(Subject, "kept");
    t.next();
    EXPECT_EQ(afterPosts, 3);
    t.first();
    EXPECT_EQ(t.asString(Subject), "kept");
    EXPECT_TRUE(t.deleteRow().ok());
    EXPECT_EQ(afterPosts, 3);
    t.insert();
    t.setValue(Subject, "new");
    t.setValue(Start, 0.5);
    ASSERT_TRUE(t.post().ok());
    EXPECT_EQ(t.asInteger(ID), 3);
    EXPECT_EQ(t.recNo(), 1);
    EXPECT_EQ(afterPosts, 4);
}

struct TextCase {
    const char *name;
    int field;
    QVariant value;
    QString text;
};

class TableTextForm : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(TableTextForm, AsString)
{
    const TextCase &c = GetParam();
    EVENTS_TABLE(t);
    t.insert();
    t.setValue(c.field, c.value);
    EXPECT_TRUE(t.post().ok());
    EXPECT_EQ(t.asString(c.field), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TableTextForm,
    ::testing::Values(
        TextCase{"integer", Layer, -42, "-42"}, TextCase{"null_integer", Layer, QVariant(), ""},
        TextCase{"true", AllDay, true, "True"}, TextCase{"false", AllDay, false, "False"},
        TextCase{"null_boolean", AllDay, QVariant(), ""},
        TextCase{"midnight_date_only", Start, DateTimeValue::encodeDate(2000, 7, 8), "2000-07-08"},
        TextCase{"date_and_time", Start,
                 DateTimeValue::encodeDate(2000, 7, 8) + DateTimeValue::encodeTime(13, 5, 9),
                 "2000-07-08 13:05:09"},
        TextCase{"before_day_zero", Start, -0.25, "1899-12-29 18:00:00"},
        TextCase{"qdatetime_in", Start, QDateTime(QDate(2024, 2, 29), QTime(0, 30)),
                 "2024-02-29 00:30:00"},
        TextCase{"fixed_text_is_cut", Weekdays, "12345678", "1234567"},
        TextCase{"memo_line_breaks", Memo, "a\r\nb", "a\r\nb"},
        TextCase{"blob_as_text", Exceptions, QByteArray("36715,36716"), "36715,36716"},
        TextCase{"integer_from_text", Layer, "12", "12"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Table, SchemaValidity)
{
    EXPECT_TRUE(TableTestSchemas::events().isValid());
    TableSchema s = TableTestSchemas::layers();
    s.fields.append({"name", FieldType::Integer});
    EXPECT_FALSE(s.isValid());
    s = TableTestSchemas::layers();
    s.indexes.append({"BAD", {{"Nope"}}});
    EXPECT_FALSE(s.isValid());
    s = TableTestSchemas::layers();
    s.fields.append({"Short", FieldType::Text, 0});
    EXPECT_FALSE(s.isValid());
    Table t(TableTestSchemas::layers());
    EXPECT_FALSE(t.setActiveIndex("NOPE"));
    EXPECT_FALSE(t.fieldByName("Nope").isValid());
    EXPECT_EQ(t.fieldByName("Nope").asInteger(), 0);
}
