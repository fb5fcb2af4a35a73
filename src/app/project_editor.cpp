// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/project_editor.h"

#include "app/project_change.h"
#include "show/show_project.h"

#include <algorithm>
#include <numeric>

namespace lumetta {

namespace {

QList<int> SortedRows(QList<int> rows, qsizetype count)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(std::remove_if(rows.begin(), rows.end(), [count](int row) { return row < 0 || row >= count; }),
               rows.end());
    return rows;
}

}  // namespace

ProjectEditor::ProjectEditor(ShowProject &project, QObject *parent) : QObject(parent), project_(project)
{
    connect(&history_, &QUndoStack::cleanChanged, this, [this](bool clean) {
        project_.SetModified(!clean);
        emit ModifiedChanged(!clean);
    });
}

ProjectEditor::~ProjectEditor()
{
    // The history's clearing in its destructor must not reach a project that may be gone.
    history_.blockSignals(true);
}

ProjectState ProjectEditor::Current(const PictureSelection &selection) const
{
    return ProjectState{project_.Pictures(), project_.Settings(), project_.EffectSelection(),
                        project_.Playlist(), project_.Story(),    selection};
}

void ProjectEditor::Apply(const ProjectState &state)
{
    project_.Pictures() = state.pictures;
    project_.Settings() = state.settings;
    project_.EffectSelection() = state.effects;
    project_.Playlist() = state.playlist;
    project_.Story() = state.story;
    emit Applied(state);
}

bool ProjectEditor::Record(const QString &text, const ProjectState &before, const ProjectState &after, int mergeKey)
{
    if (after.SameProject(before))
        return false;
    history_.push(new ProjectChange(*this, text, before, after, mergeKey));
    return true;
}

bool ProjectEditor::InsertPictures(const QStringList &paths, int row, const PictureSelection &selection,
                                   bool selectInserted)
{
    const ProjectState before = Current(selection);
    const int count = int(before.pictures.size());
    const int at = row < 0 || row > count ? count : row;
    ProjectState after = before;
    for (int i = 0; i < paths.size(); ++i)
        after.pictures.insert(at + i, paths[i]);
    after.story.Insert(at, int(paths.size()));
    if (selectInserted) {
        after.selection.rows.resize(paths.size());
        std::iota(after.selection.rows.begin(), after.selection.rows.end(), at);
        after.selection.current = at;
    } else {
        // Pictures below the insertion keep their marks.
        for (int &selected : after.selection.rows)
            selected += selected >= at ? int(paths.size()) : 0;
        if (after.selection.current >= at)
            after.selection.current += int(paths.size());
    }
    return Record(paths.size() == 1 ? QStringLiteral("Add picture") : QStringLiteral("Add pictures"), before, after);
}

bool ProjectEditor::RemovePictures(const PictureSelection &selection)
{
    const ProjectState before = Current(selection);
    const QList<int> rows = SortedRows(selection.rows, before.pictures.size());
    if (rows.isEmpty())
        return false;
    ProjectState after = before;
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
        after.pictures.removeAt(*it);
    after.story.Remove(rows);
    after.selection.rows.clear();
    after.selection.current = after.pictures.isEmpty() ? -1 : std::min(rows.first(), int(after.pictures.size()) - 1);
    return Record(rows.size() == 1 ? QStringLiteral("Remove picture") : QStringLiteral("Remove pictures"), before,
                  after);
}

bool ProjectEditor::ClearPictures(const PictureSelection &selection)
{
    const ProjectState before = Current(selection);
    ProjectState after = before;
    after.pictures.clear();
    QList<int> all(before.pictures.size());
    std::iota(all.begin(), all.end(), 0);
    after.story.Remove(all);
    after.selection = PictureSelection();
    return Record(QStringLiteral("Clear the picture list"), before, after);
}

bool ProjectEditor::ExchangeCurrent(int direction, const PictureSelection &selection)
{
    const ProjectState before = Current(selection);
    const int count = int(before.pictures.size());
    const int row = std::max(0, selection.current);
    const int target = row + direction;
    if (count < 2 || row >= count || target < 0 || target >= count)
        return false;
    ProjectState after = before;
    after.pictures.swapItemsAt(row, target);
    QList<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    order.swapItemsAt(row, target);
    after.story.Reorder(order);
    after.selection.rows.removeAll(row);
    after.selection.rows.removeAll(target);
    after.selection.rows.append(target);
    after.selection.current = target;
    return Record(QStringLiteral("Move picture"), before, after);
}

ProjectState ProjectEditor::Reordered(const ProjectState &before, const QList<int> &order) const
{
    ProjectState after = before;
    after.story.Reorder(order);
    QList<int> newRow(order.size());
    for (int i = 0; i < order.size(); ++i) {
        after.pictures[i] = before.pictures[order[i]];
        newRow[order[i]] = i;
    }
    after.selection.rows.clear();
    for (int row : before.selection.rows)
        if (row >= 0 && row < newRow.size())
            after.selection.rows.append(newRow[row]);
    if (before.selection.current >= 0 && before.selection.current < newRow.size())
        after.selection.current = newRow[before.selection.current];
    return after;
}

bool ProjectEditor::MoveSelected(int direction, const PictureSelection &selection)
{
    const ProjectState before = Current(selection);
    const int count = int(before.pictures.size());
    const QList<int> rows = SortedRows(selection.rows, count);
    if (rows.isEmpty() || (direction < 0 && rows.first() == 0) || (direction > 0 && rows.last() == count - 1))
        return false;
    QList<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    // Nearest to the end they move towards first, so a block moves as one.
    if (direction < 0) {
        for (int row : rows)
            order.swapItemsAt(row, row - 1);
    } else {
        for (auto it = rows.crbegin(); it != rows.crend(); ++it)
            order.swapItemsAt(*it, *it + 1);
    }
    return Record(rows.size() == 1 ? QStringLiteral("Move picture") : QStringLiteral("Move pictures"), before,
                  Reordered(before, order));
}

bool ProjectEditor::MovePictures(const QList<int> &rows, int row, const PictureSelection &selection)
{
    const ProjectState before = Current(selection);
    const int count = int(before.pictures.size());
    const QList<int> moved = SortedRows(rows, count);
    if (moved.isEmpty())
        return false;
    const int at = std::clamp(row, 0, count);
    QList<int> order;
    for (int i = 0; i < count; ++i)
        if (!moved.contains(i))
            order.append(i);
    const auto movedAbove = std::count_if(moved.begin(), moved.end(), [at](int r) { return r < at; });
    const int insertAt = at - int(movedAbove);
    for (int i = 0; i < moved.size(); ++i)
        order.insert(insertAt + i, moved[i]);
    ProjectState after = Reordered(before, order);
    // The moved pictures are what the user holds afterwards.
    after.selection.rows.resize(moved.size());
    std::iota(after.selection.rows.begin(), after.selection.rows.end(), insertAt);
    after.selection.current = insertAt;
    return Record(moved.size() == 1 ? QStringLiteral("Move picture") : QStringLiteral("Move pictures"), before, after);
}

bool ProjectEditor::ChangeSlides(const QList<int> &rows, const std::function<void(SlideDetails &)> &change,
                                 const PictureSelection &selection, const QString &text, int mergeKey)
{
    const ProjectState before = Current(selection);
    ProjectState after = before;
    for (int row : SortedRows(rows, before.pictures.size())) {
        SlideDetails details = after.story.Slide(row);
        change(details);
        after.story.SetSlide(row, details);
    }
    return Record(text, before, after, mergeKey);
}

bool ProjectEditor::ChangeStory(const std::function<void(ShowStory &)> &change, const PictureSelection &selection,
                                const QString &text)
{
    const ProjectState before = Current(selection);
    ProjectState after = before;
    change(after.story);
    return Record(text, before, after);
}

bool ProjectEditor::SetFitToMusic(bool fit, const PictureSelection &selection)
{
    return ChangeStory([fit](ShowStory &story) { story.SetFitToMusic(fit); }, selection,
                       fit ? QStringLiteral("Fit the show to the music") : QStringLiteral("Keep the slides' own times"));
}

bool ProjectEditor::SetGentleMotion(bool gentle, const PictureSelection &selection)
{
    return ChangeStory([gentle](ShowStory &story) { story.SetGentleMotion(gentle); }, selection,
                       gentle ? QStringLiteral("Move every slide gently")
                              : QStringLiteral("Keep slides without motion still"));
}

bool ProjectEditor::RecordOptions(const ProjectState &before)
{
    return Record(QStringLiteral("Change options"), before, Current(before.selection));
}

void ProjectEditor::Restart()
{
    history_.clear();
    project_.SetModified(false);
    emit ModifiedChanged(false);
}

void ProjectEditor::Sync()
{
    if (!project_.Modified())
        history_.setClean();
    emit ModifiedChanged(project_.Modified());
}

}  // namespace lumetta
