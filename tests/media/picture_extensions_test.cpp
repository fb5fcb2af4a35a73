// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/picture_extensions.h"

#include <gtest/gtest.h>

using namespace lumetta;

TEST(PictureExtensions, AcceptsTheListedExtensionsInAnyCase)
{
    struct Case
    {
        const char *path;
        std::optional<PictureKind> kind;
    };
    const Case cases[] = {
        {"/a/b.jpg", PictureKind::Jpeg}, {"b.JPEG", PictureKind::Jpeg}, {"b.Jpg", PictureKind::Jpeg},
        {"b.gif", PictureKind::Gif},     {"b.BMP", PictureKind::Bmp},   {"b.png", PictureKind::Png},
        {"b.PNG", PictureKind::Png},     {"b.Png", PictureKind::Png},   {"b.webp", PictureKind::WebP},
        {"b.WEBP", PictureKind::WebP},   {"b.tif", PictureKind::Tiff},  {"b.TIFF", PictureKind::Tiff},
        {"b.heic", PictureKind::Heif},   {"b.HEIC", PictureKind::Heif}, {"b.HEIF", PictureKind::Heif},
        {"b.avif", PictureKind::Heif},   {"b.AVIF", PictureKind::Heif}, {"b.Heic", PictureKind::Heif},
        {"b.svg", std::nullopt},         {"png", std::nullopt},         {"/d.png/b", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(AcceptedPictureKind(c.path), c.kind) << c.path;
    EXPECT_EQ(AcceptedPictureExtensions(), QStringList({".jpg", ".jpeg", ".gif", ".bmp", ".png", ".webp", ".tif",
                                                        ".tiff", ".heic", ".heif", ".avif"}));
}

TEST(PictureExtensions, MaskListsEveryKind)
{
    EXPECT_EQ(AcceptedPictureMask(), "*.BMP;*.JPG;*.JPEG;*.GIF;*.PNG;*.WEBP;*.TIF;*.TIFF;*.HEIC;*.HEIF;*.AVIF");
}
