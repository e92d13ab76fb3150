#include "ui/widgets/LineList.h"

#include "base/VisibleText.h"
#include "ui/widgets/LocalText.h"

#include <QItemSelectionModel>

namespace tarvok::ui {

int LineModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(ends_.size());
}

QVariant LineModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return QVariant();
    return Local(VisibleName(Name(index.row())));
}

void LineModel::Clear()
{
    beginResetModel();
    bytes_.clear();
    ends_.clear();
    bytes_.shrink_to_fit();
    ends_.shrink_to_fit();
    endResetModel();
}

void LineModel::Append(const std::vector<std::string>& names)
{
    if (names.empty())
        return;
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(names.size()) - 1);
    ends_.reserve(ends_.size() + names.size());
    for (const std::string& name : names) {
        bytes_ += name;
        ends_.push_back(bytes_.size());
    }
    endInsertRows();
}

std::string LineModel::Name(int row) const
{
    const auto at = static_cast<std::size_t>(row);
    const std::size_t begin = at == 0 ? 0 : ends_[at - 1];
    return bytes_.substr(begin, ends_[at] - begin);
}

LineList::LineList(QWidget* parent) : QListView(parent), model_(new LineModel(this))
{
    setModel(model_);
    // Every line is as high as the next: a million need no measuring.
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void LineList::AddFileLines(const FileList& files)
{
    std::vector<std::string> names;
    names.reserve(files.size());
    for (const FileRec& file : files)
        names.push_back(FileNamePart(file.FileName));
    AddLines(names);
}

QString LineList::Text(int line) const { return model_->data(model_->index(line), Qt::DisplayRole).toString(); }

bool LineList::IsSelected(int line) const { return selectionModel()->isSelected(model_->index(line)); }

void LineList::SetSelected(int line, bool selected)
{
    selectionModel()->select(model_->index(line),
                             selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

int LineList::SelectedCount() const
{
    int count = 0;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        count += range.height();
    return count;
}

std::vector<bool> LineList::SelectedLines() const
{
    std::vector<bool> selected(std::size_t(count()), false);
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        selected[std::size_t(index.row())] = true;
    return selected;
}

int LineList::LineAt(const QPoint& pos) const
{
    const QModelIndex index = indexAt(pos);
    return index.isValid() ? index.row() : -1;
}

QRect LineList::LineRect(int line) const { return visualRect(model_->index(line)); }

} // namespace tarvok::ui
