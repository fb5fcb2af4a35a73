#include "dialogs/Options.h"

#include "app/show_settings.h"
#include "dialogs/Transit.h"
#include "dialogs/dialog_questions.h"
#include "dialogs/playlist_edit.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

namespace lumetta {

// A colour swatch: a bevelled field in its colour; a click (or Space) asks for a new colour.
class ColorSwatch : public QAbstractButton
{
public:
    explicit ColorSwatch(QWidget *parent) : QAbstractButton(parent)
    {
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::StrongFocus);
        setFixedSize(56, 22);
    }

    TColor Color() const { return color_; }
    void SetColor(TColor color)
    {
        color_ = color;
        setToolTip(ColorToString(color));
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QRect frame = rect().adjusted(0, 0, -1, -1);
        painter.fillRect(rect(), ResolveColor(color_, palette()));
        if (!isEnabled())
            painter.fillRect(rect(), QColor(255, 255, 255, 150));
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawRect(frame);
        if (hasFocus()) {
            painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
            painter.drawRect(frame.adjusted(2, 2, -2, -2));
        }
    }

private:
    TColor color_ = clBlack;
};

namespace {

QSpinBox *NewPercentField(QWidget *parent, const QString &name, const QString &unit)
{
    auto *field = new QSpinBox(parent);
    field->setObjectName(name);
    field->setRange(1, 100);
    field->setSuffix(unit);
    field->setMinimumWidth(70);
    return field;
}

QRadioButton *NewRadio(QWidget *parent, const QString &name, const QString &text)
{
    auto *radio = new QRadioButton(text, parent);
    radio->setObjectName(name);
    return radio;
}

QCheckBox *NewCheck(QWidget *parent, const QString &name, const QString &text)
{
    auto *check = new QCheckBox(text, parent);
    check->setObjectName(name);
    return check;
}

QPushButton *NewButton(QWidget *parent, const QString &name, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

void Exclusive(QObject *owner, std::initializer_list<QAbstractButton *> buttons)
{
    auto *group = new QButtonGroup(owner);
    for (QAbstractButton *button : buttons)
        group->addButton(button);
}

}  // namespace

TOpty::TOpty(ShowSettings &settings, QStringList &playlist, TForm2 &form2, DialogQuestions *questions,
             QWidget *parent)
    : QDialog(parent),
      settings_(settings),
      playlist_(playlist),
      form2_(form2),
      ownQuestions_(questions ? nullptr : std::make_unique<WidgetQuestions>(this)),
      questions_(questions ? questions : ownQuestions_.get())
{
    setWindowTitle(QStringLiteral("Options"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    pageControl_ = new QTabWidget(this);
    pageControl_->setObjectName(QStringLiteral("PageControl1"));
    pageControl_->addTab(BuildMainPage(), style()->standardIcon(QStyle::SP_DesktopIcon), QStringLiteral("Main"));
    pageControl_->addTab(BuildMusicPage(), style()->standardIcon(QStyle::SP_MediaVolume), QStringLiteral("Music"));
    pageControl_->addTab(BuildAdvancedPage(), style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                         QStringLiteral("Advanced"));

    auto *ok = NewButton(this, QStringLiteral("BitBtn1"), QStringLiteral("OK"));
    ok->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    ok->setDefault(true);
    auto *cancel = NewButton(this, QStringLiteral("BitBtn2"), QStringLiteral("Cancel"));
    cancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    auto *defaults = NewButton(this, QStringLiteral("BitBtn3"), QStringLiteral("Set &Defaults"));
    defaults->setIcon(style()->standardIcon(QStyle::SP_DialogResetButton));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(defaults);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pageControl_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok, &QPushButton::clicked, this, &TOpty::BitBtn1Click);
    connect(cancel, &QPushButton::clicked, this, &TOpty::BitBtn2Click);
    connect(defaults, &QPushButton::clicked, this, &TOpty::BitBtn3Click);

    // FormCreate: the dialog starts with "Tile" chosen.
    comboBox2_->setCurrentIndex(0);
    ShowValues(OptionsValues());
}

TOpty::~TOpty() = default;

QWidget *TOpty::BuildMainPage()
{
    auto *page = new QWidget;

    auto *advance = new QGroupBox(QStringLiteral("Slide advancement"), page);
    radioButton1_ = NewRadio(advance, QStringLiteral("RadioButton1"), QStringLiteral("&Automatic after"));
    spinEdit1_ = NewPercentField(advance, QStringLiteral("SpinEdit1"), QStringLiteral(" s"));
    radioButton2_ = NewRadio(advance, QStringLiteral("RadioButton2"),
                             QStringLiteral("&Manual after keyboard/mouse input "));
    Exclusive(this, {radioButton1_, radioButton2_});
    auto *advanceLayout = new QGridLayout(advance);
    advanceLayout->addWidget(radioButton1_, 0, 0);
    advanceLayout->addWidget(spinEdit1_, 0, 1);
    advanceLayout->addWidget(radioButton2_, 1, 0, 1, 3);
    advanceLayout->setColumnStretch(2, 1);

    auto *size = new QGroupBox(QStringLiteral("Size and shadow"), page);
    radioButton4_ = NewRadio(size, QStringLiteral("RadioButton4"), QStringLiteral("&Fit to screen"));
    upDown1_ = NewPercentField(size, QStringLiteral("UpDown1"), QStringLiteral(" %"));
    radioButton3_ = NewRadio(size, QStringLiteral("RadioButton3"), QStringLiteral("Do &not stretch"));
    Exclusive(this, {radioButton4_, radioButton3_});
    shadBox_ = NewCheck(size, QStringLiteral("ShadBox"), QStringLiteral("S&hadow"));
    auto *sizeLayout = new QGridLayout(size);
    sizeLayout->addWidget(radioButton4_, 0, 0);
    sizeLayout->addWidget(upDown1_, 0, 1);
    sizeLayout->addWidget(radioButton3_, 1, 0, 1, 3);
    sizeLayout->addWidget(shadBox_, 2, 0, 1, 3);
    sizeLayout->setColumnStretch(2, 1);

    auto *effects = new QGroupBox(QStringLiteral("Transition effects"), page);
    radioButton8_ = NewRadio(effects, QStringLiteral("RadioButton8"), QStringLiteral("&Random effects"));
    radioButton7_ = NewRadio(effects, QStringLiteral("RadioButton7"), QStringLiteral("No &effects (quick)"));
    Exclusive(this, {radioButton8_, radioButton7_});
    auto *select = NewButton(effects, QStringLiteral("Button4"), QStringLiteral("&Select"));
    auto *effectsLayout = new QGridLayout(effects);
    effectsLayout->addWidget(radioButton8_, 0, 0);
    effectsLayout->addWidget(select, 0, 2);
    effectsLayout->addWidget(radioButton7_, 1, 0);
    effectsLayout->setColumnStretch(1, 1);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(advance);
    layout->addWidget(size);
    layout->addWidget(effects);
    layout->addStretch(1);

    connect(radioButton1_, &QRadioButton::toggled, this, &TOpty::UpdateEnabling);
    connect(select, &QPushButton::clicked, this, &TOpty::Button4Click);
    return page;
}

QWidget *TOpty::BuildMusicPage()
{
    auto *page = new QWidget;
    auto *group = new QGroupBox(QStringLiteral("Background music"), page);
    playMusic_ = NewCheck(group, QStringLiteral("PlayMusic"), QStringLiteral("&Play backgound music"));
    repeatMusic_ = NewCheck(group, QStringLiteral("RepeatMusic"), QStringLiteral("&Repeat music after playing"));
    musicBox_ = new QListWidget(group);
    musicBox_->setObjectName(QStringLiteral("MusicBox"));
    musicBox_->installEventFilter(this);

    auto *up = NewButton(group, QStringLiteral("Button5"), QStringLiteral("&Up"));
    up->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    auto *down = NewButton(group, QStringLiteral("Button6"), QStringLiteral("Do&wn"));
    down->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    auto *add = NewButton(group, QStringLiteral("Button7"), QStringLiteral("&Add..."));
    auto *remove = NewButton(group, QStringLiteral("Button8"), QStringLiteral("R&emove"));
    auto *clear = NewButton(group, QStringLiteral("Button9"), QStringLiteral("&Clear"));
    playlistButtons_ = {up, down, add, remove, clear};

    auto *buttonColumn = new QVBoxLayout;
    buttonColumn->addWidget(up);
    buttonColumn->addWidget(down);
    buttonColumn->addSpacing(12);
    buttonColumn->addWidget(add);
    buttonColumn->addWidget(remove);
    buttonColumn->addWidget(clear);
    buttonColumn->addStretch(1);

    auto *listRow = new QHBoxLayout;
    listRow->addWidget(musicBox_, 1);
    listRow->addLayout(buttonColumn);

    auto *groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(playMusic_);
    groupLayout->addWidget(repeatMusic_);
    groupLayout->addLayout(listRow, 1);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(group);

    connect(playMusic_, &QCheckBox::toggled, this, &TOpty::UpdateEnabling);
    connect(up, &QPushButton::clicked, this, &TOpty::Button5Click);
    connect(down, &QPushButton::clicked, this, &TOpty::Button6Click);
    connect(add, &QPushButton::clicked, this, &TOpty::Button7Click);
    connect(remove, &QPushButton::clicked, this, &TOpty::Button8Click);
    connect(clear, &QPushButton::clicked, this, &TOpty::Button9Click);
    return page;
}

QWidget *TOpty::BuildAdvancedPage()
{
    auto *page = new QWidget;

    auto *viewer = new QGroupBox(QStringLiteral("Viewer settings "), page);
    filterComboBox2_ = new QComboBox(viewer);
    filterComboBox2_->setObjectName(QStringLiteral("FilterComboBox2"));
    for (const ViewerFilter &filter : ViewerFilters())
        filterComboBox2_->addItem(filter.name, filter.mask);
    auto *filterLabel = new QLabel(QStringLiteral("Set fil&ter for viewer"), viewer);
    filterLabel->setBuddy(filterComboBox2_);
    auto *viewerLayout = new QHBoxLayout(viewer);
    viewerLayout->addWidget(filterLabel);
    viewerLayout->addWidget(filterComboBox2_, 1);

    auto *background = new QGroupBox(QStringLiteral("Background options"), page);
    radioButton10_ = NewRadio(background, QStringLiteral("RadioButton10"), QStringLiteral("Background c&olors"));
    panel2_ = new ColorSwatch(background);
    panel2_->setObjectName(QStringLiteral("Panel2"));
    panel3_ = new ColorSwatch(background);
    panel3_->setObjectName(QStringLiteral("Panel3"));
    radioButton11_ = NewRadio(background, QStringLiteral("RadioButton11"), QStringLiteral("Background &image"));
    Exclusive(this, {radioButton10_, radioButton11_});
    fileBack_ = new QLineEdit(background);
    fileBack_->setObjectName(QStringLiteral("FileBack"));
    fileBack_->setMinimumWidth(220);
    fileBackButton_ = NewButton(background, QStringLiteral("FileBackButton"), QStringLiteral("..."));
    fileBackButton_->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    fileBackButton_->setText(QString());
    fileBackButton_->setToolTip(QStringLiteral("Browse for a background picture"));
    comboBox2_ = new QComboBox(background);
    comboBox2_->setObjectName(QStringLiteral("ComboBox2"));
    comboBox2_->addItems(PlacementWords());
    comboBox2_->setPlaceholderText(QStringLiteral("Select mode"));

    auto *colorRow = new QHBoxLayout;
    colorRow->addWidget(panel2_);
    colorRow->addWidget(panel3_);
    colorRow->addStretch(1);
    auto *fileRow = new QHBoxLayout;
    fileRow->setSpacing(2);
    fileRow->addWidget(fileBack_, 1);
    fileRow->addWidget(fileBackButton_);
    auto *backgroundLayout = new QGridLayout(background);
    backgroundLayout->addWidget(radioButton10_, 0, 0);
    backgroundLayout->addLayout(colorRow, 0, 1);
    backgroundLayout->addWidget(radioButton11_, 1, 0);
    backgroundLayout->addLayout(fileRow, 1, 1);
    backgroundLayout->addWidget(comboBox2_, 2, 1, Qt::AlignLeft);
    backgroundLayout->setColumnStretch(1, 1);

    auto *general = new QGroupBox(QStringLiteral("General settings"), page);
    checkBox1_ = NewCheck(general, QStringLiteral("CheckBox1"), QStringLiteral("&Loop slide-show"));
    checkBox2_ = NewCheck(general, QStringLiteral("CheckBox2"), QStringLiteral("Show image file&name: color"));
    panel4_ = new ColorSwatch(general);
    panel4_->setObjectName(QStringLiteral("Panel4"));
    auto *generalLayout = new QGridLayout(general);
    generalLayout->addWidget(checkBox1_, 0, 0, 1, 3);
    generalLayout->addWidget(checkBox2_, 1, 0);
    generalLayout->addWidget(panel4_, 1, 1);
    generalLayout->setColumnStretch(2, 1);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(viewer);
    layout->addWidget(background);
    layout->addWidget(general);
    layout->addStretch(1);

    connect(radioButton10_, &QRadioButton::toggled, this, &TOpty::UpdateEnabling);
    connect(fileBackButton_, &QPushButton::clicked, this, &TOpty::FileBackBrowse);
    connect(panel2_, &QAbstractButton::clicked, this, [this] { ChooseColor(panel2_); });
    connect(panel3_, &QAbstractButton::clicked, this, [this] { ChooseColor(panel3_); });
    connect(panel4_, &QAbstractButton::clicked, this, [this] { ChooseColor(panel4_); });
    return page;
}

int TOpty::Open(Page page)
{
    pageControl_->setCurrentIndex(int(page));
    return exec();
}

void TOpty::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        FormActivate();
    QDialog::showEvent(event);
}

OptionsValues TOpty::Values() const
{
    OptionsValues values;
    values.automaticAdvance = radioButton1_->isChecked();
    values.seconds = spinEdit1_->value();
    values.fitToScreen = radioButton4_->isChecked();
    values.percent = upDown1_->value();
    values.shadow = shadBox_->isChecked();
    values.randomEffects = radioButton8_->isChecked();
    values.playMusic = playMusic_->isChecked();
    values.repeatMusic = repeatMusic_->isChecked();
    values.viewerFilter = filterComboBox2_->currentIndex();
    values.backgroundImage = radioButton11_->isChecked();
    values.topColor = panel2_->Color();
    values.bottomColor = panel3_->Color();
    values.backgroundFile = fileBack_->text();
    values.placement = comboBox2_->currentIndex();
    values.loop = checkBox1_->isChecked();
    values.showCaption = checkBox2_->isChecked();
    values.captionColor = panel4_->Color();
    return values;
}

QString TOpty::FileMask() const
{
    return filterComboBox2_->currentData().toString();
}

void TOpty::ShowValues(const OptionsValues &values)
{
    (values.automaticAdvance ? radioButton1_ : radioButton2_)->setChecked(true);
    spinEdit1_->setValue(values.seconds);
    (values.fitToScreen ? radioButton4_ : radioButton3_)->setChecked(true);
    upDown1_->setValue(values.percent);
    shadBox_->setChecked(values.shadow);
    (values.randomEffects ? radioButton8_ : radioButton7_)->setChecked(true);
    playMusic_->setChecked(values.playMusic);
    repeatMusic_->setChecked(values.repeatMusic);
    filterComboBox2_->setCurrentIndex(values.viewerFilter);
    (values.backgroundImage ? radioButton11_ : radioButton10_)->setChecked(true);
    panel2_->SetColor(values.topColor);
    panel3_->SetColor(values.bottomColor);
    fileBack_->setText(values.backgroundFile);
    comboBox2_->setCurrentIndex(values.placement);
    checkBox1_->setChecked(values.loop);
    checkBox2_->setChecked(values.showCaption);
    panel4_->SetColor(values.captionColor);
    UpdateEnabling();
}

void TOpty::UpdateEnabling()
{
    spinEdit1_->setEnabled(radioButton1_->isChecked());
    const bool music = playMusic_->isChecked();
    musicBox_->setEnabled(music);
    for (QPushButton *button : playlistButtons_)
        button->setEnabled(music);
    const bool picture = radioButton11_->isChecked();
    fileBack_->setEnabled(picture);
    fileBackButton_->setEnabled(picture);
    comboBox2_->setEnabled(picture);
}

void TOpty::FormActivate()
{
    backa_ = playlist_;
    backFolder_ = QCoreApplication::applicationDirPath();
    OptionsValues values = Values();
    LoadOptions(settings_, values);
    ShowValues(values);
    ShowPlaylist(-1);
}

void TOpty::BitBtn1Click()
{
    const OptionsValues values = Values();
    if (!BackgroundChoiceValid(values)) {
        questions_->ShowMessage(QStringLiteral("Set true background picture filename!"));
        pageControl_->setCurrentIndex(int(Page::Advanced));
        return;
    }
    WriteOptions(values, settings_, playlist_);
    ShowPlaylist(HighlightedSong());
    emit FileMaskChosen(FileMask());
    accept();
}

void TOpty::BitBtn2Click()
{
    playlist_ = backa_;
    ShowPlaylist(-1);
    reject();
}

void TOpty::BitBtn3Click()
{
    settings_.FillDefaults(ShowSettings::Defaults::Dialog);
    form2_.ApplyStandardSet();
    FormActivate();
}

void TOpty::Button4Click()
{
    form2_.exec();
}

void TOpty::ShowPlaylist(int highlighted)
{
    musicBox_->clear();
    musicBox_->addItems(playlist_);
    if (highlighted >= 0 && highlighted < musicBox_->count())
        musicBox_->setCurrentRow(highlighted);
}

int TOpty::HighlightedSong() const
{
    const QList<QListWidgetItem *> selected = musicBox_->selectedItems();
    return selected.isEmpty() ? -1 : musicBox_->row(selected.first());
}

void TOpty::Button5Click()
{
    ShowPlaylist(PlaylistMoveUp(playlist_, HighlightedSong()));
}

void TOpty::Button6Click()
{
    ShowPlaylist(PlaylistMoveDown(playlist_, HighlightedSong()));
}

void TOpty::Button7Click()
{
    const int highlighted = HighlightedSong();
    if (const std::optional<QString> path = questions_->AskMusicFile()) {
        playlist_.append(*path);
        ShowPlaylist(highlighted);
    }
}

void TOpty::Button8Click()
{
    ShowPlaylist(PlaylistRemove(playlist_, HighlightedSong()));
}

void TOpty::Button9Click()
{
    playlist_.clear();
    ShowPlaylist(-1);
}

bool TOpty::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == musicBox_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        Button8Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TOpty::FileBackBrowse()
{
    const QFileInfo current(fileBack_->text());
    const QString folder = current.isFile() ? current.absolutePath() : backFolder_;
    if (const std::optional<QString> path = questions_->AskBackgroundFile(folder))
        fileBack_->setText(*path);
}

void TOpty::ChooseColor(ColorSwatch *swatch)
{
    if (const std::optional<TColor> color = questions_->AskColor(lastChosenColor_)) {
        lastChosenColor_ = *color;
        swatch->SetColor(*color);
    }
}

}  // namespace lumetta
