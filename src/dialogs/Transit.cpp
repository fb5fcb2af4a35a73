#include "dialogs/Transit.h"

#include "dialogs/dialog_questions.h"
#include "media/picture.h"
#include "media/picture_error.h"
#include "transitions/TransEff.h"

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

static void initTransitResource()
{
    // The resource lives in a static library, so it is registered by hand.
    Q_INIT_RESOURCE(Transit);
}

namespace lumetta {

namespace {

const QSize kPanelSize(280, 210);

QImage LoadSamplePicture()
{
    initTransitResource();
    QFile file(QStringLiteral(":/lumetta/TransitSample.jpg"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    try {
        return Picture::fromData(file.readAll(), PictureKind::Jpeg, file.fileName()).image();
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
        scaled_ = picture_.isNull() ? QImage()
                                    : picture_.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
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

TForm2::TForm2(QStringList &effectSelection, DialogQuestions *questions, QWidget *parent)
    : QDialog(parent),
      listBox1_(effectSelection),
      ownQuestions_(questions ? nullptr : std::make_unique<WidgetQuestions>(this)),
      questions_(questions ? questions : ownQuestions_.get()),
      trans_(std::make_unique<TTransitionList>())
{
    trans_->setObjectName(QStringLiteral("Trans"));
    LoadEffectCatalogue(*trans_, true);
    BuildLayout();
    FormCreate();
}

TForm2::~TForm2() = default;

void TForm2::BuildLayout()
{
    setWindowTitle(QStringLiteral("Select effects"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto *group = new QGroupBox(QStringLiteral("Transition effects"), this);

    auto *presets = new QLabel(QStringLiteral("&Presets:"), group);
    QFont bold = presets->font();
    bold.setBold(true);
    presets->setFont(bold);
    comboBox1_ = new QComboBox(group);
    comboBox1_->setObjectName(QStringLiteral("ComboBox1"));
    comboBox1_->addItems({QStringLiteral("Standart set"), QStringLiteral("Select all"),
                          QStringLiteral("Another set")});
    presets->setBuddy(comboBox1_);

    checkListBox1_ = new QListWidget(group);
    checkListBox1_->setObjectName(QStringLiteral("CheckListBox1"));
    for (const QString &name : EffectDisplayNames()) {
        auto *item = new QListWidgetItem(name, checkListBox1_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    checkListBox1_->setMinimumWidth(190);

    panel1_ = new PreviewPanel(group);
    panel1_->setObjectName(QStringLiteral("Panel1"));
    panel1_->setFixedSize(kPanelSize);
    image1_ = new SampleImage(LoadSamplePicture(), panel1_);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setGeometry(panel1_->rect());
    image1_->hide();

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
    presetRow->addWidget(comboBox1_, 1);

    auto *listColumn = new QVBoxLayout;
    listColumn->addLayout(presetRow);
    listColumn->addWidget(checkListBox1_, 1);
    listColumn->addWidget(clear, 0, Qt::AlignLeft);

    auto *previewColumn = new QVBoxLayout;
    previewColumn->addStretch(1);
    previewColumn->addWidget(panel1_);
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
    checkListBox1_->setMinimumHeight(checkListBox1_->sizeHintForRow(0) * OfferedEffectCount +
                                      2 * checkListBox1_->frameWidth() + 4);

    connect(comboBox1_, &QComboBox::activated, this, &TForm2::ComboBox1Change);
    connect(checkListBox1_, &QListWidget::itemChanged, this, &TForm2::CheckListBox1ClickCheck);
    connect(clear, &QPushButton::clicked, this, &TForm2::SpeedButton1Click);
    connect(ok, &QPushButton::clicked, this, &TForm2::Button2Click);
    connect(cancel, &QPushButton::clicked, this, &TForm2::Button1Click);
    connect(preview, &QPushButton::clicked, this, &TForm2::Button3Click);
    connect(panel1_, &QAbstractButton::clicked, this, &TForm2::Button3Click);
}

void TForm2::FormCreate()
{
    listBox1_.clear();
    marks_.ApplyPreset(EffectMarks::Preset::Standard);
    ShowMarks();
    listBox1_ = marks_.Selection();
}

void TForm2::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        FormActivate();
    QDialog::showEvent(event);
}

void TForm2::FormActivate()
{
    marks_.Load(listBox1_);
    ShowMarks();
    comboBox1_->setCurrentIndex(int(EffectMarks::Preset::Standard));
}

void TForm2::ApplyStandardSet()
{
    comboBox1_->setCurrentIndex(int(EffectMarks::Preset::Standard));
    marks_.ApplyPreset(EffectMarks::Preset::Standard);
    ShowMarks();
    listBox1_ = marks_.Selection();
}

void TForm2::ShowMarks()
{
    showingMarks_ = true;
    for (int row = 0; row < checkListBox1_->count(); ++row)
        checkListBox1_->item(row)->setCheckState(marks_.Checked(row) ? Qt::Checked : Qt::Unchecked);
    showingMarks_ = false;
}

void TForm2::ComboBox1Change(int index)
{
    marks_.ApplyPreset(EffectMarks::Preset(index));
    ShowMarks();
}

void TForm2::CheckListBox1ClickCheck(QListWidgetItem *item)
{
    if (showingMarks_)
        return;
    marks_.SetChecked(checkListBox1_->row(item), item->checkState() == Qt::Checked);
    comboBox1_->setCurrentIndex(int(EffectMarks::Preset::Another));
}

void TForm2::SpeedButton1Click()
{
    marks_.Clear();
    ShowMarks();
}

void TForm2::Button2Click()
{
    listBox1_ = marks_.Selection();
    accept();
}

void TForm2::Button1Click()
{
    reject();
}

void TForm2::Button3Click()
{
    const QList<QListWidgetItem *> highlighted = checkListBox1_->selectedItems();
    if (highlighted.isEmpty()) {
        questions_->ShowMessage(QStringLiteral("Please, select transition."));
        return;
    }
    TTransitionEffect *effect = trans_->Items(checkListBox1_->row(highlighted.first()));
    try {
        effect->Prepare(panel1_, panel1_->rect());
        image1_->show();
        effect->Execute();
        effect->Prepare(panel1_, panel1_->rect());
        image1_->hide();
        effect->Execute();
        effect->UnPrepare();
    } catch (const TransitionAborted &) {
        effect->UnPrepare();
        image1_->hide();
    } catch (const TransitionError &error) {
        effect->UnPrepare();
        image1_->hide();
        questions_->ShowMessage(QString::fromUtf8(error.what()));
    }
}

}  // namespace lumetta
