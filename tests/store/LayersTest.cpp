#include "store/LayersStore.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {
QString dataDir() { return TestEnv::freshDir("layers") + "/"; }
} // namespace

TEST(Layers, MissingOrEmptyTableGetsTheDefaultLayer)
{
    const QString dir = dataDir();
    {
        LayersStore layers(dir);
        ASSERT_EQ(layers.count(), 1);
        ASSERT_TRUE(layers.gotoPosition(1));
        EXPECT_EQ(layers.currentName(), "Layer1");
        EXPECT_TRUE(layers.currentIsShown());
        EXPECT_EQ(layers.currentColor(), 1);
        EXPECT_EQ(layers.currentArchiving(), 1);
        EXPECT_EQ(layers.currentArchiveDays(), 30);
        EXPECT_EQ(layers.layerFileLine(), "'Layer1';True;1;1;30");
        layers.CDS.emptyTable();
    }
    LayersStore again(dir);
    EXPECT_EQ(again.count(), 1);
    EXPECT_TRUE(QFile::exists(dir + "Layers.cds"));
}

TEST(Layers, PositionsFollowRowNotID)
{
    LayersStore layers(dataDir());
    layers.insertLayer(5, "Late", true, 2, 1, 30);
    layers.insertLayer(-1, "Early", false, 3, 1, 30);
    ASSERT_EQ(layers.count(), 3);
    layers.gotoPosition(1);
    EXPECT_EQ(layers.currentName(), "Early");
    layers.gotoPosition(3);
    EXPECT_EQ(layers.currentName(), "Late");
    const int lateId = layers.currentId();
    // Renumbering moves the layer in every walk.
    layers.CDS.edit();
    layers.CDS.setValue(LayersStore::F_Row, -5);
    layers.CDS.post();
    layers.gotoPosition(1);
    EXPECT_EQ(layers.currentId(), lateId);
}

TEST(Layers, ShownLayersFilterListsShownLayersInDisplayOrder)
{
    LayersStore layers(dataDir());
    layers.gotoPosition(1);
    const int first = layers.currentId();
    layers.insertLayer(1, "Hidden", false, 2, 1, 30);
    layers.insertLayer(2, "Work", true, 3, 1, 30);
    const int work = layers.currentId();
    layers.gotoPosition(2);
    EXPECT_EQ(layers.shownLayersFilter(), QString("Layer = %1 or Layer = %2").arg(first).arg(work));
    EXPECT_EQ(layers.position(), 2); // the walk leaves the current row alone
    for (int p = 1; p <= layers.count(); ++p) {
        layers.gotoPosition(p);
        layers.CDS.edit();
        layers.CDS.setValue(LayersStore::F_Show, false);
        layers.CDS.post();
    }
    EXPECT_EQ(layers.shownLayersFilter(), "Layer = -1");
    EXPECT_TRUE(layers.exists(work));
    EXPECT_FALSE(layers.exists(9999));
}

TEST(Layers, LayerFileLineQuotesBreaksAndQuotes)
{
    LayersStore layers(dataDir());
    layers.insertLayer(1, "Bob's\r\nplans", false, 24, 2, 7);
    EXPECT_EQ(layers.layerFileLine(), "'Bob''s#13#10plans';False;24;2;7");
}

TEST(Layers, ChangesSurviveARestart)
{
    const QString dir = dataDir();
    {
        LayersStore layers(dir);
        layers.insertLayer(1, "Family", true, 5, 2, 60);
    }
    LayersStore layers(dir);
    ASSERT_EQ(layers.count(), 2);
    layers.gotoPosition(2);
    EXPECT_EQ(layers.currentName(), "Family");
    EXPECT_EQ(layers.currentArchiveDays(), 60);
}
