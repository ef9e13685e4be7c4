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

TEST(GdalImageSetting, AttributesRoundTripAndMissingOnesLoadAsDefaults)
{
    const GdalImageSetting setting = makeSetting({635615.4278659122, -853362.6430851521}, 0.1, 33.5);
    GdalImageSetting loaded;
    loaded.load(savedElement(setting));
    EXPECT_EQ(loaded.angle(), 33.5);
    EXPECT_EQ(loaded.scale(), 0.1);
    EXPECT_EQ(loaded.topLeft(), setting.topLeft());

    QDomDocument document;
    ASSERT_TRUE(document.setContent(QString("<BackgroundImage scale=\"2.5\"/>")));
    GdalImageSetting partial = setting;
    partial.load(document.documentElement());
    EXPECT_EQ(partial.angle(), 0.0);
    EXPECT_EQ(partial.scale(), 2.5);
    EXPECT_EQ(partial.topLeft(), QPointF(0, 0));
}

TEST(GdalImage, PlacementIsKnownOnceSetAndSurvivesNewPixels)
{
    QImage pixels(2, 3, QImage::Format_RGB32);
    GdalImage image(pixels);
    EXPECT_FALSE(image.isSettingLoaded());
    image.setSetting(makeSetting({5, 6}, 0.5, 10));
    image.setImage(QImage());
    EXPECT_TRUE(image.isSettingLoaded());
    EXPECT_EQ(image.setting().scale(), 0.5);
}
