// The pictures hobrin hands to its callers are compiled into the library and registered
// when it is loaded (the static initializer of the compiled resource file), so a program
// that uses the library finds them without any call of its own.
#include "guimisc/StringSupport.h"

#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

TEST(Resources, PicturesExistAndAreNotBlank)
{
    // A use of the library, so that the linker keeps it even when linking as needed.
    ASSERT_TRUE(guimisc::StringSupport::isAscii(QStringLiteral("x")));
    for (const char* path :
         {":/libs/guimisc/images/iconProperty.png", ":/libs/guimisc/images/iconImport.png",
          ":/libs/guimisc/images/iconExport.png", ":/libs/guimisc/images/iconQuestion.png",
          ":/libs/guibase/images/iconColor.png"}) {
        SCOPED_TRACE(path);
        ASSERT_TRUE(QFile(path).exists());
        const QImage image(path);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(24, 24));
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                opaque += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
            }
        }
        EXPECT_GT(opaque, 50);
    }
}
