// The placement and the picture that carries it: defaults, the attributes the project file
// holds (read back by a plain DOM, not by the containers under test), and copies that own
// their values.

#include "PelkasTestSupport.h"

#include "pelkas/GdalImage.h"
#include "pelkas/GdalImageSetting.h"

#include <QDomDocument>
#include <QImage>
#include <QXmlStreamWriter>

#include <gtest/gtest.h>

using gdalimg::GdalImage;
using gdalimg::GdalImageSetting;
using pelkastest::makeSetting;

namespace {

// The setting written as the attributes of one element, parsed back.
QDomElement savedElement(const GdalImageSetting& setting)
{
    QString text;
    QXmlStreamWriter writer(&text);
    writer.writeStartElement("BackgroundImage");
    setting.save(&writer);
    writer.writeEndElement();
    QDomDocument document;
    EXPECT_TRUE(document.setContent(text));
    return document.documentElement();
}

} // namespace

TEST(GdalImageSetting, DefaultsAndAttributes)
{
    const GdalImageSetting defaults;
    EXPECT_EQ(defaults.angle(), 0.0);
    EXPECT_EQ(defaults.scale(), 1.0);
    EXPECT_EQ(defaults.topLeft(), QPointF(0, 0));
    EXPECT_GT(GdalImageSetting::scaleMin, 0.0);

    const GdalImageSetting setting = makeSetting({635615.4278659122, -853362.6430851521}, 0.1, 33.5);
    const QDomElement element = savedElement(setting);
    EXPECT_EQ(element.attribute("angle").toDouble(), 33.5);
    EXPECT_EQ(element.attribute("scale").toDouble(), 0.1);
    EXPECT_EQ(element.attribute("topLeftX").toDouble(), 635615.4278659122);
    EXPECT_EQ(element.attribute("topLeftY").toDouble(), -853362.6430851521);

    GdalImageSetting loaded;
    loaded.load(element);
    EXPECT_EQ(loaded.angle(), 33.5);
    EXPECT_EQ(loaded.scale(), 0.1);
    EXPECT_EQ(loaded.topLeft(), setting.topLeft());

    // Attributes that are absent load as the defaults.
    QDomDocument document;
    ASSERT_TRUE(document.setContent(QString("<BackgroundImage scale=\"2.5\"/>")));
    GdalImageSetting partial = setting;
    partial.load(document.documentElement());
    EXPECT_EQ(partial.angle(), 0.0);
    EXPECT_EQ(partial.scale(), 2.5);
    EXPECT_EQ(partial.topLeft(), QPointF(0, 0));
}

TEST(GdalImageSetting, CopiesOwnTheirValues)
{
    GdalImageSetting original = makeSetting({1, 2}, 3, 4);
    const GdalImageSetting copy(original);
    GdalImageSetting assigned;
    assigned = original;
    original.setTopLeft({9, 9});
    original.setScale(9);
    original.setAngle(9);
    for (const GdalImageSetting* s : {&copy, static_cast<const GdalImageSetting*>(&assigned)}) {
        EXPECT_EQ(s->topLeft(), QPointF(1, 2));
        EXPECT_EQ(s->scale(), 3.0);
        EXPECT_EQ(s->angle(), 4.0);
        // What a copy saves is its own value, not the source's.
        EXPECT_EQ(savedElement(*s).attribute("scale").toDouble(), 3.0);
    }
}

TEST(GdalImage, PlacementIsKnownOnceSet)
{
    QImage pixels(2, 3, QImage::Format_RGB32);
    pixels.fill(Qt::red);
    GdalImage image(pixels);
    EXPECT_FALSE(image.isSettingLoaded());
    EXPECT_EQ(image.setting().scale(), 1.0);

    image.setSetting(makeSetting({5, 6}, 0.5, 10));
    EXPECT_TRUE(image.isSettingLoaded());
    EXPECT_EQ(image.setting().topLeft(), QPointF(5, 6));

    // New pixels keep the placement; copies carry all three fields.
    image.setImage(QImage());
    EXPECT_TRUE(image.image().isNull());
    EXPECT_TRUE(image.isSettingLoaded());
    EXPECT_EQ(image.setting().scale(), 0.5);

    const GdalImage placed(pixels, makeSetting({7, 8}, 2, 0));
    EXPECT_TRUE(placed.isSettingLoaded());
    GdalImage copy(pixels);
    copy = placed;
    EXPECT_TRUE(copy.isSettingLoaded());
    EXPECT_EQ(copy.setting().topLeft(), QPointF(7, 8));
    EXPECT_TRUE(copy.image() == pixels);
    const GdalImage copied(placed);
    EXPECT_EQ(copied.setting().scale(), 2.0);
}
