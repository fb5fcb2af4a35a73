// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/slide_panel.h"

#include "player/effect_catalogue.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace lumetta {

namespace {

// Entries of the transition list before the effects.
constexpr int kRandomEntry = 0;
constexpr int kNoneEntry = 1;
constexpr int kFirstEffectEntry = 2;

}  // namespace

SlidePanel::SlidePanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("SlidePanel"));
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("SlideHeading"));
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);

    fields_ = new QWidget(this);
    text_ = new QPlainTextEdit(fields_);
    text_->setObjectName(QStringLiteral("CaptionText"));
    text_->setPlaceholderText(QStringLiteral("Caption drawn on the slide"));
    // Tab goes on to the next field; Enter starts a new line of the caption.
    text_->setTabChangesFocus(true);
    text_->setFixedHeight(text_->fontMetrics().lineSpacing() * 4 + 12);
    font_ = new QFontComboBox(fields_);
    font_->setObjectName(QStringLiteral("CaptionFont"));
    size_ = new QSpinBox(fields_);
    size_->setObjectName(QStringLiteral("CaptionSize"));
    size_->setRange(StoryCaption::kMinimumSize, StoryCaption::kMaximumSize);
    size_->setToolTip(QStringLiteral("Text height in pixels on a 1080-line screen; other screens scale it"));
    colour_ = new QPushButton(fields_);
    colour_->setObjectName(QStringLiteral("CaptionColour"));
    position_ = new QComboBox(fields_);
    position_->setObjectName(QStringLiteral("CaptionPosition"));
    position_->addItems({QStringLiteral("Top"), QStringLiteral("Middle"), QStringLiteral("Bottom")});
    edge_ = new QComboBox(fields_);
    edge_->setObjectName(QStringLiteral("CaptionEdge"));
    edge_->addItems({QStringLiteral("Outline"), QStringLiteral("Shadow")});
    ownTime_ = new QCheckBox(QStringLiteral("Own &time"), fields_);
    ownTime_->setObjectName(QStringLiteral("OwnTime"));
    seconds_ = new QDoubleSpinBox(fields_);
    seconds_->setObjectName(QStringLiteral("Seconds"));
    seconds_->setDecimals(1);
    seconds_->setRange(0.1, SlideDetails::kLongestDurationMs / 1000.0);
    seconds_->setSingleStep(0.5);
    seconds_->setSuffix(QStringLiteral(" s"));
    transition_ = new QComboBox(fields_);
    transition_->setObjectName(QStringLiteral("TransitionIn"));
    transition_->addItems({QStringLiteral("Random from the selection"), QStringLiteral("None")});
    transition_->addItems(EffectDisplayNames());
    fit_ = new QCheckBox(QStringLiteral("&Fit the show to the music"), this);
    fit_->setObjectName(QStringLiteral("FitToMusic"));
    fit_->setToolTip(QStringLiteral("Slide times are scaled so that the show ends with its music"));

    auto *time = new QHBoxLayout;
    time->addWidget(ownTime_);
    time->addWidget(seconds_, 1);
    auto *form = new QFormLayout(fields_);
    form->setContentsMargins(0, 0, 0, 0);
    auto label = [this](const QString &text, QWidget *buddy) {
        auto *shown = new QLabel(text, fields_);
        shown->setBuddy(buddy);
        return shown;
    };
    form->addRow(label(QStringLiteral("&Caption:"), text_), text_);
    form->addRow(label(QStringLiteral("F&ont:"), font_), font_);
    form->addRow(label(QStringLiteral("&Size:"), size_), size_);
    form->addRow(label(QStringLiteral("Co&lour:"), colour_), colour_);
    form->addRow(label(QStringLiteral("&Position:"), position_), position_);
    form->addRow(label(QStringLiteral("&Edge:"), edge_), edge_);
    form->addRow(label(QStringLiteral("Time:"), ownTime_), time);
    form->addRow(label(QStringLiteral("T&ransition in:"), transition_), transition_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(fields_);
    layout->addWidget(fit_);
    layout->addStretch(1);

    askColour = [this](const QColor &current) {
        return QColorDialog::getColor(current, this, QStringLiteral("Caption colour"));
    };

    connect(text_, &QPlainTextEdit::textChanged, this, [this] {
        Report({SlideEdit::Field::CaptionText, text_->toPlainText()});
    });
    connect(font_, &QFontComboBox::currentFontChanged, this, [this](const QFont &font) {
        Report({SlideEdit::Field::CaptionFont, font.family()});
    });
    connect(size_, &QSpinBox::valueChanged, this, [this](int value) {
        Report({SlideEdit::Field::CaptionSize, {}, value});
    });
    connect(colour_, &QPushButton::clicked, this, [this] {
        const QColor chosen = askColour(shownColour_);
        if (!chosen.isValid())
            return;
        ShowColour(chosen);
        Report({SlideEdit::Field::CaptionColour, {}, 0, chosen});
    });
    connect(position_, &QComboBox::currentIndexChanged, this, [this](int index) {
        Report({SlideEdit::Field::CaptionPosition, {}, index});
    });
    connect(edge_, &QComboBox::currentIndexChanged, this, [this](int index) {
        Report({SlideEdit::Field::CaptionEdge, {}, index});
    });
    connect(ownTime_, &QCheckBox::toggled, this, [this](bool own) {
        seconds_->setEnabled(own);
        ReportDuration();
    });
    connect(seconds_, &QDoubleSpinBox::valueChanged, this, &SlidePanel::ReportDuration);
    connect(transition_, &QComboBox::currentIndexChanged, this, [this](int index) {
        SlideEdit edit{SlideEdit::Field::Transition};
        if (index == kNoneEntry)
            edit.transition.kind = SlideTransition::Kind::None;
        else if (index >= kFirstEffectEntry)
            edit.transition = SlideTransition::Named(EffectStoredNames().value(index - kFirstEffectEntry));
        Report(edit);
    });
    connect(fit_, &QCheckBox::toggled, this, [this](bool fit) {
        if (!showing_)
            emit FitToMusicChanged(fit);
    });
    ShowSlides(0, SlideDetails(), false, kManualShowSeconds);
}

void SlidePanel::Report(SlideEdit edit)
{
    if (!showing_)
        emit Edited(edit);
}

void SlidePanel::ReportDuration()
{
    SlideEdit edit{SlideEdit::Field::Duration};
    if (ownTime_->isChecked())
        edit.durationMs = int(std::lround(seconds_->value() * 1000));
    Report(edit);
}

void SlidePanel::ShowColour(const QColor &colour)
{
    shownColour_ = colour;
    colour_->setText(colour.name());
    QPixmap swatch(16, 16);
    swatch.fill(colour);
    colour_->setIcon(QIcon(swatch));
}

void SlidePanel::ShowSlides(int count, const SlideDetails &first, bool fitToMusic, int showSeconds)
{
    showing_ = true;
    heading_->setText(count == 0   ? QStringLiteral("No slide selected")
                      : count == 1 ? QStringLiteral("This slide")
                                   : QStringLiteral("%1 slides: a change applies to each").arg(count));
    fields_->setEnabled(count > 0);
    const StoryCaption &caption = first.caption;
    // Typing keeps its cursor: the text is set only when it is another.
    if (text_->toPlainText() != caption.text)
        text_->setPlainText(caption.text);
    // A field that shows its value already is left alone, so that one being typed in keeps its text.
    const QFont font = caption.font.isEmpty() ? QFont(QStringLiteral("Sans Serif")) : QFont(caption.font);
    if (font_->currentFont().family() != font.family())
        font_->setCurrentFont(font);
    if (size_->value() != caption.size)
        size_->setValue(caption.size);
    ShowColour(caption.colour);
    position_->setCurrentIndex(int(caption.position));
    edge_->setCurrentIndex(int(caption.edge));
    ownTime_->setChecked(first.durationMs.has_value());
    seconds_->setEnabled(first.durationMs.has_value());
    const int shownMs = first.durationMs.value_or(showSeconds * 1000);
    if (std::lround(seconds_->value() * 1000) != shownMs)
        seconds_->setValue(shownMs / 1000.0);
    int entry = kRandomEntry;
    if (first.transition.kind == SlideTransition::Kind::None)
        entry = kNoneEntry;
    else if (first.transition.kind == SlideTransition::Kind::Effect)
        entry = kFirstEffectEntry + int(EffectNumberOfStoredName(first.transition.effect).value_or(-2));
    transition_->setCurrentIndex(std::max(kRandomEntry, entry));
    fit_->setChecked(fitToMusic);
    showing_ = false;
}

}  // namespace lumetta
