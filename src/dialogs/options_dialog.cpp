// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/options_dialog.h"

#include "dialogs/dialog_questions.h"
#include "dialogs/effect_selection_dialog.h"
#include "dialogs/playlist_edit.h"
#include "player/screen_numbers.h"
#include "show/play_preferences.h"
#include "show/show_settings.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStandardPaths>
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

    ColorRef Color() const { return color_; }
    void SetColor(ColorRef color)
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
    ColorRef color_ = kClBlack;
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

OptionsDialog::OptionsDialog(ShowSettings &settings, QStringList &playlist, EffectSelectionDialog &effectSelection,
                             DialogQuestions *questions, QWidget *parent)
    : QDialog(parent),
      settings_(settings),
      playlist_(playlist),
      effectSelection_(effectSelection),
      ownQuestions_(questions ? nullptr : std::make_unique<WidgetQuestions>(this)),
      questions_(questions ? questions : ownQuestions_.get())
{
    setWindowTitle(QStringLiteral("Options"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    pages_->addTab(BuildMainPage(), style()->standardIcon(QStyle::SP_DesktopIcon), QStringLiteral("Main"));
    pages_->addTab(BuildMusicPage(), style()->standardIcon(QStyle::SP_MediaVolume), QStringLiteral("Music"));
    pages_->addTab(BuildAdvancedPage(), style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                   QStringLiteral("Advanced"));

    auto *ok = NewButton(this, QStringLiteral("BitBtn1"), QStringLiteral("&OK"));
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
    layout->addWidget(pages_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok, &QPushButton::clicked, this, &OptionsDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &OptionsDialog::Cancel);
    connect(defaults, &QPushButton::clicked, this, &OptionsDialog::SetDefaults);

    // The dialog starts with "Tile" chosen.
    placement_->setCurrentIndex(0);
    ShowValues(OptionsValues());
}

OptionsDialog::~OptionsDialog() = default;

QWidget *OptionsDialog::BuildMainPage()
{
    auto *page = new QWidget;

    auto *advance = new QGroupBox(QStringLiteral("Slide advancement"), page);
    automaticAdvance_ = NewRadio(advance, QStringLiteral("RadioButton1"), QStringLiteral("&Automatic after"));
    seconds_ = NewPercentField(advance, QStringLiteral("SpinEdit1"), QStringLiteral(" s"));
    manualAdvance_ =
        NewRadio(advance, QStringLiteral("RadioButton2"), QStringLiteral("&Manual after keyboard/mouse input "));
    Exclusive(this, {automaticAdvance_, manualAdvance_});
    auto *advanceLayout = new QGridLayout(advance);
    advanceLayout->addWidget(automaticAdvance_, 0, 0);
    advanceLayout->addWidget(seconds_, 0, 1);
    advanceLayout->addWidget(manualAdvance_, 1, 0, 1, 3);
    advanceLayout->setColumnStretch(2, 1);

    auto *size = new QGroupBox(QStringLiteral("Size and shadow"), page);
    fitToScreen_ = NewRadio(size, QStringLiteral("RadioButton4"), QStringLiteral("&Fit to screen"));
    percent_ = NewPercentField(size, QStringLiteral("UpDown1"), QStringLiteral(" %"));
    noStretch_ = NewRadio(size, QStringLiteral("RadioButton3"), QStringLiteral("Do &not stretch"));
    Exclusive(this, {fitToScreen_, noStretch_});
    shadow_ = NewCheck(size, QStringLiteral("ShadBox"), QStringLiteral("S&hadow"));
    auto *sizeLayout = new QGridLayout(size);
    sizeLayout->addWidget(fitToScreen_, 0, 0);
    sizeLayout->addWidget(percent_, 0, 1);
    sizeLayout->addWidget(noStretch_, 1, 0, 1, 3);
    sizeLayout->addWidget(shadow_, 2, 0, 1, 3);
    sizeLayout->setColumnStretch(2, 1);

    auto *effects = new QGroupBox(QStringLiteral("Transition effects"), page);
    randomEffects_ = NewRadio(effects, QStringLiteral("RadioButton8"), QStringLiteral("&Random effects"));
    noEffects_ = NewRadio(effects, QStringLiteral("RadioButton7"), QStringLiteral("No &effects (quick)"));
    Exclusive(this, {randomEffects_, noEffects_});
    auto *select = NewButton(effects, QStringLiteral("Button4"), QStringLiteral("&Select"));
    auto *effectsLayout = new QGridLayout(effects);
    effectsLayout->addWidget(randomEffects_, 0, 0);
    effectsLayout->addWidget(select, 0, 2);
    effectsLayout->addWidget(noEffects_, 1, 0);
    effectsLayout->setColumnStretch(1, 1);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(advance);
    layout->addWidget(size);
    layout->addWidget(effects);
    layout->addStretch(1);

    connect(automaticAdvance_, &QRadioButton::toggled, this, &OptionsDialog::UpdateEnabling);
    connect(select, &QPushButton::clicked, this, &OptionsDialog::SelectEffects);
    return page;
}

QWidget *OptionsDialog::BuildMusicPage()
{
    auto *page = new QWidget;
    auto *group = new QGroupBox(QStringLiteral("Background music"), page);
    playMusic_ = NewCheck(group, QStringLiteral("PlayMusic"), QStringLiteral("&Play backgound music"));
    repeatMusic_ = NewCheck(group, QStringLiteral("RepeatMusic"), QStringLiteral("&Repeat music after playing"));
    playlistBox_ = new QListWidget(group);
    playlistBox_->setObjectName(QStringLiteral("MusicBox"));
    playlistBox_->installEventFilter(this);

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
    listRow->addWidget(playlistBox_, 1);
    listRow->addLayout(buttonColumn);

    auto *groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(playMusic_);
    groupLayout->addWidget(repeatMusic_);
    groupLayout->addLayout(listRow, 1);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(group);

    connect(playMusic_, &QCheckBox::toggled, this, &OptionsDialog::UpdateEnabling);
    connect(up, &QPushButton::clicked, this, &OptionsDialog::MoveTrackUp);
    connect(down, &QPushButton::clicked, this, &OptionsDialog::MoveTrackDown);
    connect(add, &QPushButton::clicked, this, &OptionsDialog::AddTracks);
    connect(remove, &QPushButton::clicked, this, &OptionsDialog::RemoveTrack);
    connect(clear, &QPushButton::clicked, this, &OptionsDialog::ClearPlaylist);
    return page;
}

QWidget *OptionsDialog::BuildAdvancedPage()
{
    auto *page = new QWidget;

    auto *viewer = new QGroupBox(QStringLiteral("Viewer settings "), page);
    viewerFilter_ = new QComboBox(viewer);
    viewerFilter_->setObjectName(QStringLiteral("FilterComboBox2"));
    for (const ViewerFilter &filter : ViewerFilters())
        viewerFilter_->addItem(filter.name, filter.mask);
    auto *filterLabel = new QLabel(QStringLiteral("Set fil&ter for viewer"), viewer);
    filterLabel->setBuddy(viewerFilter_);
    auto *viewerLayout = new QHBoxLayout(viewer);
    viewerLayout->addWidget(filterLabel);
    viewerLayout->addWidget(viewerFilter_, 1);

    auto *background = new QGroupBox(QStringLiteral("Background options"), page);
    backgroundColors_ = NewRadio(background, QStringLiteral("RadioButton10"), QStringLiteral("Background c&olors"));
    topColor_ = new ColorSwatch(background);
    topColor_->setObjectName(QStringLiteral("Panel2"));
    bottomColor_ = new ColorSwatch(background);
    bottomColor_->setObjectName(QStringLiteral("Panel3"));
    backgroundImage_ = NewRadio(background, QStringLiteral("RadioButton11"), QStringLiteral("Background &image"));
    Exclusive(this, {backgroundColors_, backgroundImage_});
    backgroundFile_ = new QLineEdit(background);
    backgroundFile_->setObjectName(QStringLiteral("FileBack"));
    backgroundFile_->setMinimumWidth(220);
    backgroundBrowse_ = NewButton(background, QStringLiteral("FileBackButton"), QStringLiteral("..."));
    backgroundBrowse_->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    backgroundBrowse_->setText(QString());
    backgroundBrowse_->setToolTip(QStringLiteral("Browse for a background picture"));
    placement_ = new QComboBox(background);
    placement_->setObjectName(QStringLiteral("ComboBox2"));
    placement_->addItems(PlacementWords());
    placement_->setPlaceholderText(QStringLiteral("Select mode"));

    auto *colorRow = new QHBoxLayout;
    colorRow->addWidget(topColor_);
    colorRow->addWidget(bottomColor_);
    colorRow->addStretch(1);
    auto *fileRow = new QHBoxLayout;
    fileRow->setSpacing(2);
    fileRow->addWidget(backgroundFile_, 1);
    fileRow->addWidget(backgroundBrowse_);
    auto *backgroundLayout = new QGridLayout(background);
    backgroundLayout->addWidget(backgroundColors_, 0, 0);
    backgroundLayout->addLayout(colorRow, 0, 1);
    backgroundLayout->addWidget(backgroundImage_, 1, 0);
    backgroundLayout->addLayout(fileRow, 1, 1);
    backgroundLayout->addWidget(placement_, 2, 1, Qt::AlignLeft);
    backgroundLayout->setColumnStretch(1, 1);

    auto *general = new QGroupBox(QStringLiteral("General settings"), page);
    loop_ = NewCheck(general, QStringLiteral("CheckBox1"), QStringLiteral("&Loop slide-show"));
    showCaption_ = NewCheck(general, QStringLiteral("CheckBox2"), QStringLiteral("Show image file&name: color"));
    captionColor_ = new ColorSwatch(general);
    captionColor_->setObjectName(QStringLiteral("Panel4"));
    auto *generalLayout = new QGridLayout(general);
    generalLayout->addWidget(loop_, 0, 0, 1, 3);
    generalLayout->addWidget(showCaption_, 1, 0);
    generalLayout->addWidget(captionColor_, 1, 1);
    generalLayout->setColumnStretch(2, 1);

    auto *play = new QGroupBox(QStringLiteral("Playing"), page);
    playGroup_ = play;
    playScreen_ = new QComboBox(play);
    playScreen_->setObjectName(QStringLiteral("PlayScreenBox"));
    auto *playLabel = new QLabel(QStringLiteral("Pla&y on"), play);
    playLabel->setBuddy(playScreen_);
    auto *playLayout = new QHBoxLayout(play);
    playLayout->addWidget(playLabel);
    playLayout->addWidget(playScreen_, 1);
    play->hide();

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(viewer);
    layout->addWidget(background);
    layout->addWidget(general);
    layout->addWidget(play);
    layout->addStretch(1);

    connect(backgroundColors_, &QRadioButton::toggled, this, &OptionsDialog::UpdateEnabling);
    connect(backgroundBrowse_, &QPushButton::clicked, this, &OptionsDialog::BrowseBackground);
    connect(topColor_, &QAbstractButton::clicked, this, [this] { ChooseColor(topColor_); });
    connect(bottomColor_, &QAbstractButton::clicked, this, [this] { ChooseColor(bottomColor_); });
    connect(captionColor_, &QAbstractButton::clicked, this, [this] { ChooseColor(captionColor_); });
    return page;
}

int OptionsDialog::Open(Page page)
{
    pages_->setCurrentIndex(int(page));
    return exec();
}

void OptionsDialog::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        LoadControls();
    QDialog::showEvent(event);
}

OptionsValues OptionsDialog::Values() const
{
    OptionsValues values;
    values.automaticAdvance = automaticAdvance_->isChecked();
    values.seconds = seconds_->value();
    values.fitToScreen = fitToScreen_->isChecked();
    values.percent = percent_->value();
    values.shadow = shadow_->isChecked();
    values.randomEffects = randomEffects_->isChecked();
    values.playMusic = playMusic_->isChecked();
    values.repeatMusic = repeatMusic_->isChecked();
    values.viewerFilter = viewerFilter_->currentIndex();
    values.backgroundImage = backgroundImage_->isChecked();
    values.topColor = topColor_->Color();
    values.bottomColor = bottomColor_->Color();
    values.backgroundFile = backgroundFile_->text();
    values.placement = placement_->currentIndex();
    values.loop = loop_->isChecked();
    values.showCaption = showCaption_->isChecked();
    values.captionColor = captionColor_->Color();
    return values;
}

QString OptionsDialog::FileMask() const
{
    return viewerFilter_->currentData().toString();
}

void OptionsDialog::ShowValues(const OptionsValues &values)
{
    (values.automaticAdvance ? automaticAdvance_ : manualAdvance_)->setChecked(true);
    seconds_->setValue(values.seconds);
    (values.fitToScreen ? fitToScreen_ : noStretch_)->setChecked(true);
    percent_->setValue(values.percent);
    shadow_->setChecked(values.shadow);
    (values.randomEffects ? randomEffects_ : noEffects_)->setChecked(true);
    playMusic_->setChecked(values.playMusic);
    repeatMusic_->setChecked(values.repeatMusic);
    viewerFilter_->setCurrentIndex(values.viewerFilter);
    (values.backgroundImage ? backgroundImage_ : backgroundColors_)->setChecked(true);
    topColor_->SetColor(values.topColor);
    bottomColor_->SetColor(values.bottomColor);
    backgroundFile_->setText(values.backgroundFile);
    placement_->setCurrentIndex(values.placement);
    loop_->setChecked(values.loop);
    showCaption_->setChecked(values.showCaption);
    captionColor_->SetColor(values.captionColor);
    UpdateEnabling();
}

void OptionsDialog::UpdateEnabling()
{
    seconds_->setEnabled(automaticAdvance_->isChecked());
    const bool music = playMusic_->isChecked();
    playlistBox_->setEnabled(music);
    for (QPushButton *button : playlistButtons_)
        button->setEnabled(music);
    const bool picture = backgroundImage_->isChecked();
    backgroundFile_->setEnabled(picture);
    backgroundBrowse_->setEnabled(picture);
    placement_->setEnabled(picture);
}

void OptionsDialog::SetPlayPreferences(PlayPreferences *preferences)
{
    playPreferences_ = preferences;
    playGroup_->setVisible(preferences != nullptr);
    ShowPlayScreens();
}

// The screens connected now, by name; a chosen screen that is not connected stays listed, so
// that opening the dialog on a laptop without its projector does not forget the projector.
void OptionsDialog::ShowPlayScreens()
{
    playScreen_->clear();
    if (!playPreferences_)
        return;
    playScreen_->addItem(QStringLiteral("The screen the main window is on"), QString());
    for (QScreen *screen : QGuiApplication::screens()) {
        QString text = ScreenChoiceName(screen);
        const QString model = (screen->manufacturer() + u' ' + screen->model()).trimmed();
        if (!model.isEmpty() && model != text)
            text += QStringLiteral(": ") + model;
        text += QStringLiteral(" (%1x%2)").arg(screen->size().width()).arg(screen->size().height());
        playScreen_->addItem(text, ScreenChoiceName(screen));
    }
    const QString chosen = playPreferences_->ScreenName();
    int index = playScreen_->findData(chosen);
    if (index < 0) {
        playScreen_->addItem(QStringLiteral("%1 (not connected)").arg(chosen), chosen);
        index = playScreen_->count() - 1;
    }
    playScreen_->setCurrentIndex(index);
}

void OptionsDialog::LoadControls()
{
    playlistAtOpening_ = playlist_;
    ShowPlayScreens();
    // The user's pictures are where a background picture is most likely found.
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    backFolder_ = QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
    OptionsValues values = Values();
    LoadOptions(settings_, values);
    ShowValues(values);
    ShowPlaylist(-1);
}

void OptionsDialog::accept()
{
    const OptionsValues values = Values();
    if (!BackgroundChoiceValid(values)) {
        questions_->ShowMessage(QStringLiteral("Set true background picture filename!"));
        pages_->setCurrentIndex(int(Page::Advanced));
        return;
    }
    if (playPreferences_ && !playPreferences_->SetScreenName(playScreen_->currentData().toString()))
        questions_->ShowMessage(playPreferences_->ErrorText());
    WriteOptions(values, settings_, playlist_);
    ShowPlaylist(HighlightedSong());
    emit FileMaskChosen(FileMask());
    QDialog::accept();
}

void OptionsDialog::Cancel()
{
    playlist_ = playlistAtOpening_;
    ShowPlaylist(-1);
    reject();
}

void OptionsDialog::SetDefaults()
{
    settings_.FillDefaults(ShowSettings::Defaults::Dialog);
    effectSelection_.ApplyStandardSet();
    LoadControls();
}

void OptionsDialog::SelectEffects()
{
    effectSelection_.exec();
}

void OptionsDialog::ShowPlaylist(int highlighted)
{
    playlistBox_->clear();
    playlistBox_->addItems(playlist_);
    if (highlighted >= 0 && highlighted < playlistBox_->count())
        playlistBox_->setCurrentRow(highlighted);
}

int OptionsDialog::HighlightedSong() const
{
    const QList<QListWidgetItem *> selected = playlistBox_->selectedItems();
    return selected.isEmpty() ? -1 : playlistBox_->row(selected.first());
}

void OptionsDialog::MoveTrackUp()
{
    ShowPlaylist(PlaylistMoveUp(playlist_, HighlightedSong()));
}

void OptionsDialog::MoveTrackDown()
{
    ShowPlaylist(PlaylistMoveDown(playlist_, HighlightedSong()));
}

void OptionsDialog::AddTracks()
{
    const int highlighted = HighlightedSong();
    if (const std::optional<QString> path = questions_->AskMusicFile()) {
        playlist_.append(*path);
        ShowPlaylist(highlighted);
    }
}

void OptionsDialog::RemoveTrack()
{
    ShowPlaylist(PlaylistRemove(playlist_, HighlightedSong()));
}

void OptionsDialog::ClearPlaylist()
{
    playlist_.clear();
    ShowPlaylist(-1);
}

bool OptionsDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == playlistBox_ && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        RemoveTrack();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void OptionsDialog::BrowseBackground()
{
    const QFileInfo current(backgroundFile_->text());
    const QString folder = current.isFile() ? current.absolutePath() : backFolder_;
    if (const std::optional<QString> path = questions_->AskBackgroundFile(folder))
        backgroundFile_->setText(*path);
}

void OptionsDialog::ChooseColor(ColorSwatch *swatch)
{
    if (const std::optional<ColorRef> color = questions_->AskColor(lastChosenColor_)) {
        lastChosenColor_ = *color;
        swatch->SetColor(*color);
    }
}

}  // namespace lumetta
