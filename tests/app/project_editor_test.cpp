// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/project_editor.h"

#include "show/show_project.h"
#include "support/qstring_print.h"

#include <QSignalSpy>

#include <functional>

#include <gtest/gtest.h>

namespace lumetta {
namespace {

class ProjectEditorTest : public ::testing::Test
{
protected:
    void SetUp() override { project_.Pictures() = {"a", "b", "c", "d", "e"}; }

    static PictureSelection Selected(QList<int> rows, int current) { return PictureSelection{rows, current}; }

    ShowProject project_;
    ProjectEditor editor_{project_};
};

TEST_F(ProjectEditorTest, InsertingBeforeARowOrAtTheEnd)
{
    const struct
    {
        int row;
        bool selectInserted;
        QStringList pictures;
        PictureSelection selection;
    } cases[] = {
        {-1, false, {"a", "b", "c", "d", "e", "x", "y"}, {{1, 4}, 4}},
        {2, false, {"a", "b", "x", "y", "c", "d", "e"}, {{1, 6}, 6}},
        {0, true, {"x", "y", "a", "b", "c", "d", "e"}, {{0, 1}, 0}},
        {5, true, {"a", "b", "c", "d", "e", "x", "y"}, {{5, 6}, 5}},
        {99, true, {"a", "b", "c", "d", "e", "x", "y"}, {{5, 6}, 5}},
    };
    for (const auto &c : cases) {
        ShowProject p;
        p.Pictures() = {"a", "b", "c", "d", "e"};
        ProjectEditor e(p);
        QSignalSpy applied(&e, &ProjectEditor::Applied);
        ASSERT_TRUE(e.InsertPictures({"x", "y"}, c.row, Selected({1, 4}, 4), c.selectInserted));
        EXPECT_EQ(p.Pictures(), c.pictures) << c.row;
        ASSERT_EQ(applied.size(), 1);
        EXPECT_EQ(applied[0][0].value<ProjectState>().selection, c.selection) << c.row;
        EXPECT_TRUE(p.Modified());
    }
}

TEST_F(ProjectEditorTest, AnEditThatChangesNothingRecordsNothing)
{
    EXPECT_FALSE(editor_.InsertPictures({}, 0, {}, true));
    EXPECT_FALSE(editor_.RemovePictures(Selected({}, 2)));
    EXPECT_FALSE(editor_.RemovePictures(Selected({7}, 2)));
    EXPECT_FALSE(editor_.MoveSelected(-1, Selected({0, 3}, 3)));
    EXPECT_FALSE(editor_.MoveSelected(1, Selected({4}, 4)));
    EXPECT_FALSE(editor_.MovePictures({1, 2}, 1, Selected({1, 2}, 1)));
    EXPECT_FALSE(editor_.MovePictures({1, 2}, 3, Selected({1, 2}, 1)));
    EXPECT_FALSE(editor_.ExchangeCurrent(-1, Selected({0}, 0)));
    EXPECT_FALSE(editor_.RecordOptions(editor_.Current({})));
    ShowProject empty;
    ProjectEditor emptyEditor(empty);
    EXPECT_FALSE(emptyEditor.ClearPictures({}));
    EXPECT_EQ(editor_.History().count(), 0);
    EXPECT_FALSE(project_.Modified());
}

TEST_F(ProjectEditorTest, RemovingKeepsTheFocusWhereTheFirstRemovedStood)
{
    ASSERT_TRUE(editor_.RemovePictures(Selected({4, 1, 2, 2}, 2)));
    EXPECT_EQ(project_.Pictures(), QStringList({"a", "d"}));
    EXPECT_EQ(editor_.Current({}).pictures, project_.Pictures());
    editor_.History().undo();
    EXPECT_EQ(project_.Pictures(), QStringList({"a", "b", "c", "d", "e"}));
    editor_.History().redo();
    ASSERT_TRUE(editor_.RemovePictures(Selected({1}, 1)));
    EXPECT_EQ(project_.Pictures(), QStringList({"a"}));
}

TEST_F(ProjectEditorTest, TheArrowsExchangeTheFocusedPictureAndDropTheNeighboursMark)
{
    QSignalSpy applied(&editor_, &ProjectEditor::Applied);
    ASSERT_TRUE(editor_.ExchangeCurrent(-1, Selected({0, 2, 3}, 3)));
    EXPECT_EQ(project_.Pictures(), QStringList({"a", "b", "d", "c", "e"}));
    EXPECT_EQ(applied.last()[0].value<ProjectState>().selection, Selected({0, 2}, 2));
    // No focus counts as the first picture.
    ASSERT_TRUE(editor_.ExchangeCurrent(1, Selected({}, -1)));
    EXPECT_EQ(project_.Pictures(), QStringList({"b", "a", "d", "c", "e"}));
}

TEST_F(ProjectEditorTest, CtrlArrowsMoveEverySelectedPictureOnePlace)
{
    const struct
    {
        int direction;
        PictureSelection before;
        QStringList pictures;
        PictureSelection after;
    } cases[] = {
        {-1, {{1, 3}, 3}, {"b", "a", "d", "c", "e"}, {{0, 2}, 2}},
        {-1, {{2, 3}, 2}, {"a", "c", "d", "b", "e"}, {{1, 2}, 1}},
        {1, {{2, 3}, 3}, {"a", "b", "e", "c", "d"}, {{3, 4}, 4}},
        {1, {{0, 2}, 1}, {"b", "a", "d", "c", "e"}, {{1, 3}, 0}},  // the focus goes with its picture
    };
    for (const auto &c : cases) {
        ShowProject p;
        p.Pictures() = {"a", "b", "c", "d", "e"};
        ProjectEditor e(p);
        QSignalSpy applied(&e, &ProjectEditor::Applied);
        ASSERT_TRUE(e.MoveSelected(c.direction, c.before));
        EXPECT_EQ(p.Pictures(), c.pictures);
        EXPECT_EQ(applied.last()[0].value<ProjectState>().selection, c.after);
    }
}

TEST_F(ProjectEditorTest, DraggingMovesThePicturesInTheirOrderBeforeTheDropRow)
{
    const struct
    {
        QList<int> rows;
        int row;
        QStringList pictures;
        PictureSelection after;
    } cases[] = {
        {{3}, 0, {"d", "a", "b", "c", "e"}, {{0}, 0}},       {{0}, 5, {"b", "c", "d", "e", "a"}, {{4}, 4}},
        {{0, 4}, 2, {"b", "a", "e", "c", "d"}, {{1, 2}, 1}}, {{4, 0}, 3, {"b", "c", "a", "e", "d"}, {{2, 3}, 2}},
        {{1, 3}, 3, {"a", "c", "b", "d", "e"}, {{2, 3}, 2}},
    };
    for (const auto &c : cases) {
        ShowProject p;
        p.Pictures() = {"a", "b", "c", "d", "e"};
        ProjectEditor e(p);
        QSignalSpy applied(&e, &ProjectEditor::Applied);
        ASSERT_TRUE(e.MovePictures(c.rows, c.row, Selected(c.rows, c.rows.first())));
        EXPECT_EQ(p.Pictures(), c.pictures) << c.row;
        EXPECT_EQ(applied.last()[0].value<ProjectState>().selection, c.after) << c.row;
        e.History().undo();
        EXPECT_EQ(p.Pictures(), QStringList({"a", "b", "c", "d", "e"}));
        EXPECT_EQ(applied.last()[0].value<ProjectState>().selection, Selected(c.rows, c.rows.first()));
    }
}

TEST_F(ProjectEditorTest, TheModifiedFlagFollowsTheHistory)
{
    QSignalSpy modified(&editor_, &ProjectEditor::ModifiedChanged);
    editor_.ClearPictures({});
    EXPECT_TRUE(project_.Modified());
    editor_.History().undo();
    EXPECT_FALSE(project_.Modified());
    editor_.History().redo();
    EXPECT_TRUE(project_.Modified());
    EXPECT_EQ(modified.size(), 3);

    // A save marks the place: undoing past it is a change again.
    project_.SetModified(false);
    editor_.Sync();
    EXPECT_TRUE(editor_.History().isClean());
    editor_.History().undo();
    EXPECT_TRUE(project_.Modified());
    editor_.History().redo();
    EXPECT_FALSE(project_.Modified());

    // An open or new project starts a new history.
    editor_.InsertPictures({"z"}, -1, {}, false);
    editor_.Restart();
    EXPECT_FALSE(project_.Modified());
    EXPECT_EQ(editor_.History().count(), 0);
}

TEST_F(ProjectEditorTest, OptionsAreOneStepWithSettingsEffectsAndPlaylist)
{
    const ProjectState before = editor_.Current(Selected({2}, 2));
    project_.Settings().Put(ShowSettings::AdvanceLine, "Manual");
    project_.EffectSelection() = {"0"};
    project_.Playlist() = {"/m/a.wav"};
    ASSERT_TRUE(editor_.RecordOptions(before));
    EXPECT_EQ(editor_.History().undoText(), QLatin1String("Change options"));
    editor_.History().undo();
    EXPECT_EQ(project_.Settings(), ShowSettings());
    EXPECT_EQ(project_.EffectSelection(), ShowProject::StandardEffects());
    EXPECT_TRUE(project_.Playlist().isEmpty());
    EXPECT_EQ(project_.Pictures().size(), 5);
    editor_.History().redo();
    EXPECT_EQ(project_.Settings().Get(ShowSettings::AdvanceLine), QLatin1String("Manual"));
    EXPECT_EQ(project_.Playlist(), QStringList({"/m/a.wav"}));
}

// The pictures whose slides have a caption, in list order.
QStringList Captioned(const ShowProject &project)
{
    QStringList captioned;
    for (int i = 0; i < project.Pictures().size(); ++i)
        if (project.Story().Slide(i).caption.text == project.Pictures()[i])
            captioned << project.Pictures()[i];
    return captioned;
}

TEST_F(ProjectEditorTest, SlideDetailsFollowTheirPicturesThroughEveryEdit)
{
    // Each of b and d carries a caption naming it.
    EXPECT_FALSE(editor_.ChangeSlides(
        {1, 3}, [](SlideDetails &) {}, Selected({}, -1), "none"));
    for (int row : {1, 3})
        editor_.ChangeSlides(
            {row}, [this, row](SlideDetails &d) { d.caption.text = project_.Pictures()[row]; }, Selected({}, -1),
            "caption");
    ASSERT_EQ(Captioned(project_), QStringList({"b", "d"}));
    const struct
    {
        const char *name;
        std::function<bool()> edit;
        QStringList pictures;
    } cases[] = {
        {"insert",
         [this] { return editor_.InsertPictures({"x"}, 2, Selected({}, -1), false); },
         {"a", "b", "x", "c", "d", "e"}},
        {"remove",
         [this] {
             return editor_.RemovePictures(Selected({0, 2}, 0));
         },
         {"b", "d", "e"}},
        {"exchange", [this] { return editor_.ExchangeCurrent(1, Selected({1}, 1)); }, {"a", "c", "b", "d", "e"}},
        {"move selected", [this] { return editor_.MoveSelected(-1, Selected({3}, 3)); }, {"a", "b", "d", "c", "e"}},
        {"drag",
         [this] {
             return editor_.MovePictures({1, 3}, 5, Selected({}, -1));
         },
         {"a", "c", "e", "b", "d"}},
        {"clear", [this] { return editor_.ClearPictures(Selected({}, -1)); }, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.edit());
        EXPECT_EQ(project_.Pictures(), c.pictures);
        QStringList expected;
        for (const QString &picture : c.pictures)
            if (picture == "b" || picture == "d")
                expected << picture;
        EXPECT_EQ(Captioned(project_), expected);
        editor_.History().undo();
        EXPECT_EQ(Captioned(project_), QStringList({"b", "d"}));
    }
}

TEST_F(ProjectEditorTest, EditsOfOneFieldOnTheSameSlidesMergeIntoOneStep)
{
    for (const QString &text : {"H", "Hi", "Hi!"})
        editor_.ChangeSlides(
            {0, 2}, [text](SlideDetails &d) { d.caption.text = text; }, Selected({0, 2}, 0), "caption", 0);
    EXPECT_EQ(editor_.History().count(), 1);
    // Another slide, or another field, is a step of its own.
    editor_.ChangeSlides(
        {1}, [](SlideDetails &d) { d.caption.text = "x"; }, Selected({1}, 1), "caption", 0);
    editor_.ChangeSlides(
        {1}, [](SlideDetails &d) { d.durationMs = 3000; }, Selected({1}, 1), "time", 6);
    EXPECT_EQ(editor_.History().count(), 3);
    editor_.History().undo();
    editor_.History().undo();
    EXPECT_EQ(project_.Story().Slide(2).caption.text, "Hi!");
    editor_.History().undo();
    EXPECT_TRUE(project_.Story().IsEmpty());
    EXPECT_FALSE(project_.Modified());
    // Nothing changed: nothing recorded.
    EXPECT_FALSE(editor_.ChangeSlides(
        {0}, [](SlideDetails &) {}, Selected({0}, 0), "nothing"));
    EXPECT_TRUE(editor_.SetFitToMusic(true, Selected({}, -1)));
    EXPECT_TRUE(project_.Story().FitToMusic());
}

}  // namespace
}  // namespace lumetta
