// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/color_text.h"

#include <QColor>
#include <QPalette>
#include <QString>
#include <QStringList>

#include <optional>

namespace lumetta {

// The colour to paint with: system colours come from the palette, others from the low three bytes.
QColor ResolveColor(ColorRef color, const QPalette &palette);
QColor ResolveColor(ColorRef color);  // with the application's palette

// The background line split at its last underscore: top colour text, bottom colour text.
// A line without an underscore names one plain colour.
struct BackgroundColorTexts
{
    QString top;
    QString bottom;
    bool IsPlain() const { return top == bottom; }
};
BackgroundColorTexts SplitBackgroundLine(const QString &line);

// The ten show-settings lines (OptList).
class ShowSettings
{
public:
    static constexpr int kLineCount = 10;

    enum Line {
        AdvanceLine = 0,  // seconds or "Manual"
        PictureSizeLine = 1,  // percent or "No"
        EffectsLine = 2,  // "No effect" or "Random"
        MusicLine = 3,  // "No music", "RepeatMusic" or "NoRepeat"
        BackgroundLine = 4,  // colour pair or background picture path
        LoopingLine = 5,  // "Loop" or "No"
        BackgroundKindLine = 6,  // "Color" or "BackFile"
        PlacementLine = 7,  // "Tile", "Center" or "Stretch"
        CaptionLine = 8,  // "No" or caption colour
        ShadowLine = 9,  // "Shadow" or "No"
    };

    enum class Defaults {
        Start,  // program start and New project
        Dialog,  // the options dialog's "Set Defaults"
    };

    enum class Placement { Tile, Center, Stretch };

    ShowSettings();  // filled with the start defaults

    int Count() const { return lines_.size(); }
    // Line i, or an empty text when the list is shorter.
    QString Get(int index) const;
    // Replaces line i; index == Count() appends. Returns false for any other index.
    bool Put(int index, const QString &value);
    void Clear() { lines_.clear(); }
    void FillDefaults(Defaults set = Defaults::Start);

    const QStringList &Lines() const { return lines_; }
    // Takes the first ten lines; false (and nothing changed) when there are fewer.
    bool LoadFrom(const QStringList &projectLines);

    static QStringList DefaultLines(Defaults set);

    // Typed readings; keywords compare exactly and case-sensitively.
    std::optional<int> AdvanceSeconds() const;  // nullopt for "Manual"; 1..100
    std::optional<int> PicturePercent() const;  // nullopt for "No"; 1..100
    bool EffectsOn() const { return Get(EffectsLine) != QLatin1String("No effect"); }
    bool MusicOn() const { return Get(MusicLine) != QLatin1String("No music"); }
    bool RepeatMusic() const { return Get(MusicLine) == QLatin1String("RepeatMusic"); }
    bool Looping() const { return Get(LoopingLine) == QLatin1String("Loop"); }
    bool BackgroundFromFile() const { return Get(BackgroundKindLine) == QLatin1String("BackFile"); }
    bool BackgroundColored() const { return Get(BackgroundKindLine) == QLatin1String("Color"); }
    QString BackgroundFile() const { return Get(BackgroundLine); }
    BackgroundColorTexts BackgroundColors() const { return SplitBackgroundLine(Get(BackgroundLine)); }
    std::optional<Placement> BackgroundPlacement() const;  // nullopt for an unknown word
    // nullopt for "No" or an unreadable colour.
    std::optional<ColorRef> CaptionColor() const;
    bool Shadow() const { return Get(ShadowLine) == QLatin1String("Shadow"); }

    bool operator==(const ShowSettings &other) const = default;

private:
    QStringList lines_;
};

}  // namespace lumetta
