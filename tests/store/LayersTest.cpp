#include "store/DLayersDM.h"
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
        TDLayers layers(dir);
        ASSERT_EQ(layers.count(), 1);
        ASSERT_TRUE(layers.gotoPosition(1));
        EXPECT_EQ(layers.Name(), "Layer1");
        EXPECT_TRUE(layers.Show());
        EXPECT_EQ(layers.Color(), 1);
        EXPECT_EQ(layers.Archiving(), 1);
        EXPECT_EQ(layers.Days(), 30);
        EXPECT_EQ(layers.layerFileLine(), "'Layer1';True;1;1;30");
        layers.CDS.emptyTable();
    }
    TDLayers again(dir);
    EXPECT_EQ(again.count(), 1);
    EXPECT_TRUE(QFile::exists(dir + "Layers.cds"));
}

TEST(Layers, PositionsFollowRowNotID)
{
    TDLayers layers(dataDir());
    layers.insertLayer(5, "Late", true, 2, 1, 30);
    layers.insertLayer(-1, "Early", false, 3, 1, 30);
    ASSERT_EQ(layers.count(), 3);
    layers.gotoPosition(1);
    EXPECT_EQ(layers.Name(), "Early");
    layers.gotoPosition(3);
    EXPECT_EQ(layers.Name(), "Late");
    const int lateId = layers.ID();
    // Renumbering moves the layer in every walk.
    layers.CDS.edit();
    layers.CDS.setValue(TDLayers::F_Row, -5);
    layers.CDS.post();
    layers.gotoPosition(1);
    EXPECT_EQ(layers.ID(), lateId);
}

TEST(Layers, ShownLayersFilterListsShownLayersInDisplayOrder)
{
    TDLayers layers(dataDir());
    layers.gotoPosition(1);
    const int first = layers.ID();
    layers.insertLayer(1, "Hidden", false, 2, 1, 30);
    layers.insertLayer(2, "Work", true, 3, 1, 30);
    const int work = layers.ID();
    layers.gotoPosition(2);
    EXPECT_EQ(layers.shownLayersFilter(), QString("Layer = %1 or Layer = %2").arg(first).arg(work));
    EXPECT_EQ(layers.position(), 2); // the walk leaves the current row alone
    for (int p = 1; p <= layers.count(); ++p) {
        layers.gotoPosition(p);
        layers.CDS.edit();
        layers.CDS.setValue(TDLayers::F_Show, false);
        layers.CDS.post();
    }
    EXPECT_EQ(layers.shownLayersFilter(), "Layer = -1");
    EXPECT_TRUE(layers.exists(work));
    EXPECT_FALSE(layers.exists(9999));
}

TEST(Layers, LayerFileLineQuotesBreaksAndQuotes)
{
    TDLayers layers(dataDir());
    layers.insertLayer(1, "Bob's\r\nplans", false, 24, 2, 7);
    EXPECT_EQ(layers.layerFileLine(), "'Bob''s#13#10plans';False;24;2;7");
}

TEST(Layers, ChangesSurviveARestart)
{
    const QString dir = dataDir();
    {
        TDLayers layers(dir);
        layers.insertLayer(1, "Family", true, 5, 2, 60);
    }
    TDLayers layers(dir);
    ASSERT_EQ(layers.count(), 2);
    layers.gotoPosition(2);
    EXPECT_EQ(layers.Name(), "Family");
    EXPECT_EQ(layers.Days(), 60);
}
