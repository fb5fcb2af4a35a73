// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/video_encoder.h"

#include "export/av_error_text.h"
#include "export/export_error.h"
#include "export/soundtrack.h"

#include <QFile>
#include <QFileInfo>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <vector>

namespace lumetta {

namespace {

// Audio is encoded this far behind the video, so the fade-out of the last second is known
// before its samples are written.
constexpr std::int64_t kAudioLag = Soundtrack::kRate * 3 / 2;
constexpr int kFadeSamples = Soundtrack::kRate;
// A still's picture is seen for many frame times but stored once, so the encoder's tree of
// references no longer raises its quality; this does, as a share of the quantiser's range (10
// of H.264's 51 steps matched every frame stored in SSIM against the lossless export).
const AVRational kStillQuantiserOffset{-10, 51};

struct Codecs
{
    const char *muxer;
    const char *video;
    const char *audio;
};

Codecs CodecsFor(VideoContainer container, ExportQuality quality)
{
    switch (container) {
    case VideoContainer::Mp4:
        return {"mp4", "libx264", "aac"};
    case VideoContainer::WebM:
        return {"webm", "libvpx-vp9", "libopus"};
    case VideoContainer::Mkv:
        return {"matroska", quality == ExportQuality::Lossless ? "ffv1" : "libx264", "flac"};
    }
    return {"mp4", "libx264", "aac"};
}

// Encoder settings per quality: x264 presets and constant quality, VP9 constant quality.
void SetVideoOptions(AVCodecContext *codec, const char *name, ExportQuality quality, AVDictionary **options)
{
    const int step = quality == ExportQuality::Draft ? 0 : quality == ExportQuality::Good ? 1 : 2;
    if (std::strcmp(name, "libx264") == 0) {
        static const char *const kPresets[] = {"veryfast", "fast", "slow"};
        static const char *const kCrf[] = {"26", "21", "17"};
        av_dict_set(options, "preset", kPresets[step], 0);
        av_dict_set(options, "crf", kCrf[step], 0);
        av_dict_set(options, "profile", "high", 0);
    } else if (std::strcmp(name, "libvpx-vp9") == 0) {
        static const char *const kCrf[] = {"40", "33", "27"};
        static const char *const kSpeed[] = {"8", "5", "2"};
        codec->bit_rate = 0;
        av_dict_set(options, "crf", kCrf[step], 0);
        av_dict_set(options, "deadline", step == 0 ? "realtime" : "good", 0);
        av_dict_set(options, "cpu-used", kSpeed[step], 0);
        av_dict_set(options, "row-mt", "1", 0);
    } else if (std::strcmp(name, "ffv1") == 0) {
        av_dict_set(options, "level", "3", 0);
        av_dict_set(options, "slicecrc", "1", 0);
        codec->gop_size = 1;
    }
}

std::int64_t AudioBitRate(ExportQuality quality)
{
    switch (quality) {
    case ExportQuality::Draft:
        return 128000;
    case ExportQuality::Good:
        return 192000;
    default:
        return 256000;
    }
}

}  // namespace

class VideoEncoder::Streams
{
public:
    ~Streams()
    {
        av_frame_free(&audioFrame);
        av_packet_free(&packet);
        swr_free(&audioConvert);
        avcodec_free_context(&video);
        avcodec_free_context(&audio);
        if (format) {
            if (format->pb)
                avio_closep(&format->pb);
            avformat_free_context(format);
        }
    }

    AVFormatContext *format = nullptr;
    AVCodecContext *video = nullptr;
    AVCodecContext *audio = nullptr;
    AVStream *videoStream = nullptr;
    AVStream *audioStream = nullptr;
    AVPacket *packet = nullptr;
    AVFrame *audioFrame = nullptr;
    SwrContext *audioConvert = nullptr;
    int audioFrameSize = 1024;
    bool padLastAudioFrame = false;
    std::int64_t audioSamples = 0;
    std::vector<float> samples;
};

VideoEncoder::VideoEncoder() = default;

VideoEncoder::~VideoEncoder()
{
    // The streams close the file before the unfinished file is removed.
    streams_.reset();
}

int VideoEncoder::PixelFormat() const
{
    return streams_ && streams_->video ? streams_->video->pix_fmt : AV_PIX_FMT_NONE;
}

void VideoEncoder::Open(const Options &options, Soundtrack *soundtrack)
{
    options_ = options;
    soundtrack_ = soundtrack;
    if (const std::optional<QString> problem =
            CheckVideoSettings(options.container, options.quality, options.size, options.fps))
        throw ExportError(*problem);
    CreateFile();
    streams_ = std::make_unique<Streams>();
    const Codecs codecs = CodecsFor(options.container, options.quality);
    OpenFormat(codecs.muxer);
    OpenVideo(codecs.video);
    if (soundtrack_)
        OpenAudio(codecs.audio);
    streams_->packet = av_packet_alloc();
    WriteHeader();
}

void VideoEncoder::CreateFile()
{
    if (QFileInfo(options_.target).isDir())
        throw ExportError(QStringLiteral("Cannot write %1: it is a folder").arg(options_.target));
    file_ = std::make_unique<ReplacementFile>(options_.target);
    if (!file_->Create())
        throw ExportError(QStringLiteral("Cannot create file %1: %2").arg(options_.target, file_->ErrorString()));
}

void VideoEncoder::OpenFormat(const char *muxer)
{
    Streams &s = *streams_;
    const int status =
        avformat_alloc_output_context2(&s.format, nullptr, muxer, QFile::encodeName(file_->Path()).constData());
    if (status < 0)
        throw ExportError(QStringLiteral("Cannot write %1: %2").arg(options_.target, AvErrorText(status)));
}

void VideoEncoder::OpenVideo(const char *codecName)
{
    Streams &s = *streams_;
    const AVCodec *videoCodec = avcodec_find_encoder_by_name(codecName);
    if (!videoCodec)
        throw ExportError(QStringLiteral("This system's FFmpeg has no %1 encoder").arg(QLatin1String(codecName)));
    s.video = avcodec_alloc_context3(videoCodec);
    s.video->width = options_.size.width();
    s.video->height = options_.size.height();
    s.video->time_base = AVRational{options_.fps.den, options_.fps.num};
    s.video->framerate = AVRational{options_.fps.num, options_.fps.den};
    s.video->sample_aspect_ratio = AVRational{1, 1};
    s.video->gop_size = std::max(1, int(std::lround(options_.fps.Value() * 5)));
    if (options_.quality == ExportQuality::Lossless) {
        // The frames as composed: sRGB, every level of 0 to 255.
        s.video->pix_fmt = AV_PIX_FMT_BGR0;
        s.video->colorspace = AVCOL_SPC_RGB;
        s.video->color_primaries = AVCOL_PRI_BT709;
        s.video->color_trc = AVCOL_TRC_IEC61966_2_1;
        s.video->color_range = AVCOL_RANGE_JPEG;
    } else {
        s.video->pix_fmt = AV_PIX_FMT_YUV420P;
        s.video->colorspace = AVCOL_SPC_BT709;
        s.video->color_primaries = AVCOL_PRI_BT709;
        s.video->color_trc = AVCOL_TRC_BT709;
        s.video->color_range = AVCOL_RANGE_MPEG;
    }
    if (s.format->oformat->flags & AVFMT_GLOBALHEADER)
        s.video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary *videoOptions = nullptr;
    SetVideoOptions(s.video, codecName, options_.quality, &videoOptions);
    const int status = avcodec_open2(s.video, videoCodec, &videoOptions);
    av_dict_free(&videoOptions);
    if (status < 0)
        throw ExportError(
            QStringLiteral("Cannot start the %1 encoder: %2").arg(QLatin1String(codecName), AvErrorText(status)));
    s.videoStream = avformat_new_stream(s.format, nullptr);
    avcodec_parameters_from_context(s.videoStream->codecpar, s.video);
    s.videoStream->time_base = s.video->time_base;
    s.videoStream->avg_frame_rate = s.video->framerate;
}

void VideoEncoder::OpenAudio(const char *codecName)
{
    Streams &s = *streams_;
    const AVCodec *audioCodec = avcodec_find_encoder_by_name(codecName);
    if (!audioCodec)
        throw ExportError(QStringLiteral("This system's FFmpeg has no %1 encoder").arg(QLatin1String(codecName)));
    s.audio = avcodec_alloc_context3(audioCodec);
    s.audio->sample_rate = Soundtrack::kRate;
    s.audio->ch_layout = AV_CHANNEL_LAYOUT_STEREO;
    s.audio->sample_fmt = audioCodec->sample_fmts ? audioCodec->sample_fmts[0] : AV_SAMPLE_FMT_FLTP;
    s.audio->time_base = AVRational{1, Soundtrack::kRate};
    if (std::strcmp(codecName, "flac") != 0)
        s.audio->bit_rate = AudioBitRate(options_.quality);
    if (s.format->oformat->flags & AVFMT_GLOBALHEADER)
        s.audio->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int status = avcodec_open2(s.audio, audioCodec, nullptr);
    if (status < 0)
        throw ExportError(
            QStringLiteral("Cannot start the %1 encoder: %2").arg(QLatin1String(codecName), AvErrorText(status)));
    const bool variable = audioCodec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE;
    s.audioFrameSize = s.audio->frame_size > 0 && !variable ? s.audio->frame_size : 1024;
    s.padLastAudioFrame = !variable && !(audioCodec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME);
    s.audioStream = avformat_new_stream(s.format, nullptr);
    avcodec_parameters_from_context(s.audioStream->codecpar, s.audio);
    s.audioStream->time_base = s.audio->time_base;

    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    status = swr_alloc_set_opts2(&s.audioConvert, &stereo, s.audio->sample_fmt, Soundtrack::kRate, &stereo,
                                 AV_SAMPLE_FMT_FLT, Soundtrack::kRate, 0, nullptr);
    if (status >= 0)
        status = swr_init(s.audioConvert);
    if (status < 0)
        throw ExportError(QStringLiteral("Cannot convert the music: %1").arg(AvErrorText(status)));
    s.audioFrame = av_frame_alloc();
    s.samples.resize(std::size_t(s.audioFrameSize) * Soundtrack::kChannels);
}

void VideoEncoder::WriteHeader()
{
    Streams &s = *streams_;
    int status = avio_open(&s.format->pb, QFile::encodeName(file_->Path()).constData(), AVIO_FLAG_WRITE);
    if (status < 0)
        throw ExportError(QStringLiteral("Cannot create file %1: %2").arg(options_.target, AvErrorText(status)));
    AVDictionary *muxerOptions = nullptr;
    if (options_.container == VideoContainer::Mp4)
        av_dict_set(&muxerOptions, "movflags", "+faststart", 0);
    status = avformat_write_header(s.format, &muxerOptions);
    av_dict_free(&muxerOptions);
    if (status < 0)
        throw ExportError(QStringLiteral("Cannot write %1: %2").arg(options_.target, AvErrorText(status)));
}

namespace {

// The frame time of the encoder's frame TICK; ticks before the first (a decoding delay) stay.
std::int64_t FrameTimeOf(const std::vector<std::int64_t> &frameTimes, std::int64_t tick)
{
    if (tick < 0 || frameTimes.empty())
        return tick;
    return tick < std::int64_t(frameTimes.size()) ? frameTimes[std::size_t(tick)] : frameTimes.back() + 1;
}

// Writes what CODEC has ready. FRAMETIMES, for video, maps the encoder's frame numbers to the
// frame times they show at.
void WritePackets(AVFormatContext *format, AVCodecContext *codec, AVStream *stream, AVPacket *packet,
                  const QString &target, const std::vector<std::int64_t> *frameTimes = nullptr)
{
    for (;;) {
        int status = avcodec_receive_packet(codec, packet);
        if (status == AVERROR(EAGAIN) || status == AVERROR_EOF)
            return;
        if (status < 0)
            throw ExportError(QStringLiteral("Cannot encode %1: %2").arg(target, AvErrorText(status)));
        if (frameTimes) {
            const std::int64_t tick = packet->pts;
            packet->pts = FrameTimeOf(*frameTimes, tick);
            packet->dts = FrameTimeOf(*frameTimes, packet->dts);
            if (tick + 1 < std::int64_t(frameTimes->size()))
                packet->duration = FrameTimeOf(*frameTimes, tick + 1) - packet->pts;
        }
        av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
        packet->stream_index = stream->index;
        status = av_interleaved_write_frame(format, packet);
        if (status >= 0 && format->pb->error < 0)
            status = format->pb->error;
        if (status < 0)
            throw ExportError(QStringLiteral("Cannot write %1: %2").arg(target, AvErrorText(status)));
    }
}

void Send(AVCodecContext *codec, const AVFrame *frame, const QString &target)
{
    const int status = avcodec_send_frame(codec, frame);
    if (status < 0)
        throw ExportError(QStringLiteral("Cannot encode %1: %2").arg(target, AvErrorText(status)));
}

}  // namespace

void VideoEncoder::EncodeAudioUntil(std::int64_t sample, std::int64_t end)
{
    Streams &s = *streams_;
    if (!s.audio)
        return;
    while (s.audioSamples < sample) {
        int count = s.audioFrameSize;
        if (end >= 0)
            count = int(std::min<std::int64_t>(count, end - s.audioSamples));
        if (count <= 0)
            return;
        soundtrack_->Read(s.samples.data(), count);
        if (end >= 0) {
            for (int i = 0; i < count; ++i) {
                const std::int64_t left = end - (s.audioSamples + i);
                if (left < kFadeSamples) {
                    const float gain = float(left) / kFadeSamples;
                    s.samples[std::size_t(i) * 2] *= gain;
                    s.samples[std::size_t(i) * 2 + 1] *= gain;
                }
            }
        }
        const int frameSamples = s.padLastAudioFrame ? s.audioFrameSize : count;
        if (frameSamples > count)
            std::fill(s.samples.begin() + std::ptrdiff_t(count) * 2, s.samples.end(), 0.0f);
        av_frame_unref(s.audioFrame);
        s.audioFrame->nb_samples = frameSamples;
        s.audioFrame->format = s.audio->sample_fmt;
        s.audioFrame->sample_rate = Soundtrack::kRate;
        av_channel_layout_copy(&s.audioFrame->ch_layout, &s.audio->ch_layout);
        if (av_frame_get_buffer(s.audioFrame, 0) < 0)
            throw ExportError(QStringLiteral("Not enough memory to encode %1").arg(options_.target));
        const uint8_t *in = reinterpret_cast<const uint8_t *>(s.samples.data());
        swr_convert(s.audioConvert, s.audioFrame->data, frameSamples, &in, frameSamples);
        s.audioFrame->pts = s.audioSamples;
        Send(s.audio, s.audioFrame, options_.target);
        WritePackets(s.format, s.audio, s.audioStream, s.packet, options_.target);
        s.audioSamples += count;
    }
}

std::int64_t VideoEncoder::AudioSampleAt(std::int64_t frame) const
{
    return frame * Soundtrack::kRate * options_.fps.den / options_.fps.num;
}

void VideoEncoder::WriteVideo(const AVFrame &frame, std::int64_t repeat)
{
    // The stretch's last frame is stored too, so that every container and player holds the
    // picture until it, whether or not they keep a frame's duration.
    const bool everyFrame = StoresEveryFrame();
    for (std::int64_t i = 0; i < repeat; ++i)
        if (everyFrame || i == 0 || i == repeat - 1)
            EncodeVideoFrame(frame, framesWritten_ + i, i == 0 && repeat > 2 && !everyFrame);
    framesWritten_ += std::max<std::int64_t>(0, repeat);
}

void VideoEncoder::EncodeVideoFrame(const AVFrame &frame, std::int64_t index, bool still)
{
    Streams &s = *streams_;
    EncodeAudioUntil(AudioSampleAt(index) - kAudioLag, -1);
    AVFrame *copy = av_frame_clone(&frame);
    if (!copy)
        throw ExportError(QStringLiteral("Not enough memory to encode %1").arg(options_.target));
    // The encoder sees a steady rate, so its rate control and frame reordering work as for
    // any video; the packets get the frame times back on their way to the file.
    copy->pts = std::int64_t(frameTimes_.size());
    if (still) {
        AVFrameSideData *data = av_frame_new_side_data(copy, AV_FRAME_DATA_REGIONS_OF_INTEREST,
                                                       sizeof(AVRegionOfInterest));
        if (!data) {
            av_frame_free(&copy);
            throw ExportError(QStringLiteral("Not enough memory to encode %1").arg(options_.target));
        }
        auto *region = reinterpret_cast<AVRegionOfInterest *>(data->data);
        *region = {};
        region->self_size = sizeof(AVRegionOfInterest);
        region->bottom = frame.height;
        region->right = frame.width;
        region->qoffset = kStillQuantiserOffset;
    }
    frameTimes_.push_back(index);
    try {
        Send(s.video, copy, options_.target);
    } catch (...) {
        av_frame_free(&copy);
        throw;
    }
    av_frame_free(&copy);
    WritePackets(s.format, s.video, s.videoStream, s.packet, options_.target, &frameTimes_);
}

void VideoEncoder::Finish()
{
    Streams &s = *streams_;
    const std::int64_t end = AudioSampleAt(framesWritten_);
    if (s.audio) {
        EncodeAudioUntil(end, end);
        Send(s.audio, nullptr, options_.target);
        WritePackets(s.format, s.audio, s.audioStream, s.packet, options_.target);
    }
    Send(s.video, nullptr, options_.target);
    WritePackets(s.format, s.video, s.videoStream, s.packet, options_.target, &frameTimes_);
    int status = av_write_trailer(s.format);
    if (status >= 0 && s.format->pb->error < 0)
        status = s.format->pb->error;
    if (status >= 0)
        status = avio_closep(&s.format->pb);
    if (status < 0)
        throw ExportError(QStringLiteral("Cannot write %1: %2").arg(options_.target, AvErrorText(status)));
    if (!file_->Commit(options_.existing))
        throw ExportError(QStringLiteral("Cannot write %1: %2").arg(options_.target, file_->ErrorString()));
}

}  // namespace lumetta
