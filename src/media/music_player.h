#pragma once

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QObject>
#include <QString>

#include <memory>

namespace lumetta {

// The music back end: one medium at a time, opened synchronously so a failure is known at
// once, played in the background. Times are milliseconds.
class MusicPlayer : public QObject
{
    Q_OBJECT

public:
    // How long open() waits for the medium to load before giving up.
    static constexpr int kOpenTimeoutMs = 5000;

    explicit MusicPlayer(QObject *parent = nullptr);
    ~MusicPlayer() override;

    // Closes the open medium, then opens `path` and waits (handling no user input) until it is
    // loaded or has failed. On failure returns false and errorString() says why.
    bool open(const QString &path);
    // Closes the open medium and starts opening `path` without waiting: false at once only when
    // the file is not there; loading() tells whether the back end is still at it, and a failure
    // it finds later shows in errorString().
    bool openInBackground(const QString &path);
    bool loading() const;
    // Starts playing from the current position and returns at once.
    void play();
    void stop();
    // Lets go of the medium, so one still loading cannot start playing later; errorString()
    // still says what went wrong with it.
    void close();

    // Loudness from 0 (silent) to 1 (full); kept for the media opened later.
    void setVolume(float volume);
    float volume() const { return volume_; }

    const QString &fileName() const { return fileName_; }
    qint64 length() const;
    qint64 position() const;
    // True until fewer than `marginMs` are left or the medium has ended or failed; a medium
    // whose length still reads 0 counts as playing.
    bool isPlaying(qint64 marginMs = 10) const;
    const QString &errorString() const { return error_; }

private:
    // Keeps the first failure the back end reports about the medium being opened.
    void fail(const QString &path, const QString &text);

    // A fresh player per medium, so late reports about a closed medium cannot reach the next.
    std::unique_ptr<QMediaPlayer> player_;
    std::unique_ptr<QAudioOutput> output_;
    QString fileName_;
    QString error_;
    float volume_ = 1.0f;
};

}  // namespace lumetta
