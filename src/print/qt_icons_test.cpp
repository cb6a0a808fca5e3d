#include "print/qt_icons.hpp"

#include <QImage>

#include <gtest/gtest.h>

namespace siacci {
namespace {

// Share of the pixels of a picture that are painted (not transparent).
double coverage(const QPixmap& pixmap)
{
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    int painted = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            painted += qAlpha(image.pixel(x, y)) > 0;
    return double(painted) / (image.width() * image.height());
}

TEST(ToolbarIcons, OnePictureForEachButtonInUse)
{
    std::vector<QImage> seen;
    for (int image : {1, 2, 3, 4, 5, 6, 9}) {
        const QIcon icon = toolbarIcon(image);
        ASSERT_FALSE(icon.isNull()) << "Image" << image;
        const QPixmap at32 = icon.pixmap(32, 32);
        EXPECT_EQ(at32.size(), QSize(32, 32)) << "Image" << image;
        // Legible: a real picture, neither a speck nor a filled square.
        const double share = coverage(at32);
        EXPECT_GT(share, 0.15) << "Image" << image;
        EXPECT_LT(share, 0.98) << "Image" << image;
        const QImage picture = at32.toImage();
        for (const QImage& other : seen)
            EXPECT_NE(picture, other) << "Image" << image << " looks like another button";
        seen.push_back(picture);
    }
}

TEST(ToolbarIcons, NoneForTheButtonsNotInUse)
{
    for (int image : {0, 7, 8, 10, -1}) {
        EXPECT_TRUE(toolbarIcon(image).isNull()) << image;
        EXPECT_TRUE(toolbarPixmap(image, 32).isNull()) << image;
    }
    EXPECT_TRUE(toolbarPixmap(1, 0).isNull());
}

TEST(ToolbarIcons, ApplicationIconAtEverySize)
{
    const QIcon icon = applicationIcon();
    ASSERT_FALSE(icon.isNull());
    for (int size : {16, 32, 64})
        EXPECT_EQ(icon.pixmap(size, size).size(), QSize(size, size));
    EXPECT_GT(coverage(applicationPixmap(48)), 0.8);
}

} // namespace
} // namespace siacci
