// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

#include <cstdint>
#include <vector>

namespace testvideo {

// How a stream's colours are to be read, in FFmpeg's names ("bt709", "tv", "iec61966-2-1", ...);
// "unknown" where nothing says.
struct ColourTags
{
    QString space;
    QString primaries;
    QString transfer;
    QString range;
};

// What a video file holds, read back with libavformat and libavcodec.
struct VideoFile
{
    QString videoCodec;  // empty without a video stream
    QString audioCodec;  // empty without an audio stream
    int width = 0;
    int height = 0;
    double fps = 0;
    int rateNum = 0;  // the stream's frame rate as a fraction (its time stamps' steady rate)
    int rateDen = 0;
    QString pixelFormat;  // e.g. "yuv420p"
    QString profile;  // e.g. "High"; empty where the codec has none
    // The tags the container itself holds, as a player reads them before decoding a frame.
    ColourTags containerColour;
    double durationSeconds = 0;  // the container's duration
    // The picture shown at each frame time of the stream's rate, as RGB32: a frame stored once
    // for a still stretch stands at every frame time until the next one.
    std::vector<QImage> frames;
    int storedFrames = 0;  // the frames the stream holds
    int sampleRate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples;  // interleaved, converted to 16 bits
};

// Reads and decodes the whole file; throws std::runtime_error when it cannot.
VideoFile ReadVideoFile(const QString &path);

// The types of an MP4 file's top-level boxes in file order ("ftyp", "moov", "mdat", ...).
std::vector<QString> TopLevelBoxes(const QString &path);

// The largest difference of one colour channel between two images of one size.
int LargestDifference(const QImage &a, const QImage &b);

}  // namespace testvideo
