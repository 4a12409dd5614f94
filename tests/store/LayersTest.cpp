#include "core/Clock.h"
#include "store/LayersStore.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <QFile>

namespace
{
QString dataDir()
{
    return TestEnv::freshDir("layers") + "/";
}

const Clock systemClock;
} // namespace

TEST(Layers, MissingOrEmptyTableGetsTheDefaultLayer)
{
    const QString dir = dataDir();
    {
        LayersStore layers(dir, systemClock);
        ASSERT_EQ(layers.count(), 1);
        const auto first = layers.layerAt(1);
        ASSERT_TRUE(first);
        EXPECT_EQ(first->name, "Layer1");
        EXPECT_TRUE(first->shown);
        EXPECT_EQ(first->color, 1);
        EXPECT_EQ(first->archiving, 1);
        EXPECT_EQ(first->archiveDays, 30);
        EXPECT_EQ(layers.layerFileLine(first->id), "'Layer1';True;1;1;30");
        EXPECT_EQ(layers.layerFileLine(first->id + 1), "") << "no such layer";
        ASSERT_TRUE(layers.deleteAllLayers().ok());
    }
    LayersStore again(dir, systemClock);
    EXPECT_EQ(again.count(), 1);
    EXPECT_TRUE(QFile::exists(dir + "Layers.cds"));
}

TEST(Layers, PositionsFollowRowNotID)
{
    LayersStore layers(dataDir(), systemClock);
    const int lateId = layers.insertLayer(5, "Late", true, 2, 1, 30).id;
    const int earlyId = layers.insertLayer(-1, "Early", false, 3, 1, 30).id;
    ASSERT_EQ(layers.count(), 3);
    EXPECT_EQ(layers.layerAt(1).value().name, "Early");
    EXPECT_EQ(layers.layerAt(3).value().name, "Late");
    EXPECT_EQ(layers.positionOf(earlyId), 1);
    EXPECT_EQ(layers.positionOf(lateId), 3);
    EXPECT_FALSE(layers.layerAt(4));
    EXPECT_EQ(layers.idAt(0), -1);
    // Renumbering moves the layer in every walk.
    LayerRow late = layers.layer(lateId).value();
    late.row = -5;
    ASSERT_TRUE(layers.updateLayer(late).ok());
    EXPECT_EQ(layers.idAt(1), lateId);
    EXPECT_EQ(layers.layer(lateId), late);
}

TEST(Layers, ShownLayersFilterListsShownLayersInDisplayOrder)
{
    LayersStore layers(dataDir(), systemClock);
    int posts = 0;
    layers.setAfterPostHook([&] { ++posts; });
    const int first = layers.idAt(1);
    ASSERT_TRUE(layers.insertLayer(1, "Hidden", false, 2, 1, 30).ok());
    const int work = layers.insertLayer(2, "Work", true, 3, 1, 30).id;
    EXPECT_EQ(layers.shownLayersFilter(), QString("Layer = %1 or Layer = %2").arg(first).arg(work));
    for (const LayerRow &l : layers.layers())
        ASSERT_TRUE(layers.setLayerShown(l.id, false).ok());
    EXPECT_EQ(posts, 2 + 3);
    EXPECT_FALSE(layers.setLayerShown(9999, true).applied);
    EXPECT_EQ(posts, 5);
    EXPECT_EQ(layers.shownLayersFilter(), "Layer = -1");
    EXPECT_TRUE(layers.exists(work));
    EXPECT_FALSE(layers.exists(9999));
}

TEST(Layers, LayerFileLineQuotesBreaksAndQuotes)
{
    LayersStore layers(dataDir(), systemClock);
    const int id = layers.insertLayer(1, "Bob's\r\nplans", false, 24, 2, 7).id;
    EXPECT_EQ(layers.layerFileLine(id), "'Bob''s#13#10plans';False;24;2;7");
}

TEST(Layers, ChangesSurviveARestart)
{
    const QString dir = dataDir();
    {
        LayersStore layers(dir, systemClock);
        ASSERT_TRUE(layers.insertLayer(1, "Family", true, 5, 2, 60).ok());
    }
    LayersStore layers(dir, systemClock);
    ASSERT_EQ(layers.count(), 2);
    EXPECT_EQ(layers.layerAt(2).value().name, "Family");
    EXPECT_EQ(layers.layerAt(2).value().archiveDays, 60);
}
