// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/effect_selection_dialog.h"

#include "dialogs/dialog_questions.h"
#include "media/picture.h"
#include "media/picture_error.h"
#include "transitions/transitions.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

static void InitTransitResource()
{
    // The resource lives in a static library, so it is registered by hand.
    Q_INIT_RESOURCE(effect_selection_dialog);
}

namespace lumetta {

namespace {

const QSize kPanelSize(280, 210);

QImage LoadSamplePicture()
{
    InitTransitResource();
    QFile file(QStringLiteral(":/lumetta/effect_sample.jpg"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    try {
        return Picture::FromData(file.readAll(), PictureKind::Jpeg, file.fileName()).Image();
    } catch (const PictureError &) {
        return {};
    }
}

}  // namespace

// Panel1: a sunken panel in the window colour with its caption; a click previews.
class PreviewPanel : public QAbstractButton
{
public:
    explicit PreviewPanel(QWidget *parent) : QAbstractButton(parent)
    {
        setText(QStringLiteral("Click here to preview"));
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Base));
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(0, 0, width() - 1, 0);
        painter.drawLine(0, 0, 0, height() - 1);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(0, height() - 1, width() - 1, height() - 1);
        painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(rect(), Qt::AlignCenter, text());
    }
};

// Image1: the sample picture stretched over the panel, scaled once per size.
class SampleImage : public QWidget
{
public:
    SampleImage(const QImage &picture, QWidget *parent) : QWidget(parent), picture_(picture)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void resizeEvent(QResizeEvent *) override
    {
        const QSize device = size() * devicePixelRatioF();
        scaled_ =
            picture_.isNull() ? QImage() : picture_.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaled_.setDevicePixelRatio(devicePixelRatioF());
    }
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        if (scaled_.isNull())
            painter.fillRect(rect(), palette().color(QPalette::Base));
        else
            painter.drawImage(0, 0, scaled_);
    }

private:
    QImage picture_;
    QImage scaled_;
};

EffectSelectionDialog::EffectSelectionDialog(QStringList &effectSelection, DialogQuestions *questions, QWidget *parent)
    : QDialog(parent),
      effectSelection_(effectSelection),
      ownQuestions_(questions ? nullptr : std::make_unique<WidgetQuestions>(this)),
      questions_(questions ? questions : ownQuestions_.get()),
      catalogue_(std::make_unique<TTransitionList>())
{
    catalogue_->setObjectName(QStringLiteral("Trans"));
    LoadEffectCatalogue(*catalogue_, true);
    BuildLayout();
    StartWithStandardSet();
}

EffectSelectionDialog::~EffectSelectionDialog() = default;

void EffectSelectionDialog::BuildLayout()
{
    setWindowTitle(QStringLiteral("Select effects"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto *group = new QGroupBox(QStringLiteral("Transition effects"), this);

    auto *presets = new QLabel(QStringLiteral("&Presets:"), group);
    QFont bold = presets->font();
    bold.setBold(true);
    presets->setFont(bold);
    presets_ = new QComboBox(group);
    presets_->setObjectName(QStringLiteral("ComboBox1"));
    presets_->addItems({QStringLiteral("Standart set"), QStringLiteral("Select all"), QStringLiteral("Another set")});
    presets->setBuddy(presets_);

    effectList_ = new QListWidget(group);
    effectList_->setObjectName(QStringLiteral("CheckListBox1"));
    for (const QString &name : EffectDisplayNames()) {
        auto *item = new QListWidgetItem(name, effectList_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    effectList_->setMinimumWidth(190);

    previewPanel_ = new PreviewPanel(group);
    previewPanel_->setObjectName(QStringLiteral("Panel1"));
    previewPanel_->setFixedSize(kPanelSize);
    sample_ = new SampleImage(LoadSamplePicture(), previewPanel_);
    sample_->setObjectName(QStringLiteral("Image1"));
    sample_->setGeometry(previewPanel_->rect());
    sample_->hide();

    auto *preview = new QPushButton(QStringLiteral("Pre&view"), group);
    preview->setObjectName(QStringLiteral("PreviewButton"));
    preview->setFlat(true);
    preview->setFont(bold);
    preview->setCursor(Qt::PointingHandCursor);
    preview->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    preview->setAutoDefault(false);

    auto *clear = new QPushButton(QStringLiteral("C&lear"), group);
    clear->setObjectName(QStringLiteral("Button3"));
    clear->setAutoDefault(false);

    auto *presetRow = new QHBoxLayout;
    presetRow->addWidget(presets);
    presetRow->addWidget(presets_, 1);

    auto *listColumn = new QVBoxLayout;
    listColumn->addLayout(presetRow);
    listColumn->addWidget(effectList_, 1);
    listColumn->addWidget(clear, 0, Qt::AlignLeft);

    auto *previewColumn = new QVBoxLayout;
    previewColumn->addStretch(1);
    previewColumn->addWidget(previewPanel_);
    previewColumn->addWidget(preview, 0, Qt::AlignHCenter);
    previewColumn->addStretch(1);

    auto *groupLayout = new QHBoxLayout(group);
    groupLayout->addLayout(listColumn, 1);
    groupLayout->addSpacing(8);
    groupLayout->addLayout(previewColumn);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Button2"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Button1"));
    cancel->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    effectList_->setMinimumHeight(effectList_->sizeHintForRow(0) * kOfferedEffectCount + 2 * effectList_->frameWidth()
                                  + 4);

    connect(presets_, &QComboBox::activated, this, &EffectSelectionDialog::ApplyPreset);
    connect(effectList_, &QListWidget::itemChanged, this, &EffectSelectionDialog::MarkChanged);
    connect(clear, &QPushButton::clicked, this, &EffectSelectionDialog::ClearMarks);
    connect(ok, &QPushButton::clicked, this, &EffectSelectionDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &EffectSelectionDialog::Cancel);
    connect(preview, &QPushButton::clicked, this, &EffectSelectionDialog::PlayPreview);
    connect(previewPanel_, &QAbstractButton::clicked, this, &EffectSelectionDialog::PlayPreview);
}

void EffectSelectionDialog::StartWithStandardSet()
{
    effectSelection_.clear();
    marks_.ApplyPreset(EffectMarks::Preset::Standard);
    ShowMarks();
    effectSelection_ = marks_.Selection();
}

void EffectSelectionDialog::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        ShowSelection();
    QDialog::showEvent(event);
}

void EffectSelectionDialog::ShowSelection()
{
    marks_.Load(effectSelection_);
    ShowMarks();
    presets_->setCurrentIndex(int(EffectMarks::Preset::Standard));
}

void EffectSelectionDialog::ApplyStandardSet()
{
    presets_->setCurrentIndex(int(EffectMarks::Preset::Standard));
    marks_.ApplyPreset(EffectMarks::Preset::Standard);
    ShowMarks();
    effectSelection_ = marks_.Selection();
}

void EffectSelectionDialog::ShowMarks()
{
    showingMarks_ = true;
    for (int row = 0; row < effectList_->count(); ++row)
        effectList_->item(row)->setCheckState(marks_.Checked(row) ? Qt::Checked : Qt::Unchecked);
    showingMarks_ = false;
}

void EffectSelectionDialog::ApplyPreset(int index)
{
    marks_.ApplyPreset(EffectMarks::Preset(index));
    ShowMarks();
}

void EffectSelectionDialog::MarkChanged(QListWidgetItem *item)
{
    if (showingMarks_)
        return;
    marks_.SetChecked(effectList_->row(item), item->checkState() == Qt::Checked);
    presets_->setCurrentIndex(int(EffectMarks::Preset::Another));
}

void EffectSelectionDialog::ClearMarks()
{
    marks_.Clear();
    ShowMarks();
}

void EffectSelectionDialog::accept()
{
    effectSelection_ = marks_.Selection();
    QDialog::accept();
}

void EffectSelectionDialog::Cancel()
{
    reject();
}

void EffectSelectionDialog::PlayPreview()
{
    const QList<QListWidgetItem *> highlighted = effectList_->selectedItems();
    if (highlighted.isEmpty()) {
        questions_->ShowMessage(QStringLiteral("Please, select transition."));
        return;
    }
    TTransitionEffect *effect = catalogue_->Items(effectList_->row(highlighted.first()));
    try {
        effect->Prepare(previewPanel_, previewPanel_->rect());
        sample_->show();
        effect->Execute();
        effect->Prepare(previewPanel_, previewPanel_->rect());
        sample_->hide();
        effect->Execute();
        effect->UnPrepare();
    } catch (const TransitionAborted &) {
        effect->UnPrepare();
        sample_->hide();
    } catch (const TransitionError &error) {
        effect->UnPrepare();
        sample_->hide();
        questions_->ShowMessage(QString::fromUtf8(error.what()));
    }
}

}  // namespace lumetta
