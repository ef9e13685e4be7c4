// The shell's pictures are compiled in and reach every program that links the application
// library, without a call of its own.
#include <QFile>
#include <QImage>
#include <QSet>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

TEST(Resources, ShellPicturesResolveAndShowSomething)
{
    const struct {
        const char* path;
        QSize minimum;
    } pictures[] = {{":/images/imgVarnelLogo.png", {48, 48}},
                    {":/images/headMark.png", {16, 16}},
                    {":/images/iconNewCreateProj.png", {24, 24}},
                    {":/images/imgMouseHelp.png", {300, 200}},
                    {":/images/ja_JP/imgMouseHelp.png", {300, 200}}};
    for (const auto& picture : pictures) {
        SCOPED_TRACE(picture.path);
        ASSERT_TRUE(QFile::exists(picture.path));
        const QImage image(picture.path);
        ASSERT_FALSE(image.isNull());
        EXPECT_GE(image.width(), picture.minimum.width());
        EXPECT_GE(image.height(), picture.minimum.height());
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 2) {
            for (int x = 0; x < image.width(); x += 2) {
                colours.insert(image.pixel(x, y));
            }
        }
        EXPECT_GT(colours.size(), 8) << "a blank or nearly blank picture";
    }
    EXPECT_NE(QImage(":/images/imgMouseHelp.png"), QImage(":/images/ja_JP/imgMouseHelp.png"));
}

} // namespace
} // namespace varnel::test
