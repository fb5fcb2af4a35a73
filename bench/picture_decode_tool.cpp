// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-process counterpart of djpeg and heif-convert for bench/jpeg_vs_djpeg.sh and
// bench/heif_vs_heif_convert.sh:
//   picture_decode_tool make FILE WIDTH HEIGHT   writes the sample JPEG
//   picture_decode_tool decode FILE [quarter]    loads FILE (any kind) with the picture loader and
//                                                decodes it
#include "jpeg_sample.h"
#include "media/picture.h"
#include "media/picture_error.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char **argv)
{
    if (argc >= 5 && std::strcmp(argv[1], "make") == 0) {
        QFile file(QString::fromLocal8Bit(argv[2]));
        const QByteArray data = makeSampleJpeg(std::atoi(argv[3]), std::atoi(argv[4]));
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
            std::fprintf(stderr, "cannot write %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "decode") == 0) {
        try {
            lumetta::Picture picture = lumetta::Picture::Load(QString::fromLocal8Bit(argv[2]));
            picture.SetQuarterSize(argc >= 4 && std::strcmp(argv[3], "quarter") == 0);
            picture.DecodeNow();
            return picture.Image().isNull() ? 1 : 0;
        } catch (const lumetta::PictureError &e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 1;
        }
    }
    std::fprintf(stderr, "usage: %s make FILE WIDTH HEIGHT | decode FILE [quarter]\n", argv[0]);
    return 2;
}
