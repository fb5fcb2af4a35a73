// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace lumetta {

// A new file written under a hidden name beside its target, which takes the target's place in one
// rename only when complete, so that no reader ever sees a half-written target. Removed unless
// committed.
class ReplacementFile
{
public:
    enum class Existing { Replace, Refuse };

    explicit ReplacementFile(const QString &target);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile &) = delete;
    ReplacementFile &operator=(const ReplacementFile &) = delete;

    // Why a writer must not put a file at TARGET: it exists and is a folder, no regular file (a
    // device, a pipe, a socket; a link counts as the file it leads to) or read-only (no write
    // permission for anyone). Every writer asks before it writes; nullopt when TARGET may be
    // written.
    static std::optional<QString> TargetProblem(const QString &target);

    // Checks the target (TargetProblem), removes the files that writers to the same target left
    // when they died unfinished, and creates the empty file ".NAME.part-XXXXXXXX" in the target's
    // folder (mode 0666 less the umask), locked while this object lives so that no other writer
    // takes it for such a leftover; false, with the reason in ErrorString(), when it cannot.
    bool Create();
    // Renames the file to the target; with Refuse it fails, leaving both, when the target exists.
    // A target that became something TargetProblem refuses is left alone.
    bool Commit(Existing existing);

    // The file being written; empty before Create.
    const QString &Path() const { return path_; }
    const QString &ErrorString() const { return error_; }

private:
    void RemoveLeftovers() const;
    void Unlock();

    QString target_;
    QString path_;
    QString error_;
    int lock_ = -1;
    bool committed_ = false;
};

}  // namespace lumetta
