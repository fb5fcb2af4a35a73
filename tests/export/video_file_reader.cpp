// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/video_file_reader.h"

#include <QFile>
#include <QtEndian>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <cstdlib>
#include <stdexcept>

namespace testvideo {

namespace {

struct Decoder
{
    AVCodecContext *context = nullptr;
    ~Decoder() { avcodec_free_context(&context); }
};

AVCodecContext *OpenDecoder(AVStream *stream)
{
    const AVCodec *codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        throw std::runtime_error("no decoder");
    AVCodecContext *context = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(context, stream->codecpar);
    if (avcodec_open2(context, codec, nullptr) < 0)
        throw std::runtime_error("cannot open decoder");
    return context;
}

QImage ToImage(const AVFrame *frame)
{
    QImage image(frame->width, frame->height, QImage::Format_RGB32);
    SwsContext *scaler =
        sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), frame->width, frame->height,
                       AV_PIX_FMT_BGR0, SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
    int *inverse = nullptr, *table = nullptr, srcRange = 0, dstRange = 0, b = 0, c = 0, s = 0;
    if (frame->format != AV_PIX_FMT_BGR0
        && sws_getColorspaceDetails(scaler, &inverse, &srcRange, &table, &dstRange, &b, &c, &s) >= 0)
        sws_setColorspaceDetails(scaler, sws_getCoefficients(SWS_CS_ITU709), srcRange,
                                 sws_getCoefficients(SWS_CS_ITU709), dstRange, b, c, s);
    uint8_t *target[1] = {image.bits()};
    const int stride[1] = {int(image.bytesPerLine())};
    sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, target, stride);
    sws_freeContext(scaler);
    return image;
}

QString Name(const char *name)
{
    return name ? QString::fromLatin1(name) : QStringLiteral("unknown");
}

}  // namespace

std::vector<QString> TopLevelBoxes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot open " + path.toStdString());
    std::vector<QString> boxes;
    for (qint64 at = 0; at + 8 <= file.size();) {
        file.seek(at);
        const QByteArray header = file.read(16);
        if (header.size() < 8)
            break;
        quint64 size = qFromBigEndian<quint32>(header.constData());
        if (size == 1 && header.size() == 16)
            size = qFromBigEndian<quint64>(header.constData() + 8);
        else if (size == 0)
            size = quint64(file.size() - at);
        boxes.push_back(QString::fromLatin1(header.mid(4, 4)));
        if (size < 8)
            break;
        at += qint64(size);
    }
    return boxes;
}

VideoFile ReadVideoFile(const QString &path)
{
    VideoFile file;
    AVFormatContext *format = nullptr;
    const QByteArray name = QFile::encodeName(path);
    if (avformat_open_input(&format, name.constData(), nullptr, nullptr) < 0)
        throw std::runtime_error("cannot open " + name.toStdString());
    struct Close
    {
        AVFormatContext **format;
        ~Close() { avformat_close_input(format); }
    } close{&format};
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVCodecParameters *parameters = format->streams[i]->codecpar;
        if (parameters->codec_type == AVMEDIA_TYPE_VIDEO) {
            file.containerColour = {Name(av_color_space_name(parameters->color_space)),
                                    Name(av_color_primaries_name(parameters->color_primaries)),
                                    Name(av_color_transfer_name(parameters->color_trc)),
                                    Name(av_color_range_name(parameters->color_range))};
            break;
        }
    }
    avformat_find_stream_info(format, nullptr);
    file.durationSeconds = format->duration > 0 ? double(format->duration) / AV_TIME_BASE : 0;

    Decoder video, audio;
    int videoIndex = -1, audioIndex = -1;
    AVRational videoRate{0, 1}, videoTimeBase{0, 1};
    SwrContext *resampler = nullptr;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        AVStream *stream = format->streams[i];
        if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && videoIndex < 0) {
            videoIndex = int(i);
            video.context = OpenDecoder(stream);
            file.videoCodec = QString::fromLatin1(avcodec_get_name(stream->codecpar->codec_id));
            file.width = stream->codecpar->width;
            file.height = stream->codecpar->height;
            // Still stretches are stored as few frames, so the average rate says less than the base one.
            const AVRational rate = stream->r_frame_rate.num ? stream->r_frame_rate : stream->avg_frame_rate;
            videoRate = rate;
            videoTimeBase = stream->time_base;
            file.fps = av_q2d(rate);
            file.rateNum = rate.num;
            file.rateDen = rate.den;
            file.pixelFormat = Name(av_get_pix_fmt_name(AVPixelFormat(stream->codecpar->format)));
            if (const char *profile = avcodec_profile_name(stream->codecpar->codec_id, stream->codecpar->profile))
                file.profile = QString::fromLatin1(profile);
        } else if (stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO && audioIndex < 0) {
            audioIndex = int(i);
            audio.context = OpenDecoder(stream);
            file.audioCodec = QString::fromLatin1(avcodec_get_name(stream->codecpar->codec_id));
            file.sampleRate = stream->codecpar->sample_rate;
            file.channels = stream->codecpar->ch_layout.nb_channels;
            swr_alloc_set_opts2(&resampler, &audio.context->ch_layout, AV_SAMPLE_FMT_S16, file.sampleRate,
                                &audio.context->ch_layout, audio.context->sample_fmt, file.sampleRate, 0, nullptr);
            swr_init(resampler);
        }
    }

    AVPacket *packet = av_packet_alloc();
    AVFrame *frame = av_frame_alloc();
    auto drain = [&](AVCodecContext *context, bool isVideo) {
        while (avcodec_receive_frame(context, frame) == 0) {
            if (isVideo) {
                ++file.storedFrames;
                if (frame->best_effort_timestamp != AV_NOPTS_VALUE && videoRate.num > 0 && !file.frames.empty()) {
                    const std::int64_t at = av_rescale_q_rnd(frame->best_effort_timestamp, videoTimeBase,
                                                             av_inv_q(videoRate), AV_ROUND_NEAR_INF);
                    while (std::int64_t(file.frames.size()) < at)
                        file.frames.push_back(file.frames.back());
                }
                file.frames.push_back(ToImage(frame));
            } else {
                const std::size_t start = file.samples.size();
                file.samples.resize(start + std::size_t(frame->nb_samples) * file.channels);
                uint8_t *out = reinterpret_cast<uint8_t *>(file.samples.data() + start);
                swr_convert(resampler, &out, frame->nb_samples, const_cast<const uint8_t **>(frame->extended_data),
                            frame->nb_samples);
            }
            av_frame_unref(frame);
        }
    };
    while (av_read_frame(format, packet) >= 0) {
        if (packet->stream_index == videoIndex) {
            avcodec_send_packet(video.context, packet);
            drain(video.context, true);
        } else if (packet->stream_index == audioIndex) {
            avcodec_send_packet(audio.context, packet);
            drain(audio.context, false);
        }
        av_packet_unref(packet);
    }
    if (video.context) {
        avcodec_send_packet(video.context, nullptr);
        drain(video.context, true);
    }
    if (audio.context) {
        avcodec_send_packet(audio.context, nullptr);
        drain(audio.context, false);
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    swr_free(&resampler);
    return file;
}

int LargestDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 256;
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    int largest = 0;
    for (int row = 0; row < x.height(); ++row) {
        const QRgb *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const QRgb *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            largest = std::max({largest, std::abs(qRed(p[col]) - qRed(q[col])),
                                std::abs(qGreen(p[col]) - qGreen(q[col])), std::abs(qBlue(p[col]) - qBlue(q[col]))});
        }
    }
    return largest;
}

}  // namespace testvideo
