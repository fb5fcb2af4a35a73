// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/soundtrack.h"

#include "common/regular_file.h"
#include "export/av_error_text.h"
#include "export/export_error.h"

#include <QFile>
#include <QFileInfo>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avstring.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cstring>

namespace lumetta {

namespace {

using IoOpen = int (*)(AVFormatContext *, AVIOContext **, const char *, int, AVDictionary **);

// FFmpeg's own opener, the one every new context starts with.
IoOpen DefaultIoOpen()
{
    static const IoOpen kOpen = [] {
        AVFormatContext *probe = avformat_alloc_context();
        const IoOpen found = probe ? probe->io_open : nullptr;
        avformat_free_context(probe);
        return found;
    }();
    return kOpen;
}

// Every file a demuxer opens, the track or one the track names (a playlist's segments), must
// be a regular local file: a pipe among them would stop the export for ever.
int OpenRegularFileOnly(AVFormatContext *format, AVIOContext **io, const char *url, int flags, AVDictionary **options)
{
    const char *path = url;
    av_strstart(url, "file:", &path);
    if (!RegularFile::Problem(QFile::decodeName(path)).isEmpty())
        return AVERROR(EACCES);
    return DefaultIoOpen()(format, io, url, flags, options);
}

QString CannotReadMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("Cannot read the music file %1: %2").arg(RegularFile::ShownName(path), reason);
}

}  // namespace

// One music file being decoded and resampled.
class Soundtrack::Track
{
public:
    explicit Track(const QString &path)
    {
        // A project names its music; a name FFmpeg reads as a web address, "pipe:0" or a pipe
        // must neither reach the network, nor read standard input, nor wait for ever.
        if (const QString problem = RegularFile::Problem(path); !problem.isEmpty())
            throw ExportError(CannotReadMessage(path, problem));
        format_ = avformat_alloc_context();
        if (!format_)
            throw ExportError(CannotReadMessage(path, AvErrorText(AVERROR(ENOMEM))));
        format_->io_open = OpenRegularFileOnly;
        AVDictionary *options = nullptr;
        av_dict_set(&options, "protocol_whitelist", "file", 0);
        const QByteArray url = "file:" + QFile::encodeName(QFileInfo(path).absoluteFilePath());
        int status = avformat_open_input(&format_, url.constData(), nullptr, &options);
        av_dict_free(&options);
        if (status < 0)
            throw ExportError(CannotReadMessage(path, AvErrorText(status)));
        status = avformat_find_stream_info(format_, nullptr);
        if (status < 0)
            throw ExportError(CannotReadMessage(path, AvErrorText(status)));
        const AVCodec *codec = nullptr;
        stream_ = av_find_best_stream(format_, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
        if (stream_ < 0 || !codec)
            throw ExportError(QStringLiteral("The music file %1 holds no sound that can be decoded")
                                  .arg(RegularFile::ShownName(path)));
        decoder_ = avcodec_alloc_context3(codec);
        avcodec_parameters_to_context(decoder_, format_->streams[stream_]->codecpar);
        status = avcodec_open2(decoder_, codec, nullptr);
        if (status < 0)
            throw ExportError(QStringLiteral("Cannot decode the music file %1: %2")
                                  .arg(RegularFile::ShownName(path), AvErrorText(status)));

        AVChannelLayout in{};
        if (decoder_->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
            av_channel_layout_default(&in, decoder_->ch_layout.nb_channels);
        else
            av_channel_layout_copy(&in, &decoder_->ch_layout);
        AVChannelLayout out = AV_CHANNEL_LAYOUT_STEREO;
        status = swr_alloc_set_opts2(&resampler_, &out, AV_SAMPLE_FMT_FLT, kRate, &in, decoder_->sample_fmt,
                                     decoder_->sample_rate, 0, nullptr);
        if (status >= 0 && in.nb_channels == 1) {
            // A mono track plays at full level on both sides, as a media player plays it.
            const double both[2] = {1.0, 1.0};
            status = swr_set_matrix(resampler_, both, 1);
        }
        av_channel_layout_uninit(&in);
        if (status >= 0)
            status = swr_init(resampler_);
        if (status < 0)
            throw ExportError(QStringLiteral("Cannot convert the sound of %1: %2").arg(path, AvErrorText(status)));
        packet_ = av_packet_alloc();
        frame_ = av_frame_alloc();
    }

    ~Track()
    {
        av_frame_free(&frame_);
        av_packet_free(&packet_);
        swr_free(&resampler_);
        avcodec_free_context(&decoder_);
        avformat_close_input(&format_);
    }

    // The track's length as its container states it; 0 when it does not say.
    std::int64_t DurationMs() const
    {
        if (format_->duration > 0)
            return av_rescale(format_->duration, 1000, AV_TIME_BASE);
        const AVStream *stream = format_->streams[stream_];
        return stream->duration > 0 ? av_rescale_q(stream->duration, stream->time_base, AVRational{1, 1000}) : 0;
    }

    // Appends decoded samples to `out`; false at the end of the track.
    bool Decode(std::vector<float> &out)
    {
        while (!drained_) {
            int status = avcodec_receive_frame(decoder_, frame_);
            if (status == 0) {
                Convert(out, const_cast<const uint8_t **>(frame_->extended_data), frame_->nb_samples);
                av_frame_unref(frame_);
                return true;
            }
            if (status == AVERROR_EOF) {
                drained_ = true;
                break;
            }
            if (status != AVERROR(EAGAIN))
                throw ExportError(QStringLiteral("Cannot decode the music: %1").arg(AvErrorText(status)));
            if (endOfFile_)
                continue;
            status = av_read_frame(format_, packet_);
            if (status < 0) {
                endOfFile_ = true;
                avcodec_send_packet(decoder_, nullptr);
                continue;
            }
            if (packet_->stream_index == stream_) {
                // A damaged packet is dropped, as players do.
                avcodec_send_packet(decoder_, packet_);
            }
            av_packet_unref(packet_);
        }
        if (!flushed_) {
            flushed_ = true;
            Convert(out, nullptr, 0);
            return true;
        }
        return false;
    }

private:
    void Convert(std::vector<float> &out, const uint8_t **in, int count)
    {
        const int room = swr_get_out_samples(resampler_, count);
        if (room <= 0)
            return;
        const std::size_t start = out.size();
        out.resize(start + std::size_t(room) * kChannels);
        uint8_t *target = reinterpret_cast<uint8_t *>(out.data() + start);
        const int made = swr_convert(resampler_, &target, room, in, count);
        out.resize(start + std::size_t(std::max(made, 0)) * kChannels);
    }

    AVFormatContext *format_ = nullptr;
    AVCodecContext *decoder_ = nullptr;
    SwrContext *resampler_ = nullptr;
    AVPacket *packet_ = nullptr;
    AVFrame *frame_ = nullptr;
    int stream_ = -1;
    bool endOfFile_ = false;
    bool drained_ = false;
    bool flushed_ = false;
};

Soundtrack::Soundtrack(QStringList playlist, bool repeat, Warning warn)
    : playlist_(std::move(playlist)),
      repeat_(repeat),
      warn_(std::move(warn))
{
    finished_ = playlist_.isEmpty();
}

Soundtrack::~Soundtrack() = default;

std::optional<std::int64_t> Soundtrack::PlaylistLengthMs(const QStringList &playlist)
{
    std::int64_t total = 0;
    for (const QString &path : playlist) {
        try {
            total += Track(path).DurationMs();
        } catch (const ExportError &) {
            // Left out here; the export names it when it comes to play it.
        }
    }
    return total > 0 ? std::optional<std::int64_t>(total) : std::nullopt;
}

void Soundtrack::Open()
{
    if (playlist_.isEmpty())
        return;
    track_ = std::make_unique<Track>(playlist_.first());
    nextTrack_ = 1;
}

bool Soundtrack::OpenTrack(int index)
{
    const QString &path = playlist_.at(index);
    try {
        track_ = std::make_unique<Track>(path);
        return true;
    } catch (const ExportError &error) {
        track_.reset();
        if (!reported_.contains(path)) {
            reported_.insert(path);
            if (warn_)
                warn_(error.Message());
        }
        return false;
    }
}

bool Soundtrack::Refill()
{
    buffer_.clear();
    position_ = 0;
    while (!finished_) {
        if (track_) {
            try {
                if (track_->Decode(buffer_)) {
                    if (!buffer_.empty()) {
                        failuresInRow_ = 0;
                        return true;
                    }
                    continue;
                }
            } catch (const ExportError &error) {
                if (warn_)
                    warn_(error.Message());
            }
            track_.reset();
        }
        if (nextTrack_ >= playlist_.size()) {
            if (!repeat_ || failuresInRow_ >= playlist_.size()) {
                finished_ = true;
                break;
            }
            nextTrack_ = 0;
        }
        ++failuresInRow_;
        OpenTrack(nextTrack_++);
    }
    return false;
}

void Soundtrack::Read(float *samples, int frames)
{
    std::size_t wanted = std::size_t(frames) * kChannels;
    while (wanted > 0) {
        if (position_ >= buffer_.size() && !Refill()) {
            std::fill(samples, samples + wanted, 0.0f);
            return;
        }
        const std::size_t take = std::min(wanted, buffer_.size() - position_);
        std::memcpy(samples, buffer_.data() + position_, take * sizeof(float));
        samples += take;
        position_ += take;
        wanted -= take;
    }
}

}  // namespace lumetta
