// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

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

    // Creates the empty file ".NAME.part-XXXXXXXX" in the target's folder (mode 0666 less the
    // umask); false, with the reason in ErrorString(), when it cannot.
    bool Create();
    // Renames the file to the target; with Refuse it fails, leaving both, when the target exists.
    bool Commit(Existing existing);

    // The file being written; empty before Create.
    const QString &Path() const { return path_; }
    const QString &ErrorString() const { return error_; }

private:
    QString target_;
    QString path_;
    QString error_;
    bool committed_ = false;
};

}  // namespace lumetta
